#include "zr6200fp_ledAccessible.h"

#include <QAccessible>

#include "led/zr6200fp_led.h"

namespace {

QAccessibleInterface *lampInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("zr6200fp_led") && object->isWidgetType())
        return new zr6200fp_ledAccessible(static_cast<zr6200fp_led *>(object));
    return nullptr;
}

} // namespace

zr6200fp_ledAccessible::zr6200fp_ledAccessible(zr6200fp_led *led)
    : QAccessibleWidget(led, QAccessible::CheckBox)
{
}

const zr6200fp_led *zr6200fp_ledAccessible::led() const
{
    return static_cast<const zr6200fp_led *>(widget());
}

QString zr6200fp_ledAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && !led()->caption().isEmpty())
        return led()->caption();
    return QAccessibleWidget::text(t);
}

QAccessible::State zr6200fp_ledAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.readOnly = true;
    s.checked = led()->isOn();
    return s;
}

void zr6200fp_ledAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(lampInterface), true);
    Q_UNUSED(installed);
}

void zr6200fp_ledAccessible::announce(zr6200fp_led *led)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(led, changed);
    QAccessible::updateAccessibility(&event);
}
