// The widget-free core: the 80-bit integer, descriptor ordering, the digit
// control's notation, card models, driver texts and the trace, settings paths.
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QtTest>

#include "core/zr6200fp_cardModels.h"
#include "core/zr6200fp_descriptorOrder.h"
#include "core/zr6200fp_digitFormat.h"
#include "core/zr6200fp_driverText.h"
#include "core/zr6200fp_driverTrace.h"
#include "core/zr6200fp_intXXL.h"
#include "core/zr6200fp_settingsLocation.h"
#include "testcore.h"

namespace {

using i128 = __int128;
using u128 = unsigned __int128;
using Fmt = zr6200fp_digitFormat;

// 80-bit values kept sign-extended in an __int128, the reference.
i128 wrap80(i128 v)
{
    const u128 mask = (u128(1) << 80) - 1;
    u128 u = u128(v) & mask;
    return i128(u >> 79 ? u | ~mask : u);
}

intXXL toXXL(i128 v)
{
    const auto u = u128(v);
    return intXXL(quint16(u >> 64), quint16(u >> 48), quint16(u >> 32), quint16(u >> 16), quint16(u));
}

QByteArray hex(intXXL x)
{
    return QByteArray(x.toHex(0));
}

QByteArray hex(i128 v)
{
    return hex(toXXL(v));
}

const i128 two79 = i128(1) << 79;

QStringList traceLines;
void keepTrace(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    if (qstrcmp(context.category, "tervix.driver") == 0)
        traceLines << text;
}

// A driver that fills the buffer to its last byte, without a terminator.
ViStatus fillAll(ViChar text[])
{
    std::memset(text, 'A', 8);
    return 0;
}

} // namespace

class tst_Core : public QObject
{
    Q_OBJECT
private slots:
    void intXXLAgainstInt128();
    void intXXLEdges_data();
    void intXXLEdges();
    void descriptorOrder_data();
    void descriptorOrder();
    void formatParsing_data();
    void formatParsing();
    void integerText_data();
    void integerText();
    void displayCodes_data();
    void displayCodes();
    void driverTexts();
    void traceReadsWithinBuffers();
    void settingsPaths_data();
    void settingsPaths();
};

void tst_Core::intXXLAgainstInt128()
{
    // Fixed seed; limbs lean to the values where carries and signs change.
    QRandomGenerator rng(7480);
    const quint16 edges[] = {0, 1, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF};
    const auto limb = [&] { return rng.bounded(2) ? edges[rng.bounded(6)] : quint16(rng.bounded(65536)); };
    const auto value = [&] {
        u128 u = 0;
        for (int i = 0; i < 5; ++i)
            u = (u << 16) | limb();
        return wrap80(i128(u));
    };
    for (int i = 0; i < 20000; ++i) {
        const i128 a = value();
        const i128 b = value();
        const int n = int(rng.bounded(78)) + 1;
        const auto d = qint16(limb());
        const intXXL x = toXXL(a);
        const intXXL y = toXXL(b);
        const QByteArray context = hex(a) + ' ' + hex(b) + ' ' + QByteArray::number(n) + ' ' + QByteArray::number(d);
        QVERIFY2(hex(x + y) == hex(wrap80(a + b)) && hex(x - y) == hex(wrap80(a - b)), context.constData());
        QVERIFY2(hex(x & y) == hex(a & b) && hex(x | y) == hex(a | b) && hex(~x) == hex(~a), context.constData());
        QVERIFY2(hex(x << n) == hex(wrap80(i128(u128(a) << n))), context.constData());
        QVERIFY2(d == 0 || hex(x / d) == hex(wrap80(a / d)), context.constData());
        QVERIFY2((x == y) == (a == b) && (x < y) == (a < b) && (x >= y) == (a >= b), context.constData());
        QVERIFY2(x.toLongLong() == qint64(quint64(u128(a))), context.constData());
    }
}

