#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "digitctrl/zr6200fp_digitCtrl.h"
#include "panelfixture.h"
#include "zr7480fp_Config.h"

using zrtest::benchLog;
using zrtest::calls;
using zrtest::chooseItem;

class tst_Config : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startValues();
    void filterValue_data();
    void filterValue();
    void channelGroupSendsBothChannels_data();
    void channelGroupSendsBothChannels();
    void channelSettingsCarried();
    void firstClockChangeSendsAllSix();
    void dividerBoundaries_data();
    void dividerBoundaries();
    void ddsFrequencySent();
    void synchModeSent();
    void sameItemSendsAgain();
    void demoModeSendsNothing();
    void positiveStatusGoesOn();
    void negativeStatusEndsBeforeChannel2();

private:
    zr7480_fc card;
    std::unique_ptr<zr7480fp_App> window;
    zr7480fp_Config *page() const { return window->configPage; }
};

void tst_Config::init()
{
    window = zrtest::openWindow(card);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_Config::cleanup()
{
    window.reset();
    simbench_clearStatuses();
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_Config::startValues()
{
    // Building the page sent nothing, and shows every combo at its first item.
    zr7480_fc otherCard;
    simbench_clearLog();
    auto fresh = zrtest::openWindow(otherCard);
    QVERIFY(calls(QStringLiteral("zr7480_configureChannel")).isEmpty());
    QVERIFY(calls(QStringLiteral("zr7480_configureClock")).isEmpty());
    const auto *p = fresh->configPage;
    QCOMPARE(p->filterCombo[0]->count(), 24);
    QCOMPARE(p->filterCombo[1]->itemText(8), QStringLiteral("Elliptic Mute"));
    QCOMPARE(p->filterCombo[1]->itemText(23), QStringLiteral("Elliptic 150kHz"));
    for (QComboBox *combo :
         {p->filterCombo[0], p->filterCombo[1], p->gainCombo[0], p->gainCombo[1], p->outputCombo[0], p->outputCombo[1],
          p->clockSourceCombo, p->synchSourceCombo, p->fpClockOutputCombo, p->mbClockOutputCombo, p->fpSynchModeCombo})
        QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(p->ddsFrequencyCtrl->value(), 12.5e6);
    QCOMPARE(p->clockDividerCtrl->valueXXL().toLongLong(), 4);
    QCOMPARE(p->ddsFrequencyCtrl->text(), QStringLiteral("1.2500e+07"));
    QCOMPARE(fresh->tabs->currentWidget(), fresh->configPage);
    QCOMPARE(fresh->tabs->tabText(0), QStringLiteral("Configuration"));
    QCOMPARE(fresh->tabs->tabText(1), QStringLiteral("Command/Status"));
}

void tst_Config::filterValue_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::newRow("Butterworth 500Hz") << 0 << 0;
    QTest::newRow("Butterworth 9kHz") << 7 << 7;
    QTest::newRow("Elliptic Mute") << 8 << 16;
    QTest::newRow("Elliptic 10kHz") << 9 << 17;
    QTest::newRow("Elliptic 150kHz") << 23 << 31;
}

void tst_Config::filterValue()
{
    QFETCH(int, index);
    QFETCH(int, value);
    QCOMPARE(int(zr7480fp_Config::filterValue(index)), value);
}

void tst_Config::channelGroupSendsBothChannels_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("filter");
    QTest::newRow("Elliptic Mute on channel 2") << 2 << 8 << 16;
    QTest::newRow("Elliptic 150kHz on channel 2") << 2 << 23 << 31;
    QTest::newRow("Butterworth 9kHz on channel 1") << 1 << 7 << 7;
    QTest::newRow("Butterworth 2kHz on channel 1") << 1 << 3 << 3;
}

void tst_Config::channelGroupSendsBothChannels()
{
    QFETCH(int, channel);
    QFETCH(int, index);
    QFETCH(int, filter);
    QVERIFY(chooseItem(page()->filterCombo[channel - 1], index));
    const auto sent = calls(QStringLiteral("zr7480_configureChannel"));
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent[0].value("channel"), QStringLiteral("1"));
    QCOMPARE(sent[1].value("channel"), QStringLiteral("2"));
    QCOMPARE(sent[channel - 1].value("filter").toInt(), filter);
    QCOMPARE(sent[2 - channel].value("filter").toInt(), 0);
    QCOMPARE(sent[0].value("vi"), QString::number(window->driverSession()));
}

void tst_Config::channelSettingsCarried()
{
    QVERIFY(chooseItem(page()->gainCombo[0], 3));
    QVERIFY(chooseItem(page()->outputCombo[0], 2));
    QVERIFY(chooseItem(page()->gainCombo[1], 1));
    simbench_clearLog();
    QVERIFY(chooseItem(page()->outputCombo[1], 1));
    const auto sent = calls(QStringLiteral("zr7480_configureChannel"));
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent[0].value("gain"), QStringLiteral("3"));
    QCOMPARE(sent[0].value("output"), QStringLiteral("2"));
    QCOMPARE(sent[1].value("gain"), QStringLiteral("1"));
    QCOMPARE(sent[1].value("output"), QStringLiteral("1"));
}

