// The VISA search on the simulated bench, without any widget: the list it
// returns (each entry once also where the descriptors' order has cycles),
// which resources it opens where, what it traces, and that it leaves
// nothing open.
#include <QLoggingCategory>
#include <QtTest>
#include <algorithm>
#include <mutex>
#include <tuple>

#include "fakecard.h"
#include "search/zr6200fp_search.h"
#include "simbench.h"
#include "testsupport.h"

using zrtest::row;

using Entries = QList<resourceEntry>;

bool operator==(const resourceEntry &a, const resourceEntry &b)
{
    return std::tie(a.descriptor, a.carrierLabel, a.fcRows, a.fcSlotNumbers, a.identity) ==
           std::tie(b.descriptor, b.carrierLabel, b.fcRows, b.fcSlotNumbers, b.identity);
}

// What QCOMPARE prints for an entry that differs.
char *toString(const resourceEntry &e)
{
    QStringList parts{e.descriptor, e.carrierLabel.join(QLatin1Char('|')), e.identity};
    for (int j = 0; j < e.fcRows.size(); ++j)
        parts << e.fcRows[j].join(QLatin1Char('/')) + QLatin1Char('=') + QString::number(e.fcSlotNumbers.value(j));
    return QTest::toString(parts.join(QLatin1Char(' ')));
}

namespace {

// One VXI carrier (slot 5) with another card kind in slot 1 and a 7480 in
// slot 2, and a serial port that is no carrier.
const char *const kOneCard = R"({"resources": [
    {"descriptor": "VXI0::1::INSTR", "slot": 5,
     "carrier": {"modelId": 1987, "slots": [{"id": "0x1234"}, {"id": "0x7480"}]}},
    {"descriptor": "ASRL1::INSTR"}]})";

const resourceEntry kOneCardCarrier{
    "VXI0::1::INSTR", {"Slot 5 - 4260 MB"}, {{"FC 1", "1234"}, {"FC 2", "7480"}}, {0, 2}, {}};

// Names of the traced calls, from any thread.
std::mutex traceMutex;
QStringList traceNames;
void keepTraceName(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard<std::mutex> lock(traceMutex);
    if (qstrcmp(context.category, "tervix.driver") == 0)
        traceNames << text.section(QLatin1Char('('), 0, 0);
}

int succeeded(const char *operation)
{
    const auto calls = zrtest::calls(QLatin1String(operation));
    return int(std::count_if(calls.cbegin(), calls.cend(), [](const auto &c) { return c["status"] == "0"; }));
}

} // namespace

class tst_Search : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void found_data();
    void found();
};

void tst_Search::init()
{
    simbench_reset();
}

