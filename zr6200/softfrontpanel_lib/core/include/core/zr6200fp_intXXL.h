#pragma once

#include <QtGlobal>

// An 80-bit two's-complement integer: every signed and every unsigned 64-bit
// value fits with room for a sign, so sums and differences of range limits
// and steps never overflow. Arithmetic wraps modulo 2^80.
class intXXL
{
public:
    intXXL() = default;
    explicit intXXL(qint64 n);
    // Limbs most significant first.
    intXXL(quint16 l4, quint16 l3, quint16 l2, quint16 l1, quint16 l0);

    intXXL operator+(const intXXL &b) const;
    intXXL operator-(const intXXL &b) const;
    intXXL operator&(const intXXL &b) const;
    intXXL operator|(const intXXL &b) const;
    intXXL operator~() const;
    // Shifts of 80 bits or more give 0; a negative count shifts nothing.
    intXXL operator<<(int n) const;
    // Truncates toward zero; division by 0 gives 0.
    intXXL operator/(qint16 d) const;

    bool operator==(const intXXL &b) const;
    bool operator!=(const intXXL &b) const { return !(*this == b); }
    bool operator<(const intXXL &b) const;
    bool operator<=(const intXXL &b) const { return !(b < *this); }
    bool operator>(const intXXL &b) const { return b < *this; }
    bool operator>=(const intXXL &b) const { return !(*this < b); }

    bool isNegative() const { return (limb[4] & 0x8000) != 0; }
    // The low 64 bits as a signed number.
    qint64 toLongLong() const;
    // Mode 0: the five limbs, most significant first, as 20 lower-case
    // hexadecimal digits; any other mode: "not supported".
    const char *toHex(int mode);

private:
    intXXL negated() const;

    char text[22] = {};
    quint16 limb[5] = {}; // least significant first
};
