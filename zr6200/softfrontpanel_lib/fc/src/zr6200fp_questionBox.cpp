#include "zr6200fp_questionBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace zr6200fp_questionBox {

int ask(QWidget *parent, const QString &title, const QString &text, const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> added;
    for (const QString &button : buttons)
        added << box.addButton(button, QMessageBox::ActionRole);
    if (!added.isEmpty())
        box.setDefaultButton(static_cast<QPushButton *>(added.first()));
    box.exec();
    return int(added.indexOf(box.clickedButton()));
}

} // namespace zr6200fp_questionBox
