#include "zr6200fp_linkAccessible.h"

#include <QAccessible>
#include <QMetaObject>
#include <QTextDocumentFragment>

#include "about/clickableLabel.h"

namespace {

QAccessibleInterface *linkInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("clickableLabel") && object->isWidgetType())
        return new zr6200fp_linkAccessible(static_cast<clickableLabel *>(object));
    return nullptr;
}

} // namespace

zr6200fp_linkAccessible::zr6200fp_linkAccessible(clickableLabel *label)
    : QAccessibleWidget(label, QAccessible::Link)
{
}

QString zr6200fp_linkAccessible::text(QAccessible::Text t) const
{
    // The label's own text, not the caption whose buddy it is.
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return QTextDocumentFragment::fromHtml(static_cast<const clickableLabel *>(widget())->text()).toPlainText();
    return QAccessibleWidget::text(t);
}

QStringList zr6200fp_linkAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void zr6200fp_linkAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // Queued: a link may open a modal dialog, and the bus waits for this
    // call to return.
    auto *label = static_cast<clickableLabel *>(widget());
    QMetaObject::invokeMethod(
        label, [label] { emit label->clicked(); }, Qt::QueuedConnection);
}

void zr6200fp_linkAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(linkInterface), true);
    Q_UNUSED(installed);
}
