#include "core/zr6200fp_digitFormat.h"

#include <QCoreApplication>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <vector>

#include "zr6200fp_cScan.h"

const std::array<zr6200fp_digitFormat::BaseRow, zr6200fp_digitFormat::kBaseCount> zr6200fp_digitFormat::baseTable = {{
    {10, 'd', "d", SignedInteger, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "decimal")},
    {10, 'u', "d", UnsignedInteger, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "unsigned decimal")},
    {16, 'x', "h", SignedInteger | UnsignedInteger, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "hexadecimal")},
    {16, 'X', "H", SignedInteger | UnsignedInteger, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "hexadecimal upper")},
    {8, 'o', "o", SignedInteger | UnsignedInteger, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "octal")},
    {2, 0, "b", SignedInteger | UnsignedInteger, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "binary")},
    {0, 'f', "f", Double, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "float")},
    {0, 'g', "g", Double, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "general")},
    {0, 'e', "e", Double, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "exponent")},
    {0, 'E', "E", Double, QT_TRANSLATE_NOOP("zr6200fp_digitCtrl", "Exponent")},
}};

namespace {

int clampBits(int bits)
{
    return std::clamp(bits, 1, 64);
}

// A field width or precision as "%d%n" scans it, saturating at
// kMaxFieldWidth. Returns the characters read, 0 when there is no number.
int readNumber(const char *p, int &value)
{
    long long v = 0;
    const int used = zr6200fp_cScan::readInt(p, int(std::strlen(p)), zr6200fp_digitFormat::kMaxFieldWidth, v);
    if (used)
        value = int(v);
    return used;
}

// The C library's printf into a buffer of the size the result needs.
template <typename T> QByteArray printed(const char *format, T value)
{
    const int size = std::snprintf(nullptr, 0, format, value);
    if (size <= 0)
        return QByteArray();
    std::vector<char> buffer(size_t(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return QByteArray(buffer.data(), size);
}

} // namespace

zr6200fp_digitFormat::FormatSpec zr6200fp_digitFormat::parse(const char *format, bool isInteger, char flag)
{
    FormatSpec parsed;
    parsed.flag = flag;
    if (!format || format[0] != '%') {
        parsed.conversion = isInteger ? 'd' : 'g';
        return parsed;
    }
    const char *p = format + 1;
    parsed.flag = 0;
    if (*p == '+' || *p == ' ')
        parsed.flag = *p++;
    int number = 0;
    if (const int used = readNumber(p, number)) {
        parsed.width = number;
        p += used;
    }
    if (*p == '.') {
        ++p;
        if (const int used = readNumber(p, number)) {
            // printf takes a negative precision as none.
            parsed.precision = std::max(number, -1);
            p += used;
        }
    }
    parsed.conversion = *p;
    return parsed;
}

QByteArray zr6200fp_digitFormat::printfFormat(const FormatSpec &fields, int base, bool isInteger)
{
    const BaseRow &row = baseTable[size_t(base)];
    if (!row.conversion)
        return QByteArray();
    QByteArray text("%");
    if (fields.flag)
        text += fields.flag;
    if (fields.width != -1)
        text += QByteArray::number(fields.width);
    if (fields.precision != -1)
        text += '.' + QByteArray::number(fields.precision);
    if (isInteger)
        text += "ll";
    text += row.conversion;
    return text;
}

intXXL zr6200fp_digitFormat::bitMask(int bits)
{
    return (intXXL(1) << clampBits(bits)) - intXXL(1);
}

intXXL zr6200fp_digitFormat::typeMaximum(int bits, bool isSigned)
{
    return isSigned ? (intXXL(1) << (clampBits(bits) - 1)) - intXXL(1) : bitMask(bits);
}

intXXL zr6200fp_digitFormat::typeMinimum(int bits, bool isSigned)
{
    return isSigned ? ~typeMaximum(bits, true) : intXXL();
}

intXXL zr6200fp_digitFormat::normalize(const intXXL &x, int bits, bool isSigned)
{
    if (!isSigned)
        return x & bitMask(bits);
    const intXXL signBit = intXXL(1) << (clampBits(bits) - 1);
    // Higher bits of a non-negative value are left as they are.
    return (x & signBit) != intXXL() ? x | ~(signBit - intXXL(1)) : x;
}

int zr6200fp_digitFormat::digitCount(int radix, int bits, bool isSigned)
{
    if (radix < 2)
        return 1;
    intXXL limit = isSigned ? typeMinimum(bits, true) : typeMaximum(bits, false);
    int digits = 0;
    do {
        limit = limit / qint16(radix);
        ++digits;
    } while (limit != intXXL());
    return digits;
}

QString zr6200fp_digitFormat::validatorPattern(int radix, int bits, bool isSigned, int precision)
{
    // A precision of 0 would make "{1,0}", a pattern that matches nothing.
    const int maxDigits = precision > 0 ? precision : digitCount(radix, bits, isSigned);
    QString pattern;
    if (radix == 10)
        pattern += QLatin1String("[+-]?");
    pattern += QLatin1String("[0-");
    pattern += radix <= 10 ? QString::number(radix - 1) : QStringLiteral("9a-fA-F");
    pattern += QLatin1String("]{1,") + QString::number(maxDigits) + QLatin1Char('}');
    return pattern;
}

QLocale zr6200fp_digitFormat::numberLocale()
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return c;
}

int zr6200fp_digitFormat::typedDecimals(const FormatSpec &fields, int base)
{
    const char conversion = baseTable[size_t(base)].conversion;
    // Without a precision printf writes 6 decimals.
    if (fields.precision == -1 && (conversion == 'f' || conversion == 'e' || conversion == 'E'))
        return 6;
    // %g writes its precision (6 without one) in significant digits, after
    // as many as four zeros behind the point in its fixed form.
    if (conversion == 'g')
        return (fields.precision == -1 ? 6 : std::max(1, fields.precision)) + 3;
    return std::max(3, fields.precision);
}

QString zr6200fp_digitFormat::doubleText(double value, const char *format)
{
    // Qt takes LC_NUMERIC from the environment; with the flags a format can
    // carry, the decimal point is all of printf's output it changes.
    QByteArray text = printed(format, value);
    const char *point = std::localeconv()->decimal_point;
    if (*point && std::strcmp(point, ".") != 0)
        text.replace(point, ".");
    return QString::fromLatin1(text);
}

bool zr6200fp_digitFormat::readDouble(const QString &text, double *value)
{
    bool ok = false;
    const double d = numberLocale().toDouble(text, &ok);
    if (ok)
        *value = d;
    return ok;
}

QString zr6200fp_digitFormat::integerText(const intXXL &value, const FormatSpec &fields, int base, int bits,
                                          bool isSigned)
{
    const qint64 low = value.toLongLong();
    const auto pattern = static_cast<unsigned long long>((value & bitMask(bits)).toLongLong());
    if (base == Binary)
        return isSigned ? QString::number(low, 2) : QString::number(pattern, 2);
    // printf writes no digit at all for 0 with precision 0; for any other
    // value precisions 0 and 1 print the same.
    FormatSpec shown = fields;
    if (shown.precision == 0)
        shown.precision = 1;
    const QByteArray format = printfFormat(shown, base, true);
    if (isSigned && baseTable[size_t(base)].radix == 10)
        return QString::fromLatin1(printed(format.constData(), static_cast<long long>(low)));
    return QString::fromLatin1(printed(format.constData(), pattern));
}

bool zr6200fp_digitFormat::readInteger(const QString &text, int base, bool isSigned, intXXL *value)
{
    bool ok = false;
    const int radix = baseTable[size_t(base)].radix;
    if (isSigned && radix == 10) {
        const qint64 n = text.toLongLong(&ok, 10);
        if (ok)
            *value = intXXL(n);
        return ok;
    }
    const quint64 u = text.toULongLong(&ok, radix);
    if (ok) {
        // Unsigned: zero-extended, so that a typed value of 2^63 or more
        // stays positive.
        const intXXL typed(static_cast<qint64>(u));
        *value = isSigned ? typed : typed & bitMask(64);
    }
    return ok;
}
