#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/zr6200fp_cardModels.h"
#include "core/zr6200fp_resourceCollection.h"
#include "fakecard.h"
#include "fc/zr6200fp_fcSelect.h"
#include "simbench.h"
#include "testsupport.h"

namespace {

QJsonObject slotCard(int id, const char *word252 = nullptr)
{
    QJsonObject card{{"id", id}};
    if (word252)
        card.insert("word252", word252);
    return card;
}

QJsonObject carrier(const QJsonArray &slotList, int modelId = 1987, bool interface1 = true)
{
    return QJsonObject{{"modelId", modelId}, {"interface1", interface1}, {"slots", slotList}};
}

QJsonObject vxi(const QString &descriptor, int slot, const QJsonObject &carrierObject = {})
{
    QJsonObject r{{"descriptor", descriptor}, {"slot", slot}, {"interface", "VXI"}};
    if (!carrierObject.isEmpty())
        r.insert("carrier", carrierObject);
    return r;
}

QJsonObject lxi(const QString &descriptor, const QString &address, const QJsonObject &carrierObject = {},
                int openDelayMs = 0)
{
    QJsonObject r{{"descriptor", descriptor}, {"address", address}, {"interface", "TCPIP"}};
    if (!carrierObject.isEmpty())
        r.insert("carrier", carrierObject);
    if (openDelayMs)
        r.insert("openDelayMs", openDelayMs);
    return r;
}

bool loadBench(const QJsonArray &resources)
{
    const QByteArray json = QJsonDocument(QJsonObject{{"resources", resources}}).toJson(QJsonDocument::Compact);
    if (simbench_loadJson(json.constData()) != 0) {
        qWarning("bench: %s", simbench_lastError());
        return false;
    }
    simbench_clearLog();
    return true;
}

QTreeWidget *treeOf(zr6200fp_fcSelect &dialog)
{
    return dialog.findChild<QTreeWidget *>();
}

// One line per item, indented by level: "text0 | text1 | role-4 data | flags".
QStringList dump(const QTreeWidget *tree)
{
    QStringList lines;
    std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *item, int level) {
        QString line = QString(level * 2, QLatin1Char(' ')) + item->text(0);
        if (level == 2) {
            line += QStringLiteral(" | %1 | %2 %3")
                        .arg(item->text(1))
                        .arg(item->data(0, Qt::StatusTipRole).toInt())
                        .arg(item->data(1, Qt::StatusTipRole).toString());
        }
        if (item->flags().testFlag(Qt::ItemIsSelectable))
            line += QStringLiteral(" [sel]");
        if (!item->flags().testFlag(Qt::ItemIsEnabled))
            line += QStringLiteral(" [off]");
        if (item->childCount() && item->isExpanded())
            line += QStringLiteral(" [open]");
        lines << line;
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), level + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return lines;
}

int countLines(const QStringList &log, const QString &prefix)
{
    return int(std::count_if(log.cbegin(), log.cend(), [&](const QString &l) { return l.startsWith(prefix); }));
}

