#include <QApplication>
#include <QtTest>
#include <algorithm>
#include <random>

#include "core/zr6200fp_descriptorOrder.h"
#include "testsupport.h"

class tst_DescriptorOrder : public QObject
{
    Q_OBJECT
private slots:
    void lessThan_data();
    void lessThan();
    void cyclesSortSafely_data();
    void cyclesSortSafely();
};

void tst_DescriptorOrder::lessThan_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aLess");
    QTest::addColumn<bool>("bLess");

    auto row = [](const char *name, const char *a, const char *b, bool aLess, bool bLess) {
        QTest::newRow(name) << QString::fromUtf8(a) << QString::fromUtf8(b) << aLess << bLess;
    };
    row("board 9 before 10", "VXI9::1::INSTR", "VXI10::1::INSTR", true, false);
    row("last address part numeric", "TCPIP0::192.168.2.9::INSTR", "TCPIP0::192.168.2.10::INSTR", true, false);
    row("first address part decides", "TCPIP0::10.0.0.200::INSTR", "TCPIP0::192.168.2.100::INSTR", true, false);
    row("no board number reads nothing", "TCPIP::192.168.2.100::INSTR", "TCPIP::10.0.0.1::INSTR", false, false);
    row("lower-case type by numbers", "tcpip0::10.0.0.1::INSTR", "TCPIP0::10.0.0.2::INSTR", true, false);
    row("hyphen ends the type, no board read", "GPIB-VXI2::24::INSTR", "GPIB0::5::INSTR", false, false);
    row("GPIB-VXI board 0", "GPIB-VXI0::24::INSTR", "GPIB1::5::INSTR", true, false);
    row("TCPIP against VXI by string", "vxi0::1::INSTR", "TCPIP5::1.2.3.4::INSTR", false, true);
    row("equal VXI", "VXI0::1::INSTR", "VXI0::1::INSTR", false, false);
    row("equal TCPIP", "TCPIP0::1.2.3.4::INSTR", "TCPIP0::1.2.3.4::INSTR", false, false);
    row("equal boards, other addresses", "VXI0::1::INSTR", "VXI0::77::INSTR", false, false);
    row("host name reads as zeros", "TCPIP0::myhost::INSTR", "TCPIP0::1.2.3.4::INSTR", true, false);
    row("board before address", "TCPIP1::0.0.0.1::INSTR", "TCPIP0::255.255.255.255::INSTR", false, true);
    row("short address", "TCPIP0::192.168::INSTR", "TCPIP0::192.168.0.1::INSTR", true, false);
    row("single colon stops reading", "TCPIP0:192.168.1.1::INSTR", "TCPIP0::1.1.1.1::INSTR", true, false);
    row("sign and blanks", "VXI -1::1::INSTR", "VXI 0::1::INSTR", true, false);
    row("plus sign", "VXI+5::1::INSTR", "VXI4::1::INSTR", false, true);
    row("blank before address part", "TCPIP0:: 9.0.0.0::INSTR", "TCPIP0::10.0.0.0::INSTR", true, false);
    row("huge board saturates", "VXI99999999999999999999::1::INSTR", "VXI1::1::INSTR", false, true);
    row("no board is 0", "ASRL::INSTR", "ASRL1::INSTR", true, false);
    row("ASRL numeric", "ASRL10::INSTR", "ASRL9::INSTR", false, true);
    row("PXI numeric", "PXI10::1::INSTR", "PXI9::1::INSTR", false, true);
    row("SOCKET numeric", "SOCKET10::1::INSTR", "SOCKET9::1::INSTR", false, true);
    row("BACKPLANE numeric", "BACKPLANE10::INSTR", "BACKPLANE2::INSTR", false, true);
    row("USB by string", "USB10::1::INSTR", "USB9::1::INSTR", true, false);
    row("empty types by string", "0abc", "1abc", true, false);
    row("both empty", "", "", false, false);
    row("empty against letters", "", "VXI0::1::INSTR", true, false);
    row("mixed-case type by board", "VXI0::1::INSTR", "Vxi0::1::INSTR", false, false);
    row("non-ASCII letter ends the type", "VXI\u00e90", "VXI1", true, false);
}

void tst_DescriptorOrder::lessThan()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aLess);
    QFETCH(bool, bLess);
    QCOMPARE(descriptorLessThan(a, b), aLess);
    QCOMPARE(descriptorLessThan(b, a), bLess);
}

void tst_DescriptorOrder::cyclesSortSafely_data()
{
    QTest::addColumn<QStringList>("pool");
    QTest::addColumn<int>("size");
    const QStringList cycle{QStringLiteral("VXI9::1::INSTR"), QStringLiteral("VXIX::1::INSTR"),
                            QStringLiteral("vxi5::1::INSTR")};
    QTest::newRow("three") << cycle << 3;
    QTest::newRow("sixteen") << cycle << 16;
    QTest::newRow("mixed thousand") << (QStringList(cycle)
                                        << QStringLiteral("TCPIP::10.0.0.1::INSTR")
                                        << QStringLiteral("TCPIP0::1.2.3.4::INSTR")
                                        << QStringLiteral("tcpipX::1::INSTR") << QStringLiteral("GPIB-VXI0::1::INSTR")
                                        << QStringLiteral("GPIBX::1::INSTR") << QString()
                                        << QStringLiteral("VXI10::1::INSTR"))
                                    << 1000;
}

// The relation has cycles across types (a < b < c < a); the search sorts
// with std::stable_sort, which must keep every element whatever the answers.
void tst_DescriptorOrder::cyclesSortSafely()
{
    QFETCH(QStringList, pool);
    QFETCH(int, size);
    QVERIFY(descriptorLessThan(pool[0], pool[1]));
    QVERIFY(descriptorLessThan(pool[1], pool[2]));
    QVERIFY(descriptorLessThan(pool[2], pool[0]));

    std::mt19937 random(7480);
    for (int round = 0; round < 50; ++round) {
        QStringList list;
        for (int i = 0; i < size; ++i)
            list << pool.at(int(random() % unsigned(pool.size())));
        QStringList sorted = list;
        std::stable_sort(sorted.begin(), sorted.end(), descriptorLessThan);
        QStringList expected = list;
        QStringList got = sorted;
        std::sort(expected.begin(), expected.end());
        std::sort(got.begin(), got.end());
        QCOMPARE(got, expected);
    }
}

ZR_TEST_MAIN(tst_DescriptorOrder)
#include "tst_descriptororder.moc"
