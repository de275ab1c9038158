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

namespace {

// One VXI carrier (slot 5) with another card kind in slot 1 and a 7480 in
// slot 2, and a serial port that is no carrier.
const char *const kOneCard = R"({"resources": [
    {"descriptor": "VXI0::1::INSTR", "slot": 5,
     "carrier": {"modelId": 1987, "slots": [{"id": "0x1234"}, {"id": "0x7480"}]}},
    {"descriptor": "ASRL1::INSTR"}]})";
const char *const kTwoCards = R"({"resources": [
    {"descriptor": "VXI0::1::INSTR", "slot": 5, "carrier": {"slots": [{"id": "0x7480"}, {"id": "0x7480"}]}}]})";
const char *const kNoCard = R"({"resources": [{"descriptor": "ASRL1::INSTR"}]})";

QString addressFile()
{
    return zr6200fp_settingsLocation::addressFile(zr6200fp_settingsLocation::current());
}

// The remembered descriptors a row offers, most recent first.
QString offered(const zr6200fp_fcEnterAddress &dialog, int row)
{
    QStringList texts;
    for (int k = 0; k < dialog.descriptorCombo(row)->count(); ++k)
        texts << dialog.descriptorCombo(row)->itemText(k);
    return texts.join(QLatin1Char(','));
}

// Types "D#N;D#N" into the address dialog's rows and presses OK.
void typeAddresses(zrtest::ModalAnswerer &answers, const QString &rows)
{
    answers.act([rows](QWidget *w) {
        auto *dialog = qobject_cast<zr6200fp_fcEnterAddress *>(w);
        const QStringList list = rows.split(QLatin1Char(';'));
        dialog->countSelector()->setCurrentIndex(int(list.size()) - 1);
        for (int i = 0; i < list.size(); ++i) {
            dialog->descriptorCombo(i)->setEditText(list[i].section(QLatin1Char('#'), 0, 0));
            dialog->fcNumberCombo(i)->setCurrentIndex(list[i].section(QLatin1Char('#'), 1).toInt());
        }
        dialog->accept();
    });
}

