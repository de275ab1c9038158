// Arbitrary descriptor pairs: the ordering reads numbers out of any text
// without overrunning it, no descriptor is less than itself, and within one
// interface type no two descriptors are each less than the other.
#include <QString>
#include <cstdint>

#include "core/zr6200fp_descriptorOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    const QString a = text.left(cut);
    const QString b = cut < 0 ? a : text.mid(cut + 1);
    if (descriptorLessThan(a, a) || (descriptorLessThan(a, b) && descriptorLessThan(b, a)))
        __builtin_trap();
    return 0;
}