// Card object that notes on which threads the search asks it.
class ThreadNotingCard final : public zr6200fp_genFC
{
public:
    explicit ThreadNotingCard(int delayMs = 0)
        : delayMs(delayMs)
    {
        modelCode = 0x7480;
    }
    bool isModelSupported(quint16 code) const override
    {
        const int now = inFlight.fetch_add(1) + 1;
        int seen = maxInFlight.load();
        while (now > seen && !maxInFlight.compare_exchange_weak(seen, now)) {
        }
        if (QThread::currentThread() == qApp->thread())
            onGuiThread.fetch_add(1);
        else
            offGuiThread.fetch_add(1);
        if (QThreadPool::globalInstance()->contains(QThread::currentThread()))
            onGlobalPool.fetch_add(1);
        if (delayMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        inFlight.fetch_sub(1);
        return code == 0x7480;
    }
    QString getDescription() const override { return QString(); }
    QString getCopyright() const override { return QString(); }
    QString getSfpRevision() const override { return QString(); }
    QString getDriverRevision() const override { return QString(); }
    QString getErrorMessage(ViStatus) const override { return QString(); }
    ViStatus init(const char *, const quint16 *, quint16, quint16, ViSession *) override { return -1; }
    ViStatus initAndKeep(const char *, const quint16 *, qint16, quint16, quint16, ViSession *) override { return -1; }
    ViStatus reinit(ViSession *) override { return -1; }
    ViStatus close(ViSession) override { return 0; }

    const int delayMs;
    mutable std::atomic<int> inFlight{0};
    mutable std::atomic<int> maxInFlight{0};
    mutable std::atomic<int> onGuiThread{0};
    mutable std::atomic<int> offGuiThread{0};
    mutable std::atomic<int> onGlobalPool{0};
};

// Watches the progress dialog while the search runs: what it shows, and
// how often its bar was painted part-way.
class ProgressSpy : public QObject
{
public:
    ProgressSpy()
    {
        connect(&poll, &QTimer::timeout, this, [this] {
            ++ticks;
            if (dialog)
                return;
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (auto *d = qobject_cast<QProgressDialog *>(w); d && d->isVisible()) {
                    dialog = d;
                    title = d->windowTitle();
                    label = d->labelText();
                    buttons = int(d->findChildren<QPushButton *>().size());
                    modal = d->isModal();
                    parent = d->parentWidget();
                    if (auto *bar = d->findChild<QProgressBar *>())
                        bar->installEventFilter(this);
                }
            }
        });
        poll.start(5);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto *bar = static_cast<QProgressBar *>(watched);
            if (bar->value() > bar->minimum() && bar->value() < bar->maximum())
                paintedValues << bar->value();
        }
        return false;
    }

    QTimer poll;
    int ticks = 0;
    QPointer<QProgressDialog> dialog;
    QString title;
    QString label;
    int buttons = -1;
    bool modal = false;
    QWidget *parent = nullptr;
    QList<int> paintedValues;
};

} // namespace

class tst_Search : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void treeContents();
    void networkInParallelOthersFirst();
    void duplicatesByAddress();
    void sorted();
    void sortedWithCycles();
    void displayCodes_data();
    void displayCodes();
    void suffix_data();
    void suffix();
    void onlyOneSelectable();
    void otherKindsOnly();
    void cap_data();
    void cap();
    void failures_data();
    void failures();
    void progressKeepsPainting();
    void ownPoolLeavesGlobalAlone();
    void repeatedSearchRebuildsTree();
};

void tst_Search::init()
{
    simbench_reset();
}

void tst_Search::cleanup()
{
    QCOMPARE(simbench_openSessions(), 0);
    QCOMPARE(simbench_carrierObjects(), 0);
    QVERIFY(zrtest::visibleTopLevels().isEmpty());
    simbench_clearStatuses();
}