// The flow's answers: a button's text, "type:D#N;D#N", "pick:1" (the card
// item of that slot in the selection tree, then OK) or "reject".
void queue(zrtest::ModalAnswerer &answers, const QStringList &script)
{
    for (const QString &step : script) {
        if (step.startsWith(QLatin1String("type:"))) {
            typeAddresses(answers, step.mid(5));
        } else if (step.startsWith(QLatin1String("pick:"))) {
            const int slot = step.mid(5).toInt();
            answers.act([slot](QWidget *w) {
                auto *tree = w->findChild<QTreeWidget *>();
                tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(slot - 1));
                w->findChild<QPushButton *>()->click();
            });
        } else if (step == QLatin1String("reject")) {
            answers.act([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        } else {
            answers.click(step);
        }
    }
}

QString outcome(int result, const zr6200fp_fcSelect &select, const FakeCard &card)
{
    QStringList closed;
    for (ViSession session : card.closed)
        closed << QString::number(session);
    return QStringLiteral("%1 demo=%2 %3 %4,%5 count=%6 inits=%7 closed=%8")
        .arg(QString::number(result), QString::number(select.demoMode), select.descriptor,
             QString::number(select.fcNumbers[0]), QString::number(select.fcNumbers[1]),
             QString::number(select.fcCount), card.inits.join(QLatin1Char(' ')), closed.join(QLatin1Char(' ')));
}

} // namespace

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
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("init");   // statuses init returns in turn, then the card's error text
    QTest::addColumn<QString>("script"); // answers, "|" between
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("boxes"); // what the boxes after the first showed, "|" between
    const auto row = [](const char *name, const char *bench, int model, const char *init, const char *script,
                        const QByteArray &outcome, const QByteArray &boxes) {
        zrtest::row(name, QByteArray(bench), model, QString::fromUtf8(init), QString::fromUtf8(script),
                    QString::fromUtf8(outcome), QString::fromUtf8(boxes));
    };
    const char *const how = "How to connect to 7480 Function Card?";
    const QByteArray none = "No 7480 Function Card found on your system.";
    const char *const address = "Tervix 7480 SFP: Enter Function Card Address";
    const char *const multiAddress = "Tervix 5902 SFP: Enter Addresses of Function Cards";
    const char *const select = "Tervix 7480 SFP: Select Function Card";
    const char *const found = "VXI0::1::INSTR 2,0 count=1 inits=VXI0::1::INSTR#2";
    row("one card found", kOneCard, 0x7480, "", "Auto Find", QByteArray("1 demo=0 ") + found + " closed=", "");
    row("two found, one picked", kTwoCards, 0x7480, "", "Auto Find|pick:1",
        "1 demo=0 VXI0::1::INSTR 1,0 count=1 inits=VXI0::1::INSTR#1 closed=", select);
    row("selection cancelled", kTwoCards, 0x7480, "", "Auto Find|reject",
        "0 demo=0 VXI0::1::INSTR 2,0 count=0 inits= closed=", select);
    row("none, try again, demo", kNoCard, 0x7480, "", "Auto Find|Try Again|Run In Demo Mode",
        "1 demo=1 VXI0::1::INSTR 1,0 count=1 inits= closed=", none + '|' + how);
    row("none, demo", kNoCard, 0x7480, "", "Auto Find|Run In Demo Mode",
        "1 demo=1 VXI0::1::INSTR 1,0 count=1 inits= closed=", none);
    row("none, cancel", kNoCard, 0x7480, "", "Auto Find|Cancel", "0 demo=0  0,0 count=0 inits= closed=", none);
    row("cancel", kNoCard, 0x7480, "", "Cancel", "0 demo=0  0,0 count=0 inits= closed=", "");
    row("typed address", kNoCard, 0x7480, "", "Enter Address|type:VXI0::5::INSTR#3",
        "1 demo=0 VXI0::5::INSTR 3,0 count=1 inits=VXI0::5::INSTR#3 closed=", address);
    row("no card number, then back", kNoCard, 0x7480, "", "Enter Address|type:VXI0::5::INSTR#0|OK|reject|Cancel",
        "0 demo=0  0,0 count=0 inits= closed=",
        QByteArray(address) + "|Please enter the resource descriptor and select the Function Card number.|" + address +
            '|' + how);
    row("two typed, second incomplete", kNoCard, 0x5902, "", "Enter Address|type:A#2;B#0|OK|reject|Cancel",
        "0 demo=0  0,0 count=0 inits= closed=",
        QByteArray(multiAddress) + "|Please enter the resource descriptors and select the Function Card numbers.|" +
            multiAddress + "|How to connect to 5902 Function Card?");
    row("two typed fail", kNoCard, 0x5902, "-1 gone", "Enter Address|type:A#2;B#5|Cancel",
        "0 demo=0 A,B 2,5 count=2 inits=A,B#2 closed=",
        QByteArray(multiAddress) + "|At least one selected 5902 Function Card is unavailable.\nError: gone");
    row("failed, try again", kOneCard, 0x7480, "-1 gone", "Auto Find|Try Again|Cancel",
        QByteArray("0 demo=0 ") + found + " closed=",
        QByteArray("Selected 7480 Function Card is unavailable.\nError: gone|") + how);
    row("warning is a failure, session closed", kOneCard, 0x7480, "1 warned", "Auto Find|Cancel",
        QByteArray("0 demo=0 ") + found + " closed=42", "Selected 7480 Function Card is unavailable.\nError: warned");
    row("no text anywhere: the number", kOneCard, 0x7480, "-1073807343", "Auto Find|Cancel",
        QByteArray("0 demo=0 ") + found + " closed=", "Selected 7480 Function Card is unavailable.\nError: 0xBFFF0011");
}

