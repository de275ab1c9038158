#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "fakecard.h"
#include "fc/zr6200fp_fcSelect.h"
#include "testsupport.h"

namespace {

QTreeWidgetItem *addCard(QTreeWidgetItem *carrier, int slot, const QString &model, int number,
                         const QString &descriptor)
{
    auto *item = new QTreeWidgetItem(carrier, QStringList{QStringLiteral("FC %1").arg(slot), model});
    item->setData(0, Qt::StatusTipRole, number);
    item->setData(1, Qt::StatusTipRole, descriptor);
    item->setFlags(number ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags);
    return item;
}

// Two carriers of three cards each, as the search lays them out; the
// second card of each carrier is of another kind.
struct Tree
{
    explicit Tree(QTreeWidget *tree)
    {
        auto *top = new QTreeWidgetItem(tree, QStringList{QStringLiteral("VXI0")});
        top->setFlags(Qt::ItemIsEnabled);
        for (int c = 0; c < 2; ++c) {
            const QString descriptor = QStringLiteral("VXI0::%1::INSTR").arg(c + 1);
            carriers[c] = new QTreeWidgetItem(top, QStringList{QStringLiteral("Slot %1 - 4260 MB").arg(c + 3)});
            carriers[c]->setFlags(Qt::ItemIsEnabled);
            for (int s = 1; s <= 3; ++s)
                cards[c][s - 1] = addCard(carriers[c], s, s == 2 ? QStringLiteral("1234") : QStringLiteral("7480"),
                                          s == 2 ? 0 : s, descriptor);
        }
        tree->expandAll();
    }
    QTreeWidgetItem *carriers[2] = {};
    QTreeWidgetItem *cards[2][3] = {};
};

QTreeWidget *treeOf(zr6200fp_fcSelect &dialog)
{
    return dialog.findChild<QTreeWidget *>();
}

void click(QTreeWidget *tree, QTreeWidgetItem *item, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, tree->visualItemRect(item).center());
}

void doubleClickItem(QTreeWidget *tree, QTreeWidgetItem *item)
{
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class tst_FcSelect : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void construction_data();
    void construction();
    void okPressed_data();
    void okPressed();
    void okWithNothingKeepsDialogOpen();
    void doubleClick_data();
    void doubleClick();
    void hintOnUnselectableCurrent();
    void cancelRejects();
};

void tst_FcSelect::cleanup()
{
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
}

void tst_FcSelect::construction_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("multiSelect");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("mode");
    QTest::newRow("7480 single") << 0x7480 << 0 << "Tervix 7480 SFP: Select Function Card"
                                 << int(QAbstractItemView::SingleSelection);
    QTest::newRow("padded multi") << 0x123 << 2 << "Tervix  123 SFP: Select Function Card"
                                  << int(QAbstractItemView::ExtendedSelection);
}

void tst_FcSelect::construction()
{
    QFETCH(int, model);
    QFETCH(int, multiSelect);
    QFETCH(QString, title);
    QFETCH(int, mode);
    FakeCard card(model);
    zr6200fp_fcSelect dialog(&card, multiSelect);
    QCOMPARE(dialog.windowTitle(), title);
    QVERIFY(!dialog.windowIcon().isNull());
    QVERIFY(!dialog.parent());
    QCOMPARE(dialog.card, &card);
    QCOMPARE(dialog.session, ViSession(0));
    QCOMPARE(dialog.demoMode, 0);
    QCOMPARE(dialog.fcCount, 0);
    QVERIFY(dialog.descriptor.isEmpty());
    QVERIFY(dialog.selectedItems.isEmpty());

    QTreeWidget *tree = treeOf(dialog);
    QCOMPARE(tree->columnCount(), 2);
    QCOMPARE(tree->headerItem()->text(0), QStringLiteral("System"));
    QCOMPARE(tree->headerItem()->text(1), QStringLiteral("FC Model"));
    const int side = 24 * dialog.fontMetrics().height();
    QCOMPARE(tree->minimumSize(), QSize(side, side));
    QCOMPARE(int(tree->selectionMode()), mode);
    QStringList buttons;
    for (const QPushButton *b : dialog.findChildren<QPushButton *>())
        buttons << b->text();
    QCOMPARE(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
}

void tst_FcSelect::okPressed_data()
{
    QTest::addColumn<int>("multiSelect");
    QTest::addColumn<QList<int>>("clicks"); // carrier * 3 + card index
    QTest::addColumn<QString>("descriptor");
    QTest::addColumn<QList<int>>("numbers");
    QTest::newRow("one card") << 0 << QList<int>{2} << "VXI0::1::INSTR" << QList<int>{3};
    QTest::newRow("single mode keeps the last click") << 0 << QList<int>{0, 3} << "VXI0::2::INSTR" << QList<int>{1};
    QTest::newRow("two carriers") << 1 << QList<int>{0, 5} << "VXI0::1::INSTR,VXI0::2::INSTR" << QList<int>{1, 3};
    QTest::newRow("selection order") << 1 << QList<int>{5, 0} << "VXI0::2::INSTR,VXI0::1::INSTR" << QList<int>{3, 1};
    QTest::newRow("same carrier twice") << 1 << QList<int>{0, 2} << "VXI0::1::INSTR,VXI0::1::INSTR" << QList<int>{1, 3};
    QTest::newRow("disabled card ignored") << 1 << QList<int>{0, 1} << "VXI0::1::INSTR" << QList<int>{1};
}

void tst_FcSelect::okPressed()
{
    QFETCH(int, multiSelect);
    QFETCH(QList<int>, clicks);
    QFETCH(QString, descriptor);
    QFETCH(QList<int>, numbers);
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, multiSelect);
    QTreeWidget *tree = treeOf(dialog);
    const Tree items(tree);
    int result = -1;
    zrtest::ModalAnswerer answerer;
    answerer.act([&](QWidget *) {
        for (int i = 0; i < clicks.size(); ++i)
            click(tree, items.cards[clicks[i] / 3][clicks[i] % 3], i ? Qt::ControlModifier : Qt::NoModifier);
        zrtest::clickButton(&dialog, QStringLiteral("OK"));
    });
    result = dialog.exec();
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.descriptor, descriptor);
    QCOMPARE(dialog.fcCount, numbers.size());
    QCOMPARE(dialog.selectedItems.size(), numbers.size());
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(int(dialog.fcNumbers[size_t(i)]), numbers[i]);
}

