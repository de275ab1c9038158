// Arbitrary limb values through every intXXL operation, checked against
// __int128 arithmetic wrapped to 80 bits.

#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>

#include "intxxl_reference.h"

using namespace zrref;

namespace {

i128 consumeValue(FuzzedDataProvider &in)
{
    u128 u = 0;
    for (int i = 0; i < 5; ++i)
        u = (u << 16) | in.ConsumeIntegral<quint16>();
    return wrap80(i128(u));
}

void check(bool ok, const char *what, i128 a, i128 b, int n, int d)
{
    if (ok)
        return;
    std::fprintf(stderr, "intXXL %s differs: a=%s b=%s n=%d d=%d\n", what, hex(a).constData(), hex(b).constData(), n,
                 d);
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const i128 a = consumeValue(in);
    const i128 b = consumeValue(in);
    const int n = in.ConsumeIntegral<int>();
    const auto d = in.ConsumeIntegral<qint16>();
    const qint64 small = in.ConsumeIntegral<qint64>();
    const intXXL x = toXXL(a);
    const intXXL y = toXXL(b);

    check(hex(x + y) == hex(wrap80(a + b)), "sum", a, b, n, d);
    check(hex(x - y) == hex(wrap80(a - b)), "difference", a, b, n, d);
    check(hex(x & y) == hex(a & b), "and", a, b, n, d);
    check(hex(x | y) == hex(a | b), "or", a, b, n, d);
    check(hex(~x) == hex(~a), "not", a, b, n, d);
    check(hex(x << n) == hex(shiftLeft(a, n)), "shift", a, b, n, d);
    check(hex(x / d) == hex(divide(a, d)), "quotient", a, b, n, d);
    check((x == y) == (a == b) && (x != y) == (a != b), "equality", a, b, n, d);
    check((x < y) == (a < b) && (x <= y) == (a <= b), "less", a, b, n, d);
    check((x > y) == (a > b) && (x >= y) == (a >= b), "greater", a, b, n, d);
    check(x.toLongLong() == qint64(quint64(u128(a))), "toLongLong", a, b, n, d);
    check(hex(intXXL(small)) == hex(i128(small)), "from qint64", small, 0, n, d);
    intXXL copy = x;
    check(QByteArray(copy.toHex(n)) == (n == 0 ? hex(a) : QByteArray("not supported")), "toHex", a, b, n, d);
    return 0;
}