void tst_Connection::flow()
{
    QFETCH(QByteArray, bench);
    QFETCH(int, model);
    QFETCH(QString, init);
    QFETCH(QString, script);
    QVERIFY(zrtest::loadBench(bench));
    FakeCard card(model);
    const QStringList initWords = init.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : initWords) {
        bool isStatus = false;
        const int status = word.toInt(&isStatus);
        if (isStatus)
            card.initStatuses << status;
        else
            card.errorText = word;
    }
    // The common library's text for a status is there unless the card has none.
    if (card.errorText.isEmpty())
        simbench_setStatus("getStatusText", -1);
    zr6200fp_fcSelect select(&card, 0);
    queue(answers, script.split(QLatin1Char('|')));
    const int result = select.selectAndConnect();
    select.hide();
    QTEST(outcome(result, select, card), "outcome");
    QTEST(answers.seen.mid(1).join(QLatin1Char('|')), "boxes");
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_Connection::storedRows_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("file"); // "" for none, "fifo" for a named pipe
    QTest::addColumn<QString>("rows");    // per row: items, "#" number; then "count="
    const QByteArray history = "[7480]\n1.1.Descriptor=E\n1.2.Descriptor=D\n1.3.Descriptor=\n1.4.Descriptor=B\n"
                               "1.5.Descriptor=A\n1.FC_Number=3\nFC_Count=1\n";
    zrtest::row("first run", 0x7480, QByteArray(), "TCPIP::192.168.2.100::INSTR#0 count=1");
    zrtest::row("history, most recent first", 0x7480, history, "E,D,B,A#3 count=1");
    zrtest::row("empty first entry", 0x7480, QByteArray("[7480]\n1.2.Descriptor=B\n"),
                "TCPIP::192.168.2.100::INSTR,B#0 count=1");
    zrtest::row("other model's group", 0x7480, QByteArray("[5902]\n1.1.Descriptor=X\n"),
                "TCPIP::192.168.2.100::INSTR#0 count=1");
    zrtest::row("card number out of range", 0x7480, QByteArray("[7480]\n1.FC_Number=9\n"),
                "TCPIP::192.168.2.100::INSTR#0 count=1");
    zrtest::row("hand-edited commas", 0x7480, QByteArray("[7480]\n1.1.Descriptor=A,B\n"), "A,B#0 count=1");
    zrtest::row("multi-card rows and count", 0x5902,
                QByteArray("[5902]\n1.1.Descriptor=A\n2.1.Descriptor=B\n2.FC_Number=8\nFC_Count=2\n"),
                "A#0 B#8 #0 #0 #0 #0 #0 #0 count=2");
    zrtest::row("count 9", 0x5902, QByteArray("[5902]\nFC_Count=9\n"),
                "TCPIP::192.168.2.100::INSTR#0 #0 #0 #0 #0 #0 #0 #0 count=1");
    zrtest::row("count 0", 0x5902, QByteArray("[5902]\nFC_Count=0\n"),
                "TCPIP::192.168.2.100::INSTR#0 #0 #0 #0 #0 #0 #0 #0 count=1");
    zrtest::row("named pipe", 0x7480, QByteArray("fifo"), "TCPIP::192.168.2.100::INSTR#0 count=1");
}

void tst_Connection::storedRows()
{
    QFETCH(int, model);
    QFETCH(QByteArray, file);
    QVERIFY(QDir().mkpath(QFileInfo(addressFile()).path()));
    if (file == "fifo") {
        ZR_MAKE_PIPE(addressFile());
    } else if (!file.isEmpty()) {
        QFile out(addressFile());
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    }
    const FakeCard card(model);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    QStringList shown;
    for (int i = 0; dialog.descriptorCombo(i); ++i)
        shown << offered(dialog, i) + QLatin1Char('#') + QString::number(dialog.fcNumberCombo(i)->currentIndex());
    shown << QStringLiteral("count=") + dialog.countSelector()->currentText();
    QTEST(shown.join(QLatin1Char(' ')), "rows");
}

void tst_Connection::savedRows_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("items"); // the row's items before
    QTest::addColumn<QString>("typed"); // rows typed, as for the flow
    // What stands in the way: nothing, a file where the folder should be,
    // or a folder ('/') or a pipe ('|') at the name of the file's lock.
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("returned");
    QTest::addColumn<QString>("reloaded"); // row 1's items after loading again
    zrtest::row("current text first", 0x7480, "A,B,C,D,E", "D#1", "", "D#1", "D,A,B,C,E");
    zrtest::row("five kept", 0x7480, "A,B,C,D,E", "F#2", "", "F#2", "F,A,B,C,D");
    zrtest::row("typed row kept unwritable", 0x7480, "", "X#4", "Halvar", "X#4", "X");
    zrtest::row("typed row kept, folder at the lock", 0x7480, "", "X#4", "Halvar/DefaultInstrDescr.ini.lock/", "X#4",
                "X");
    zrtest::row("typed row kept, pipe at the lock", 0x7480, "", "X#4", "Halvar/DefaultInstrDescr.ini.lock|", "X#4",
                "X");
    zrtest::row("rows in use returned", 0x5902, "", "A#1;B#2", "", "A#1 B#2", "A");
    zrtest::row("empty row returned", 0x5902, "", "A#1;#0", "", "A#1 #0", "A");
}

