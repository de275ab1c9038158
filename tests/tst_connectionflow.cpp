#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "about/zr6200fp_About.h"
#include "core/zr6200fp_settingsLocation.h"
#include "fakecard.h"
#include "fc/zr6200fp_AppFC.h"
#include "fc/zr6200fp_fcEnterAddress.h"
#include "fc/zr6200fp_fcSelect.h"
#include "led/zr6200fp_led.h"
#include "simbench.h"
#include "testsupport.h"
#include "zr6200.h"
#include "zr6200fp_fcEnterAddressFc.h"
#include "zr7480_fc.h"

namespace {

// A search that finds a set number of cards, laid out as the real one does.
class ScriptedSelect final : public zr6200fp_fcSelect
{
public:
    ScriptedSelect(zr6200fp_genFC *card, int found)
        : zr6200fp_fcSelect(card, 0)
        , found(found)
    {
    }
    int searchCards() override
    {
        ++searches;
        auto *tree = findChild<QTreeWidget *>();
        tree->clear();
        auto *top = new QTreeWidgetItem(tree, QStringList{QStringLiteral("VXI0")});
        top->setFlags(Qt::ItemIsEnabled);
        for (int i = 0; i < found; ++i) {
            auto *carrier = new QTreeWidgetItem(top, QStringList{QStringLiteral("Slot %1 - 4260 MB").arg(i + 2)});
            carrier->setFlags(Qt::ItemIsEnabled);
            auto *item = new QTreeWidgetItem(carrier, QStringList{QStringLiteral("FC 3"), QStringLiteral("7480")});
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            item->setData(0, Qt::StatusTipRole, 3);
            descriptor = QStringLiteral("VXI0::%1::INSTR").arg(9 + i);
            item->setData(1, Qt::StatusTipRole, descriptor);
            fcNumbers[0] = 3;
        }
        tree->expandAll();
        return found;
    }
    const int found;
    int searches = 0;
};

// Fills the address dialog's rows from "D#N;D#N" and presses OK; a second
// row switches the count to 2.
void fillAddresses(QWidget *w, const QString &rows)
{
    auto *dialog = qobject_cast<zr6200fp_fcEnterAddress *>(w);
    const QStringList list = rows.split(QLatin1Char(';'));
    for (int i = 0; i < list.size(); ++i) {
        const QStringList parts = list[i].split(QLatin1Char('#'));
        dialog->rowWidget(i)->descriptorCombo->setEditText(parts[0]);
        dialog->rowWidget(i)->fcNumberCombo->setCurrentIndex(parts[1].toInt());
    }
    if (list.size() > 1)
        dialog->countSelector()->setCurrentIndex(int(list.size()) - 1);
    zrtest::clickButton(w, QStringLiteral("OK"));
}

// Answers: a button text, or "address:D#N[;D#N]" (fill and OK),
// "shown-address" (note the first row, then Cancel), "select-first" (pick the
// first card, OK), "reject".
void queueAnswers(zrtest::ModalAnswerer &answerer, const QStringList &answers, QStringList &shownRows)
{
    for (const QString &answer : answers) {
        if (answer.startsWith(QLatin1String("address:"))) {
            const QString rows = answer.mid(8);
            answerer.act([rows](QWidget *w) { fillAddresses(w, rows); });
        } else if (answer == QLatin1String("shown-address")) {
            answerer.act([&shownRows](QWidget *w) {
                auto *dialog = qobject_cast<zr6200fp_fcEnterAddress *>(w);
                for (int i = 0; i < zr6200fp_fcEnterAddress::kRows && dialog->rowWidget(i); ++i) {
                    if (dialog->rowWidget(i)->isEnabled())
                        shownRows << dialog->rowWidget(i)->descriptorCombo->currentText() + QLatin1Char('#') +
                                         QString::number(dialog->rowWidget(i)->fcNumberCombo->currentIndex());
                }
                dialog->reject();
            });
        } else if (answer == QLatin1String("select-first")) {
            answerer.act([](QWidget *w) {
                auto *tree = w->findChild<QTreeWidget *>();
                tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(0));
                zrtest::clickButton(w, QStringLiteral("OK"));
            });
        } else if (answer == QLatin1String("reject")) {
            answerer.act([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        } else {
            answerer.click(answer);
        }
    }
}

QStringList seenTexts(const zrtest::ModalAnswerer &answerer)
{
    QStringList texts;
    for (const auto &s : answerer.seen())
        texts << (s.text.isEmpty() ? s.title : s.text);
    return texts;
}

const QString kHow = QStringLiteral("How to connect to 7480 Function Card?");
const QString kNone = QStringLiteral("No 7480 Function Card found on your system.");
const QString kAddress = QStringLiteral("Tervix 7480 SFP: Enter Function Card Address");
const QString kSelect = QStringLiteral("Tervix 7480 SFP: Select Function Card");
const QString kSingle = QStringLiteral("Please enter the resource descriptor and select the Function Card number.");
const QString kPlural = QStringLiteral("Please enter the resource descriptors and select the Function Card numbers.");

QString statusText(ViStatus status)
{
    char buffer[1024] = {};
    getStatusText(status, buffer);
    return QString::fromLatin1(buffer);
}

// The window base with its protected state in reach.
class TestWindow final : public zr6200fp_AppFC
{
public:
    using zr6200fp_app::aboutButton;
    using zr6200fp_app::aboutDialog;
    using zr6200fp_app::activeLed;
    using zr6200fp_app::busLogoLabel;
    using zr6200fp_app::fcLabel;
    using zr6200fp_app::headerLabel;
    using zr6200fp_app::moduleLabel;
    using zr6200fp_AppFC::card;
    using zr6200fp_AppFC::demoMode;
    using zr6200fp_AppFC::fcCount;
    using zr6200fp_AppFC::fcNumbers;
    using zr6200fp_AppFC::isLxi;
    using zr6200fp_AppFC::session;
    using zr6200fp_AppFC::zr6200fp_AppFC;
};

bool loadBench(const char *json)
{
    if (simbench_loadJson(json) != 0) {
        qWarning("bench: %s", simbench_lastError());
        return false;
    }
    simbench_clearLog();
    return true;
}

const char *const kVxiBench = R"({"resources": [
    {"descriptor": "VXI0::1::INSTR", "slot": 5,
     "carrier": {"modelId": 1987, "slots": [{"id": "0x1234"}, {"id": "0x7480"}]}},
    {"descriptor": "ASRL1::INSTR"}]})";