void tst_Search::treeContents()
{
    QVERIFY(loadBench(QJsonArray{
        vxi("VXI0::1::INSTR", 3, carrier({slotCard(0x7480), slotCard(0x5902, "AB"), 0, slotCard(0x1234)})),
        lxi("TCPIP0::192.0.2.10::INSTR", "192.0.2.10", carrier({slotCard(0x7480)}, 1990)),
        QJsonObject{{"descriptor", "ASRL1::INSTR"}},
        vxi("VXI0::2::INSTR", 7),
    }));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 2);
    const QStringList expected{
        "ASRL1",
        "TCPIP0 [open]",
        "  192.0.2.10 - 1990 LXI [open]",
        "    FC 1 | 7480 | 1 TCPIP0::192.0.2.10::INSTR [sel]",
        "VXI0 [open]",
        "  Slot 3 - 4260 MB [open]",
        "    FC 1 | 7480 | 1 VXI0::1::INSTR [sel]",
        "    FC 2 | 5902-AB | 0 VXI0::1::INSTR [off]",
        "    FC 4 | 1234 | 0 VXI0::1::INSTR [off]",
    };
    QCOMPARE(dump(treeOf(dialog)), expected);
    // The last selectable card put into the tree.
    QCOMPARE(dialog.descriptor, QStringLiteral("VXI0::1::INSTR"));
    QCOMPARE(int(dialog.fcNumbers[0]), 1);
    const QStringList log = zrtest::benchLog();
    QCOMPARE(log.first(), QStringLiteral("viOpenDefaultRM() -> 0"));
    QCOMPARE(countLines(log, QStringLiteral("viFindRsrc(")), 1);
    QVERIFY(log.filter(QStringLiteral("viFindRsrc(")).first().contains(QLatin1String("expr=\"?*INSTR\"")));
    QCOMPARE(countLines(log, QStringLiteral("viOpen(")), 4);
    QCOMPARE(countLines(log, QStringLiteral("getCarrierInfo(")), 4);
    QCOMPARE(countLines(log, QStringLiteral("releaseCarrierInfo(")), 2);
    // Four resources, the find list and the resource manager.
    QCOMPARE(countLines(log, QStringLiteral("viClose(")), 6);
}

void tst_Search::networkInParallelOthersFirst()
{
    QJsonArray resources;
    for (int i = 0; i < 6; ++i) {
        const QString address = QStringLiteral("198.51.100.%1").arg(i + 1);
        resources.append(
            lxi((i % 2 ? "tcpip0::" : "TCPIP0::") + address + "::INSTR", address, carrier({slotCard(0x7480)}), 20));
        resources.append(vxi(QStringLiteral("VXI%1::1::INSTR").arg(i), i + 1, carrier({slotCard(0x7480)})));
    }
    QVERIFY(loadBench(resources));
    ThreadNotingCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 12);
    QCOMPARE(card.onGuiThread.load(), 6);
    // Lower-case descriptors count as network resources too.
    QCOMPARE(card.offGuiThread.load(), 6);

    // Every VXI resource was opened before the first network one.
    const QStringList log = zrtest::benchLog();
    int lastVxi = -1;
    int firstNetwork = int(log.size());
    for (int i = 0; i < log.size(); ++i) {
        if (log[i].startsWith(QLatin1String("viOpen(")) && log[i].contains(QLatin1String("\"VXI")))
            lastVxi = i;
        if (log[i].startsWith(QLatin1String("viOpen(")) &&
            log[i].contains(QLatin1String("cpip0::"), Qt::CaseInsensitive))
            firstNetwork = std::min(firstNetwork, i);
    }
    QVERIFY(lastVxi >= 0);
    QVERIFY(lastVxi < firstNetwork);
    for (const QString &line : log) {
        if (line.startsWith(QLatin1String("viOpen(")))
            QVERIFY2(line.contains(QLatin1String("mode=0, timeout=0")), qPrintable(line));
    }
}

void tst_Search::duplicatesByAddress()
{
    QVERIFY(loadBench(QJsonArray{
        lxi("TCPIP1::box.example::INSTR", "192.0.2.20", carrier({slotCard(0x7480)})),
        lxi("TCPIP0::192.0.2.20::INSTR", "192.0.2.20", carrier({slotCard(0x7480)})),
        lxi("TCPIP0::192.0.2.21::INSTR", "192.0.2.21", carrier({slotCard(0x7480)})),
        lxi("TCPIP0::192.0.2.20::inst1::INSTR", "192.0.2.20", carrier({slotCard(0x7480)})),
        // No address: never taken for a duplicate.
        QJsonObject{{"descriptor", "TCPIP0::203.0.113.5::INSTR"},
                    {"interface", "TCPIP"},
                    {"carrier", carrier({slotCard(0x7480)})}},
        QJsonObject{{"descriptor", "TCPIP0::203.0.113.6::INSTR"},
                    {"interface", "TCPIP"},
                    {"carrier", carrier({slotCard(0x7480)})}},
    }));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 4);
    const QStringList expected{
        "TCPIP0 [open]",
        "  192.0.2.21 - 4260 LXI [open]",
        "    FC 1 | 7480 | 1 TCPIP0::192.0.2.21::INSTR [sel]",
        "   - 4260 LXI [open]",
        "    FC 1 | 7480 | 1 TCPIP0::203.0.113.5::INSTR [sel]",
        "   - 4260 LXI [open]",
        "    FC 1 | 7480 | 1 TCPIP0::203.0.113.6::INSTR [sel]",
        "TCPIP1 [open]",
        "  192.0.2.20 - 4260 LXI [open]",
        "    FC 1 | 7480 | 1 TCPIP1::box.example::INSTR [sel]",
    };
    QCOMPARE(dump(treeOf(dialog)), expected);
}

