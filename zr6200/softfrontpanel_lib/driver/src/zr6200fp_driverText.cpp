#include "driver/zr6200fp_driverText.h"

#include <cstring>

namespace zr6200fp_driverText {

QString fromBuffer(const char *buffer, std::size_t size)
{
    return QString::fromLatin1(buffer, qsizetype(strnlen(buffer, size)));
}

QString orStatus(const QString &text, ViStatus status)
{
    if (!text.isEmpty())
        return text;
    return QLatin1String("0x") + QStringLiteral("%1").arg(quint32(status), 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace zr6200fp_driverText
