#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "fakecard.h"
#include "testsupport.h"
#include "zr6200.h"
#include "zr6200fp_fcEnterAddress.h"
#include "zr6200fp_fcEnterAddressFc.h"
#include "zr6200fp_fcSelect.h"

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

} // namespace

class tst_ConnectionFlow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void flow_data();
    void flow();
    void boxes();
};

void tst_ConnectionFlow::init()
{
    QFile::remove(zr6200fp_fcEnterAddress::defaultSettingsPath());
}

void tst_ConnectionFlow::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
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

ZR_TEST_MAIN(tst_ConnectionFlow)
#include "tst_connectionflow.moc"
