#include "about/clickableLabel.h"

clickableLabel::clickableLabel(QString text, QWidget *parent)
    : QLabel(QLatin1String("<u><font color='#22e'>") + text + QLatin1String("</font></u>"), parent)
{
    setCursor(Qt::PointingHandCursor);
}

void clickableLabel::mouseReleaseEvent(QMouseEvent *)
{
    emit clicked();
}
