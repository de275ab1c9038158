// The card's window on the simulated bench: what each user action sends to
// the driver, the Configuration page after Reset, the status lamps, the
// status rule, the window's identification and hardware query, the card
// object and the splash picture.
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
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
#include "digitctrl/zr6200fp_digitCtrl.h"
#include "led/zr6200fp_led.h"
#include "simbench.h"
#include "splash/zr6200fp_splashLabel.h"
#include "standin_status.h"
#include "testsupport.h"
#include "zr7480.h"
#include "zr7480fp/zr7480_fc.h"
#include "zr7480fp/zr7480fp_App.h"
#include "zr7480fp/zr7480fp_Config.h"
#include "zr7480fp/zr7480fp_splash.h"

using zrtest::row;

namespace {

// A VXI carrier in slot 5 whose slot 2 holds a 7480.
const QByteArray kVxi = R"({"resources": [{"descriptor": "VXI0::7::INSTR", "slot": 5, "carrier": {"modelId": 1987,
    "slots": [0, {"id": "0x7480", "serial": "0x00001a2b", "option": "BC", "revision": "1.0.2.0"}]}}]})";

// The warning the driver's text for ZR7480_WARN_NO_RESET gives.
const QRegularExpression kNoResetText(QStringLiteral("^The session was opened without a reset"));

// The instrument driver's calls in the call log, without the session number.
QStringList cardCalls(const QStringList &log = zrtest::benchLog())
{
    static const QRegularExpression session(QStringLiteral("vi=\\d+(, )?"));
    QStringList lines;
    for (const QString &line : log) {
        if (line.startsWith(QLatin1String("zr7480_")) && !line.startsWith(QLatin1String("zr7480_error_message")))
            lines << QString(line).remove(session);
    }
    return lines;
}

// Builds and shows the window through Auto Find, or in demo mode, with the
// named operations returning status from the start; null when the flow did
// not go as expected, building the window sent the card more than the
// hardware query, or the window did not show.
std::unique_ptr<zr7480fp_App> openWindow(zrtest::ModalAnswerer &answers, zr7480_fc &card, bool demo,
                                         const QByteArray &bench = kVxi, const QByteArrayList &forced = {},
                                         ViStatus status = 0)
{
    if (!zrtest::loadBench(bench))
        return nullptr;
    for (const QByteArray &operation : forced)
        simbench_setStatus(operation.constData(), status);
    answers.click(demo ? QStringLiteral("Run In Demo Mode") : QStringLiteral("Auto Find"));
    auto window = std::make_unique<zr7480fp_App>(&card);
    static const QRegularExpression sends(QStringLiteral("^zr7480_(configure|arm|fpSync|reset|getStatus)"));
    const bool quiet = cardCalls().filter(sends).isEmpty();
    simbench_clearLog();
    window->show();
    const bool shown = QTest::qWaitForWindowActive(window.get());
    return answers.problems().isEmpty() && quiet && shown ? std::move(window) : nullptr;
}

// The control beside the label, in the group box of that title if given,
// as a user finds it.
QWidget *control(QWidget *window, const QString &label, const QString &group = {})
{
    const auto boxes = window->findChildren<QGroupBox *>();
    for (const QGroupBox *box : boxes) {
        auto *grid = qobject_cast<QGridLayout *>(box->layout());
        for (int i = 0; grid && (group.isEmpty() || box->title() == group) && i < grid->count(); ++i) {
            const auto *caption = qobject_cast<QLabel *>(grid->itemAt(i)->widget());
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            if (caption && caption->text() == label)
                return grid->itemAtPosition(row, column + 1)->widget();
        }
    }
    return nullptr;
}

// A user's step: the button of that text pressed; or, in the control beside
// label, the item of that text chosen, the text typed and Return pressed,
// or the key pressed.
struct Step
{
    Step(const char *input, const char *label = "", const char *group = "")
        : input(QString::fromUtf8(input))
        , label(QString::fromUtf8(label))
        , group(QString::fromUtf8(group))
    {
    }
    Step(Qt::Key key, const char *label)
        : label(QString::fromUtf8(label))
        , key(key)
    {
    }
    QString input;
    QString label;
    QString group;
    Qt::Key key = Qt::Key_unknown;
};
using Steps = QList<Step>;

// The item of that text chosen as a user does.
bool choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    // What a user's choice in the popup emits.
    emit combo->activated(index);
    return index >= 0;
}