void tst_FcSelect::okWithNothingKeepsDialogOpen()
{
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 1);
    const Tree items(treeOf(dialog));
    dialog.descriptor = QStringLiteral("old");
    bool stayedOpen = false;
    zrtest::ModalAnswerer answerer;
    answerer.act([&](QWidget *) {
        zrtest::clickButton(&dialog, QStringLiteral("OK"));
        // A click on a carrier selects nothing either.
        click(treeOf(dialog), items.carriers[0]);
        zrtest::clickButton(&dialog, QStringLiteral("OK"));
        stayedOpen = dialog.isVisible();
        dialog.reject();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(stayedOpen);
    QVERIFY(dialog.descriptor.isEmpty());
    QCOMPARE(dialog.fcCount, 0);
}

void tst_FcSelect::doubleClick_data()
{
    QTest::addColumn<int>("multiSelect");
    QTest::addColumn<int>("target"); // -1, -2: carriers; else carrier * 3 + card index
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("descriptor");
    QTest::addColumn<int>("number");
    QTest::newRow("card") << 0 << 5 << true << "VXI0::2::INSTR" << 3;
    QTest::newRow("card in multi mode, others selected") << 1 << 3 << true << "VXI0::2::INSTR" << 1;
    QTest::newRow("disabled card") << 0 << 1 << false << "" << 0;
    QTest::newRow("carrier") << 0 << -1 << false << "" << 0;
}

void tst_FcSelect::doubleClick()
{
    QFETCH(int, multiSelect);
    QFETCH(int, target);
    QFETCH(bool, accepted);
    QFETCH(QString, descriptor);
    QFETCH(int, number);
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, multiSelect);
    QTreeWidget *tree = treeOf(dialog);
    const Tree items(tree);
    QTreeWidgetItem *item = target < 0 ? items.carriers[-target - 1] : items.cards[target / 3][target % 3];
    bool stillOpen = false;
    zrtest::ModalAnswerer answerer;
    answerer.act([&](QWidget *) {
        if (multiSelect) {
            click(tree, items.cards[0][0]);
            click(tree, items.cards[0][2], Qt::ControlModifier);
        }
        doubleClickItem(tree, item);
        stillOpen = dialog.isVisible();
        if (stillOpen)
            dialog.reject();
    });
    const int result = dialog.exec();
    QCOMPARE(result == QDialog::Accepted, accepted);
    QCOMPARE(stillOpen, !accepted);
    QCOMPARE(dialog.descriptor, descriptor);
    QCOMPARE(dialog.fcCount, accepted ? 1 : 0);
    QCOMPARE(int(dialog.fcNumbers[0]), number);
}

void tst_FcSelect::hintOnUnselectableCurrent()
{
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QTreeWidget *tree = treeOf(dialog);
    const Tree items(tree);
    tree->setCurrentItem(items.carriers[1]);
    QTest::ignoreMessage(QtDebugMsg, "Select one available function card and then click \"OK\" \n"
                                     "or click \"Cancel\" to quit");
    dialog.dblClick(items.cards[0][0]);
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(dialog.fcCount, 0);
    QVERIFY(dialog.descriptor.isEmpty());
    QCOMPARE(QString::fromLatin1(zr6200fp_fcSelect::hintText()),
             QStringLiteral("Select one available function card and then click \"OK\" \nor click \"Cancel\" to quit"));
}

void tst_FcSelect::cancelRejects()
{
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    const Tree items(treeOf(dialog));
    zrtest::ModalAnswerer answerer;
    answerer.act([&](QWidget *) {
        click(treeOf(dialog), items.cards[0][0]);
        zrtest::clickButton(&dialog, QStringLiteral("Cancel"));
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.fcCount, 0);
    QVERIFY(dialog.descriptor.isEmpty());
}

ZR_TEST_MAIN(tst_FcSelect)
#include "tst_fcselect.moc"
