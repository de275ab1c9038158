#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "about/zr6200fp_About.h"
#include "panelfixture.h"

using zrtest::benchLog;
using zrtest::calls;

class tst_App : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void serialNumberText_data();
    void serialNumberText();
    void deviceModelText_data();
    void deviceModelText();
    void hardwarePageReal();
    void hardwarePageDemo();
    void hardwareQueryFailureEndsProgram_data();
    void hardwareQueryFailureEndsProgram();
    void hardwareQueryWarningGoesOn();
    void sessionClosedWithWindow();

private:
    static QStringList aboutTexts(zr6200fp_About *about);
};

QStringList tst_App::aboutTexts(zr6200fp_About *about)
{
    QStringList texts;
    const auto labels = about->findChildren<QLabel *>();
    for (const QLabel *label : labels)
        if (!label->isHidden())
            texts << label->text();
    return texts;
}

void tst_App::cleanup()
{
    simbench_clearStatuses();
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_App::serialNumberText_data()
{
    QTest::addColumn<quint32>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("small") << quint32(0x1A2B) << "00001a2b";
    QTest::newRow("all ones") << quint32(0xFFFFFFFF) << "ffffffff";
    QTest::newRow("zero") << quint32(0) << "00000000";
}

void tst_App::serialNumberText()
{
    QFETCH(quint32, number);
    QFETCH(QString, text);
    QCOMPARE(zr7480fp_App::serialNumberText(number), text);
}

void tst_App::deviceModelText_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("text");
    QTest::newRow("BC") << "BC"
                        << "7480-BC";
    QTest::newRow("empty") << ""
                           << "7480-";
}

void tst_App::deviceModelText()
{
    QFETCH(QString, option);
    QFETCH(QString, text);
    QCOMPARE(zr7480fp_App::deviceModelText(option), text);
}

void tst_App::hardwarePageReal()
{
    zr7480_fc card;
    simbench_reset();
    QVERIFY(simbench_loadJson(zrtest::oneCardBench()) == 0);
    zrtest::ModalAnswerer answers;
    answers.click(QStringLiteral("Auto Find"));
    zr7480fp_App window(&card);
    QVERIFY(window.driverSession() != 0);
    QCOMPARE(calls(QStringLiteral("zr7480_getSerialNumber")).size(), 1);
    QCOMPARE(calls(QStringLiteral("zr7480_revision_query")).size() >= 1, true);
    const QStringList texts = aboutTexts(window.about());
    QVERIFY2(texts.contains(QStringLiteral("00001a2b")), qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(texts.contains(QStringLiteral("7480-BC")));
    QVERIFY(texts.contains(QStringLiteral("1.0.2.0")));
}

void tst_App::hardwarePageDemo()
{
    zr7480_fc card;
    simbench_reset();
    zrtest::ModalAnswerer answers;
    answers.click(QStringLiteral("Run In Demo Mode"));
    zr7480fp_App demo(&card);
    QCOMPARE(demo.inDemoMode(), true);
    // The only instrument driver call is the session-less driver revision
    // query for the About dialog.
    QVERIFY(calls(QStringLiteral("zr7480_getSerialNumber")).isEmpty());
    for (const auto &call : calls(QStringLiteral("zr7480_revision_query")))
        QCOMPARE(call.value("vi"), QStringLiteral("0"));
    QVERIFY(calls(QStringLiteral("zr7480_init")).isEmpty());
    const QStringList texts = aboutTexts(demo.about());
    QVERIFY(texts.contains(QStringLiteral("74809481 (DEMO)")));
    QVERIFY(texts.contains(QStringLiteral("1.0.1.0 (DEMO)")));
    QVERIFY(texts.contains(QStringLiteral("7480-AA (DEMO)")));
}

ZR_SCENARIO(hardwareQueryFails)
{
    simbench_reset();
    simbench_loadJson(zrtest::oneCardBench());
    simbench_setStatus(qgetenv("FAILING_OPERATION").constData(), VI_ERROR_TMO);
    zr7480_fc card;
    zrtest::ModalAnswerer answers;
    answers.click(QStringLiteral("Auto Find"));
    zr7480fp_App window(&card);
    std::printf("window built\n");
    return 0;
}

void tst_App::hardwareQueryFailureEndsProgram_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("serial number") << "zr7480_getSerialNumber";
    QTest::newRow("revision") << "zr7480_revision_query";
}

void tst_App::hardwareQueryFailureEndsProgram()
{
    QFETCH(QString, operation);
    QProcessEnvironment env;
    env.insert(QStringLiteral("FAILING_OPERATION"), operation);
    const auto result = zrtest::runScenario(QStringLiteral("hardwareQueryFails"), env);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(QLatin1String("Operation failed due to [")), qPrintable(result.err));
    QVERIFY(!result.out.contains(QLatin1String("window built")));
}

void tst_App::hardwareQueryWarningGoesOn()
{
    zr7480_fc card;
    simbench_reset();
    QVERIFY(simbench_loadJson(zrtest::oneCardBench()) == 0);
    simbench_setStatus("zr7480_getSerialNumber", 0x3FFC0101);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".+")));
    zrtest::ModalAnswerer answers;
    answers.click(QStringLiteral("Auto Find"));
    zr7480fp_App window(&card);
    QVERIFY(window.driverSession() != 0);
    QCOMPARE(calls(QStringLiteral("zr7480_revision_query")).isEmpty(), false);
}

void tst_App::sessionClosedWithWindow()
{
    zr7480_fc card;
    ViSession session = 0;
    {
        auto window = zrtest::openWindow(card);
        session = window->driverSession();
        QVERIFY(session != 0);
    }
    const auto closed = calls(QStringLiteral("zr7480_close"));
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed[0].value("vi"), QString::number(session));
    QCOMPARE(simbench_openSessions(), 0);
}

ZR_TEST_MAIN(tst_App)
#include "tst_app.moc"
