// The card's window on the simulated bench: what each user action sends to
// the driver, the status rule, the window's identification, the card object,
// the About dialog's hardware pages and the splash picture.
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "about/zr6200fp_About.h"
#include "core/zr6200fp_cardModels.h"
#include "digitctrl/zr6200fp_digitCtrl.h"
#include "led/zr6200fp_led.h"
#include "simbench.h"
#include "splash/zr6200fp_splashLabel.h"
#include "testsupport.h"
#include "zr7480.h"
#include "zr7480fp/zr7480_fc.h"
#include "zr7480fp/zr7480fp_App.h"
#include "zr7480fp/zr7480fp_CSR.h"
#include "zr7480fp/zr7480fp_Config.h"
#include "zr7480fp/zr7480fp_splash.h"

namespace {

// A VXI carrier in slot 5 whose slot 2 holds a 7480.
const char *const kVxi = R"({"resources": [{"descriptor": "VXI0::7::INSTR", "slot": 5, "carrier": {"modelId": 1987,
    "slots": [0, {"id": "0x7480", "serial": "0x00001a2b", "option": "BC", "revision": "1.0.2.0"}]}}]})";
const char *const kLxi = R"({"resources": [{"descriptor": "TCPIP0::192.0.2.10::INSTR", "address": "192.0.2.10",
    "hostname": "lxi.example", "deviceName": "inst0", "carrier": {"slots": [{"id": "0x7480"}]}}]})";
const char *const kLxiNoNames = R"({"resources": [{"descriptor": "TCPIP0::192.0.2.11::INSTR",
    "carrier": {"slots": [{"id": "0x7480"}]}}]})";

// Builds the window through Auto Find, or in demo mode; null when the flow
// did not go as expected.
std::unique_ptr<zr7480fp_App> openWindow(zrtest::ModalAnswerer &answers, zr7480_fc &card, bool demo,
                                         const char *bench = kVxi)
{
    if (!zrtest::loadBench(bench))
        return nullptr;
    answers.click(demo ? QStringLiteral("Run In Demo Mode") : QStringLiteral("Auto Find"));
    auto window = std::make_unique<zr7480fp_App>(&card);
    simbench_clearLog();
    return answers.problems().isEmpty() ? std::move(window) : nullptr;
}

// The instrument driver's calls since the window was built, without the
// session number.
QStringList cardCalls()
{
    static const QRegularExpression session(QStringLiteral("vi=\\d+(, )?"));
    QStringList lines;
    const QStringList log = zrtest::benchLog();
    for (const QString &line : log) {
        if (line.startsWith(QLatin1String("zr7480_")) && !line.startsWith(QLatin1String("zr7480_error_message")))
            lines << QString(line).remove(session);
    }
    return lines;
}

