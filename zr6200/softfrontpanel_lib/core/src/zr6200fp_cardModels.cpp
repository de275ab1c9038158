#include "core/zr6200fp_cardModels.h"

namespace zr6200fp_cardModels {

QString modelText(qint32 modelCode, int base)
{
    return QStringLiteral("%1").arg(modelCode, 4, base, QLatin1Char(' '));
}

bool takesSeveralCards(qint32 modelCode)
{
    return modelCode == 0x5902 || modelCode == 0x5938;
}

quint16 displayCode(quint16 rawCode)
{
    switch (rawCode) {
    case 0x6C6C:
        return 0x5470;
    case 0x8A20:
        return 0x5330;
    case 0xB1E4:
        return 0x5120;
    case 0xB3C4:
        return 0x5121;
    default:
        return (rawCode & 0xFCFF) == 0x8064 ? 0x5840 : rawCode;
    }
}

} // namespace zr6200fp_cardModels
