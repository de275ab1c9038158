#pragma once

#include <QLineEdit>

class zr6200fp_newPushButton;

// The digit control's text field: leaving it commits the text like Return.
class zr6200fp_newlineEdit final : public QLineEdit
{
    Q_OBJECT
public:
    explicit zr6200fp_newlineEdit(QWidget *parent = nullptr);

    // The base button placed inside the field, set by its owner.
    zr6200fp_newPushButton *baseButton = nullptr;

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
};