bool act(zr7480fp_App &window, const Step &step)
{
    if (step.label.isEmpty()) {
        QPushButton *b = zrtest::button(&window, step.input);
        if (b)
            QTest::mouseClick(b, Qt::LeftButton);
        return b;
    }
    QWidget *w = control(&window, step.label, step.group);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return choose(combo, step.input);
    auto *ctrl = qobject_cast<zr6200fp_digitCtrl *>(w);
    if (!ctrl)
        return false;
    ctrl->setFocus();
    if (step.key != Qt::Key_unknown) {
        QTest::keyClick(ctrl, step.key);
        return true;
    }
    ctrl->findChild<QLineEdit *>()->selectAll();
    QTest::keyClicks(ctrl, step.input);
    QTest::keyClick(ctrl, Qt::Key_Return);
    return true;
}

// The calls one change of a channel control sends, with the status they return.
QStringList channels(int filter1, int gain1, int output1, int filter2, int gain2, int output2, ViStatus status = 0)
{
    const QString call = QStringLiteral("zr7480_configureChannel(channel=%1, filter=%2, gain=%3, output=%4) -> %5");
    return {call.arg(1).arg(filter1).arg(gain1).arg(output1).arg(status),
            call.arg(2).arg(filter2).arg(gain2).arg(output2).arg(status)};
}

QStringList clock(int source, double dds, int divider, int synch, int fpOutput, int mbOutput)
{
    return {
        QString::asprintf("zr7480_configureClock(clockSource=%d, ddsFrequency=%.10g, clockDivider=%d, synchSource=%d, "
                          "fpClockOutput=%d, mbClockOutput=%d) -> 0",
                          source, dds, divider, synch, fpOutput, mbOutput)};
}

// What the Configuration page shows: each combo box's item, then the digit
// controls' texts.
QStringList shownConfig(const zr7480fp_Config *page)
{
    QStringList shown;
    const auto combos = page->findChildren<QComboBox *>();
    for (const QComboBox *combo : combos)
        shown << combo->currentText();
    const auto editors = page->findChildren<QLineEdit *>();
    for (const QLineEdit *editor : editors)
        shown << editor->text();
    return shown;
}

} // namespace

Q_DECLARE_METATYPE(Steps)