QPushButton *button(QWidget *page, const QString &text)
{
    const auto buttons = page->findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// The user's actions: a combo box and the item chosen ("filter1 8",
// "source 3", "edge 1"), a digit control and the text typed ("divider 5000",
// "dds 13456789"), or a button's text; or a DDS error made on the card.
bool act(zr7480fp_App &window, const QString &action)
{
    const zr7480fp_Config *c = window.configPage;
    const QHash<QString, QComboBox *> combos{
        {QStringLiteral("filter1"), c->filterCombo[0]},     {QStringLiteral("filter2"), c->filterCombo[1]},
        {QStringLiteral("gain1"), c->gainCombo[0]},         {QStringLiteral("output1"), c->outputCombo[0]},
        {QStringLiteral("source"), c->clockSourceCombo},    {QStringLiteral("synch"), c->synchSourceCombo},
        {QStringLiteral("fpclock"), c->fpClockOutputCombo}, {QStringLiteral("mbclock"), c->mbClockOutputCombo},
        {QStringLiteral("mode"), c->fpSynchModeCombo},      {QStringLiteral("edge"), window.csrPage->edgeCombo}};
    const QString what = action.section(QLatin1Char(' '), 0, 0);
    const QString value = action.section(QLatin1Char(' '), 1);
    if (QComboBox *combo = combos.value(what)) {
        combo->setCurrentIndex(value.toInt());
        // What a user's choice in the popup emits.
        emit combo->activated(value.toInt());
    } else if (what == QLatin1String("divider") || what == QLatin1String("dds")) {
        zr6200fp_digitCtrl *ctrl = what == QLatin1String("dds") ? c->ddsFrequencyCtrl : c->clockDividerCtrl;
        ctrl->setFocus();
        ctrl->findChild<QLineEdit *>()->selectAll();
        QTest::keyClicks(ctrl, value);
        QTest::keyClick(ctrl, what == QLatin1String("dds") ? Qt::Key_Tab : Qt::Key_Return);
    } else if (action == QLatin1String("DDS at 1 kHz by another program")) {
        return zr7480_configureClock(c->session, 0, 1e3, 4, 0, 0, 0) == VI_SUCCESS;
    } else if (QPushButton *b = button(window.csrPage, action)) {
        b->click();
    } else {
        return false;
    }
    return true;
}

// Every combo box's item, then the digit controls' texts.
QString shownConfig(const zr7480fp_Config *page)
{
    QStringList shown;
    const auto combos = page->findChildren<QComboBox *>();
    for (const QComboBox *combo : combos)
        shown << QString::number(combo->currentIndex());
    for (const zr6200fp_digitCtrl *ctrl : {page->ddsFrequencyCtrl, page->clockDividerCtrl})
        shown << ctrl->findChild<QLineEdit *>()->text();
    return shown.join(QLatin1Char(' '));
}

QString lamps(const zr7480fp_CSR *page)
{
    return QStringLiteral("dds=%1 sync=%2").arg(int(page->ddsErrorLed->isOn())).arg(int(page->syncStatusLed->isOn()));
}

} // namespace

// A negative status ends the program after its line; the call log shows
// what reached the card before.
ZR_SCENARIO(fatalStatus)
{
    zr7480_fc card;
    zrtest::ModalAnswerer answers;
    auto window = openWindow(answers, card, false);
    simbench_setStatus("zr7480_configureChannel", VI_ERROR_PARAMETER3);
    if (qEnvironmentVariableIsSet("ZR_NO_ERROR_TEXT"))
        simbench_setStatus("zr7480_error_message", -1);
    act(*window, QStringLiteral("filter1 1"));
    return 3;
}

ZR_SCENARIO(giveUp)
{
    zr7480_fc card;
    zrtest::ModalAnswerer answers;
    answers.click(QStringLiteral("Cancel"));
    zr7480fp_App window(&card);
    return 3;
}

ZR_SCENARIO(splashes)
{
    for (int number : {0x7480, 0x1234, 0x1235, 0x1236, -0x7480}) {
        std::printf("[%x]\n", unsigned(std::abs(number)));
        std::fflush(stdout);
        zr6200fp_splashLabel(1.0f, 20, std::abs(number), number > 0, QStringLiteral("b"), QStringLiteral("m"));
        std::fflush(stdout);
    }
    return 0;
}

class tst_Panels : public zrtest::Case
{
    Q_OBJECT
private slots:
    void userActions_data();
    void userActions();
    void resetPage_data();
    void resetPage();
    void statusLamps_data();
    void statusLamps();
    void statusRule_data();
    void statusRule();
    void identification_data();
    void identification();
    void givingUpEnds();
    void cardObject();
    void splash();
};