const char *const kLxiBench = R"({"resources": [
    {"descriptor": "TCPIP0::192.0.2.10::INSTR", "address": "192.0.2.10", "hostname": "lxi-7480.example",
     "deviceName": "inst0", "carrier": {"modelId": 1990, "slots": [{"id": "0x7480"}]}}]})";

const char *const kBareLxiBench = R"({"resources": [
    {"descriptor": "TCPIP0::192.0.2.11::INSTR", "interface": "TCPIP",
     "carrier": {"modelId": 1990, "slots": [{"id": "0x7480"}]}}]})";

int lines(const QStringList &log, const char *prefix)
{
    return int(
        std::count_if(log.cbegin(), log.cend(), [&](const QString &l) { return l.startsWith(QLatin1String(prefix)); }));
}

} // namespace

// Giving up: the program ends with 0 before any window is shown.
ZR_SCENARIO(giveUp)
{
    struct ShowSpy : QObject
    {
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::Show && qobject_cast<zr6200fp_app *>(o))
                std::printf("shown\n");
            return false;
        }
    } spy;
    qApp->installEventFilter(&spy);
    zr7480_fc card;
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("Cancel"));
    std::printf("asking\n");
    std::fflush(stdout);
    TestWindow window(&card, 0, false);
    std::printf("constructed\n");
    return 3;
}