// A negative status ends the program after its line; the call log shows
// what reached the card before.
ZR_SCENARIO(fatalStatus)
{
    zr7480_fc card;
    zrtest::ModalAnswerer answers;
    auto window =
        openWindow(answers, card, false, kVxi, qgetenv("ZR_FAILING").split(' '), ViStatus(VI_ERROR_PARAMETER3));
    act(*window, {"Butterworth 750Hz", "Filter", "Channel 1"});
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
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QByteArray>("warns"); // an operation that returns a warning
    QTest::addColumn<QStringList>("calls");
    const ViStatus warning = ZR7480_WARN_RESERVED_FILTER;
    const char *const divider = "Clock Divider";
    const char *const dds = "DDS Frequency";
    row("filters by their text",
        Steps{{"Elliptic Mute", "Filter", "Channel 2"},
              {"Elliptic 150kHz", "Filter", "Channel 1"},
              {"Butterworth 9kHz", "Filter", "Channel 2"}},
        QByteArray(), channels(0, 0, 0, 16, 0, 0) + channels(31, 0, 0, 16, 0, 0) + channels(31, 0, 0, 7, 0, 0));
    row("channel 1's gain and output carried",
        Steps{{"x0.01", "Gain", "Channel 1"},
              {"Connected", "Output", "Channel 1"},
              {"Elliptic 10kHz", "Filter", "Channel 2"}},
        QByteArray(), channels(0, 3, 0, 0, 0, 0) + channels(0, 3, 2, 0, 0, 0) + channels(0, 3, 2, 17, 0, 0));
    row("channel 2's gain and output",
        Steps{{"x1", "Gain", "Channel 2"}, {"Grounded", "Output", "Channel 2"}, {"x0.1", "Gain", "Channel 2"}},
        QByteArray(), channels(0, 0, 0, 0, 1, 0) + channels(0, 0, 0, 0, 1, 1) + channels(0, 0, 0, 0, 2, 1));
    row("a warning sends both and keeps the choice",
        Steps{{"Elliptic Mute", "Filter", "Channel 2"}, {"x1", "Gain", "Channel 1"}},
        QByteArray("zr7480_configureChannel"),
        channels(0, 0, 0, 16, 0, 0, warning) + channels(0, 1, 0, 16, 0, 0, warning));
    row("clock source Off", Steps{{"Off", "Clock Source"}}, QByteArray(), clock(3, 12.5e6, 4, 0, 0, 0));
    row("every clock control",
        Steps{{"Own ITRI", "Clock Source"},
              {"Neighb ITRI", "Synch Source"},
              {"TTL", "FP Clock Output"},
              {"Enabled", "MB Clock Output"}},
        QByteArray(),
        clock(1, 12.5e6, 4, 0, 0, 0) + clock(1, 12.5e6, 4, 2, 0, 0) + clock(1, 12.5e6, 4, 2, 2, 0) +
            clock(1, 12.5e6, 4, 2, 2, 1));
    row("divider: clamped, one call a step, none at a limit",
        Steps{{"5000", divider}, {Qt::Key_Up, divider}, {"0", divider}, {Qt::Key_Down, divider}, {Qt::Key_Up, divider}},
        QByteArray(), clock(0, 12.5e6, 4095, 0, 0, 0) + clock(0, 12.5e6, 0, 0, 0, 0) + clock(0, 12.5e6, 1, 0, 0, 0));
    row("DDS: one call a step, none at a limit",
        Steps{{"13456789", dds}, {"25e6", dds}, {Qt::Key_Up, dds}, {Qt::Key_PageDown, dds}}, QByteArray(),
        clock(0, 13456789, 4, 0, 0, 0) + clock(0, 25e6, 4, 0, 0, 0) + clock(0, 15e6, 4, 0, 0, 0));
    row("synch mode", Steps{{"1st and 3rd pulse ignored", "ITRI to FP Synch Mode"}}, QByteArray(),
        QStringList{"zr7480_configureFpSynch(mode=2) -> 0"});
    row("commands", Steps{{"Pulse"}, {"Raising", "Edge"}, {"Pulse"}, {"Arm"}, {"Reset"}}, QByteArray(),
        QStringList{"zr7480_fpSyncPulse(edge=0) -> 0", "zr7480_fpSyncPulse(edge=1) -> 0", "zr7480_arm() -> 0",
                    "zr7480_reset() -> 0"});
}

void tst_Panels::userActions()
{
    QFETCH(Steps, steps);
    QFETCH(QByteArray, warns);
    for (bool demo : {false, true}) {
        zr7480_fc card;
        auto window = openWindow(answers, card, demo);
        QVERIFY(window);
        if (!warns.isEmpty() && !demo) {
            // A warning goes out with the driver's text, and the page goes on.
            simbench_setStatus(warns.constData(), ZR7480_WARN_RESERVED_FILTER);
            for (int i = 0; i < 2 * steps.size(); ++i)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Filter values 8 to 15 are")));
        }
        for (const Step &step : std::as_const(steps))
            QVERIFY2(act(*window, step), qPrintable(step.input + step.label));
        if (demo)
            QCOMPARE(cardCalls(), QStringList());
        else
            QTEST(cardCalls(), "calls");
    }
}

void tst_Panels::resetPage()
{
    for (bool demo : {false, true}) {
        // Given every control of the Configuration page changed,
        zr7480_fc card;
        auto window = openWindow(answers, card, demo);
        QVERIFY(window);
        const QStringList start = shownConfig(window->configPage);
        const auto combos = window->configPage->findChildren<QComboBox *>();
        for (QComboBox *combo : combos)
            QVERIFY(choose(combo, combo->itemText(combo->count() - 1)));
        QVERIFY(act(*window, {"13456789", "DDS Frequency"}) && act(*window, {"77", "Clock Divider"}));
        simbench_clearLog();
        // when Reset resets the card,
        QVERIFY(act(*window, {"Reset"}));
        // then the page shows its start values, the card's defaults, again
        // and sends nothing.
        QCOMPARE(shownConfig(window->configPage), start);
        QCOMPARE(cardCalls(), demo ? QStringList() : QStringList{QStringLiteral("zr7480_reset() -> 0")});
    }
}

