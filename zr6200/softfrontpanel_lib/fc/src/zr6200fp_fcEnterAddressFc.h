#pragma once

#include <QWidget>

class QComboBox;

// One address row of the address dialog: a typed VISA resource descriptor
// with its history, and the function-card number.
class zr6200fp_fcEnterAddressFc final : public QWidget
{
    Q_OBJECT
public:
    explicit zr6200fp_fcEnterAddressFc(QWidget *parent = nullptr);

    // Editable; items are the remembered descriptors, most recent first.
    QComboBox *const descriptorCombo;
    // Item index = card number; 0 is "Select" (no card chosen).
    QComboBox *const fcNumberCombo;
};
