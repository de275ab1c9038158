#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <array>

#include "core/zr6200fp_intXXL.h"

// The digit control's arithmetic and notation, without the widget: the base
// table, printf-style formats, the limits of an integer type of 1 to 64
// bits, the validator patterns, and the value's text in a base.
class zr6200fp_digitFormat
{
public:
    // Which kinds of control may use a base (BaseRow::kindMask).
    enum Kind { SignedInteger = 1, UnsignedInteger = 2, Double = 4 };

    struct BaseRow
    {
        int radix;       // 0 for the floating notations
        char conversion; // printf conversion character, 0 for binary
        const char *tag; // shown on the base button
        int kindMask;
        const char *menuText;
    };
    static constexpr int kBaseCount = 10;
    static const std::array<BaseRow, kBaseCount> baseTable;
    enum Base {
        Decimal,
        UnsignedDecimal,
        Hexadecimal,
        HexadecimalUpper,
        Octal,
        Binary,
        Float,
        General,
        Exponent,
        ExponentUpper
    };

    // What a printf-style format says.
    struct FormatSpec
    {
        char flag = 0; // '+', ' ' or 0 for none
        int width = -1;
        int precision = -1;
        char conversion = 0;
    };
    // flag is the flag in force, kept by a format without '%'. Widths and
    // precisions are limited to +-kMaxFieldWidth; a negative precision means
    // none, as in printf.
    static FormatSpec parse(const char *format, bool isInteger, char flag);
    static constexpr int kMaxFieldWidth = 255;
    // "%" flag width "." precision ("ll" for integers) and the base's
    // conversion; empty for binary, which printf cannot write.
    static QByteArray printfFormat(const FormatSpec &fields, int base, bool isInteger);

    // Type limits for a width of 1 to 64 bits (other widths are taken as the
    // nearest of these).
    static intXXL bitMask(int bits);
    static intXXL typeMaximum(int bits, bool isSigned);
    static intXXL typeMinimum(int bits, bool isSigned);
    // Wraps x around the type: masked when unsigned, sign-extended from the
    // type's sign bit when signed.
    static intXXL normalize(const intXXL &x, int bits, bool isSigned);
    // Digits the type needs in radix (2 to 16).
    static int digitCount(int radix, int bits, bool isSigned);
    static QString validatorPattern(int radix, int bits, bool isSigned, int precision);

    // Numbers are shown, typed and read in the C locale's notation whatever
    // the user's locale; a group separator is no part of it.
    static QLocale numberLocale();
    // Decimals typing may give: at least 3, and all the notation prints.
    static int typedDecimals(const FormatSpec &fields, int base);
    // The C library's printf output in the C locale.
    static QString doubleText(double value, const char *format);
    // Typed text read in numberLocale(); false when it does not convert.
    static bool readDouble(const QString &text, double *value);
    static QString integerText(const intXXL &value, const FormatSpec &fields, int base, int bits, bool isSigned);
    // Typed text read in a base; false when it does not convert.
    static bool readInteger(const QString &text, int base, bool isSigned, intXXL *value);
};