void tst_Panels::statusLamps_data()
{
    QTest::addColumn<double>("cardDds"); // set behind the panel; 0: as the panel left it
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<int>("lastStatus"); // what the last step's status read returns; 0: as the card answers
    QTest::addColumn<bool>("ddsError");
    QTest::addColumn<bool>("synchronised");
    row("not armed", 0.0, Steps{{"Update"}}, 0, false, false);
    row("armed", 0.0, Steps{{"Arm"}, {"Update"}}, 0, false, true);
    row("DDS out of its range", 30e6, Steps{{"Arm"}, {"Update"}}, 0, true, false);
    // A warning that writes no status leaves each lamp as it was.
    row("a warning keeps the sync lamp", 0.0, Steps{{"Arm"}, {"Update"}, {"Update"}}, ZR7480_WARN_NO_RESET, false,
        true);
    row("a warning keeps the DDS lamp", 30e6, Steps{{"Update"}, {"Update"}}, ZR7480_WARN_NO_RESET, true, false);
}

void tst_Panels::statusLamps()
{
    QFETCH(double, cardDds);
    QFETCH(Steps, steps);
    QFETCH(int, lastStatus);
    zr7480_fc card;
    auto window = openWindow(answers, card, false);
    QVERIFY(window);
    if (cardDds != 0.0)
        QCOMPARE(zr7480_configureClock(window->driverSession(), 0, cardDds, 4, 0, 0, 0), VI_SUCCESS);
    for (int i = 0; i < steps.size(); ++i) {
        if (i == steps.size() - 1 && lastStatus) {
            simbench_setStatus("zr7480_getStatus", lastStatus);
            QTest::ignoreMessage(QtWarningMsg, kNoResetText);
        }
        QVERIFY(act(*window, steps[i]));
    }
    QTEST(qobject_cast<zr6200fp_led *>(control(window.get(), QStringLiteral("DDS Error")))->isOn(), "ddsError");
    QTEST(qobject_cast<zr6200fp_led *>(control(window.get(), QStringLiteral("Sync Status")))->isOn(), "synchronised");
}

void tst_Panels::statusRule_data()
{
    QTest::addColumn<QByteArrayList>("failing"); // from the start, with an error
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("lastCall"); // how the last call to the card begins
    row("a channel call", QByteArrayList{"zr7480_configureChannel"},
        "Operation failed due to [Parameter 3 out of range", "zr7480_configureChannel(channel=1,");
    row("no text: the number", QByteArrayList{"zr7480_configureChannel", "zr7480_error_message"},
        "Operation failed due to [0xBFFC0003]", "zr7480_configureChannel(channel=1,");
    row("the hardware query, before the window shows", QByteArrayList{"zr7480_getSerialNumber"},
        "Operation failed due to [Parameter 3 out of range", "zr7480_getSerialNumber(");
}

void tst_Panels::statusRule()
{
    QFETCH(QByteArrayList, failing);
    QFETCH(QString, line);
    QFETCH(QString, lastCall);
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("calls.log"));
    QProcessEnvironment env;
    env.insert(QStringLiteral("ZR_SIMBENCH_LOG"), log);
    env.insert(QStringLiteral("ZR_FAILING"), QString::fromLatin1(failing.join(' ')));
    const QString problem = zrtest::expectExit("fatalStatus", 1, line, env);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList calls = cardCalls(QString::fromLatin1(file.readAll()).split(QLatin1Char('\n')));
    QVERIFY2(calls.last().startsWith(lastCall), qPrintable(calls.last()));
}

