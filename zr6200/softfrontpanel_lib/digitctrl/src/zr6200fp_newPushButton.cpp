#include "zr6200fp_newPushButton.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>

zr6200fp_newPushButton::zr6200fp_newPushButton(QWidget *parent)
    : QPushButton(parent)
{
    // Not the text cursor of the line edit the button sits in.
    setCursor(Qt::ArrowCursor);
    setAutoDefault(false);
    setFocusPolicy(Qt::NoFocus);
}

bool zr6200fp_newPushButton::event(QEvent *e)
{
    if (menu && e->type() == QEvent::ContextMenu) {
        e->accept();
        menu->exec(QCursor::pos());
        return true;
    }
    return QPushButton::event(e);
}
