// Reaching the card: the connection flow, the typed addresses and their file,
// the selection dialog and the VISA search that fills it.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <memory>
#include <optional>
#include <sys/stat.h>

#include "core/zr6200fp_settingsLocation.h"
#include "fakecard.h"
#include "fc/zr6200fp_AppFC.h"
#include "fc/zr6200fp_fcEnterAddress.h"
#include "fc/zr6200fp_fcSelect.h"
#include "simbench.h"
#include "testsupport.h"

// A named pipe at a path; Windows has none in the file system.
#ifdef Q_OS_WIN
#define ZR_MAKE_PIPE(path) QSKIP("Windows has no named pipes in the file system")
#else
#define ZR_MAKE_PIPE(path) QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0)
#endif

using zrtest::row;

namespace {

// One VXI carrier (slot 5) with another card kind in slot 1 and a 7480 in
// slot 2, and a serial port that is no carrier.
const QByteArray kOneCard = R"({"resources": [
    {"descriptor": "VXI0::1::INSTR", "slot": 5,
     "carrier": {"modelId": 1987, "slots": [{"id": "0x1234"}, {"id": "0x7480"}]}},
    {"descriptor": "ASRL1::INSTR"}]})";
const QByteArray kTwoCards = R"({"resources": [
    {"descriptor": "VXI0::1::INSTR", "slot": 5, "carrier": {"slots": [{"id": "0x7480"}, {"id": "0x7480"}]}}]})";
const QByteArray kNoCard = R"({"resources": [{"descriptor": "ASRL1::INSTR"}]})";

QString addressFile()
{
    return zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current());
}

// An address row as the user fills it: the descriptor and the card number
// (0 is "Select").
struct Address
{
    QString descriptor;
    int number;
};

// What the user does in the next modal dialog: types addresses into the
// address dialog, or chooses the card item of that text in the selection
// tree, then presses the button.
struct Answer
{
    QString button;
    QList<Address> typed = {};
    QString card = {};
};
using Answers = QList<Answer>;

void queue(zrtest::ModalAnswerer &answers, const Answers &script)
{
    for (const Answer &answer : script) {
        answers.click(answer.button, [answer](QWidget *w) {
            if (auto *dialog = qobject_cast<zr6200fp_fcEnterAddress *>(w); dialog && !answer.typed.isEmpty()) {
                dialog->countSelector()->setCurrentIndex(int(answer.typed.size()) - 1);
                for (int i = 0; i < answer.typed.size(); ++i) {
                    dialog->descriptorCombo(i)->setEditText(answer.typed[i].descriptor);
                    dialog->fcNumberCombo(i)->setCurrentIndex(answer.typed[i].number);
                }
            }
            if (!answer.card.isEmpty()) {
                auto *tree = w->findChild<QTreeWidget *>();
                tree->setCurrentItem(tree->findItems(answer.card, Qt::MatchExactly | Qt::MatchRecursive).value(0));
            }
        });
    }
}

// The card numbers of the chosen cards.
template <typename Dialog> QList<int> chosenNumbers(const Dialog &dialog)
{
    QList<int> numbers;
    for (int i = 0; i < dialog.fcCount; ++i)
        numbers << int(dialog.fcNumbers[size_t(i)]);
    return numbers;
}

QStringList items(const QComboBox *combo)
{
    QStringList texts;
    for (int k = 0; k < combo->count(); ++k)
        texts << combo->itemText(k);
    return texts;
}

} // namespace

// What stands in the way of the address file: nothing, a file where its
// folder should be, a folder or a pipe at the name of the file's lock.
enum class Blocked { Nothing, FileAtFolder, FolderAtLock, PipeAtLock };

Q_DECLARE_METATYPE(Answers)
Q_DECLARE_METATYPE(Blocked)
Q_DECLARE_METATYPE(QList<Address>)