void tst_Core::intXXLEdges_data()
{
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("expected");
    zrtest::row("-2^79 / -1 wraps", hex(toXXL(-two79) / -1), hex(-two79));
    zrtest::row("division by 0 gives 0", hex(intXXL(12345) / 0), hex(i128(0)));
    zrtest::row("-128 / 10 truncates", hex(intXXL(-128) / 10), hex(i128(-12)));
    zrtest::row("shift by 80 gives 0", hex(intXXL(-1) << 80), hex(i128(0)));
    zrtest::row("shift by 79", hex(intXXL(1) << 79), hex(-two79));
    zrtest::row("negative shift shifts nothing", hex(intXXL(5) << -3), hex(i128(5)));
    zrtest::row("-1 sign-extends", hex(intXXL(-1)), QByteArray("ffffffffffffffffffff"));
    zrtest::row("2^64 - 1 as int64 is -1", QByteArray::number((toXXL((i128(1) << 64) - 1)).toLongLong()),
                QByteArray("-1"));
    zrtest::row("2^64 - 1 is positive", QByteArray::number(toXXL((i128(1) << 64) - 1) > intXXL(0)), QByteArray("1"));
    zrtest::row("text of another mode", QByteArray(intXXL(1).toHex(1)), QByteArray("not supported"));
}

void tst_Core::intXXLEdges()
{
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, expected);
    QCOMPARE(result, expected);
}

void tst_Core::descriptorOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aLess");
    QTest::addColumn<bool>("bLess");
    const auto row = [](const char *name, const char *a, const char *b, bool aLess, bool bLess) {
        zrtest::row(name, QString::fromUtf8(a), QString::fromUtf8(b), aLess, bLess);
    };
    row("board 9 before 10", "VXI9::1::INSTR", "VXI10::1::INSTR", true, false);
    row("last address part numeric", "TCPIP0::192.168.2.9::INSTR", "TCPIP0::192.168.2.10::INSTR", true, false);
    row("first address part decides", "TCPIP0::10.0.0.200::INSTR", "TCPIP0::192.168.2.100::INSTR", true, false);
    row("board before address", "TCPIP1::0.0.0.1::INSTR", "TCPIP0::255.255.255.255::INSTR", false, true);
    row("no board number reads nothing", "TCPIP::192.168.2.100::INSTR", "TCPIP::10.0.0.1::INSTR", false, false);
    row("lower-case type by numbers", "tcpip0::10.0.0.1::INSTR", "TCPIP0::10.0.0.2::INSTR", true, false);
    row("host name reads as zeros", "TCPIP0::myhost::INSTR", "TCPIP0::1.2.3.4::INSTR", true, false);
    row("GPIB-VXI is GPIB board 0", "GPIB-VXI0::24::INSTR", "GPIB1::5::INSTR", true, false);
    row("other types by text", "vxi0::1::INSTR", "TCPIP5::1.2.3.4::INSTR", false, true);
    row("equal boards", "VXI0::1::INSTR", "VXI0::77::INSTR", false, false);
    row("sign and blanks", "VXI -1::1::INSTR", "VXI 0::1::INSTR", true, false);
    row("no board is 0", "ASRL::INSTR", "ASRL1::INSTR", true, false);
    row("PXI numeric", "PXI10::1::INSTR", "PXI9::1::INSTR", false, true);
    row("GPIB numeric", "GPIB10::1::INSTR", "GPIB9::1::INSTR", false, true);
    row("SOCKET numeric", "SOCKET10::1::INSTR", "SOCKET9::1::INSTR", false, true);
    row("BACKPLANE numeric", "BACKPLANE10::INSTR", "BACKPLANE2::INSTR", false, true);
    row("USB by text", "USB10::1::INSTR", "USB9::1::INSTR", true, false);
    row("huge board saturates", "VXI99999999999999999999::1::INSTR", "VXI1::1::INSTR", false, true);
}

void tst_Core::descriptorOrder()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aLess);
    QFETCH(bool, bLess);
    QCOMPARE(descriptorLessThan(a, b), aLess);
    QCOMPARE(descriptorLessThan(b, a), bLess);
}

