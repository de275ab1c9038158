#include "zr6200fp_newlineEdit.h"

zr6200fp_newlineEdit::zr6200fp_newlineEdit(QWidget *parent)
    : QLineEdit(parent)
{
}

void zr6200fp_newlineEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    setCursorPosition(3);
}

void zr6200fp_newlineEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    // Whatever the text and the reason: the owner commits or restores it.
    emit returnPressed();
}