// Giving up after a failed init leaves no session behind.
ZR_SCENARIO(giveUpAfterFailure)
{
    simbench_loadJson(R"({"resources": [{"descriptor": "VXI0::1::INSTR", "slot": 5, "openStatus": 5,
        "carrier": {"modelId": 1987, "slots": [{"id": "0x7480"}]}}]})");
    std::atexit([] { std::printf("open sessions %d\n", simbench_openSessions()); });
    zr7480_fc card;
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("Auto Find")).click(QStringLiteral("Cancel"));
    TestWindow window(&card, 0, false);
    return 3;
}

class tst_ConnectionFlow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void flow_data();
    void flow();
    void boxes();
    void benchFlow_data();
    void benchFlow();
    void giveUpExitsWithZero();
    void windowIdentification_data();
    void windowIdentification();
    void windowDemoMode_data();
    void windowDemoMode();
    void windowSeveralCards();
};

void tst_ConnectionFlow::init()
{
    QFile::remove(zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current()));
    simbench_reset();
}

void tst_ConnectionFlow::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
    simbench_clearStatuses();
}

void tst_ConnectionFlow::flow_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("found");
    QTest::addColumn<QList<int>>("initStatuses");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<QStringList>("inits");  // "descriptor#number" per init
    QTest::addColumn<QString>("descriptor"); // after the flow
    QTest::addColumn<QList<int>>("numbers"); // fcNumbers from element 0
    QTest::addColumn<int>("demoMode");
    QTest::addColumn<ViSession>("session");
    QTest::addColumn<QList<ViSession>>("closed");
    QTest::addColumn<QStringList>("shownRows");

    const QList<int> none;
    const QStringList nothing;
    const QList<ViSession> noClose;
    auto row = [&](const char *name) -> QTestData & { return QTest::newRow(name) << 0x7480; };

    row("cancel") << 0 << none << "" << QStringList{"Cancel"} << 0 << QStringList{kHow} << nothing << ""
                  << QList<int>{0} << 0 << ViSession(0) << noClose << nothing;
    row("demo") << 0 << none << "" << QStringList{"Run In Demo Mode"} << 1 << QStringList{kHow} << nothing
                << "VXI0::1::INSTR" << QList<int>{1} << 1 << ViSession(0) << noClose << nothing;
    row("nothing found, try again, cancel")
        << 0 << none << "" << QStringList{"Auto Find", "Try Again", "Cancel"} << 0 << QStringList{kHow, kNone, kHow}
        << nothing << "" << QList<int>{0} << 0 << ViSession(0) << noClose << nothing;
    row("nothing found, demo") << 0 << none << "" << QStringList{"Auto Find", "Run In Demo Mode"} << 1
                               << QStringList{kHow, kNone} << nothing << "VXI0::1::INSTR" << QList<int>{1} << 1
                               << ViSession(0) << noClose << nothing;
    row("nothing found, cancel") << 0 << none << "" << QStringList{"Auto Find", "Cancel"} << 0
                                 << QStringList{kHow, kNone} << nothing << "" << QList<int>{0} << 0 << ViSession(0)
                                 << noClose << nothing;
    row("one found connects") << 1 << none << "" << QStringList{"Auto Find"} << 1 << QStringList{kHow}
                              << QStringList{"VXI0::9::INSTR#3"} << "VXI0::9::INSTR" << QList<int>{3} << 0
                              << ViSession(42) << noClose << nothing;
    row("several found, selection cancelled")
        << 2 << none << "" << QStringList{"Auto Find", "reject"} << 0 << QStringList{kHow, kSelect} << nothing
        << "VXI0::10::INSTR" << QList<int>{3} << 0 << ViSession(0) << noClose << nothing;
    row("several found, one chosen") << 2 << none << "" << QStringList{"Auto Find", "select-first"} << 1
                                     << QStringList{kHow, kSelect} << QStringList{"VXI0::9::INSTR#3"}
                                     << "VXI0::9::INSTR" << QList<int>{3} << 0 << ViSession(42) << noClose << nothing;
    row("address dialog cancelled") << 0 << none << "" << QStringList{"Enter Address", "reject", "Cancel"} << 0
                                    << QStringList{kHow, kAddress, kHow} << nothing << "" << QList<int>{0} << 0
                                    << ViSession(0) << noClose << nothing;
    row("typed address connects") << 0 << none << "" << QStringList{"Enter Address", "address:VXI0::5::INSTR#2"} << 1
                                  << QStringList{kHow, kAddress} << QStringList{"VXI0::5::INSTR#2"} << "VXI0::5::INSTR"
                                  << QList<int>{2} << 0 << ViSession(42) << noClose << nothing;
    row("no card number") << 0 << none << ""
                          << QStringList{"Enter Address", "address:VXI0::5::INSTR#0", "OK", "shown-address", "Cancel"}
                          << 0 << QStringList{kHow, kAddress, kSingle, kAddress, kHow} << nothing << "" << QList<int>{0}
                          << 0 << ViSession(0) << noClose << QStringList{"VXI0::5::INSTR#0"};
    row("empty descriptor, then fixed") << 0 << none << ""
                                        << QStringList{"Enter Address", "address:#4", "OK",
                                                       "address:TCPIP0::192.0.2.1::INSTR#4"}
                                        << 1 << QStringList{kHow, kAddress, kSingle, kAddress}
                                        << QStringList{"TCPIP0::192.0.2.1::INSTR#4"} << "TCPIP0::192.0.2.1::INSTR"
                                        << QList<int>{4} << 0 << ViSession(42) << noClose << nothing;
    row("unavailable, driver text, cancel")
        << 0 << QList<int>{VI_ERROR_RSRC_NFOUND} << "No such card"
        << QStringList{"Enter Address", "address:A#1", "Cancel"} << 0
        << QStringList{kHow, kAddress, "Selected 7480 Function Card is unavailable.\nError: No such card"}
        << QStringList{"A#1"} << "A" << QList<int>{1} << 0 << ViSession(0) << QList<ViSession>{42} << nothing;
    row("unavailable, try again asks again")
        << 1 << QList<int>{VI_ERROR_TMO, 0} << "Timeout" << QStringList{"Auto Find", "Try Again", "Auto Find"} << 1
        << QStringList{kHow, "Selected 7480 Function Card is unavailable.\nError: Timeout", kHow}
        << QStringList{"VXI0::9::INSTR#3", "VXI0::9::INSTR#3"} << "VXI0::9::INSTR" << QList<int>{3} << 0
        << ViSession(42) << QList<ViSession>{42} << nothing;
    row("warning status is a failure")
        << 1 << QList<int>{VI_WARN_NSUP_ID_QUERY} << "No identification" << QStringList{"Auto Find", "Cancel"} << 0
        << QStringList{kHow, "Selected 7480 Function Card is unavailable.\nError: No identification"}
        << QStringList{"VXI0::9::INSTR#3"} << "VXI0::9::INSTR" << QList<int>{3} << 0 << ViSession(0)
        << QList<ViSession>{42} << nothing;
    row("unavailable, common library text")
        << 1 << QList<int>{VI_ERROR_FAIL_ID_QUERY} << "" << QStringList{"Auto Find", "Cancel"} << 0
        << QStringList{kHow,
                       "Selected 7480 Function Card is unavailable.\nError: " + statusText(VI_ERROR_FAIL_ID_QUERY)}
        << QStringList{"VXI0::9::INSTR#3"} << "VXI0::9::INSTR" << QList<int>{3} << 0 << ViSession(0)
        << QList<ViSession>{42} << nothing;

    const QString multiAddress = QStringLiteral("Tervix 5902 SFP: Enter Addresses of Function Cards");
    QTest::newRow("two cards, at least one unavailable")
        << 0x5902 << 0 << QList<int>{VI_ERROR_RSRC_NFOUND} << "Gone"
        << QStringList{"Enter Address", "address:A#2;B#5", "Cancel"} << 0
        << QStringList{"How to connect to 5902 Function Card?", multiAddress,
                       "At least one selected 5902 Function Card is unavailable.\nError: Gone"}
        << QStringList{"A,B#2"} << "A,B" << QList<int>{2, 5} << 0 << ViSession(0) << QList<ViSession>{42} << nothing;
    QTest::newRow("two cards, second empty")
        << 0x5902 << 0 << none << "" << QStringList{"Enter Address", "address:A#2;#5", "OK", "shown-address", "Cancel"}
        << 0
        << QStringList{"How to connect to 5902 Function Card?", multiAddress, kPlural, multiAddress,
                       "How to connect to 5902 Function Card?"}
        << nothing << "" << QList<int>{0} << 0 << ViSession(0) << noClose << QStringList{"A#2", "#5"};
    QTest::newRow("two cards, second Select")
        << 0x5902 << 0 << none << "" << QStringList{"Enter Address", "address:A#2;B#0", "OK", "shown-address", "Cancel"}
        << 0
        << QStringList{"How to connect to 5902 Function Card?", multiAddress, kPlural, multiAddress,
                       "How to connect to 5902 Function Card?"}
        << nothing << "" << QList<int>{0} << 0 << ViSession(0) << noClose << QStringList{"A#2", "B#0"};
}

