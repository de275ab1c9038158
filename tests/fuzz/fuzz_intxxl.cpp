// Arbitrary limbs through every intXXL operation, checked against __int128
// arithmetic wrapped to 80 bits.
#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>

#include "support/int80reference.h"

using namespace int80reference;

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
    if (const char *what = firstDifference(a, b, n, d)) {
        std::fprintf(stderr, "intXXL %s differs from the reference\n", what);
        __builtin_trap();
    }
    return 0;
}
