// Arbitrary limbs through every intXXL operation, checked against __int128
// arithmetic wrapped to 80 bits.
#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>

#include "support/int80reference.h"

namespace {

using namespace int80reference;

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "intXXL %s differs from the reference\n", what);
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto value = [&in] {
        u128 u = 0;
        for (int i = 0; i < 5; ++i)
            u = (u << 16) | in.ConsumeIntegral<quint16>();
        return wrap80(i128(u));
    };
    const i128 a = value();
    const i128 b = value();
    const int n = in.ConsumeIntegralInRange(-100, 100);
    const auto d = in.ConsumeIntegral<qint16>();
    const intXXL x = toXXL(a);
    const intXXL y = toXXL(b);
    check(x + y == toXXL(wrap80(a + b)) && x - y == toXXL(wrap80(a - b)), "sum or difference");
    check((x & y) == toXXL(a & b) && (x | y) == toXXL(a | b) && ~x == toXXL(~a), "bit operation");
    check((x << n) == toXXL(n <= 0 ? a : n >= 80 ? 0 : wrap80(i128(u128(a) << n))), "shift");
    check(x / d == toXXL(d == 0 ? 0 : wrap80(a / d)), "division");
    check((x < y) == (a < b) && (x == y) == (a == b), "comparison");
    check(x.toLongLong() == qint64(quint64(u128(a))), "low 64 bits");
    return 0;
}