class tst_Connection : public zrtest::Case
{
    Q_OBJECT
private slots:
    void init();
    void flow_data();
    void flow();
    void storedRows_data();
    void storedRows();
    void savedRows_data();
    void savedRows();
    void choosing_data();
    void choosing();
    void tree();
    void manyCards_data();
    void manyCards();
    void searchKeepsItsBox();
    void windowBaseTakesOver();

private:
    std::unique_ptr<QTemporaryDir> folder;
    std::optional<zrtest::EnvGuard> profile;
};

void tst_Connection::init()
{
    // A new folder each time: the settings class caches what it read by path.
    profile.reset();
    folder = std::make_unique<QTemporaryDir>();
    profile.emplace("ALLUSERSPROFILE", QFile::encodeName(folder->path()));
    simbench_reset();
}

void tst_Connection::flow_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QList<int>>("statuses"); // init returns them in turn, then 0
    QTest::addColumn<QString>("cardText");    // the card object's text for them
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QString>("descriptor"); // empty: not connected
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QStringList>("boxes"); // the dialogs after the first
    const QString how = QStringLiteral("How to connect to 7480 Function Card?");
    const QString none = QStringLiteral("No 7480 Function Card found on your system.");
    const QString address = QStringLiteral("Tervix 7480 SFP: Enter Function Card Address");
    const QString addresses = QStringLiteral("Tervix 5902 SFP: Enter Addresses of Function Cards");
    const QString select = QStringLiteral("Tervix 7480 SFP: Select Function Card");
    const QString unavailable = QStringLiteral("Selected 7480 Function Card is unavailable.\nError: ");
    const Answers find{{"Auto Find"}}, findOnce{{"Auto Find"}, {"Cancel"}};
    const QList<int> ok, nothing;
    const QStringList noBoxes;
    row("one card found", 0x7480, kOneCard, find, ok, "", false, "VXI0::1::INSTR", QList<int>{2}, noBoxes);
    row("two found, one picked", 0x7480, kTwoCards, Answers{{"Auto Find"}, {"OK", {}, "FC 1"}}, ok, "", false,
        "VXI0::1::INSTR", QList<int>{1}, QStringList{select});
    row("selection cancelled", 0x7480, kTwoCards, findOnce, ok, "", false, "", nothing, QStringList{select});
    row("none, try again, demo", 0x7480, kNoCard, Answers{{"Auto Find"}, {"Try Again"}, {"Run In Demo Mode"}}, ok, "",
        true, "VXI0::1::INSTR", QList<int>{1}, QStringList{none, how});
    row("none, cancel", 0x7480, kNoCard, findOnce, ok, "", false, "", nothing, QStringList{none});
    row("cancel", 0x7480, kNoCard, Answers{{"Cancel"}}, ok, "", false, "", nothing, noBoxes);
    row("typed address", 0x7480, kNoCard, Answers{{"Enter Address"}, {"OK", {{"VXI0::5::INSTR", 3}}}}, ok, "", false,
        "VXI0::5::INSTR", QList<int>{3}, QStringList{address});
    row("no card number, then back", 0x7480, kNoCard,
        Answers{{"Enter Address"}, {"OK", {{"VXI0::5::INSTR", 0}}}, {"OK"}, {"Cancel"}, {"Cancel"}}, ok, "", false, "",
        nothing,
        QStringList{address, "Please enter the resource descriptor and select the Function Card number.", address,
                    how});
    row("two typed, second incomplete", 0x5902, kNoCard,
        Answers{{"Enter Address"}, {"OK", {{"A", 2}, {"B", 0}}}, {"OK"}, {"Cancel"}, {"Cancel"}}, ok, "", false, "",
        nothing,
        QStringList{addresses, "Please enter the resource descriptors and select the Function Card numbers.", addresses,
                    "How to connect to 5902 Function Card?"});
    row("two typed fail", 0x5902, kNoCard, Answers{{"Enter Address"}, {"OK", {{"A", 2}, {"B", 5}}}, {"Cancel"}},
        QList<int>{-1}, "gone", false, "", nothing,
        QStringList{addresses, "At least one selected 5902 Function Card is unavailable.\nError: gone"});
    row("a warning fails too", 0x7480, kOneCard, findOnce, QList<int>{1}, "warned", false, "", nothing,
        QStringList{unavailable + "warned"});
    row("no card text: the common library's", 0x7480, kOneCard, findOnce, QList<int>{VI_ERROR_TMO}, "", false, "",
        nothing, QStringList{unavailable + "Timeout expired before operation completed."});
    row("failed, Try Again asks anew", 0x7480, kOneCard, Answers{{"Auto Find"}, {"Try Again"}, {"Auto Find"}},
        QList<int>{-1}, "gone", false, "VXI0::1::INSTR", QList<int>{2}, QStringList{unavailable + "gone", how});
}

