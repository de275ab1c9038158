#include <QApplication>
#include <QtTest>

#include "simbench.h"
#include "standin_status.h"
#include "testsupport.h"
#include "zr7480_fc.h"

class tst_CardObject : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modelSupport_data();
    void modelSupport();
    void texts();
    void errorMessage_data();
    void errorMessage();
    void driverRevision();
    void initAndKeepLongDescriptor();
    void initAndKeepThenReinit();
    void closePassesThrough();
};

void tst_CardObject::init()
{
    simbench_reset();
}

void tst_CardObject::cleanup()
{
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_CardObject::modelSupport_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("supported");
    QTest::newRow("7480") << 0x7480 << true;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("byte-swapped") << 0x8074 << false;
    QTest::newRow("7481") << 0x7481 << false;
    QTest::newRow("5902") << 0x5902 << false;
    QTest::newRow("max") << 0xFFFF << false;
}

void tst_CardObject::modelSupport()
{
    QFETCH(int, code);
    QFETCH(bool, supported);
    const zr7480_fc card;
    QCOMPARE(card.isModelSupported(quint16(code)), supported);
}

void tst_CardObject::texts()
{
    const zr7480_fc card;
    QCOMPARE(card.modelCode, 0x7480);
    QCOMPARE(card.modelText(), QStringLiteral("7480"));
    QCOMPARE(card.getDescription(), QStringLiteral("2-Channel Filter/Sync FC"));
    QCOMPARE(card.getSfpRevision(), QStringLiteral("4.3.1.10252"));
    const QString copyright = card.getCopyright();
    QVERIFY(copyright.contains(QChar(0xA9)));
    QVERIFY(!copyright.contains(QLatin1Char('\n')));
    QCOMPARE(copyright.toLatin1().count('\xA9'), 1);
}

void tst_CardObject::errorMessage_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("forceFailure");
    QTest::addColumn<QString>("text");
    QTest::newRow("driver's own status") << int(ZR7480_ERROR_SLOT_EMPTY) << false
                                         << "There is no function card in this slot of the carrier.";
    QTest::newRow("VISA status") << int(VI_ERROR_TMO) << false << "Timeout expired before operation completed.";
    QTest::newRow("warning") << int(ZR7480_WARN_NO_RESET) << false
                             << "The session was opened without a reset; the card keeps its earlier configuration.";
    QTest::newRow("status the driver does not know") << 0x12345678 << false << QString();
    QTest::newRow("error-message call fails") << int(VI_ERROR_TMO) << true << QString();
}

void tst_CardObject::errorMessage()
{
    QFETCH(int, status);
    QFETCH(bool, forceFailure);
    QFETCH(QString, text);
    if (forceFailure)
        simbench_setStatus("zr7480_error_message", VI_ERROR_PARAMETER3);
    const zr7480_fc card;
    QCOMPARE(card.getErrorMessage(status), text);
    QCOMPARE(zrtest::benchLog().size(), 1);
    QVERIFY(zrtest::benchLog().constFirst().startsWith(
        QStringLiteral("zr7480_error_message(vi=0, status=%1, ").arg(status)));
}

void tst_CardObject::driverRevision()
{
    const zr7480_fc card;
    QCOMPARE(card.getDriverRevision(), QStringLiteral("4.3.0.10110"));
    QCOMPARE(zrtest::benchLog(),
             QStringList{"zr7480_revision_query(vi=0, driverRevision=\"4.3.0.10110\", instrumentRevision=NULL) -> 0"});
    simbench_setStatus("zr7480_revision_query", VI_ERROR_SYSTEM_ERROR);
    QCOMPARE(card.getDriverRevision(), QString());
}

void tst_CardObject::initAndKeepLongDescriptor()
{
    QByteArray name = "TCPIP0::";
    for (int i = 0; name.size() < 2990; ++i)
        name += char('a' + i % 26);
    name += "::INSTR";
    QCOMPARE(name.size(), 2997);
    const quint16 numbers[] = {3, 7};
    zr7480_fc card;
    ViSession vi = 4711;
    QCOMPARE(card.initAndKeep(name.constData(), numbers, 2, 0, 0, &vi), VI_ERROR_RSRC_NFOUND);
    QCOMPARE(vi, ViSession(VI_NULL));
    QCOMPARE(card.reinit(&vi), VI_ERROR_RSRC_NFOUND);
    const QStringList log = zrtest::benchLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log[0], QStringLiteral("zr7480_init(rsrcName=\"%1\", fcNumber=3, idQuery=0, reset=0) -> %2")
                         .arg(QString::fromLatin1(name))
                         .arg(VI_ERROR_RSRC_NFOUND));
    QCOMPARE(log[1], QStringLiteral("zr7480_init(rsrcName=\"%1\", fcNumber=3, idQuery=1, reset=1) -> %2")
                         .arg(QString::fromLatin1(name.left(2047)))
                         .arg(VI_ERROR_RSRC_NFOUND));
}

void tst_CardObject::initAndKeepThenReinit()
{
    zr7480_fc card;
    const quint16 numbers[] = {2};
    ViSession vi = VI_NULL;
    QCOMPARE(card.initAndKeep("VXI0::8::INSTR", numbers, 1, 1, 1, &vi), VI_SUCCESS);
    QCOMPARE(card.close(vi), VI_SUCCESS);
    ViSession again = VI_NULL;
    QCOMPARE(card.reinit(&again), VI_SUCCESS);
    QVERIFY(again != VI_NULL);
    QCOMPARE(card.close(again), VI_SUCCESS);
    QCOMPARE(zrtest::benchLog().at(2),
             QStringLiteral("zr7480_init(rsrcName=\"VXI0::8::INSTR\", fcNumber=2, idQuery=1, reset=1) -> 0"));

    // init opens with the first card number only.
    const quint16 wrongFirst[] = {1, 2};
    QCOMPARE(card.init("VXI0::8::INSTR", wrongFirst, 1, 1, &vi), VI_ERROR_FAIL_ID_QUERY);
    QCOMPARE(zrtest::benchLog().last(),
             QStringLiteral("zr7480_init(rsrcName=\"VXI0::8::INSTR\", fcNumber=1, idQuery=1, reset=1) -> %1")
                 .arg(VI_ERROR_FAIL_ID_QUERY));
}

void tst_CardObject::closePassesThrough()
{
    zr7480_fc card;
    QCOMPARE(card.close(4711), VI_ERROR_INV_OBJECT);
    QCOMPARE(card.close(VI_NULL), VI_WARN_NULL_OBJECT);
    simbench_setStatus("zr7480_close", VI_ERROR_CONN_LOST);
    QCOMPARE(card.close(12), VI_ERROR_CONN_LOST);
    QCOMPARE(zrtest::benchLog(), (QStringList{QStringLiteral("zr7480_close(vi=4711) -> %1").arg(VI_ERROR_INV_OBJECT),
                                              QStringLiteral("zr7480_close(vi=0) -> %1").arg(VI_WARN_NULL_OBJECT),
                                              QStringLiteral("zr7480_close(vi=12) -> %1").arg(VI_ERROR_CONN_LOST)}));
}

ZR_TEST_MAIN(tst_CardObject)
#include "tst_cardobject.moc"