void tst_ConnectionFlow::flow()
{
    QFETCH(int, model);
    QFETCH(int, found);
    QFETCH(QList<int>, initStatuses);
    QFETCH(QString, errorText);
    QFETCH(QStringList, answers);
    QFETCH(int, result);
    QFETCH(QStringList, seen);
    QFETCH(QStringList, inits);
    QFETCH(QString, descriptor);
    QFETCH(QList<int>, numbers);
    QFETCH(int, demoMode);
    QFETCH(ViSession, session);
    QFETCH(QList<ViSession>, closed);
    QFETCH(QStringList, shownRows);

    FakeCard card(model, quint16(model));
    card.errorText = errorText;
    for (int s : initStatuses)
        card.initStatuses << s;
    ScriptedSelect select(&card, found);
    zrtest::ModalAnswerer answerer;
    QStringList rowsShown;
    queueAnswers(answerer, answers, rowsShown);

    QCOMPARE(select.selectAndConnect(), result);
    QCOMPARE(seenTexts(answerer), seen);
    QCOMPARE(answerer.pending(), 0);
    QVERIFY(answerer.unexpected().isEmpty());
    QStringList initsMade;
    for (int i = 0; i < card.initNames.size(); ++i)
        initsMade << card.initNames[i] + QLatin1Char('#') + QString::number(card.initNumbers[i]);
    QCOMPARE(initsMade, inits);
    QCOMPARE(select.descriptor, descriptor);
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(int(select.fcNumbers[size_t(i)]), numbers[i]);
    if (result == 1)
        QCOMPARE(select.fcCount, int(numbers.size()));
    QCOMPARE(select.demoMode, demoMode);
    QCOMPARE(select.session, session);
    QCOMPARE(card.closed, closed);
    QCOMPARE(rowsShown, shownRows);
}

