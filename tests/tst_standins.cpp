// What the other suites rely on from the simulated bench beyond what they
// read of its call log and forced statuses, and beyond the search's
// concurrent use: bench-file errors.
#include <QApplication>
#include <QtTest>

#include "simbench.h"
#include "testsupport.h"

using zrtest::row;

class tst_Standins : public zrtest::Case
{
    Q_OBJECT
private slots:
    void benchFileErrors_data();
    void benchFileErrors();
};

void tst_Standins::benchFileErrors_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");
    row("unknown field", QByteArray(R"({"resources": [], "x": 1})"), "unknown field \"x\"");
    row("status no number", QByteArray(R"({"resources": [], "statuses": {"a": 1.5}})"), "statuses.a: expected");
    row("one resource twice", QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR"},
        {"descriptor": "vxi::1"}]})"),
        "resources[1].descriptor");
}

void tst_Standins::benchFileErrors()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QVERIFY(zrtest::loadBench(R"({"resources": [{"descriptor": "ASRL1::INSTR"}]})"));
    QCOMPARE(simbench_loadJson(json.constData()), -1);
    QVERIFY2(QString::fromLatin1(simbench_lastError()).startsWith(error), simbench_lastError());
    // The bench stays as it was.
    ViSession rm = 0;
    ViFindList list = 0;
    ViUInt32 count = 0;
    viOpenDefaultRM(&rm);
    QCOMPARE(viFindRsrc(rm, "?*INSTR", &list, &count, nullptr), VI_SUCCESS);
    QCOMPARE(count, ViUInt32(1));
    viClose(rm);
}

ZR_TEST_MAIN(tst_Standins)
#include "tst_standins.moc"