QStringList listedDescriptors(const QTreeWidget *tree)
{
    QStringList listed;
    for (int t = 0; t < tree->topLevelItemCount(); ++t) {
        for (int c = 0; c < tree->topLevelItem(t)->childCount(); ++c)
            listed << tree->topLevelItem(t)->child(c)->child(0)->data(1, Qt::StatusTipRole).toString();
    }
    return listed;
}

void tst_Search::sorted()
{
    const QStringList found{"VXI10::1::INSTR",          "VXI9::1::INSTR",  "TCPIP0::192.0.2.10::INSTR",
                            "TCPIP0::192.0.2.9::INSTR", "GPIB1::1::INSTR", "GPIB-VXI0::3::INSTR",
                            "TCPIP1::192.0.2.1::INSTR", "ASRL10::INSTR",   "ASRL9::INSTR"};
    QJsonArray resources;
    for (int i = 0; i < found.size(); ++i) {
        resources.append(found[i].startsWith(QLatin1String("TCPIP"))
                             ? lxi(found[i], found[i].section(QLatin1String("::"), 1, 1), carrier({slotCard(0x7480)}))
                             : vxi(found[i], i, carrier({slotCard(0x7480)})));
    }
    QVERIFY(loadBench(resources));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 9);
    QCOMPARE(listedDescriptors(treeOf(dialog)),
             (QStringList{"ASRL9::INSTR", "ASRL10::INSTR", "GPIB-VXI0::3::INSTR", "GPIB1::1::INSTR",
                          "TCPIP0::192.0.2.9::INSTR", "TCPIP0::192.0.2.10::INSTR", "TCPIP1::192.0.2.1::INSTR",
                          "VXI9::1::INSTR", "VXI10::1::INSTR"}));
    QStringList tops;
    for (int t = 0; t < treeOf(dialog)->topLevelItemCount(); ++t)
        tops << treeOf(dialog)->topLevelItem(t)->text(0);
    QCOMPARE(tops, (QStringList{"ASRL9", "ASRL10", "GPIB-VXI0", "GPIB1", "TCPIP0", "TCPIP1", "VXI9", "VXI10"}));
}

// The ordering has cycles across interface types (VXI10 < asrl1 < vxi9 <
// VXI10); every resource must still be listed exactly once.
void tst_Search::sortedWithCycles()
{
    const QStringList descriptors{"VXI10::%1::INSTR",  "asrl%1::INSTR",    "vxi9::%1::INSTR",
                                  "tcpip0::%1::INSTR", "gpib0::%1::INSTR", "GPIB-VXI0::%1::INSTR",
                                  "VXI9::%1::INSTR",   "ASRL%1::INSTR",    "pxi0::%1::INSTR"};
    QJsonArray resources;
    QStringList expected;
    for (int round = 1; round <= 4; ++round) {
        for (int i = 0; i < descriptors.size(); ++i) {
            const QString descriptor = descriptors[i].arg(descriptors[i].startsWith(QLatin1String("tcpip"))
                                                              ? QStringLiteral("192.0.2.%1").arg(round)
                                                              : QString::number(round + (i == 1 || i == 6 ? 4 : 0)));
            expected << descriptor;
            resources.append(descriptor.startsWith(QLatin1String("tcpip"))
                                 ? lxi(descriptor, QStringLiteral("192.0.2.%1").arg(round), carrier({slotCard(0x7480)}))
                                 : vxi(descriptor, round * 10 + i, carrier({slotCard(0x7480)})));
        }
    }
    QVERIFY(loadBench(resources));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 1);
    QCOMPARE(dialog.searchCards(), 36);
    QStringList listed = listedDescriptors(treeOf(dialog));
    listed.sort();
    expected.sort();
    QCOMPARE(listed, expected);
}

