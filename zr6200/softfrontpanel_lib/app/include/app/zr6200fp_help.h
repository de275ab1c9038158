#pragma once

#include <QString>

class QWidget;

// A control's help: its What's This text, which the desktop's accessibility
// bus does not carry, so it is the control's accessible description too and
// a screen reader reads it.
namespace zr6200fp_help {

void setHelp(QWidget *widget, const QString &text);

} // namespace zr6200fp_help
