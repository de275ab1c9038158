#pragma once

#include <QPushButton>

class QMenu;

// The base button inside the digit control's field: a right click opens
// `menu` (not owned); a left click is an ordinary click.
class zr6200fp_newPushButton final : public QPushButton
{
    Q_OBJECT
public:
    explicit zr6200fp_newPushButton(QWidget *parent = nullptr);

    QMenu *menu = nullptr;

protected:
    bool event(QEvent *e) override;
};