// The boxes' icons, buttons, default buttons and parents.
void tst_ConnectionFlow::boxes()
{
    FakeCard card;
    card.errorText = QStringLiteral("x");
    card.initStatuses << -1;
    ScriptedSelect select(&card, 0);
    struct Box
    {
        QString defaultButton;
        int icon = 0;
        bool parentIsSelect = false;
        bool hasParent = false;
        bool hasIcon = false;
    };
    QList<Box> boxes;
    auto record = [&](QWidget *w, const QString &answer) {
        auto *box = qobject_cast<QMessageBox *>(w);
        Box b;
        b.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        b.icon = box->icon();
        b.parentIsSelect = box->parentWidget() == &select;
        b.hasParent = box->parentWidget() != nullptr;
        b.hasIcon = !box->windowIcon().isNull();
        boxes << b;
        zrtest::clickButton(w, answer);
    };
    zrtest::ModalAnswerer answerer;
    answerer.act([&](QWidget *w) { record(w, QStringLiteral("Auto Find")); })
        .act([&](QWidget *w) { record(w, QStringLiteral("Try Again")); })
        .act([&](QWidget *w) { record(w, QStringLiteral("Enter Address")); })
        .act([](QWidget *w) { fillAddresses(w, QStringLiteral("A#1")); })
        .act([&](QWidget *w) { record(w, QStringLiteral("Try Again")); })
        .click(QStringLiteral("Cancel"));
    QCOMPARE(select.selectAndConnect(), 0);
    QCOMPARE(boxes.size(), 4);

    const Box &how = boxes[0];
    // In the order they were added.
    QCOMPARE(answerer.seen().at(0).buttons, (QStringList{"Auto Find", "Run In Demo Mode", "Enter Address", "Cancel"}));
    QCOMPARE(how.defaultButton, QStringLiteral("Auto Find"));
    QCOMPARE(how.icon, int(QMessageBox::Question));
    QVERIFY(!how.hasParent);
    QVERIFY(how.hasIcon);
    QCOMPARE(answerer.seen().first().title, kSelect);

    const Box &nothingFound = boxes[1];
    QCOMPARE(answerer.seen().at(1).buttons, (QStringList{"Try Again", "Run In Demo Mode", "Cancel"}));
    QCOMPARE(nothingFound.defaultButton, QStringLiteral("Try Again"));
    QCOMPARE(nothingFound.icon, int(QMessageBox::Question));
    QVERIFY(nothingFound.parentIsSelect);
    QCOMPARE(answerer.seen().at(1).title, kSelect);

    const Box &unavailable = boxes[3];
    QCOMPARE(answerer.seen().at(4).buttons, (QStringList{"Try Again", "Cancel"}));
    QCOMPARE(unavailable.defaultButton, QStringLiteral("Try Again"));
    QVERIFY(unavailable.parentIsSelect);
    QCOMPARE(answerer.seen().at(4).title, kSelect);
}

