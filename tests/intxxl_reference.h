#pragma once

// __int128 as the reference for intXXL: values are kept wrapped to 80 bits,
// sign-extended.

#include <QByteArray>
#include <QtGlobal>

#include "core/zr6200fp_intXXL.h"

namespace zrref {

using i128 = __int128;
using u128 = unsigned __int128;

constexpr u128 mask80 = (u128(1) << 80) - 1;

inline i128 wrap80(i128 v)
{
    u128 u = u128(v) & mask80;
    if (u >> 79)
        u |= ~mask80;
    return i128(u);
}

inline intXXL toXXL(i128 v)
{
    const u128 u = u128(v);
    return intXXL(quint16(u >> 64), quint16(u >> 48), quint16(u >> 32), quint16(u >> 16), quint16(u));
}

inline QByteArray hex(i128 v)
{
    const u128 u = u128(v) & mask80;
    QByteArray text(20, '0');
    for (int i = 0; i < 20; ++i)
        text[19 - i] = "0123456789abcdef"[int((u >> (4 * i)) & 0xF)];
    return text;
}

// 20 hexadecimal digits, most significant first, as toHex(0) writes them.
inline intXXL fromHex(const QByteArray &h)
{
    auto limb = [&h](int i) { return quint16(h.mid(4 * i, 4).toUInt(nullptr, 16)); };
    return intXXL(limb(0), limb(1), limb(2), limb(3), limb(4));
}

inline QByteArray hex(intXXL x)
{
    return QByteArray(x.toHex(0));
}

// Division as intXXL defines it: truncation toward zero, 0 for a zero divisor.
inline i128 divide(i128 a, qint16 d)
{
    return d == 0 ? 0 : wrap80(a / d);
}

inline i128 shiftLeft(i128 a, int n)
{
    if (n <= 0)
        return a;
    if (n >= 80)
        return 0;
    return wrap80(i128(u128(a) << n));
}

} // namespace zrref