void tst_Connection::flow()
{
    QFETCH(int, model);
    QFETCH(QByteArray, bench);
    QFETCH(Answers, answers);
    QFETCH(QList<int>, statuses);
    QFETCH(QString, cardText);
    QFETCH(bool, demo);
    QFETCH(QString, descriptor);
    QVERIFY(zrtest::loadBench(bench));
    FakeCard card(model);
    card.initStatuses = statuses;
    card.errorText = cardText;
    zr6200fp_fcSelect select(&card, 0);
    queue(this->answers, answers);
    const bool connected = select.selectAndConnect() == 1;
    select.hide();
    QCOMPARE(connected, !descriptor.isEmpty());
    QTEST(this->answers.seen.mid(1), "boxes");
    // Each way chosen is tried once; the common library is asked for a text
    // only when the card has none; the one session left open is handed over.
    const bool opened = connected && !demo;
    QCOMPARE(card.inits.size(), statuses.size() + (opened ? 1 : 0));
    QCOMPARE(zrtest::calls(QStringLiteral("getStatusText")).size(), cardText.isEmpty() ? statuses.size() : 0);
    QCOMPARE(card.open, opened ? QList<ViSession>{select.session} : QList<ViSession>());
    if (!connected)
        return;
    QTEST(select.demoMode == 1, "demo");
    QCOMPARE(select.descriptor, descriptor);
    QTEST(chosenNumbers(select), "numbers");
    if (opened) {
        // The session is opened asking for the card's identity and resetting it.
        const FakeCard::Init &init = card.inits.last();
        QCOMPARE(init.rsrcName, select.descriptor);
        QCOMPARE(QList<int>({init.fcNumber, init.idQuery, init.reset}), QList<int>({select.fcNumbers[0], 1, 1}));
    }
}

void tst_Connection::storedRows_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("file");          // "" for none, "fifo" for a named pipe
    QTest::addColumn<QList<QStringList>>("items"); // of each row in use
    QTest::addColumn<QList<int>>("numbers");       // of each row in use
    const QList<QStringList> firstRun{{"TCPIP::192.168.2.100::INSTR"}};
    const QList<int> select{0};
    row("first run", 0x7480, QByteArray(), firstRun, select);
    row("history, most recent first", 0x7480,
        QByteArray("[7480]\n1.1.Descriptor=E\n1.2.Descriptor=D\n1.3.Descriptor=\n1.4.Descriptor=B\n"
                   "1.5.Descriptor=A\n1.FC_Number=3\nFC_Count=1\n"),
        QList<QStringList>{{"E", "D", "B", "A"}}, QList<int>{3});
    row("empty first entry", 0x7480, QByteArray("[7480]\n1.2.Descriptor=B\n"),
        QList<QStringList>{{"TCPIP::192.168.2.100::INSTR", "B"}}, select);
    row("other model's group", 0x7480, QByteArray("[5902]\n1.1.Descriptor=X\n"), firstRun, select);
    row("hand-edited commas", 0x7480, QByteArray("[7480]\n1.1.Descriptor=A,B\n"), QList<QStringList>{{"A,B"}}, select);
    row("multi-card rows and count", 0x5902,
        QByteArray("[5902]\n1.1.Descriptor=A\n2.1.Descriptor=B\n2.FC_Number=8\nFC_Count=3\n"),
        QList<QStringList>{{"A"}, {"B"}, {}}, QList<int>{0, 8, 0});
    row("count 9", 0x5902, QByteArray("[5902]\nFC_Count=9\n"), firstRun, select);
    row("count 0", 0x5902, QByteArray("[5902]\nFC_Count=0\n"), firstRun, select);
    row("named pipe", 0x7480, QByteArray("fifo"), firstRun, select);
}

