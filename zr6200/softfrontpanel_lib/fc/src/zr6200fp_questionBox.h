#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zr6200fp_questionBox {

// A modal question box with the given buttons, in order, the first being
// the default, and no escape button unless there is only one. Returns the
// index of the button that closed it, -1 for none.
int ask(QWidget *parent, const QString &title, const QString &text, const QStringList &buttons);

} // namespace zr6200fp_questionBox
