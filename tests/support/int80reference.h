#pragma once

#include <cstring>

#include "core/zr6200fp_intXXL.h"

// The 80-bit integer's reference: values kept sign-extended in an __int128.
namespace int80reference {

using i128 = __int128;
using u128 = unsigned __int128;

inline i128 wrap80(i128 v)
{
    const u128 mask = (u128(1) << 80) - 1;
    const u128 u = u128(v) & mask;
    return i128(u >> 79 ? u | ~mask : u);
}

inline intXXL toXXL(i128 v)
{
    const auto u = u128(v);
    return intXXL(quint16(u >> 64), quint16(u >> 48), quint16(u >> 32), quint16(u >> 16), quint16(u));
}

// The first operation of intXXL that differs from the reference on a and b
// (shifted by n, divided by d); null when none does. Results compare by
// their limbs, not by intXXL's own comparison.
inline const char *firstDifference(i128 a, i128 b, int n, qint16 d)
{
    const auto differ = [](intXXL x, i128 v) { return std::strcmp(x.toHex(0), toXXL(v).toHex(0)) != 0; };
    const intXXL x = toXXL(a), y = toXXL(b);
    const auto low64 = qint64(quint64(u128(a)));
    if (differ(x + y, wrap80(a + b)) || differ(x - y, wrap80(a - b)))
        return "sum or difference";
    if (differ(x & y, a & b) || differ(x | y, a | b) || differ(~x, ~a))
        return "bit operation";
    if (differ(x << n, n <= 0 ? a : n >= 80 ? 0 : wrap80(i128(u128(a) << n))))
        return "shift";
    if (differ(x / d, d == 0 ? 0 : wrap80(a / d)))
        return "division";
    if ((x < y) != (a < b) || (x == y) != (a == b) || (x >= y) != (a >= b))
        return "comparison";
    if (x.toLongLong() != low64 || differ(intXXL(low64), low64))
        return "to or from 64 bits";
    return nullptr;
}

} // namespace int80reference
