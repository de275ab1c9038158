// What the other suites rely on from the simulated bench beyond what they
// read of its call log and forced statuses: bench-file errors and
// concurrent use.
#include <QApplication>
#include <QtTest>
#include <thread>
#include <vector>

#include "simbench.h"
#include "testsupport.h"
#include "zr6200.h"
#include "zr7480.h"

class tst_Standins : public zrtest::Case
{
    Q_OBJECT
private slots:
    void benchFileErrors_data();
    void benchFileErrors();
    void concurrentUse();
};

void tst_Standins::benchFileErrors_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");
    zrtest::row("unknown field", QByteArray(R"({"resources": [], "x": 1})"), "unknown field \"x\"");
    zrtest::row("one resource twice", QByteArray(R"({"resources": [{"descriptor": "VXI0::1::INSTR"},
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

void tst_Standins::concurrentUse()
{
    QByteArray resources;
    for (int i = 0; i < 64; ++i)
        resources += QStringLiteral("%1{\"descriptor\": \"TCPIP0::192.0.2.%2::INSTR\", \"openDelayMs\": 5, "
                                    "\"carrier\": {\"slots\": [{\"id\": \"0x7480\"}]}}")
                         .arg(i ? QStringLiteral(",") : QString())
                         .arg(i + 1)
                         .toLatin1();
    QVERIFY(zrtest::loadBench("{\"resources\": [" + resources + "]}"));
    ViSession rm = 0;
    viOpenDefaultRM(&rm);
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int i = 0; i < 64; ++i) {
        threads.emplace_back([rm, i, &failures] {
            const QByteArray name = QStringLiteral("TCPIP0::192.0.2.%1::INSTR").arg(i + 1).toLatin1();
            ViSession vi = 0;
            carrierRequest request{};
            request.rmSession = rm;
            if (viOpen(rm, name.constData(), 0, 0, &vi) != VI_SUCCESS || getCarrierInfo(vi, &request) != VI_SUCCESS)
                ++failures;
            releaseCarrierInfo(&request);
            viClose(vi);
        });
    }
    for (std::thread &t : threads)
        t.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(simbench_carrierObjects(), 0);
    QCOMPARE(simbench_openSessions(), 1);
    QCOMPARE(zrtest::calls(QStringLiteral("viOpen")).size(), 64);
    viClose(rm);
}

ZR_TEST_MAIN(tst_Standins)
#include "tst_standins.moc"