void tst_Panels::userActions_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("calls");
    const auto channels = [](const char *one, const char *two) {
        return QStringList{QStringLiteral("zr7480_configureChannel(channel=1, %1) -> 0").arg(QLatin1String(one)),
                           QStringLiteral("zr7480_configureChannel(channel=2, %1) -> 0").arg(QLatin1String(two))};
    };
    const auto clock = [](const char *args) {
        return QStringList{QStringLiteral("zr7480_configureClock(%1) -> 0").arg(QLatin1String(args))};
    };
    const char *const start = "filter=0, gain=0, output=0";
    zrtest::row("Elliptic Mute on 2", QStringList{"filter2 8"}, channels(start, "filter=16, gain=0, output=0"));
    zrtest::row("Elliptic 150kHz", QStringList{"filter1 23"}, channels("filter=31, gain=0, output=0", start));
    zrtest::row("Butterworth 9kHz", QStringList{"filter1 7"}, channels("filter=7, gain=0, output=0", start));
    zrtest::row("gain and output carried", QStringList{"gain1 3", "output1 2", "filter2 1"},
                channels("filter=0, gain=3, output=0", start) + channels("filter=0, gain=3, output=2", start) +
                    channels("filter=0, gain=3, output=2", "filter=1, gain=0, output=0"));
    zrtest::row(
        "clock source Off", QStringList{"source 3"},
        clock("clockSource=3, ddsFrequency=12500000, clockDivider=4, synchSource=0, fpClockOutput=0, mbClockOutput=0"));
    zrtest::row("every clock control", QStringList{"synch 2", "fpclock 3", "mbclock 1"},
                clock("clockSource=0, ddsFrequency=12500000, clockDivider=4, "
                      "synchSource=2, fpClockOutput=0, mbClockOutput=0") +
                    clock("clockSource=0, ddsFrequency=12500000, clockDivider=4, "
                          "synchSource=2, fpClockOutput=3, mbClockOutput=0") +
                    clock("clockSource=0, ddsFrequency=12500000, clockDivider=4, "
                          "synchSource=2, fpClockOutput=3, mbClockOutput=1"));
    zrtest::row("divider 0", QStringList{"divider 0"},
                clock("clockSource=0, ddsFrequency=12500000, clockDivider=0, synchSource=0, "
                      "fpClockOutput=0, mbClockOutput=0"));
    zrtest::row("divider 5000 clamped", QStringList{"divider 5000"},
                clock("clockSource=0, ddsFrequency=12500000, clockDivider=4095, "
                      "synchSource=0, fpClockOutput=0, mbClockOutput=0"));
    zrtest::row("DDS frequency once", QStringList{"dds 13456789"},
                clock("clockSource=0, ddsFrequency=13456789, clockDivider=4, "
                      "synchSource=0, fpClockOutput=0, mbClockOutput=0"));
    zrtest::row("synch mode", QStringList{"mode 3"}, QStringList{"zr7480_configureFpSynch(mode=3) -> 0"});
    zrtest::row("Pulse, Falling", QStringList{"Pulse"}, QStringList{"zr7480_fpSyncPulse(edge=0) -> 0"});
    zrtest::row("Pulse, Raising", QStringList{"edge 1", "Pulse"}, QStringList{"zr7480_fpSyncPulse(edge=1) -> 0"});
    zrtest::row("Arm, Reset", QStringList{"Arm", "Reset"}, QStringList{"zr7480_arm() -> 0", "zr7480_reset() -> 0"});
}

void tst_Panels::userActions()
{
    QFETCH(QStringList, actions);
    for (bool demo : {false, true}) {
        zr7480_fc card;
        auto window = openWindow(answers, card, demo);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const QString &action : std::as_const(actions))
            QVERIFY2(act(*window, action), qPrintable(action));
        if (demo)
            QCOMPARE(cardCalls(), QStringList());
        else
            QTEST(cardCalls(), "calls");
        window->hide();
    }
}

void tst_Panels::resetPage_data()
{
    QTest::addColumn<bool>("demo");
    zrtest::row("Reset", false);
    zrtest::row("demo", true);
}

void tst_Panels::resetPage()
{
    QFETCH(bool, demo);
    // Given every control of the Configuration page changed,
    zr7480_fc card;
    auto window = openWindow(answers, card, demo);
    QVERIFY(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QString start = shownConfig(window->configPage);
    for (const char *action : {"filter1 8", "filter2 23", "gain1 3", "output1 2", "source 3", "synch 2", "fpclock 3",
                               "mbclock 1", "mode 3", "divider 77", "dds 13456789"})
        QVERIFY(act(*window, QLatin1String(action)));
    QVERIFY(shownConfig(window->configPage) != start);
    simbench_clearLog();
    // when Reset resets the card,
    QVERIFY(act(*window, QStringLiteral("Reset")));
    // then the page shows its start values, the card's defaults, again and
    // sends nothing.
    QCOMPARE(shownConfig(window->configPage), start);
    QCOMPARE(cardCalls(), demo ? QStringList() : QStringList{QStringLiteral("zr7480_reset() -> 0")});
    window->hide();
}

void tst_Panels::statusLamps_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("forcedStatus"); // of zr7480_getStatus in the last action; 0: as the card answers
    QTest::addColumn<QString>("lamps");
    const QString update = QStringLiteral("Update"), ddsError = QStringLiteral("DDS at 1 kHz by another program");
    const int warning = 0x3FFC0901;
    zrtest::row("not armed", QStringList{update}, 0, "dds=0 sync=0");
    zrtest::row("armed: synchronised", QStringList{"Arm", update}, 0, "dds=0 sync=1");
    zrtest::row("DDS error", QStringList{ddsError, update}, 0, "dds=1 sync=0");
    zrtest::row("nothing written: sync lamp kept", QStringList{"Arm", update, update}, warning, "dds=0 sync=1");
    zrtest::row("nothing written: DDS lamp kept", QStringList{ddsError, update, update}, warning, "dds=1 sync=0");
}