void tst_Connection::storedRows()
{
    QFETCH(int, model);
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, numbers);
    QVERIFY(QDir().mkpath(QFileInfo(addressFile()).path()));
    if (file == "fifo")
        ZR_MAKE_PIPE(addressFile());
    else if (!file.isEmpty()) {
        QFile out(addressFile());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    }
    const FakeCard card(model);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QCOMPARE(dialog.countSelector()->currentIndex() + 1, numbers.size());
    QList<QStringList> shown;
    for (int i = 0; dialog.descriptorCombo(i); ++i) {
        // Only the rows in use take input.
        QCOMPARE(dialog.descriptorCombo(i)->isEnabledTo(&dialog), i < numbers.size());
        if (i < numbers.size()) {
            shown << items(dialog.descriptorCombo(i));
            QCOMPARE(dialog.fcNumberCombo(i)->currentIndex(), numbers[i]);
        }
    }
    QTEST(shown, "items");
}

void tst_Connection::savedRows_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("history"); // row 1's items before
    QTest::addColumn<QList<Address>>("typed");
    QTest::addColumn<Blocked>("blocked");
    QTest::addColumn<QStringList>("reloaded");  // row 1's items shown again
    QTest::addColumn<QStringList>("fileHolds"); // lines of the file written
    const QStringList five{"A", "B", "C", "D", "E"};
    row("current text first", 0x7480, five, QList<Address>{{"D", 1}}, Blocked::Nothing,
        QStringList{"D", "A", "B", "C", "E"},
        QStringList{"[7480]", "1.1.Descriptor=D", "1.2.Descriptor=A", "1.5.Descriptor=E", "1.FC_Number=1",
                    "FC_Count=1"});
    row("five kept", 0x7480, five, QList<Address>{{"F", 2}}, Blocked::Nothing, QStringList{"F", "A", "B", "C", "D"},
        QStringList{"1.5.Descriptor=D", "1.FC_Number=2"});
    // Blocked: the typed row is kept for the run.
    const QList<Address> x4{{"X", 4}};
    const QStringList x{"X"}, none;
    row("unwritable folder", 0x7480, none, x4, Blocked::FileAtFolder, x, none);
    row("folder at the lock", 0x7480, none, x4, Blocked::FolderAtLock, x, none);
    row("pipe at the lock", 0x7480, none, x4, Blocked::PipeAtLock, x, none);
    row("rows in use returned, all saved", 0x5902, QStringList(), QList<Address>{{"A", 1}, {"", 0}}, Blocked::Nothing,
        QStringList{"A"},
        QStringList{"[5902]", "2.1.Descriptor=", "2.FC_Number=0", "8.1.Descriptor=", "8.FC_Number=0", "FC_Count=2"});
}