void tst_Search::found_data()
{
    QTest::addColumn<QByteArray>("bench");
    QTest::addColumn<QByteArray>("failing"); // an operation forced to fail
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QStringList>("atOnce"); // opened first, on the calling thread, in VISA's order
    QTest::addColumn<bool>("ordered");       // false: each entry once, in whatever order
    row("carrier, other kind, no carrier", QByteArray(kOneCard), QByteArray(),
        Entries{{"ASRL1::INSTR", {}, {}, {}, {}}, kOneCardCarrier}, QStringList{"VXI0::1::INSTR", "ASRL1::INSTR"},
        true);
    row("one box, two names: the first in VISA's order kept", QByteArray(R"({"resources": [
            {"descriptor": "TCPIP0::192.0.2.10::INSTR", "address": "192.0.2.10", "carrier": {"slots": [{"id": "0x7480"}]}},
            {"descriptor": "TCPIP0::lab.example::INSTR", "address": "192.0.2.10", "carrier": {"slots": [{"id": "0x7480"}]}}]})"),
        QByteArray(),
        Entries{{"TCPIP0::192.0.2.10::INSTR", {"192.0.2.10 - 0 LXI"}, {{"FC 1", "7480"}}, {1}, "192.0.2.10"}},
        QStringList(), true);
    row("texts as the libraries give them, the raw code judged", QByteArray(R"({"resources": [
            {"descriptor": "VXI0::1::INSTR", "slot": 1, "carrier": {"interface1": false,
             "slots": [{"id": "0x5902", "word252": "AB"}, {"id": "0x6C6C"}]}},
            {"descriptor": "TCPIP0::v6host::INSTR", "address": "fe80::1%2",
             "carrier": {"modelId": 1990, "slots": [{"id": "0x5902", "word252": "AB"}]}}]})"),
        QByteArray(),
        Entries{{"TCPIP0::v6host::INSTR", {"fe80::1%2 - 1990 LXI"}, {{"FC 1", "5902-AB"}}, {0}, "fe80::1%2"},
                {"VXI0::1::INSTR", {"Slot 1 - 0 MB"}, {{"FC 1", "5902"}, {"FC 2", "5470"}}, {0, 2}, {}}},
        QStringList{"VXI0::1::INSTR"}, true);
    row("lower-case network name on the pool, ordered", QByteArray(R"({"resources": [
            {"descriptor": "tcpip0::192.0.2.20::INSTR", "address": "192.0.2.20", "carrier": {"slots": [{"id": "0x7480"}]}},
            {"descriptor": "TCPIP0::192.0.2.3::INSTR", "address": "192.0.2.3", "openStatus": "0xBFFF0015"},
            {"descriptor": "VXI0::1::INSTR", "slot": 1}]})"),
        QByteArray(),
        Entries{{"TCPIP0::192.0.2.3::INSTR", {}, {}, {}, {}},
                {"VXI0::1::INSTR", {}, {}, {}, {}},
                {"tcpip0::192.0.2.20::INSTR", {"192.0.2.20 - 0 LXI"}, {{"FC 1", "7480"}}, {1}, "192.0.2.20"}},
        QStringList{"VXI0::1::INSTR"}, true);
    row("find fails", QByteArray(kOneCard), QByteArray("viFindRsrc"), Entries(), QStringList(), true);
    row("find next fails: the first searched", QByteArray(kOneCard), QByteArray("viFindNext"), Entries{kOneCardCarrier},
        QStringList{"VXI0::1::INSTR"}, true);
    row("no resources", QByteArray(R"({"resources": []})"), QByteArray(), Entries(), QStringList(), true);
    // Many resources whose order has cycles (gpib1 < GPIB101 by their
    // boards, GPIB101 < TCPIP0::… < gpib1 by their text) and equals (the
    // GPIB ones of one board), the network ones queried all at once.
    QByteArray many = R"({"resources": [)";
    Entries each;
    QStringList others;
    for (int i = 1; i <= 64; ++i) {
        const QString address = QStringLiteral("192.0.2.%1").arg(i), tcpip = "TCPIP0::" + address + "::INSTR";
        others << QStringLiteral("gpib%1::1::INSTR").arg(i) << QStringLiteral("GPIB10%1::%2::INSTR").arg(i % 8).arg(i);
        each << resourceEntry{others.at(2 * i - 2), {}, {}, {}, {}} << resourceEntry{others.last(), {}, {}, {}, {}}
             << resourceEntry{tcpip, {address + " - 0 LXI"}, {{"FC 1", "7480"}}, {1}, address};
        many += QStringLiteral(R"(%1{"descriptor": "%2"}, {"descriptor": "%3"}, {"descriptor": "%4", "address": "%5",
            "openDelayMs": 5, "carrier": {"slots": [{"id": "0x7480"}]}})")
                    .arg(QLatin1String(i > 1 ? "," : ""), others.at(2 * i - 2), others.last(), tcpip, address)
                    .toUtf8();
    }
    row("many in cycles: each once", many + "]}", QByteArray(), each, others, false);
}

void tst_Search::found()
{
    QFETCH(QByteArray, bench);
    QFETCH(QByteArray, failing);
    QFETCH(QStringList, atOnce);
    QVERIFY(zrtest::loadBench(bench));
    if (!failing.isEmpty())
        simbench_setStatus(failing.constData(), VI_ERROR_SYSTEM_ERROR);
    FakeCard card;
    card.supported << 0x6C6C;
    ViSession rm = 0;
    QCOMPARE(viOpenDefaultRM(&rm), VI_SUCCESS);
    simbench_clearLog();
    traceNames.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("tervix.driver.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepTraceName);
    const std::vector<resourceEntry> found = zr6200fp_search(&card, rm).takeFound();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QFETCH(Entries, entries);
    Entries listed(found.cbegin(), found.cend());
    QFETCH(bool, ordered);
    if (!ordered) {
        const auto byText = [](const resourceEntry &a, const resourceEntry &b) { return a.descriptor < b.descriptor; };
        std::sort(listed.begin(), listed.end(), byText);
        std::sort(entries.begin(), entries.end(), byText);
    }
    QCOMPARE(listed, entries);
    // The others are opened first, on this thread.
    QStringList opened;
    const auto opens = zrtest::calls(QStringLiteral("viOpen"));
    for (const auto &open : opens)
        opened << open.value(QStringLiteral("name")).remove(QLatin1Char('"'));
    QCOMPARE(opened.mid(0, atOnce.size()), atOnce);
    // Every call the bench saw went through the trace, lookups included.
    QStringList logged;
    const QStringList log = zrtest::benchLog();
    for (const QString &line : log)
        logged << line.section(QLatin1Char('('), 0, 0);
    std::sort(logged.begin(), logged.end());
    std::sort(traceNames.begin(), traceNames.end());
    QCOMPARE(traceNames, logged);
    // Every session opened was closed by itself, not only with the manager.
    QCOMPARE(succeeded("viClose"), succeeded("viFindRsrc") + succeeded("viOpen"));
    QCOMPARE(simbench_carrierObjects(), 0);
    viClose(rm);
}

ZR_CORE_TEST_MAIN(tst_Search)
#include "tst_search.moc"
