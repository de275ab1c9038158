#pragma once

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

} // namespace int80reference