void tst_Panels::statusLamps()
{
    QFETCH(QStringList, actions);
    QFETCH(int, forcedStatus);
    zr7480_fc card;
    auto window = openWindow(answers, card, false);
    QVERIFY(window);
    const QString last = actions.takeLast();
    for (const QString &action : std::as_const(actions))
        QVERIFY(act(*window, action));
    if (forcedStatus) {
        // A warning goes out with the driver's text, and the page goes on.
        simbench_setStatus("zr7480_getStatus", forcedStatus);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^(?!Operation failed).+")));
    }
    QVERIFY(act(*window, last));
    QTEST(lamps(window->csrPage), "lamps");
}

void tst_Panels::statusRule_data()
{
    QTest::addColumn<QByteArray>("noText");
    QTest::addColumn<QString>("line");
    zrtest::row("the driver's text", QByteArray(), "Operation failed due to [Parameter 3 out of range");
    zrtest::row("no text: the number", QByteArray("1"), "Operation failed due to [0xBFFC0003]");
}

void tst_Panels::statusRule()
{
    QFETCH(QByteArray, noText);
    QFETCH(QString, line);
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("calls.log"));
    QProcessEnvironment env;
    env.insert(QStringLiteral("ZR_SIMBENCH_LOG"), log);
    if (!noText.isEmpty())
        env.insert(QStringLiteral("ZR_NO_ERROR_TEXT"), QString::fromLatin1(noText));
    const QString problem = zrtest::expectExit("fatalStatus", 1, line, env);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("zr7480_configureChannel("), 1);
}

void tst_Panels::identification_data()
{
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QString>("shown");    // title | module | card | logo width | lamp
    QTest::addColumn<QString>("hardware"); // model revision serial
    zrtest::row("VXI", QByteArray(kVxi), false, "Tervix 7480 Soft Front Panel|Slot 5|FC 2|146|1",
                "7480-BC 1.0.2.0 00001a2b");
    zrtest::row("LXI", QByteArray(kLxi), false, "Tervix 7480 Soft Front Panel: lxi.example|inst0|FC 1|121|1",
                "7480-AA 1.0.1.0 74800101");
    zrtest::row("LXI without names", QByteArray(kLxiNoNames), false, "Tervix 7480 Soft Front Panel||FC 1|121|1",
                "7480-AA 1.0.1.0 74800101");
    zrtest::row("demo", QByteArray(kVxi), true, "Tervix 7480 Soft Front Panel|||146|0",
                "7480-AA (DEMO) 1.0.1.0 (DEMO) 74809481 (DEMO)");
}