void tst_Core::formatParsing_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("isInteger");
    QTest::addColumn<QByteArray>("fields"); // flag width precision conversion
    QTest::addColumn<QByteArray>("printf");
    const auto row = [](const char *format, bool integer, const char *fields, const char *printf) {
        zrtest::row(format, QByteArray(format), integer, QByteArray(fields), QByteArray(printf));
    };
    row("%.4e", false, "0 -1 4 e", "%.4e");
    row("%+5.2x", true, "+ 5 2 x", "%+5.2llx");
    row("% 3d", true, "  3 -1 d", "% 3lld");
    row("%05d", true, "0 5 -1 d", "%5lld");
    row("%-5d", true, "0 -5 -1 d", "%-5lld");
    row("%8", true, "0 8 -1 ", "");
    row("%.x", true, "0 -1 -1 x", "%llx");
    row("abc", true, "0 -1 -1 d", "%lld");
    row("", false, "0 -1 -1 g", "%g");
    row("%99999999999999999999d", true, "0 255 -1 d", "%255lld");
    row("%.-3d", true, "0 -1 -1 d", "%lld");
}

void tst_Core::formatParsing()
{
    QFETCH(QByteArray, format);
    QFETCH(bool, isInteger);
    QFETCH(QByteArray, fields);
    QFETCH(QByteArray, printf);
    const Fmt::FormatSpec parsed = Fmt::parse(format.constData(), isInteger, 0);
    const QByteArray flag = parsed.flag ? QByteArray(1, parsed.flag) : QByteArray("0");
    const QByteArray conversion = parsed.conversion ? QByteArray(1, parsed.conversion) : QByteArray();
    QCOMPARE(flag + ' ' + QByteArray::number(parsed.width) + ' ' + QByteArray::number(parsed.precision) + ' ' +
                 conversion,
             fields);
    int base = Fmt::Binary;
    for (int i = 0; i < Fmt::baseCount; ++i) {
        if (Fmt::baseTable[size_t(i)].conversion == parsed.conversion &&
            (Fmt::baseTable[size_t(i)].radix == 0) != isInteger)
            base = i;
    }
    QCOMPARE(Fmt::printfFormat(parsed, base, isInteger), printf);
}

void tst_Core::integerText_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("isSigned");
    QTest::addColumn<QString>("text");
    zrtest::row("s8 -1 decimal", qint64(-1), QByteArray("%d"), int(Fmt::Decimal), 8, true, "-1");
    zrtest::row("s8 -1 hexadecimal", qint64(-1), QByteArray("%x"), int(Fmt::Hexadecimal), 8, true, "ff");
    zrtest::row("s8 -1 upper", qint64(-1), QByteArray("%X"), int(Fmt::HexadecimalUpper), 8, true, "FF");
    zrtest::row("s8 -1 octal", qint64(-1), QByteArray("%o"), int(Fmt::Octal), 8, true, "377");
    zrtest::row("s8 -1 binary", qint64(-1), QByteArray("%"), int(Fmt::Binary), 8, true, "-1");
    zrtest::row("u64 max binary", qint64(-1), QByteArray("%"), int(Fmt::Binary), 64, false,
                QString(64, QLatin1Char('1')));
    zrtest::row("u64 max decimal", qint64(-1), QByteArray("%u"), int(Fmt::UnsignedDecimal), 64, false,
                "18446744073709551615");
    zrtest::row("u12 binary", qint64(5), QByteArray("%"), int(Fmt::Binary), 12, false, "101");
    zrtest::row("0 at precision 0", qint64(0), QByteArray("%.0x"), int(Fmt::Hexadecimal), 12, false, "0");
    zrtest::row("width and flag", qint64(42), QByteArray("%+5d"), int(Fmt::Decimal), 16, true, "  +42");
}