// The real card object on the bench: what reaches the drivers.
void tst_ConnectionFlow::benchFlow_data()
{
    QTest::addColumn<QString>("forcedInit");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("lastSeen");
    QTest::addColumn<int>("inits");
    QTest::addColumn<int>("openAfter"); // sessions open after the flow

    QVERIFY(!zr7480_fc().getErrorMessage(VI_ERROR_FAIL_ID_QUERY).isEmpty());
    QVERIFY(zr7480_fc().getErrorMessage(-12345).isEmpty());
    QVERIFY(!statusText(-12345).isEmpty());

    QTest::newRow("demo calls nothing") << "" << QStringList{"Run In Demo Mode"} << 1 << kHow << 0 << 0;
    QTest::newRow("auto find connects to the one card") << "" << QStringList{"Auto Find"} << 1 << kHow << 1 << 2;
    QTest::newRow("typed address connects")
        << "" << QStringList{"Enter Address", "address:VXI0::1::INSTR#2"} << 1 << kAddress << 1 << 2;
    QTest::newRow("wrong slot, driver text")
        << "" << QStringList{"Enter Address", "address:VXI0::1::INSTR#1", "Cancel"} << 0
        << "Selected 7480 Function Card is unavailable.\nError: " + zr7480_fc().getErrorMessage(VI_ERROR_FAIL_ID_QUERY)
        << 1 << 0;
    QTest::newRow("unknown status, common library text")
        << "-12345" << QStringList{"Auto Find", "Cancel"} << 0
        << "Selected 7480 Function Card is unavailable.\nError: " + statusText(-12345) << 1 << 0;
}