void tst_Panels::identification()
{
    QFETCH(QByteArray, bench);
    QFETCH(bool, demo);
    {
        zr7480_fc card;
        auto window = openWindow(answers, card, demo, bench.constData());
        QVERIFY(window);
        const auto text = [&window](const char *name) { return window->findChild<QLabel *>(name)->text(); };
        QTEST(QStringList({window->windowTitle(), text("moduleLabel"), text("fcLabel"),
                           QString::number(window->findChild<QLabel *>("busLogoLabel")->pixmap().width()),
                           QString::number(window->findChild<zr6200fp_led *>("activeLed")->isOn())})
                  .join(QLatin1Char('|')),
              "shown");
        const QString box = QStringLiteral("Hardware Information");
        QTEST(QStringList({zrtest::formField(window->about(), box, QStringLiteral("Device Model:")),
                           zrtest::formField(window->about(), box, QStringLiteral("Revision:")),
                           zrtest::formField(window->about(), box, QStringLiteral("Serial Number:"))})
                  .join(QLatin1Char(' ')),
              "hardware");
        // The card's copyright is Latin-1 text.
        const auto labels = window->about()->findChildren<QLabel *>();
        const QString copyright = QStringLiteral("Copyright \u00A9 2004-2012 Halvar GmbH. All rights reserved.");
        QVERIFY(std::any_of(labels.begin(), labels.end(), [&](const QLabel *l) { return l->text() == copyright; }));
    }
    // The session is closed with the window, unless in demo mode.
    QCOMPARE(zrtest::calls(QStringLiteral("zr7480_close")).size(), demo ? 0 : 1);
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_Panels::givingUpEnds()
{
    const QString problem = zrtest::expectExit("giveUp", 0, QString());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void tst_Panels::cardObject()
{
    QVERIFY(zrtest::loadBench(kVxi));
    zr7480_fc card;
    QCOMPARE(zr6200fp_cardModels::modelText(card.modelCode), QStringLiteral("7480"));
    QVERIFY(card.isModelSupported(0x7480));
    QVERIFY(!card.isModelSupported(0x8074) && !card.isModelSupported(0));
    QCOMPARE(card.getDriverRevision(), QStringLiteral("4.3.0.10110"));
    QVERIFY(!card.getErrorMessage(VI_ERROR_TMO).isEmpty());
    simbench_setStatus("zr7480_error_message", -1);
    QCOMPARE(card.getErrorMessage(VI_ERROR_TMO), QString());
    simbench_clearStatuses();
    // The driver writes a text for an unknown status, but says it has none.
    QCOMPARE(card.getErrorMessage(0x3FFC7777), QString());
    // The kept descriptor is cut to 2047 characters; reinit passes it on.
    const QByteArray longName = "VXI0::7::INSTR" + QByteArray(3000, 'x');
    const quint16 numbers[2] = {2, 9};
    ViSession vi = 0;
    card.initAndKeep(longName.constData(), numbers, 2, 0, 0, &vi);
    card.reinit(&vi);
    const auto inits = zrtest::calls(QStringLiteral("zr7480_init"));
    QCOMPARE(inits.size(), 2);
    QCOMPARE(inits.last().value(QStringLiteral("rsrcName")), QLatin1Char('"') + longName.left(2047) + QLatin1Char('"'));
    QCOMPARE(inits.last().value(QStringLiteral("fcNumber")) + inits.last().value(QStringLiteral("idQuery")) +
                 inits.last().value(QStringLiteral("reset")),
             QStringLiteral("211"));
    // init and close pass the driver's status on.
    QCOMPARE(card.init("VXI0::7::INSTR", numbers, 1, 1, &vi), VI_SUCCESS);
    QCOMPARE(card.close(vi), VI_SUCCESS);
    QVERIFY(card.close(vi) < 0);
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_Panels::splash()
{
    const QString complaint = QStringLiteral(
        "The size of the image of the device, that is to be used in the splash screen, is not as required!!!\n");
    // 7480: its bitmap; 1234: the picture alternative; 1235: a bitmap one
    // row short; 1236: a picture of the wrong size; 29824: no picture.
    const QString problem = zrtest::expectExit(
        "splashes", 0, QStringLiteral("[7480]\n[1234]\n[1235]\n%1[1236]\n%1[7480]\n%1").arg(complaint));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(zr6200fp_cardModels::modelText(0x7480, 10), QStringLiteral("29824"));
    QCOMPARE(zr6200fp_cardModels::modelText(0x12, 16), QStringLiteral("  12"));
    // The device picture fills the device area; the description is spelled out.
    zr7480_fc card;
    const QImage splash = zr7480fp_splash::picture(card).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage device = QImage(QStringLiteral(":/zr7480fp_splash.bmp")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(splash.copy(67, 38, 453, 199), device.copy(67, 38, 453, 199));
    zr6200fp_splashLabel spelled(1.0f, 20, 0x7480, true, card.getCopyright(),
                                 QStringLiteral("2-Channel Filter/Sync Function Card"));
    QCOMPARE(splash, spelled.toImage().convertToFormat(QImage::Format_RGB32));
}

ZR_TEST_MAIN(tst_Panels)
#include "tst_panels.moc"