void tst_Search::displayCodes_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("model");
    QTest::newRow("6c6c") << 0x6C6C << "5470";
    QTest::newRow("8a20") << 0x8A20 << "5330";
    QTest::newRow("b1e4") << 0xB1E4 << "5120";
    QTest::newRow("b3c4") << 0xB3C4 << "5121";
    QTest::newRow("8064") << 0x8064 << "5840";
    QTest::newRow("8164") << 0x8164 << "5840";
    QTest::newRow("8364") << 0x8364 << "5840";
    QTest::newRow("8464 not masked") << 0x8464 << "8464";
    QTest::newRow("8065") << 0x8065 << "8065";
    QTest::newRow("7480") << 0x7480 << "7480";
    QTest::newRow("short") << 0x123 << " 123";
    QTest::newRow("lower-case hex") << 0xABCD << "abcd";
    QTest::newRow("ffff") << 0xFFFF << "ffff";
}

void tst_Search::displayCodes()
{
    QFETCH(int, raw);
    QFETCH(QString, model);
    QCOMPARE(zr6200fp_cardModels::modelText(zr6200fp_cardModels::displayCode(quint16(raw))), model);

    // The card object judges the raw code, not the shown one.
    QVERIFY(loadBench(QJsonArray{vxi("VXI0::1::INSTR", 1, carrier({slotCard(raw)}))}));
    FakeCard card(0x7480, quint16(raw));
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 1);
    const QTreeWidgetItem *cardItem = treeOf(dialog)->topLevelItem(0)->child(0)->child(0);
    QCOMPARE(cardItem->text(1), model);
    QCOMPARE(cardItem->data(0, Qt::StatusTipRole).toInt(), 1);
}

void tst_Search::suffix_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<bool>("interface1");
    QTest::addColumn<QString>("model");
    QTest::newRow("5902") << 0x5902 << true << "5902-AB";
    QTest::newRow("5938") << 0x5938 << true << "5938-AB";
    QTest::newRow("5902 without interface 1") << 0x5902 << false << "5902";
    QTest::newRow("7480 never") << 0x7480 << true << "7480";
}

void tst_Search::suffix()
{
    QFETCH(int, raw);
    QFETCH(bool, interface1);
    QFETCH(QString, model);
    QVERIFY(loadBench(QJsonArray{vxi("VXI0::1::INSTR", 1, carrier({slotCard(raw, "AB")}, 1987, interface1))}));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    dialog.searchCards();
    QCOMPARE(treeOf(dialog)->topLevelItem(0)->child(0)->child(0)->text(1), model);
}

void tst_Search::onlyOneSelectable()
{
    QVERIFY(loadBench(QJsonArray{
        vxi("VXI0::1::INSTR", 2, carrier({slotCard(0x1234), 0, 0, 0, 0, slotCard(0x7480)})),
        vxi("VXI0::2::INSTR", 4, carrier({slotCard(0x5902, "XY")})),
    }));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 1);
    QCOMPARE(dialog.descriptor, QStringLiteral("VXI0::1::INSTR"));
    QCOMPARE(int(dialog.fcNumbers[0]), 6);
}