void tst_Connection::savedRows()
{
    QFETCH(int, model);
    QFETCH(QString, items);
    QFETCH(QString, typed);
    QFETCH(QString, blocked);
    // Given what blocks the file in the profile folder,
    const bool writable = blocked.isEmpty();
    const QString path = folder->filePath(blocked);
    if (blocked.endsWith(QLatin1Char('|'))) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        ZR_MAKE_PIPE(path.chopped(1));
    } else if (!writable)
        QVERIFY(blocked.endsWith(QLatin1Char('/')) ? QDir().mkpath(path) : QFile(path).open(QIODevice::WriteOnly));
    const FakeCard card(model);
    zr6200fp_fcEnterAddress dialog(&card);
    dialog.loadAddresses();
    dialog.descriptorCombo(0)->clear();
    if (!items.isEmpty())
        dialog.descriptorCombo(0)->addItems(items.split(QLatin1Char(',')));
    // when the rows are typed and OK saves them,
    typeAddresses(answers, typed);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QStringList descriptors;
    QList<int> numbers;
    dialog.getAddresses(descriptors, numbers);
    // then they are returned, and kept for the run when the file is blocked.
    QStringList returned;
    for (int i = 0; i < descriptors.size(); ++i)
        returned << descriptors[i] + QLatin1Char('#') + QString::number(numbers.value(i));
    QTEST(returned.join(QLatin1Char(' ')), "returned");
    // Shown again by this dialog, and (when written) by the next run's.
    zr6200fp_fcEnterAddress nextRun(&card);
    for (zr6200fp_fcEnterAddress *shown : {&dialog, writable ? &nextRun : &dialog}) {
        shown->loadAddresses();
        QTEST(offered(*shown, 0), "reloaded");
    }
}

void tst_Connection::choosing_data()
{
    QTest::addColumn<QString>("action"); // ok:<items> or dbl:<item>, an item being carrier and slot
    QTest::addColumn<QString>("chosen");
    zrtest::row("OK with nothing", "ok:", "0  0,0 count=0");
    zrtest::row("OK with two", "ok:A1,B4", "1 VXI0::1::INSTR,VXI0::2::INSTR 1,4 count=2");
    zrtest::row("OK with two of one carrier", "ok:A2,A1", "1 VXI0::1::INSTR,VXI0::1::INSTR 2,1 count=2");
    zrtest::row("double click", "dbl:B4", "1 VXI0::2::INSTR 4,0 count=1");
    zrtest::row("double click on another kind", "dbl:A3", "0  0,0 count=0");
    zrtest::row("double click on a carrier", "dbl:B", "0  0,0 count=0");
}

