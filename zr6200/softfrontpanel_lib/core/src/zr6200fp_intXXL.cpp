#include "core/zr6200fp_intXXL.h"

#include <cstdio>
#include <cstring>

intXXL::intXXL(qint64 n)
{
    const auto u = quint64(n);
    for (int i = 0; i < 4; ++i)
        limb[i] = quint16(u >> (16 * i));
    limb[4] = n < 0 ? 0xFFFF : 0;
}

intXXL::intXXL(quint16 l4, quint16 l3, quint16 l2, quint16 l1, quint16 l0)
    : limb{l0, l1, l2, l3, l4}
{
}

intXXL intXXL::operator+(const intXXL &b) const
{
    intXXL r;
    quint32 carry = 0;
    for (int i = 0; i < 5; ++i) {
        const quint32 sum = quint32(limb[i]) + b.limb[i] + carry;
        r.limb[i] = quint16(sum);
        carry = sum >> 16;
    }
    return r;
}

intXXL intXXL::operator-(const intXXL &b) const
{
    intXXL r;
    quint32 borrow = 0;
    for (int i = 0; i < 5; ++i) {
        const quint32 diff = quint32(limb[i]) - b.limb[i] - borrow;
        r.limb[i] = quint16(diff);
        borrow = (diff >> 16) & 1;
    }
    return r;
}

intXXL intXXL::operator&(const intXXL &b) const
{
    intXXL r;
    for (int i = 0; i < 5; ++i)
        r.limb[i] = limb[i] & b.limb[i];
    return r;
}

intXXL intXXL::operator|(const intXXL &b) const
{
    intXXL r;
    for (int i = 0; i < 5; ++i)
        r.limb[i] = limb[i] | b.limb[i];
    return r;
}

intXXL intXXL::operator~() const
{
    intXXL r;
    for (int i = 0; i < 5; ++i)
        r.limb[i] = quint16(~limb[i]);
    return r;
}

intXXL intXXL::operator<<(int n) const
{
    if (n <= 0)
        return *this;
    intXXL r;
    if (n >= 80)
        return r;
    const int whole = n / 16;
    const int part = n % 16;
    for (int i = 4; i >= whole; --i) {
        quint32 v = quint32(limb[i - whole]) << part;
        if (part != 0 && i - whole - 1 >= 0)
            v |= quint32(limb[i - whole - 1]) >> (16 - part);
        r.limb[i] = quint16(v);
    }
    return r;
}

intXXL intXXL::negated() const
{
    return intXXL() - *this;
}

intXXL intXXL::operator/(qint16 d) const
{
    if (d == 0)
        return intXXL();
    // The magnitude of -2^79 is 2^79, which the limbs hold as unsigned.
    const intXXL magnitude = isNegative() ? negated() : *this;
    const quint32 divisor = d < 0 ? quint32(-qint32(d)) : quint32(d);
    intXXL q;
    quint32 remainder = 0;
    for (int i = 4; i >= 0; --i) {
        const quint32 part = (remainder << 16) | magnitude.limb[i];
        q.limb[i] = quint16(part / divisor);
        remainder = part % divisor;
    }
    return isNegative() != (d < 0) ? q.negated() : q;
}

bool intXXL::operator==(const intXXL &b) const
{
    return std::memcmp(limb, b.limb, sizeof limb) == 0;
}

bool intXXL::operator<(const intXXL &b) const
{
    if (isNegative() != b.isNegative())
        return isNegative();
    for (int i = 4; i >= 0; --i) {
        if (limb[i] != b.limb[i])
            return limb[i] < b.limb[i];
    }
    return false;
}

qint64 intXXL::toLongLong() const
{
    quint64 u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 16) | limb[i];
    return qint64(u);
}

const char *intXXL::toHex(int mode)
{
    if (mode != 0) {
        std::snprintf(text, sizeof text, "not supported");
        return text;
    }
    std::snprintf(text, sizeof text, "%04hx%04hx%04hx%04hx%04hx", limb[4], limb[3], limb[2], limb[1], limb[0]);
    return text;
}