void tst_Config::firstClockChangeSendsAllSix()
{
    QVERIFY(chooseItem(page()->clockSourceCombo, 3));
    const auto sent = calls(QStringLiteral("zr7480_configureClock"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].value("clockSource"), QStringLiteral("3"));
    QCOMPARE(sent[0].value("ddsFrequency").toDouble(), 12.5e6);
    QCOMPARE(sent[0].value("clockDivider"), QStringLiteral("4"));
    QCOMPARE(sent[0].value("synchSource"), QStringLiteral("0"));
    QCOMPARE(sent[0].value("fpClockOutput"), QStringLiteral("0"));
    QCOMPARE(sent[0].value("mbClockOutput"), QStringLiteral("0"));
    QVERIFY(calls(QStringLiteral("zr7480_configureChannel")).isEmpty());
}

void tst_Config::dividerBoundaries_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("sent");
    QTest::newRow("zero disables") << "0" << 0;
    QTest::newRow("largest") << "4095" << 4095;
    QTest::newRow("5000 clamped") << "5000" << 4095;
    QTest::newRow("one") << "1" << 1;
}

void tst_Config::dividerBoundaries()
{
    QFETCH(QString, typed);
    QFETCH(int, sent);
    zr6200fp_digitCtrl *divider = page()->clockDividerCtrl;
    divider->setFocus();
    QTest::keyClick(divider, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(divider, typed);
    QTest::keyClick(divider, Qt::Key_Return);
    const auto clock = calls(QStringLiteral("zr7480_configureClock"));
    QCOMPARE(clock.size(), 1);
    QCOMPARE(clock[0].value("clockDivider").toInt(), sent);
    QCOMPARE(divider->text(), QString::number(sent));
}

void tst_Config::ddsFrequencySent()
{
    zr6200fp_digitCtrl *dds = page()->ddsFrequencyCtrl;
    dds->setFocus();
    QTest::keyClick(dds, Qt::Key_PageUp);
    auto clock = calls(QStringLiteral("zr7480_configureClock"));
    QCOMPARE(clock.size(), 1);
    QCOMPARE(clock[0].value("ddsFrequency").toDouble(), dds->value());
    QVERIFY(dds->value() > 12.5e6);
    // At the upper bound a further step changes nothing and sends nothing.
    dds->setValue(25e6);
    simbench_clearLog();
    QTest::keyClick(dds, Qt::Key_PageUp);
    QCOMPARE(dds->value(), 25e6);
    QVERIFY(calls(QStringLiteral("zr7480_configureClock")).isEmpty());
}

void tst_Config::synchModeSent()
{
    QVERIFY(chooseItem(page()->fpSynchModeCombo, 2));
    const auto sent = calls(QStringLiteral("zr7480_configureFpSynch"));
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].value("mode"), QStringLiteral("2"));
    QCOMPARE(benchLog().size(), 1);
}

void tst_Config::sameItemSendsAgain()
{
    QVERIFY(chooseItem(page()->mbClockOutputCombo, 0));
    QCOMPARE(calls(QStringLiteral("zr7480_configureClock")).size(), 1);
}

void tst_Config::demoModeSendsNothing()
{
    window.reset();
    window = zrtest::openWindow(card, true);
    QCOMPARE(window->driverSession(), ViSession(0));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(chooseItem(page()->filterCombo[1], 8));
    QVERIFY(chooseItem(page()->clockSourceCombo, 2));
    QVERIFY(chooseItem(page()->fpSynchModeCombo, 3));
    page()->clockDividerCtrl->setValue(qint64(100));
    QVERIFY(benchLog().isEmpty());
}

void tst_Config::positiveStatusGoesOn()
{
    simbench_setStatus("zr7480_configureChannel", 0x3FFC0101);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".+")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".+")));
    QVERIFY(chooseItem(page()->filterCombo[0], 5));
    QCOMPARE(calls(QStringLiteral("zr7480_configureChannel")).size(), 2);
    QCOMPARE(page()->filterCombo[0]->currentIndex(), 5);
}

ZR_SCENARIO(channelOneFails)
{
    zr7480_fc card;
    auto window = zrtest::openWindow(card);
    window->show();
    simbench_setStatus("zr7480_configureChannel", VI_ERROR_TMO);
    zrtest::chooseItem(window->configPage->filterCombo[1], 8);
    return 0;
}

void tst_Config::negativeStatusEndsBeforeChannel2()
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    const QString log = dir.filePath(QStringLiteral("calls.log"));
    env.insert(QStringLiteral("ZR_SIMBENCH_LOG"), log);
    const auto result = zrtest::runScenario(QStringLiteral("channelOneFails"), env);
    QVERIFY(result.finished);
    QCOMPARE(result.exitStatus, QProcess::NormalExit);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(
        QRegularExpression(QStringLiteral("(^|\\n)Operation failed due to \\[.+\\]\\n")).match(result.err).hasMatch(),
        qPrintable(result.err));
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString calls = QString::fromLatin1(file.readAll());
    QCOMPARE(calls.count(QLatin1String("zr7480_configureChannel(")), 1);
    QVERIFY(calls.contains(QLatin1String("channel=1")));
    QVERIFY(!calls.contains(QLatin1String("channel=2")));
}

ZR_TEST_MAIN(tst_Config)
#include "tst_config.moc"
