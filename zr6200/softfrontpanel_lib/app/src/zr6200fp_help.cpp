#include "app/zr6200fp_help.h"

#include <QWidget>

namespace zr6200fp_help {

void setHelp(QWidget *widget, const QString &text)
{
    widget->setWhatsThis(text);
    widget->setAccessibleDescription(text);
}

} // namespace zr6200fp_help
