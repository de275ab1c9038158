#pragma once

#include <QLabel>
#include <QString>

// A label shown as an underlined link that reports clicks of any mouse
// button; the keyboard reaches it with Tab and follows it with Return or
// Space.
class clickableLabel : public QLabel
{
    Q_OBJECT
public:
    clickableLabel(QString text, QWidget *parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // A label draws no focus; the link draws the style's focus frame.
    void paintEvent(QPaintEvent *event) override;
};