void tst_Connection::savedRows()
{
    QFETCH(int, model);
    QFETCH(QStringList, history);
    QFETCH(QList<Address>, typed);
    QFETCH(Blocked, blocked);
    QFETCH(QStringList, fileHolds);
    // Given what blocks the address file,
    const QString lock = addressFile() + QLatin1String(".lock"), halvar = QFileInfo(lock).path();
    QVERIFY(blocked == Blocked::FileAtFolder ? QFile(halvar).open(QIODevice::WriteOnly) : QDir().mkpath(halvar));
    if (blocked == Blocked::FolderAtLock)
        QVERIFY(QDir().mkpath(lock));
    if (blocked == Blocked::PipeAtLock)
        ZR_MAKE_PIPE(lock);
    const bool writable = blocked == Blocked::Nothing;
    const FakeCard card(model);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    dialog.descriptorCombo(0)->clear();
    dialog.descriptorCombo(0)->addItems(history);
    // when the rows are typed and OK saves them,
    queue(answers, Answers{{"OK", typed}});
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    // then the rows in use come back as typed, empty ones too,
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    QCOMPARE(descriptors.size(), typed.size());
    for (int i = 0; i < typed.size(); ++i)
        QCOMPARE(qMakePair(descriptors[i], numbers.value(i)), qMakePair(typed[i].descriptor, typed[i].number));
    QFile file(dialog.settingsFile());
    const QStringList lines =
        file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).remove(u'\r').split(u'\n') : QStringList();
    for (const QString &line : std::as_const(fileHolds))
        QVERIFY2(lines.contains(line), qPrintable(line));
    // Shown again by this dialog (after a warning), and, when written, by
    // the next run's: the rows and the count as typed.
    zr6200fp_fcEnterAddress nextRun(&card);
    for (zr6200fp_fcEnterAddress *shown : {&dialog, writable ? &nextRun : &dialog}) {
        shown->loadAddresses();
        QTEST(items(shown->descriptorCombo(0)), "reloaded");
        QCOMPARE(shown->countSelector()->currentIndex() + 1, typed.size());
        for (int i = 0; i < typed.size(); ++i)
            QCOMPARE(shown->fcNumberCombo(i)->currentIndex(), typed[i].number);
    }
}

void tst_Connection::choosing_data()
{
    QTest::addColumn<int>("multiSelect");
    QTest::addColumn<QStringList>("clicked"); // tree items, with Ctrl held
    QTest::addColumn<QString>("button");      // pressed after; none: the last item double-clicked
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<QString>("descriptor");
    QTest::addColumn<QList<int>>("numbers");
    const QList<int> none;
    row("OK with nothing", 1, QStringList(), "OK", false, true, "", none);
    row("OK with two", 1, QStringList{"FC 2", "FC 4"}, "OK", true, false, "VXI0::1::INSTR,VXI0::2::INSTR",
        QList<int>{2, 4});
    row("one card at a time", 0, QStringList{"FC 1", "FC 4"}, "OK", true, false, "VXI0::2::INSTR", QList<int>{4});
    row("Cancel", 1, QStringList{"FC 1"}, "Cancel", false, false, "", none);
    row("double click chooses one", 1, QStringList{"FC 1", "FC 4"}, "", true, false, "VXI0::2::INSTR", QList<int>{4});
    row("double click on another kind", 1, QStringList{"FC 3"}, "", false, true, "", none);
    row("double click on a carrier", 1, QStringList{"Slot 2 - 0 MB"}, "", false, true, "", none);
}

void tst_Connection::choosing()
{
    QFETCH(int, multiSelect);
    QFETCH(QStringList, clicked);
    QFETCH(QString, button);
    QVERIFY(zrtest::loadBench(R"({"resources": [
        {"descriptor": "VXI0::1::INSTR", "slot": 1,
         "carrier": {"slots": [{"id": "0x7480"}, {"id": "0x7480"}, {"id": "0x1234"}]}},
        {"descriptor": "VXI0::2::INSTR", "slot": 2, "carrier": {"slots": [0, 0, 0, {"id": "0x7480"}]}}]})"));
    FakeCard card;
    zr6200fp_fcSelect select(&card, multiSelect);
    QCOMPARE(select.searchCards(), 3);
    bool open = false;
    answers.act([&](QWidget *) {
        auto *tree = select.findChild<QTreeWidget *>();
        QPoint at;
        for (const QString &text : std::as_const(clicked)) {
            at = tree->visualItemRect(tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0)).center();
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        }
        if (button.isEmpty())
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        if (!button.isEmpty())
            QTest::mouseClick(zrtest::button(&select, button), Qt::LeftButton);
        open = select.isVisible();
        if (open)
            select.reject();
    });
    QTEST(select.exec() == QDialog::Accepted, "accepted");
    QTEST(open, "staysOpen");
    if (select.result() == QDialog::Accepted) {
        QTEST(select.descriptor, "descriptor");
        QTEST(chosenNumbers(select), "numbers");
    }
    // Searching again (Try Again, then Auto Find) forgets the items chosen.
    QCOMPARE(select.searchCards(), 3);
    QVERIFY(select.selectedItems.isEmpty());
}

