#include "led/zr6200fp_led.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <utility>

#include "zr6200fp_ledAccessible.h"

zr6200fp_led::zr6200fp_led(QString text, const QColor &onColor, const QColor &offColor, QWidget *parent)
    : QWidget(parent)
    , onColor(onColor)
    , offColor(offColor == QColor(Qt::magenta) ? palette().color(QPalette::Window) : offColor)
    , text(std::move(text))
{
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    zr6200fp_ledAccessible::install();
}

zr6200fp_led::zr6200fp_led(QString text, const char *colorName, QWidget *parent)
    : QWidget(parent)
    , onColor(colorName ? colorName : "#FF0000")
    , offColor(palette().color(QPalette::Window))
    , text(std::move(text))
{
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    zr6200fp_ledAccessible::install();
}

void zr6200fp_led::setValue(int v)
{
    if (v == value)
        return;
    const bool wasOn = isOn();
    value = v;
    repaint();
    if (isOn() != wasOn)
        zr6200fp_ledAccessible::announce(this);
}

void zr6200fp_led::setOnColor(const QColor &c)
{
    onColor = c;
    if (value)
        repaint();
}

void zr6200fp_led::setOffColor(const QColor &c)
{
    offColor = c;
    if (!value)
        repaint();
}

void zr6200fp_led::setText(QString t)
{
    if (t == text)
        return;
    text = std::move(t);
    repaint();
}

void zr6200fp_led::toggleValue()
{
    value = value ? 0 : 1;
    repaint();
    zr6200fp_ledAccessible::announce(this);
    emit valueToggled();
}

QSize zr6200fp_led::minimumSizeHint() const
{
    const QFontMetrics fm = fontMetrics();
    const int h = fm.height();
    return {h + 1 + fm.horizontalAdvance(text) + (h + 1) / 2, h + 2};
}

int zr6200fp_led::lampLeft(int widgetWidth, int hintWidth)
{
    return int(std::floor((widgetWidth - hintWidth) / 2.0)) + 2;
}

void zr6200fp_led::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor bg = painter.background().color();
    const QColor light = bg.lighter(150);
    const QColor dark = bg.darker(200);
    const QColor lamp = lampColor();

    const int h = fontMetrics().height();
    const qreal x0 = lampLeft(width(), minimumSizeHint().width());

    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawText(QPointF(x0 + h + h / 2, h - 1), text);

    if (h < 10) {
        painter.setBrush(QBrush(lamp, Qt::SolidPattern));
        painter.drawChord(QRectF(x0, 0, h, h), 0, 5760);
        return;
    }
    const QRectF outer(x0, 0, h, h);
    const QRectF inner(x0 + 2, 2, h - 4, h - 4);
    painter.setPen(light);
    painter.drawArc(outer, 720, 2880);
    painter.drawArc(inner, 720, 2880);
    painter.setPen(dark);
    painter.drawArc(outer, 3600, 2880);
    painter.drawArc(inner, 3600, 2880);
    painter.setPen(bg);
    painter.drawArc(QRectF(x0 + 1, 1, h - 2, h - 2), 0, 5760);
    painter.setPen(lamp);
    painter.setBrush(QBrush(lamp, Qt::SolidPattern));
    painter.drawChord(QRectF(x0 + 3, 3, h - 6, h - 6), 0, 5760);
}