void tst_Core::integerText()
{
    QFETCH(qint64, value);
    QFETCH(QByteArray, format);
    QFETCH(int, base);
    QFETCH(int, bits);
    QFETCH(bool, isSigned);
    QFETCH(QString, text);
    const intXXL stored = isSigned ? intXXL(value) : intXXL(value) & Fmt::bitMask(bits);
    const QString shown = Fmt::integerText(stored, Fmt::parse(format.constData(), true, 0), base, bits, isSigned);
    QCOMPARE(shown, text);
    // What is shown reads back as the value (a signed binary text has a
    // sign, which the field does not take).
    intXXL typed;
    if (Fmt::readInteger(shown.trimmed(), base, isSigned, &typed))
        QCOMPARE(Fmt::normalize(typed, bits, isSigned), stored);
    else
        QVERIFY(isSigned && base == Fmt::Binary);
}

void tst_Core::displayCodes_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("shown");
    zrtest::row("0x6C6C", 0x6C6C, "5470");
    zrtest::row("0x8A20", 0x8A20, "5330");
    zrtest::row("0xB1E4", 0xB1E4, "5120");
    zrtest::row("0xB3C4", 0xB3C4, "5121");
    zrtest::row("0x8064", 0x8064, "5840");
    zrtest::row("0x8364 masked", 0x8364, "5840");
    zrtest::row("0x8065 unchanged", 0x8065, "8065");
    zrtest::row("short code padded", 0x42, "  42");
    zrtest::row("lower-case digits", 0xABCD, "abcd");
}

void tst_Core::displayCodes()
{
    QFETCH(int, raw);
    QFETCH(QString, shown);
    QCOMPARE(zr6200fp_cardModels::modelText(zr6200fp_cardModels::displayCode(quint16(raw))), shown);
}

void tst_Core::driverTexts()
{
    const char full[4] = {'a', '\xA9', 'c', 'd'};
    QCOMPARE(zr6200fp_driverText::fromBuffer(full), QString::fromLatin1("a\xA9"
                                                                        "cd"));
    QCOMPARE(zr6200fp_driverText::orStatus(QString(), ViStatus(0xBFFF0011)), QStringLiteral("0xBFFF0011"));
    QCOMPARE(zr6200fp_driverText::orStatus(QStringLiteral("text"), -1), QStringLiteral("text"));
}

void tst_Core::traceReadsWithinBuffers()
{
    QLoggingCategory::setFilterRules(QStringLiteral("tervix.driver.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepTrace);
    struct
    {
        char buffer[8];
        char after[8] = "XXXXXXX";
    } memory{};
    const ViStatus status = ZR_DRIVER_CALL(fillAll, memory.buffer);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(status, 0);
    QCOMPARE(traceLines, QStringList{QStringLiteral("fillAll(\"AAAAAAAA\") -> 0")});
}

void tst_Core::settingsPaths_data()
{
    using zr6200fp_settingsLocation::Platform;
    QTest::addColumn<int>("platform");
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    const int windows = int(Platform::Windows);
    const int other = int(Platform::Other);
    zrtest::row("windows profile", windows, "C:\\ProgramData", "C:\\ProgramData\\Halvar\\zrvisa",
                "C:\\ProgramData\\Halvar\\DefaultInstrDescr.ini");
    zrtest::row("windows unset", windows, "", "c:\\vxipnp", "c:\\vxipnp\\Halvar\\DefaultInstrDescr.ini");
    zrtest::row("linux profile", other, "/srv/profile", "/srv/profile/Halvar/zrvisa",
                "/srv/profile/Halvar/DefaultInstrDescr.ini");
    zrtest::row("linux unset", other, "", "/home/u/.config/Halvar/zrvisa",
                "/home/u/.config/Halvar/DefaultInstrDescr.ini");
}

void tst_Core::settingsPaths()
{
    QFETCH(int, platform);
    QFETCH(QString, profile);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    const zr6200fp_settingsLocation::Environment environment{zr6200fp_settingsLocation::Platform(platform), profile,
                                                             QStringLiteral("/home/u/.config")};
    QCOMPARE(zr6200fp_settingsLocation::settingsFolder(environment), folder);
    QCOMPARE(zr6200fp_settingsLocation::addressFile(environment), file);
}

ZR_CORE_TEST_MAIN(tst_Core)
#include "tst_core.moc"