void tst_Panels::identification_data()
{
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QByteArray>("warns"); // an operation that returns a warning
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("lxi");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QStringList>("hardware"); // model, revision, serial number
    const QString title = QStringLiteral("Tervix 7480 Soft Front Panel");
    row("VXI", kVxi, false, QByteArray(), title, false, "Slot 5", "FC 2",
        QStringList{"7480-BC", "1.0.2.0", "00001a2b"});
    row("LXI", QByteArray(R"({"resources": [{"descriptor": "TCPIP0::192.0.2.10::INSTR", "address": "192.0.2.10",
                "hostname": "lxi.example", "deviceName": "inst0", "carrier": {"slots": [{"id": "0x7480"}]}}]})"),
        false, QByteArray(), title + ": lxi.example", true, "inst0", "FC 1",
        QStringList{"7480-AA", "1.0.1.0", "74800101"});
    row("LXI without names", QByteArray(R"({"resources": [{"descriptor": "TCPIP0::192.0.2.11::INSTR",
                "carrier": {"slots": [{"id": "0x7480"}]}}]})"),
        false, QByteArray(), title, true, "", "FC 1", QStringList{"7480-AA", "1.0.1.0", "74800101"});
    row("demo", kVxi, true, QByteArray(), title, false, "", "",
        QStringList{"7480-AA (DEMO)", "1.0.1.0 (DEMO)", "74809481 (DEMO)"});
    row("the top serial number", QByteArray(R"({"resources": [{"descriptor": "VXI0::7::INSTR", "slot": 1,
                "carrier": {"slots": [{"id": "0x7480", "serial": "0xffffffff"}]}}]})"),
        false, QByteArray(), title, false, "Slot 1", "FC 1", QStringList{"7480-AA", "1.0.1.0", "ffffffff"});
    row("the hardware query warns: what the driver left", kVxi, false, QByteArray("zr7480_getSerialNumber"), title,
        false, "Slot 5", "FC 2", QStringList{"7480-", "1.0.2.0", "00000000"});
}

void tst_Panels::identification()
{
    QFETCH(QByteArray, bench);
    QFETCH(bool, demo);
    QFETCH(QByteArray, warns);
    QFETCH(bool, lxi);
    if (!warns.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, kNoResetText);
    {
        zr7480_fc card;
        auto window =
            openWindow(answers, card, demo, bench, QByteArrayList{warns}.mid(warns.isEmpty()), ZR7480_WARN_NO_RESET);
        QVERIFY(window);
        const auto label = [&window](const char *name) { return window->findChild<QLabel *>(name); };
        QTEST(window->windowTitle(), "title");
        QCOMPARE(label("headerLabel")->text(),
                 QStringLiteral("<html>Tervix 7480<br><font size='2'>2-Channel Filter/Sync FC</font></html>"));
        QTEST(label("moduleLabel")->text(), "module");
        QCOMPARE(label("moduleLabel")->whatsThis(),
                 QStringLiteral("Shows which %1 module is connected to the Soft Front Panel")
                     .arg(QLatin1String(lxi ? "LXI" : "VXI")));
        QTEST(label("fcLabel")->text(), "card");
        QCOMPARE(label("busLogoLabel")->pixmap().toImage(),
                 QImage(lxi ? QStringLiteral(":/lxi-logo.bmp") : QStringLiteral(":/vxi-logo.bmp")));
        QCOMPARE(window->findChild<zr6200fp_led *>("activeLed")->isOn(), !demo);
        // What's This help does not reach the accessibility bus: a screen
        // reader reads it as the description.
        const auto widgets = window->findChildren<QWidget *>();
        for (const QWidget *w : widgets) {
            if (!w->whatsThis().isEmpty())
                QCOMPARE(w->accessibleDescription(), w->whatsThis());
        }
        // About shows the revisions in their fields and this card's hardware.
        QTest::mouseClick(window->findChild<QPushButton *>("aboutButton"), Qt::LeftButton);
        QVERIFY(window->about()->isVisible());
        QCOMPARE(zrtest::formFields(window->about(), QStringLiteral("Software Revisions"),
                                    {"Tervix Common Library:", "Instrument Driver:", "Soft Front Panel:"}),
                 QStringList({"6.2.0.3301", "4.3.0.10110", "4.3.1.10252"}));
        QTEST(zrtest::formFields(window->about(), QStringLiteral("Hardware Information"),
                                 {"Device Model:", "Revision:", "Serial Number:"}),
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
    // No text when the driver's call fails, or says it has none.
    QVERIFY(!card.getErrorMessage(VI_ERROR_TMO).isEmpty());
    simbench_setStatus("zr7480_error_message", -1);
    QCOMPARE(card.getErrorMessage(VI_ERROR_TMO), QString());
    simbench_clearStatuses();
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
    QCOMPARE(QStringList({inits.last()["fcNumber"], inits.last()["idQuery"], inits.last()["reset"]}),
             QStringList({"2", "1", "1"}));
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
    // The device picture fills the device area.
    zr7480_fc card;
    const QImage splash = zr7480fp_splash::picture(card).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage device = QImage(QStringLiteral(":/zr7480fp_splash.bmp")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(splash.copy(67, 38, 453, 199), device.copy(67, 38, 453, 199));
}

ZR_TEST_MAIN(tst_Panels)
#include "tst_panels.moc"
