#include "zr6200fp_newDoubleValidator.h"

zr6200fp_newDoubleValidator::zr6200fp_newDoubleValidator(double bottom, double top, int decimals, QObject *parent)
    : QDoubleValidator(bottom, top, decimals, parent)
{
}

QValidator::State zr6200fp_newDoubleValidator::validate(QString &input, int &pos) const
{
    const State state = QDoubleValidator::validate(input, pos);
    return state == Intermediate ? Acceptable : state;
}