void tst_Connection::tree()
{
    // Given carriers in the search's list, a top-level item per run of one
    // prefix as written, carriers in the list's order, the last selectable
    // card kept.
    QVERIFY(zrtest::loadBench(R"({"resources": [
        {"descriptor": "VXI0::2::INSTR", "slot": 2, "carrier": {"slots": [{"id": "0x7480"}, {"id": "0x1234"}]}},
        {"descriptor": "VXI0::1::INSTR", "slot": 1, "carrier": {"slots": [0, {"id": "0x7480"}]}},
        {"descriptor": "tcpip0::192.0.2.9::INSTR", "address": "192.0.2.9"},
        {"descriptor": "TCPIP0::192.0.2.3::INSTR", "address": "192.0.2.3", "carrier": {"slots": [{"id": "0x1234"}]}}]})"));
    FakeCard card;
    zr6200fp_fcSelect select(&card, 0);
    QCOMPARE(select.searchCards(), 2);
    const auto *tree = select.findChild<QTreeWidget *>();
    QCOMPARE(zrtest::treeDump(tree),
             (QStringList{"TCPIP0 +", "  192.0.2.3 - 0 LXI", "    FC 1 | 1234 [0, TCPIP0::192.0.2.3::INSTR] -",
                          "VXI0 +", "  Slot 2 - 0 MB +", "    FC 1 | 7480 [1, VXI0::2::INSTR]",
                          "    FC 2 | 1234 [0, VXI0::2::INSTR] -", "  Slot 1 - 0 MB +",
                          "    FC 2 | 7480 [2, VXI0::1::INSTR]", "tcpip0 +"}));
    QCOMPARE(qMakePair(select.descriptor, select.fcNumbers[0]),
             qMakePair(QStringLiteral("VXI0::1::INSTR"), quint16(2)));
    QCOMPARE(simbench_openSessions(), 0);
    // Without a resource manager, an empty tree.
    simbench_setStatus("viOpenDefaultRM", VI_ERROR_SYSTEM_ERROR);
    QCOMPARE(select.searchCards(), 0);
    QCOMPARE(tree->topLevelItemCount(), 0);
}

void tst_Connection::manyCards_data()
{
    // Carrier k is VXI<k>::1::INSTR: one top-level item each.
    QTest::addColumn<QList<int>>("carriers"); // cards of this kind on each, after one of another kind
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("found");
    QTest::addColumn<QList<int>>("shown");   // card items under each carrier shown
    QTest::addColumn<QString>("descriptor"); // of the card kept
    QTest::addColumn<int>("number");
    row("255: all, no question", QList<int>{200, 55}, false, 255, QList<int>{201, 56}, "VXI1::1::INSTR", 56);
    row("exactly 256: the question", QList<int>{256}, true, 256, QList<int>{257}, "VXI0::1::INSTR", 257);
    row("cap inside the second carrier, the third left out", QList<int>{200, 100, 5}, true, 256, QList<int>{201, 57},
        "VXI1::1::INSTR", 57);
    row("cap at a carrier's last card, the next left out", QList<int>{256, 3}, true, 256, QList<int>{257},
        "VXI0::1::INSTR", 257);
    row("cap after hundreds of entries", QList<int>(100, 0) + QList<int>(300, 1), true, 256,
        QList<int>(100, 1) + QList<int>(256, 2), "VXI355::1::INSTR", 2);
    row("hundreds of entries, none of this kind", QList<int>(300, 0), false, 0, QList<int>(300, 1), "", 0);
}

