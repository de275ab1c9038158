#include "about/clickableLabel.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "zr6200fp_linkAccessible.h"

clickableLabel::clickableLabel(QString text, QWidget *parent)
    : QLabel(QLatin1String("<u><font color='#22e'>") + text + QLatin1String("</font></u>"), parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    zr6200fp_linkAccessible::install();
}

void clickableLabel::mouseReleaseEvent(QMouseEvent *)
{
    emit clicked();
}

void clickableLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit clicked();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void clickableLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