void tst_Search::otherKindsOnly()
{
    QVERIFY(loadBench(QJsonArray{vxi("VXI0::1::INSTR", 2, carrier({slotCard(0x1234), slotCard(0x8074)}))}));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 0);
    QCOMPARE(dump(treeOf(dialog)),
             (QStringList{"VXI0 [open]", "  Slot 2 - 4260 MB", "    FC 1 | 1234 | 0 VXI0::1::INSTR [off]",
                          "    FC 2 | 8074 | 0 VXI0::1::INSTR [off]"}));
}

void tst_Search::cap_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("found");
    QTest::addColumn<bool>("question");
    QTest::newRow("255") << 255 << 255 << false;
    QTest::newRow("256") << 256 << 256 << true;
    QTest::newRow("264") << 264 << 256 << true;
}

void tst_Search::cap()
{
    QFETCH(int, cards);
    QFETCH(int, found);
    QFETCH(bool, question);
    QJsonArray resources;
    for (int c = 0; c * 8 < cards; ++c) {
        QJsonArray slotList;
        for (int s = 0; s < 8 && c * 8 + s < cards; ++s)
            slotList.append(slotCard(0x7480));
        resources.append(c % 2 ? vxi(QStringLiteral("VXI0::%1::INSTR").arg(c), c, carrier(slotList))
                               : lxi(QStringLiteral("TCPIP0::192.0.2.%1::INSTR").arg(c),
                                     QStringLiteral("192.0.2.%1").arg(c), carrier(slotList)));
    }
    resources.append(vxi("VXI1::1::INSTR", 1, carrier({slotCard(0x1234)})));
    QVERIFY(loadBench(resources));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 1);
    zrtest::ModalAnswerer answerer;
    if (question)
        answerer.click(QStringLiteral("Continue"));
    QCOMPARE(dialog.searchCards(), found);
    QCOMPARE(answerer.seen().size(), question ? 1 : 0);
    QVERIFY(answerer.unexpected().isEmpty());
    if (question) {
        const auto &seen = answerer.seen().first();
        QCOMPARE(seen.title, QStringLiteral("Tervix 7480 SFP: Select Function Card"));
        QCOMPARE(seen.text, QStringLiteral("Found more Function Cards than supported by this SoftFrontPanel. Only "
                                           "first 256 are available.\nPlease contact Halvar's support if you need "
                                           "support for more cards."));
        QCOMPARE(seen.buttons, QStringList{QStringLiteral("Continue")});
        QCOMPARE(seen.icon, int(QMessageBox::Question));
    }
    int selectable = 0;
    const QStringList lines = dump(treeOf(dialog));
    for (const QString &line : lines)
        selectable += line.endsWith(QLatin1String("[sel]")) ? 1 : 0;
    QCOMPARE(selectable, found);
    // The later VXI1 entry is left out after the cap.
    QCOMPARE(lines.contains(QStringLiteral("VXI1 [open]")), !question);
}

void tst_Search::failures_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("found");
    QTest::newRow("resource manager") << "viOpenDefaultRM" << int(VI_ERROR_SYSTEM_ERROR) << 0;
    QTest::newRow("find") << "viFindRsrc" << int(VI_ERROR_RSRC_NFOUND) << 0;
    QTest::newRow("find next") << "viFindNext" << int(VI_ERROR_RSRC_NFOUND) << 1;
    QTest::newRow("open") << "viOpen" << int(VI_ERROR_RSRC_NFOUND) << 0;
    QTest::newRow("carrier") << "getCarrierInfo" << int(VI_ERROR_RSRC_NFOUND) << 0;
    QTest::newRow("attributes") << "viGetAttribute" << int(VI_ERROR_NSUP_ATTR) << 4;
    QTest::newRow("no failure") << "" << 0 << 4;
}