void tst_Connection::manyCards()
{
    QFETCH(QList<int>, carriers);
    QFETCH(bool, asked);
    // Given the carriers on the bench,
    QJsonArray resources;
    for (int k = 0; k < carriers.size(); ++k) {
        QJsonArray cards{QJsonObject{{"id", "0x1234"}}};
        for (int i = 0; i < carriers[k]; ++i)
            cards.append(QJsonObject{{"id", "0x7480"}});
        resources.append(QJsonObject{{"descriptor", QStringLiteral("VXI%1::1::INSTR").arg(k)},
                                     {"slot", 1},
                                     {"carrier", QJsonObject{{"slots", cards}}}});
    }
    QVERIFY(zrtest::loadBench(QJsonDocument(QJsonObject{{"resources", resources}}).toJson()));
    FakeCard card;
    zr6200fp_fcSelect select(&card, 0);
    if (asked)
        answers.click(QStringLiteral("Continue"));
    // when the search fills the tree, then the cards offered are
    QTEST(select.searchCards(), "found");
    QCOMPARE(answers.seen.filter(QStringLiteral("Only first 256 are available.")).size(), int(asked));
    const QTreeWidget *tree = select.findChild<QTreeWidget *>();
    QList<int> shown;
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem *carrier = tree->topLevelItem(k)->child(0);
        shown << carrier->childCount();
        QCOMPARE(carrier->isExpanded(), carriers[k] > 0);
    }
    QTEST(shown, "shown");
    QTEST(select.descriptor, "descriptor");
    QTEST(int(select.fcNumbers[0]), "number");
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_Connection::searchKeepsItsBox()
{
    QVERIFY(zrtest::loadBench(R"({"resources": [
        {"descriptor": "TCPIP0::192.0.2.1::INSTR", "openDelayMs": 800},
        {"descriptor": "TCPIP0::192.0.2.2::INSTR", "openDelayMs": 800}]})"));
    FakeCard card;
    zr6200fp_fcSelect select(&card, 0);
    QStringList seen;
    QTimer poke;
    connect(&poke, &QTimer::timeout, this, [&seen] {
        auto *box = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!box || !seen.isEmpty())
            return;
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        seen << box->windowTitle() + QLatin1Char('|') + box->labelText() + QLatin1Char('|') +
                    QString::number(box->isVisible());
    });
    poke.start(50);
    QCOMPARE(select.searchCards(), 0);
    QCOMPARE(seen, QStringList{QStringLiteral("Tervix 7480|Searching...|1")});
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_Connection::windowBaseTakesOver()
{
    // The window base of a multi-card model takes every chosen card number
    // and closes the session it was given.
    struct Window : zr6200fp_AppFC
    {
        using zr6200fp_AppFC::fcCount;
        using zr6200fp_AppFC::fcNumbers;
        using zr6200fp_AppFC::zr6200fp_AppFC;
    };
    FakeCard card(0x5902);
    queue(answers, Answers{{"Enter Address"}, {"OK", {{"A", 2}, {"B", 5}}}});
    {
        Window window(&card, 1, false);
        QCOMPARE(card.inits.first().rsrcName, QStringLiteral("A,B"));
        QCOMPARE(chosenNumbers(window), QList<int>({2, 5}));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("fcLabel"))->text(), QStringLiteral("FC 2"));
        QCOMPARE(card.open.size(), 1);
    }
    QVERIFY(card.open.isEmpty());
}

ZR_TEST_MAIN(tst_Connection)
#include "tst_connection.moc"