void tst_ConnectionFlow::benchFlow()
{
    QFETCH(QString, forcedInit);
    QFETCH(QStringList, answers);
    QFETCH(int, result);
    QFETCH(QString, lastSeen);
    QFETCH(int, inits);
    QFETCH(int, openAfter);
    QVERIFY(loadBench(kVxiBench));
    if (!forcedInit.isEmpty())
        simbench_setStatus("zr7480_init", forcedInit.toInt());
    zr7480_fc card;
    zr6200fp_fcSelect select(&card, 0);
    zrtest::ModalAnswerer answerer;
    QStringList rowsShown;
    queueAnswers(answerer, answers, rowsShown);
    QCOMPARE(select.selectAndConnect(), result);
    QVERIFY(answerer.unexpected().isEmpty());
    QCOMPARE(seenTexts(answerer).last(), lastSeen);
    const QStringList log = zrtest::benchLog();
    QCOMPARE(lines(log, "zr7480_init("), inits);
    if (inits)
        QVERIFY(log.filter(QStringLiteral("zr7480_init("))
                    .first()
                    .contains(QLatin1String("rsrcName=\"VXI0::1::INSTR\", fcNumber=")));
    if (answers.first() == QLatin1String("Run In Demo Mode"))
        QCOMPARE(log, QStringList());
    QCOMPARE(simbench_openSessions(), openAfter);
    if (result == 1)
        card.close(select.session);
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_ConnectionFlow::giveUpExitsWithZero()
{
    const zrtest::ChildResult child = zrtest::runScenario(QStringLiteral("giveUp"));
    QVERIFY(child.finished);
    QCOMPARE(child.exitStatus, QProcess::NormalExit);
    QCOMPARE(child.exitCode, 0);
    QVERIFY(child.out.contains(QLatin1String("asking")));
    QVERIFY(!child.out.contains(QLatin1String("constructed")));
    QVERIFY(!child.out.contains(QLatin1String("shown")));

    const zrtest::ChildResult failed = zrtest::runScenario(QStringLiteral("giveUpAfterFailure"));
    QVERIFY(failed.finished);
    QCOMPARE(failed.exitCode, 0);
    QVERIFY2(failed.out.contains(QLatin1String("open sessions 0")), qPrintable(failed.out + failed.err));
}

void tst_ConnectionFlow::windowIdentification_data()
{
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("fc");
    QTest::addColumn<bool>("lxi");
    QTest::addColumn<int>("logoWidth");
    QTest::newRow("VXI slot 5, card 2") << QByteArray(kVxiBench) << "Tervix 7480 Soft Front Panel"
                                        << "Slot 5"
                                        << "FC 2" << false << 146;
    QTest::newRow("LXI with names") << QByteArray(kLxiBench) << "Tervix 7480 Soft Front Panel: lxi-7480.example"
                                    << "inst0"
                                    << "FC 1" << true << 121;
    QTest::newRow("LXI without names") << QByteArray(kBareLxiBench) << "Tervix 7480 Soft Front Panel"
                                       << ""
                                       << "FC 1" << true << 121;
}

void tst_ConnectionFlow::windowIdentification()
{
    QFETCH(QByteArray, bench);
    QFETCH(QString, title);
    QFETCH(QString, module);
    QFETCH(QString, fc);
    QFETCH(bool, lxi);
    QFETCH(int, logoWidth);
    QVERIFY(loadBench(bench.constData()));
    zr7480_fc card;
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("Auto Find"));
    auto window = std::make_unique<TestWindow>(&card, 0, false);
    QVERIFY(answerer.unexpected().isEmpty());
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->headerLabel->text(),
             QStringLiteral("<html>Tervix 7480<br><font size='2'>2-Channel Filter/Sync FC</font></html>"));
    QCOMPARE(window->moduleLabel->text(), module);
    QCOMPARE(window->moduleLabel->whatsThis(),
             lxi ? QStringLiteral("Shows which LXI module is connected to the Soft Front Panel")
                 : QStringLiteral("Shows which VXI module is connected to the Soft Front Panel"));
    QCOMPARE(window->fcLabel->text(), fc);
    QCOMPARE(window->fcLabel->whatsThis(),
             QStringLiteral("Shows which function card is connected to the Soft Front Panel"));
    QCOMPARE(window->busLogoLabel->pixmap().width(), logoWidth);
    QCOMPARE(window->isLxi, lxi);
    QCOMPARE(window->demoMode, 0);
    QVERIFY(window->session != 0);
    QVERIFY(window->activeLed->isOn());
    QCOMPARE(window->fcCount, 1);
    QCOMPARE(window->fcNumbers[0], fc.mid(3).toInt());
    QCOMPARE(window->card, &card);
    QVERIFY(!window->isVisible());

    // The About dialog is the window's child and opens from its button.
    QVERIFY(window->aboutDialog);
    QCOMPARE(window->aboutDialog->parentWidget(), window.get());
    QVERIFY(!window->aboutDialog->windowIcon().isNull());
    window->aboutButton->click();
    QVERIFY(window->aboutDialog->isVisible());
    window->aboutDialog->hide();

    const QStringList log = zrtest::benchLog();
    QCOMPARE(lines(log, "getCommonLibRevision("), 1);
    const ViSession session = window->session;
    window.reset();
    QCOMPARE(zrtest::benchLog().filter(QStringLiteral("zr7480_close(")),
             QStringList{QStringLiteral("zr7480_close(vi=%1) -> 0").arg(session)});
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_ConnectionFlow::windowDemoMode_data()
{
    QTest::addColumn<bool>("noConnect");
    QTest::newRow("chosen") << false;
    QTest::newRow("no connection asked") << true;
}