void tst_Search::failures()
{
    QFETCH(QString, operation);
    QFETCH(int, status);
    QFETCH(int, found);
    QVERIFY(loadBench(QJsonArray{
        vxi("VXI0::1::INSTR", 3, carrier({slotCard(0x7480)})),
        lxi("TCPIP0::192.0.2.1::INSTR", "192.0.2.1", carrier({slotCard(0x7480)})),
        vxi("VXI0::2::INSTR", 4, carrier({slotCard(0x7480)})),
        lxi("TCPIP0::192.0.2.2::INSTR", "192.0.2.2", carrier({slotCard(0x7480)})),
        QJsonObject{{"descriptor", "ASRL1::INSTR"}, {"openStatus", int(VI_ERROR_RSRC_BUSY)}},
    }));
    if (!operation.isEmpty())
        simbench_setStatus(operation.toLatin1().constData(), status);
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), found);
    QCOMPARE(simbench_openSessions(), 0);
}

void tst_Search::progressKeepsPainting()
{
    // 500 resources, 450 boxes: the last 50 repeat addresses.
    const QStringList networks{"192.0.2.", "198.51.100.", "203.0.113."};
    QJsonArray resources;
    for (int i = 0; i < 500; ++i) {
        const QString address = networks[(i % 450) / 150] + QString::number(i % 150 + 1);
        resources.append(lxi(QStringLiteral("TCPIP%1::%2::INSTR").arg(i / 450).arg(address), address,
                             carrier({slotCard(0x1234)}), 150));
    }
    QVERIFY(loadBench(resources));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    ProgressSpy spy;
    QCOMPARE(dialog.searchCards(), 0);
    QCOMPARE(treeOf(dialog)->topLevelItemCount(), 1);
    QCOMPARE(treeOf(dialog)->topLevelItem(0)->childCount(), 450);
    QVERIFY(spy.dialog.isNull() || !spy.dialog->isVisible());
    QCOMPARE(spy.title, QStringLiteral("Tervix 7480"));
    QCOMPARE(spy.label, QStringLiteral("Searching..."));
    QCOMPARE(spy.buttons, 0);
    QVERIFY(spy.modal);
    QCOMPARE(spy.parent, &dialog);
    // Four waves of opens: the bar must have been painted part-way, more
    // than once, with the event loop running in between.
    QVERIFY2(spy.paintedValues.size() >= 2, qPrintable(QString::number(spy.paintedValues.size())));
    QVERIFY(spy.ticks >= 10);
}

void tst_Search::ownPoolLeavesGlobalAlone()
{
    const int globalMax = QThreadPool::globalInstance()->maxThreadCount();
    QJsonArray resources;
    for (int i = 0; i < 200; ++i) {
        const QString address = QStringLiteral("198.51.100.%1").arg(i + 1);
        resources.append(lxi("TCPIP0::" + address + "::INSTR", address, carrier({slotCard(0x7480)})));
    }
    QVERIFY(loadBench(resources));
    ThreadNotingCard card(20);
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 200);
    QCOMPARE(QThreadPool::globalInstance()->maxThreadCount(), globalMax);
    QCOMPARE(card.onGlobalPool.load(), 0);
    QCOMPARE(card.onGuiThread.load(), 0);
    QVERIFY(card.maxInFlight.load() <= 128);
    QVERIFY(card.maxInFlight.load() >= 2);
}

void tst_Search::repeatedSearchRebuildsTree()
{
    QVERIFY(loadBench(QJsonArray{vxi("VXI0::1::INSTR", 3, carrier({slotCard(0x7480), slotCard(0x7480)}))}));
    FakeCard card;
    zr6200fp_fcSelect dialog(&card, 0);
    QCOMPARE(dialog.searchCards(), 2);
    QCOMPARE(dialog.searchCards(), 2);
    QCOMPARE(dump(treeOf(dialog)).size(), 4);
    QVERIFY(loadBench(QJsonArray{}));
    QCOMPARE(dialog.searchCards(), 0);
    QCOMPARE(treeOf(dialog)->topLevelItemCount(), 0);
}

ZR_TEST_MAIN(tst_Search)
#include "tst_search.moc"
