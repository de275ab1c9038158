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

using zrtest::row;

namespace {

using namespace int80reference;

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
        const int n = int(rng.bounded(79)) + 1;
        const auto d = qint16(limb());
        const char *const what = firstDifference(a, b, n, d);
        QVERIFY2(!what, qPrintable(QStringLiteral("%1 of %2, %3, %4, %5")
                                       .arg(QLatin1String(what), QLatin1String(toXXL(a).toHex(0)),
                                            QLatin1String(toXXL(b).toHex(0)), QString::number(n), QString::number(d))));
    }
}

void tst_Core::descriptorOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aLess");
    QTest::addColumn<bool>("bLess");
    row("board 9 before 10", "VXI9::1::INSTR", "VXI10::1::INSTR", true, false);
    row("last address part numeric", "TCPIP0::192.168.2.9::INSTR", "TCPIP0::192.168.2.10::INSTR", true, false);
    row("first address part decides", "TCPIP0::10.0.0.200::INSTR", "TCPIP0::192.168.2.100::INSTR", true, false);
    row("board before address", "TCPIP1::0.0.0.1::INSTR", "TCPIP0::255.255.255.255::INSTR", false, true);
    row("no board number reads nothing", "TCPIP::192.168.2.100::INSTR", "TCPIP::10.0.0.1::INSTR", false, false);
    row("a partly read address keeps its parts", "TCPIP0::10.0.5::INSTR", "TCPIP0::10.0.4.9::INSTR", false, true);
    row("lower-case type by numbers", "tcpip0::10.0.0.1::INSTR", "TCPIP0::10.0.0.2::INSTR", true, false);
    row("host name reads as zeros", "TCPIP0::myhost::INSTR", "TCPIP0::1.2.3.4::INSTR", true, false);
    row("GPIB-VXI is GPIB board 0", "GPIB-VXI0::24::INSTR", "GPIB1::5::INSTR", true, false);
    row("other types by their text", "tcpip0::1.2.3.4::INSTR", "VXI0::1::INSTR", false, true);
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
    QTEST(descriptorLessThan(a, b), "aLess");
    QTEST(descriptorLessThan(b, a), "bLess");
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
    row("windows profile", windows, "C:\\ProgramData", "C:\\ProgramData\\Halvar\\zrvisa",
        "C:\\ProgramData\\Halvar\\DefaultInstrDescr.ini");
    row("windows unset", windows, "", "c:\\vxipnp", "c:\\vxipnp\\Halvar\\DefaultInstrDescr.ini");
    row("linux profile", other, "/srv/profile", "/srv/profile/Halvar/zrvisa",
        "/srv/profile/Halvar/DefaultInstrDescr.ini");
    row("linux unset", other, "", "/home/u/.config/Halvar/zrvisa", "/home/u/.config/Halvar/DefaultInstrDescr.ini");
}

void tst_Core::settingsPaths()
{
    using namespace zr6200fp_settingsLocation;
    QFETCH(int, platform);
    QFETCH(QString, profile);
    const Environment environment{Platform(platform), profile, QStringLiteral("/home/u/.config")};
    QTEST(settingsFolder(environment), "folder");
    QTEST(addressFile(environment), "file");
}

ZR_CORE_TEST_MAIN(tst_Core)
#include "tst_core.moc"