void tst_ConnectionFlow::windowDemoMode()
{
    QFETCH(bool, noConnect);
    QVERIFY(loadBench(kVxiBench));
    zr7480_fc card;
    zrtest::ModalAnswerer answerer;
    if (!noConnect)
        answerer.click(QStringLiteral("Run In Demo Mode"));
    auto window = std::make_unique<TestWindow>(&card, 0, noConnect);
    QCOMPARE(answerer.seen().size(), noConnect ? 0 : 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Tervix 7480 Soft Front Panel"));
    QCOMPARE(window->moduleLabel->text(), QString());
    QCOMPARE(window->fcLabel->text(), QString());
    QVERIFY(!window->activeLed->isOn());
    QCOMPARE(window->busLogoLabel->pixmap().width(), 146);
    QCOMPARE(window->demoMode, 1);
    QCOMPARE(window->session, ViSession(0));
    QVERIFY(!window->isLxi);
    QVERIFY(window->aboutDialog);
    window.reset();
    // Only the revision texts were asked for.
    const QStringList log = zrtest::benchLog();
    for (const QString &line : log) {
        QVERIFY2(line.startsWith(QLatin1String("getCommonLibRevision(")) ||
                     line.startsWith(QLatin1String("zr7480_revision_query(")),
                 qPrintable(line));
    }
    QCOMPARE(simbench_openSessions(), 0);
}

// Several cards: the label shows the first card number only.
void tst_ConnectionFlow::windowSeveralCards()
{
    FakeCard card(0x5902, 0x5902);
    card.initSession = 77;
    zrtest::ModalAnswerer answerer;
    answerer.click(QStringLiteral("Enter Address")).act([](QWidget *w) {
        fillAddresses(w, QStringLiteral("A#2;B#5"));
    });
    auto window = std::make_unique<TestWindow>(&card, 1, false);
    QCOMPARE(window->fcCount, 2);
    QCOMPARE(window->fcNumbers[0], 2);
    QCOMPARE(window->fcNumbers[1], 5);
    QCOMPARE(window->fcNumbers[2], 0);
    QCOMPARE(window->fcLabel->text(), QStringLiteral("FC 2"));
    QCOMPARE(window->session, ViSession(77));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tervix 5902 Soft Front Panel"));
    window.reset();
    QCOMPARE(card.closed, QList<ViSession>{77});
}

ZR_TEST_MAIN(tst_ConnectionFlow)
#include "tst_connectionflow.moc"
