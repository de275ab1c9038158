// The widget-free core: the 80-bit integer, descriptor ordering, driver
// texts and the trace, settings paths.
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QtTest>

#include "core/zr6200fp_descriptorOrder.h"
#include "core/zr6200fp_intXXL.h"
#include "core/zr6200fp_settingsLocation.h"
#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"
#include "int80reference.h"
#include "testcore.h"

namespace {

using namespace int80reference;

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
    zrtest::row("-128 / 10 truncates", hex(intXXL(-128) / 10), hex(i128(-12)));
    zrtest::row("shift by 79", hex(intXXL(1) << 79), hex(-two79));
    zrtest::row("-1 sign-extends", hex(intXXL(-1)), QByteArray("ffffffffffffffffffff"));
    zrtest::row("2^64 - 1 as int64 is -1", QByteArray::number((toXXL((i128(1) << 64) - 1)).toLongLong()),
                QByteArray("-1"));
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
    zrtest::row("board 9 before 10", "VXI9::1::INSTR", "VXI10::1::INSTR", true, false);
    zrtest::row("last address part numeric", "TCPIP0::192.168.2.9::INSTR", "TCPIP0::192.168.2.10::INSTR", true, false);
    zrtest::row("first address part decides", "TCPIP0::10.0.0.200::INSTR", "TCPIP0::192.168.2.100::INSTR", true, false);
    zrtest::row("board before address", "TCPIP1::0.0.0.1::INSTR", "TCPIP0::255.255.255.255::INSTR", false, true);
    zrtest::row("no board number reads nothing", "TCPIP::192.168.2.100::INSTR", "TCPIP::10.0.0.1::INSTR", false, false);
    zrtest::row("a partly read address keeps its parts", "TCPIP0::10.0.5::INSTR", "TCPIP0::10.0.4.9::INSTR", false,
                true);
    zrtest::row("lower-case type by numbers", "tcpip0::10.0.0.1::INSTR", "TCPIP0::10.0.0.2::INSTR", true, false);
    zrtest::row("host name reads as zeros", "TCPIP0::myhost::INSTR", "TCPIP0::1.2.3.4::INSTR", true, false);
    zrtest::row("GPIB-VXI is GPIB board 0", "GPIB-VXI0::24::INSTR", "GPIB1::5::INSTR", true, false);
    zrtest::row("other types by their text", "tcpip0::1.2.3.4::INSTR", "VXI0::1::INSTR", false, true);
    zrtest::row("equal boards", "VXI0::1::INSTR", "VXI0::77::INSTR", false, false);
    zrtest::row("sign and blanks", "VXI -1::1::INSTR", "VXI 0::1::INSTR", true, false);
    zrtest::row("no board is 0", "ASRL::INSTR", "ASRL1::INSTR", true, false);
    zrtest::row("PXI numeric", "PXI10::1::INSTR", "PXI9::1::INSTR", false, true);
    zrtest::row("GPIB numeric", "GPIB10::1::INSTR", "GPIB9::1::INSTR", false, true);
    zrtest::row("SOCKET numeric", "SOCKET10::1::INSTR", "SOCKET9::1::INSTR", false, true);
    zrtest::row("BACKPLANE numeric", "BACKPLANE10::INSTR", "BACKPLANE2::INSTR", false, true);
    zrtest::row("USB by text", "USB10::1::INSTR", "USB9::1::INSTR", true, false);
    zrtest::row("huge board saturates", "VXI99999999999999999999::1::INSTR", "VXI1::1::INSTR", false, true);
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

void tst_Core::driverTexts()
{
    const char full[4] = {'a', '\xA9', 'c', 'd'};
    QCOMPARE(zr6200fp_driverText::fromBuffer(full), QString::fromLatin1("a\xA9"
                                                                        "cd"));
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
