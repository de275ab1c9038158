#pragma once

#include <QLabel>
#include <QString>

// A label shown as an underlined link that reports clicks of any mouse
// button.
class clickableLabel : public QLabel
{
    Q_OBJECT
public:
    clickableLabel(QString text, QWidget *parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
