#pragma once

#include <QChar>
#include <algorithm>

// Reading numbers as the C library's scanf reads them, for texts the
// family's programs once read with it (descriptors, printf formats).
namespace zr6200fp_cScan {

inline char16_t code(QChar c)
{
    return c.unicode();
}
inline char16_t code(char c)
{
    return static_cast<unsigned char>(c);
}

// A decimal integer at the start of text (size characters), as "%d%n"
// reads it: leading white space skipped, an optional sign, digits. The
// value lies within [-limit, limit]: a longer number saturates. Returns the
// characters read, 0 when there is no number (value untouched).
template <typename Char> int readInt(const Char *text, int size, long long limit, long long &value)
{
    int p = 0;
    while (p < size && (code(text[p]) == ' ' || (code(text[p]) >= '\t' && code(text[p]) <= '\r')))
        ++p;
    const bool negative = p < size && code(text[p]) == '-';
    if (p < size && (code(text[p]) == '+' || code(text[p]) == '-'))
        ++p;
    const int digits = p;
    long long magnitude = 0;
    for (; p < size && code(text[p]) >= '0' && code(text[p]) <= '9'; ++p)
        magnitude = std::min(magnitude * 10 + (code(text[p]) - '0'), limit);
    if (p == digits)
        return 0;
    value = negative ? -magnitude : magnitude;
    return p;
}

} // namespace zr6200fp_cScan
