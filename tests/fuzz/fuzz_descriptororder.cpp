// Random descriptor lists sorted the way the search sorts them. The order is
// not transitive across types, so the sort must stay memory-safe whatever the
// comparator answers, and keep every element.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/zr6200fp_descriptorOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList list =
        QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size)).split(QLatin1Char('\n'));
    QStringList sorted = list;
    std::stable_sort(sorted.begin(), sorted.end(), descriptorLessThan);
    list.sort();
    QStringList check = sorted;
    check.sort();
    if (check != list) {
        std::fprintf(stderr, "descriptor sort lost or invented elements\n");
        __builtin_trap();
    }
    return 0;
}
