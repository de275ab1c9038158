#include <QApplication>
#include <QtTest>

#include "simbench.h"
#include "testsupport.h"
#include "zr7480_fc.h"

class tst_CardObject : public QObject
{
    Q_OBJECT
private slots:
    void modelSupport_data();
    void modelSupport();
    void texts();
};

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

ZR_TEST_MAIN(tst_CardObject)
#include "tst_cardobject.moc"
