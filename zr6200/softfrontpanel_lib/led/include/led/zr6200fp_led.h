#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// A status lamp: a round lamp in its on or off colour with a one-line
// caption to its right. It only displays; it takes no input.
class zr6200fp_led : public QWidget
{
    Q_OBJECT
public:
    // An offColor equal to QColor(Qt::magenta) asks for the palette's window
    // colour at construction instead.
    zr6200fp_led(QString text, const QColor &onColor, const QColor &offColor, QWidget *parent);
    // colorName is any name QColor accepts; null means "#FF0000". The off
    // colour is the palette's window colour at construction.
    zr6200fp_led(QString text, const char *colorName, QWidget *parent);

    void setValue(int v);
    void setOnColor(const QColor &c);
    void setOffColor(const QColor &c);
    void setText(QString t);

    bool isOn() const { return value != 0; }
    const QString &caption() const { return text; }
    QColor lampColor() const { return value ? onColor : offColor; }

    QSize minimumSizeHint() const override;

    // Left edge of the lamp: lamp and caption centred in the widget, shifted
    // 2 pixels right; negative when the widget is narrower than its hint.
    static int lampLeft(int widgetWidth, int hintWidth);

public slots:
    void toggleValue();

signals:
    void valueToggled();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int value = 0;
    QColor onColor;
    QColor offColor;
    QString text;
};