void tst_Connection::choosing()
{
    QFETCH(QString, action);
    QVERIFY(zrtest::loadBench(R"({"resources": [
        {"descriptor": "VXI0::1::INSTR", "slot": 1,
         "carrier": {"slots": [{"id": "0x7480"}, {"id": "0x7480"}, {"id": "0x1234"}]}},
        {"descriptor": "VXI0::2::INSTR", "slot": 2, "carrier": {"slots": [0, 0, 0, {"id": "0x7480"}]}}]})"));
    FakeCard card;
    zr6200fp_fcSelect select(&card, 1);
    QCOMPARE(select.searchCards(), 3);
    select.descriptor.clear();
    select.fcNumbers = {};
    auto *tree = select.findChild<QTreeWidget *>();
    const auto item = [tree](const QString &name) {
        QTreeWidgetItem *carrier = tree->topLevelItem(0)->child(name.at(0) == QLatin1Char('A') ? 0 : 1);
        for (int i = 0; i < carrier->childCount(); ++i) {
            if (carrier->child(i)->text(0) == QLatin1String("FC ") + name.mid(1))
                return carrier->child(i);
        }
        return carrier;
    };
    const QStringList items = action.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (action.startsWith(QLatin1String("ok:"))) {
        for (const QString &name : items)
            item(name)->setSelected(true);
        select.okPressed();
    } else {
        tree->setCurrentItem(item(items.first()));
        item(QStringLiteral("A1"))->setSelected(true);
        select.dblClick(item(items.first()));
    }
    QTEST(QStringLiteral("%1 %2 %3,%4 count=%5")
              .arg(QString::number(select.result()), select.descriptor, QString::number(select.fcNumbers[0]),
                   QString::number(select.fcNumbers[1]), QString::number(select.fcCount)),
          "chosen");
    // Searching again (Try Again, then Auto Find) deletes the items chosen.
    QCOMPARE(select.searchCards(), 3);
    QCOMPARE(select.selectedItems.size(), 0);
}

void tst_Connection::tree()
{
    // A top-level item per run of one prefix as written, carriers in the
    // list's order, the last selectable card kept.
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
    QCOMPARE(select.descriptor + QLatin1Char('#') + QString::number(select.fcNumbers[0]),
             QStringLiteral("VXI0::1::INSTR#2"));
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
    QTest::addColumn<QList<int>>("shown"); // card items under each carrier shown
    QTest::addColumn<QString>("last");     // the card kept: descriptor#number
    zrtest::row("255: all, no question", QList<int>{200, 55}, false, 255, QList<int>{201, 56}, "VXI1::1::INSTR#56");
    zrtest::row("exactly 256: the question", QList<int>{256}, true, 256, QList<int>{257}, "VXI0::1::INSTR#257");
    zrtest::row("cap inside the second carrier, the third left out", QList<int>{200, 100, 5}, true, 256,
                QList<int>{201, 57}, "VXI1::1::INSTR#57");
    zrtest::row("cap at a carrier's last card, the next left out", QList<int>{256, 3}, true, 256, QList<int>{257},
                "VXI0::1::INSTR#257");
    zrtest::row("cap after hundreds of entries", QList<int>(100, 0) + QList<int>(300, 1), true, 256,
                QList<int>(100, 1) + QList<int>(256, 2), "VXI355::1::INSTR#2");
    zrtest::row("hundreds of entries, none of this kind", QList<int>(300, 0), false, 0, QList<int>(300, 1), "#0");
}

void tst_Connection::manyCards()
{
    QFETCH(QList<int>, carriers);
    QFETCH(bool, asked);
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
    QTEST(select.searchCards(), "found");
    QCOMPARE(answers.seen, asked ? QStringList{QStringLiteral(
                                       "Found more Function Cards than supported by this SoftFrontPanel. Only first "
                                       "256 are available.\nPlease contact Halvar's support if you need support for "
                                       "more cards.")}
                                 : QStringList());
    const QTreeWidget *tree = select.findChild<QTreeWidget *>();
    QList<int> shown;
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem *carrier = tree->topLevelItem(k)->child(0);
        shown << carrier->childCount();
        QCOMPARE(carrier->isExpanded(), carriers[k] > 0);
    }
    QTEST(shown, "shown");
    QTEST(QString(select.descriptor + QLatin1Char('#') + QString::number(select.fcNumbers[0])), "last");
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
    queue(answers, {QStringLiteral("Enter Address"), QStringLiteral("type:A#2;B#5")});
    {
        Window window(&card, 1, false);
        QCOMPARE(QStringLiteral("%1 %2,%3 %4")
                     .arg(window.fcCount)
                     .arg(window.fcNumbers[0])
                     .arg(window.fcNumbers[1])
                     .arg(window.findChild<QLabel *>(QStringLiteral("fcLabel"))->text()),
                 QStringLiteral("2 2,5 FC 2"));
        QVERIFY(card.closed.isEmpty());
    }
    QCOMPARE(card.closed, QList<ViSession>{42});
}

ZR_TEST_MAIN(tst_Connection)
#include "tst_connection.moc"
