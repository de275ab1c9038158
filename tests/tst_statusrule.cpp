#include <QApplication>
#include <QRegularExpression>
#include <QtTest>

#include "core/zr6200fp_driverTrace.h"
#include "testsupport.h"
#include "zr7480.h"
#include "zr7480fp_status.h"

namespace {
QStringList captured;
void capture(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "tervix.driver") == 0)
        captured << message;
}
} // namespace

class tst_StatusRule : public QObject
{
    Q_OBJECT
private slots:
    void exitPaths_data();
    void exitPaths();
    void tracing();
    void tracingOffByDefault();
};

void tst_StatusRule::exitPaths_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrPattern");
    QTest::addColumn<QString>("stdoutText");
    QTest::newRow("success says nothing") << "statusZero" << 0 << "^$"
                                          << "went on\n";
    QTest::newRow("warning goes on") << "statusWarning" << 0 << "^.+\\n$"
                                     << "went on\n";
    QTest::newRow("error ends with 1") << "statusError" << 1 << "^Operation failed due to \\[.*\\]\\n$"
                                       << "";
}

void tst_StatusRule::exitPaths()
{
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrPattern);
    QFETCH(QString, stdoutText);
    const auto result = zrtest::runScenario(scenario);
    QVERIFY(result.finished);
    QCOMPARE(result.exitStatus, QProcess::NormalExit);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(QRegularExpression(stderrPattern).match(result.err).hasMatch(), qPrintable(result.err));
    QCOMPARE(result.out, stdoutText);
}

void tst_StatusRule::tracing()
{
    QLoggingCategory::setFilterRules(QStringLiteral("tervix.driver.debug=true"));
    captured.clear();
    const auto previous = qInstallMessageHandler(capture);
    ViUInt16 syncState = 7;
    ViInt16 ddsError = 7;
    const ViStatus status = ZR_DRIVER_CALL(zr7480_getStatus, 5, &syncState, &ddsError);
    char text[ZR7480_ERROR_MESSAGE_SIZE] = {};
    ZR_DRIVER_CALL(zr7480_configureClock, 5, 3, 12.5e6, 4, 0, 1, 0);
    ZR_DRIVER_CALL(zr7480_error_message, VI_NULL, -1, text);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    QCOMPARE(captured.size(), 3);
    QCOMPARE(captured[0],
             QStringLiteral("zr7480_getStatus(5, &%1, &%2) -> %3").arg(syncState).arg(ddsError).arg(status));
    QVERIFY2(captured[1].startsWith(QLatin1String("zr7480_configureClock(5, 3, 12500000, 4, 0, 1, 0) -> ")),
             qPrintable(captured[1]));
    QVERIFY2(captured[2].startsWith(
                 QStringLiteral("zr7480_error_message(0, -1, \"%1\") -> ").arg(QString::fromLatin1(text))),
             qPrintable(captured[2]));
}

void tst_StatusRule::tracingOffByDefault()
{
    captured.clear();
    const auto previous = qInstallMessageHandler(capture);
    ZR_DRIVER_CALL(zr7480_arm, 5);
    qInstallMessageHandler(previous);
    QVERIFY(captured.isEmpty());
}

namespace {
int runStatus(ViStatus status)
{
    checkDriverStatus(status);
    std::fputs("went on\n", stdout);
    std::fflush(stdout);
    return 0;
}
} // namespace

ZR_SCENARIO(statusZero)
{
    return runStatus(VI_SUCCESS);
}
ZR_SCENARIO(statusWarning)
{
    return runStatus(VI_WARN_NSUP_ID_QUERY);
}
ZR_SCENARIO(statusError)
{
    return runStatus(VI_ERROR_TMO);
}

ZR_TEST_MAIN(tst_StatusRule)
#include "tst_statusrule.moc"
