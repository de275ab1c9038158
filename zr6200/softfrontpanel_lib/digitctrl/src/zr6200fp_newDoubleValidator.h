#pragma once

#include <QDoubleValidator>

// Counts every text QDoubleValidator does not reject as acceptable, so that
// Return commits partial input (which then shows the value again).
class zr6200fp_newDoubleValidator final : public QDoubleValidator
{
    Q_OBJECT
public:
    zr6200fp_newDoubleValidator(double bottom, double top, int decimals, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};
