// Resource search figures: N network resources whose opens each take a set
// delay, found by the real search (parallel, at most 128 opens at a time)
// from the call to the filled tree, against the ideal ceil(N / 128) * delay
// and against querying the same resources one by one. Each search is run
// SEARCH_BENCHMARK_REPEATS times (default 5): the median and the best are
// printed, since other work on the machine makes single runs noisy.
// SEARCH_BENCHMARK_PARALLEL_ONLY=1 runs the parallel searches only (the first
// and the GUI thread's tables).
//
// The one-by-one time not spent in the open delays splits into the
// simulator's share (the bench reports the time spent inside its calls) and
// the panel's (everything the search does around the calls: texts, records,
// the card object). The same is measured once more with no delays: a thread
// that has slept runs its first microseconds slower (cold caches), so those
// are the costs of the code itself.
//
// During the parallel search a 1 ms timer on the GUI thread gives the
// longest gap between two of its events while the progress dialog shows;
// the time before the dialog shows and after it closes are printed apart,
// as are the one step in which the made items go into the tree and the
// columns are sized (from the items' insertion to the dialog's close) and
// the first show of the filled dialog.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProgressDialog>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fc/zr6200fp_fcSelect.h"
#include "search/zr6200fp_resourceInfo.h"
#include "simbench.h"
#include "zr7480fp/zr7480_fc.h"

namespace {

constexpr int kMaxParallel = 128;
constexpr int kTickMs = 1;

struct Case
{
    int resources;
    int delayMs;
};

bool loadBench(int resources, int delayMs)
{
    // Cards of another kind: nothing is selectable, so no question stops the run.
    const QJsonObject carrier{{"modelId", 1990}, {"slots", QJsonArray{QJsonObject{{"id", "0x1234"}}}}};
    QJsonArray list;
    for (int i = 0; i < resources; ++i) {
        const QString address = QStringLiteral("198.18.%1.%2").arg(i / 250).arg(i % 250 + 1);
        list.append(QJsonObject{{"descriptor", QStringLiteral("TCPIP0::%1::INSTR").arg(address)},
                                {"address", address},
                                {"openDelayMs", delayMs},
                                {"carrier", carrier}});
    }
    const QByteArray json = QJsonDocument(QJsonObject{{"resources", list}}).toJson(QJsonDocument::Compact);
    if (simbench_loadJson(json.constData()) != 0) {
        std::fprintf(stderr, "bench: %s\n", simbench_lastError());
        return false;
    }
    return true;
}

// Notes, on the GUI thread, when the progress dialog shows and closes and
// when the first item goes into the tree.
class SearchClock final : public QObject
{
public:
    explicit SearchClock(QElapsedTimer *clock)
        : elapsed(clock)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (qobject_cast<QProgressDialog *>(watched)) {
            if (event->type() == QEvent::Show && shownNs < 0)
                shownNs = elapsed->nsecsElapsed();
            else if (event->type() == QEvent::Hide && shownNs >= 0 && hiddenNs < 0)
                hiddenNs = elapsed->nsecsElapsed();
        }
        return false;
    }

    qint64 shownNs = -1;
    qint64 hiddenNs = -1;
    qint64 firstItemNs = -1;

private:
    QElapsedTimer *const elapsed;
};

struct SearchRun
{
    double totalMs = 0;
    double beforeDialogMs = 0;
    double longestGapMs = 0; // while the progress dialog shows
    double afterDialogMs = 0;
    double insertMs = 0;   // the items into the tree to the dialog's close
    double showTreeMs = 0; // the filled dialog shown and painted once
};

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

SearchRun searchInParallel(zr6200fp_genFC *card)
{
    zr6200fp_fcSelect dialog(card, 0);
    QTreeWidget *tree = dialog.findChild<QTreeWidget *>();
    QElapsedTimer clock;
    SearchClock marks(&clock);
    qApp->installEventFilter(&marks);
    QObject::connect(tree->model(), &QAbstractItemModel::rowsAboutToBeInserted, &marks, [&] {
        if (marks.firstItemNs < 0)
            marks.firstItemNs = clock.nsecsElapsed();
    });
    std::vector<qint64> ticks;
    ticks.reserve(1 << 16);
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(kTickMs);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ticks.push_back(clock.nsecsElapsed()); });
    ticker.start();

    clock.start();
    dialog.searchCards();
    const qint64 endNs = clock.nsecsElapsed();
    ticker.stop();
    qApp->removeEventFilter(&marks);

    SearchRun run;
    run.totalMs = ms(endNs);
    if (marks.shownNs >= 0 && marks.hiddenNs >= 0) {
        run.beforeDialogMs = ms(marks.shownNs);
        run.afterDialogMs = ms(endNs - marks.hiddenNs);
        qint64 previous = marks.shownNs;
        qint64 longest = 0;
        for (const qint64 t : ticks) {
            if (t <= marks.shownNs || t >= marks.hiddenNs)
                continue;
            longest = std::max(longest, t - previous);
            previous = t;
        }
        longest = std::max(longest, marks.hiddenNs - previous);
        run.longestGapMs = ms(longest);
    }
    if (marks.firstItemNs >= 0 && marks.hiddenNs >= marks.firstItemNs)
        run.insertMs = ms(marks.hiddenNs - marks.firstItemNs);

    QElapsedTimer shown;
    shown.start();
    dialog.show();
    dialog.repaint();
    QApplication::processEvents();
    run.showTreeMs = double(shown.nsecsElapsed()) / 1e6;
    dialog.hide();
    return run;
}

struct SerialRun
{
    double totalMs = 0;
    double benchMs = 0; // inside the simulated libraries
    double sleptMs = 0; // the open delays as slept
    double calls = 0;
};

// The same work as the search's workers, in turn on this thread.
SerialRun searchOneByOne(zr6200fp_genFC *card, int resources)
{
    ViSession rm = 0;
    viOpenDefaultRM(&rm);
    std::vector<getResourceInfo_params_t> records(static_cast<size_t>(resources));
    for (int i = 0; i < resources; ++i) {
        records[size_t(i)].card = card;
        records[size_t(i)].rmSession = rm;
        records[size_t(i)].entry.descriptor =
            QStringLiteral("TCPIP0::198.18.%1.%2::INSTR").arg(i / 250).arg(i % 250 + 1);
    }
    simbench_clearCallTime();
    QElapsedTimer timer;
    timer.start();
    for (getResourceInfo_params_t &record : records)
        getResourceInfo(&record);
    SerialRun run;
    run.totalMs = double(timer.nsecsElapsed()) / 1e6;
    run.benchMs = double(simbench_callTimeNs()) / 1e6;
    run.sleptMs = double(simbench_delayTimeNs()) / 1e6;
    run.calls = double(simbench_callCount());
    viClose(rm);
    return run;
}

template <typename T, typename F> double median(std::vector<T> runs, F &&value)
{
    std::sort(runs.begin(), runs.end(), [&](const T &a, const T &b) { return value(a) < value(b); });
    return value(runs[runs.size() / 2]);
}

template <typename T, typename F> double best(const std::vector<T> &runs, F &&value)
{
    double b = value(runs.front());
    for (const T &r : runs)
        b = std::min(b, value(r));
    return b;
}

template <typename T, typename F> double worst(const std::vector<T> &runs, F &&value)
{
    double w = value(runs.front());
    for (const T &r : runs)
        w = std::max(w, value(r));
    return w;
}

// "median (worst)"
template <typename F> std::string cell(const std::vector<SearchRun> &runs, F &&value)
{
    char text[48];
    std::snprintf(text, sizeof text, "%8.1f (%7.1f)", median(runs, value), worst(runs, value));
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zr7480_fc card;
    // Searches per case; the figures are the median, and the best.
    const int repeats = std::max(1, qEnvironmentVariableIntValue("SEARCH_BENCHMARK_REPEATS") > 0
                                        ? qEnvironmentVariableIntValue("SEARCH_BENCHMARK_REPEATS")
                                        : 5);

    // For quick comparisons: the parallel searches only.
    const bool parallelOnly = qEnvironmentVariableIntValue("SEARCH_BENCHMARK_PARALLEL_ONLY") != 0;

    // Delays chosen so that the one-by-one runs together stay near 35 s.
    const Case cases[] = {{100, 50}, {1000, 10}, {5000, 4}};
    struct Row
    {
        Case c;
        std::vector<SearchRun> parallel;
        SerialRun serial;
        SerialRun hot;
    };
    std::vector<Row> rows;
    for (const Case &c : cases) {
        if (!loadBench(c.resources, c.delayMs))
            return 1;
        Row row{c, {}, {}, {}};
        for (int i = 0; i < repeats; ++i) {
            row.parallel.push_back(searchInParallel(&card));
            simbench_clearLog();
        }
        if (parallelOnly) {
            rows.push_back(std::move(row));
            continue;
        }
        row.serial = searchOneByOne(&card, c.resources);
        simbench_clearLog();
        // The same without delays: what the calls cost when nothing waits
        // in between (a thread that has slept runs its first microseconds
        // slower: cold caches).
        if (!loadBench(c.resources, 0))
            return 1;
        row.hot = searchOneByOne(&card, c.resources);
        simbench_clearLog();
        if (simbench_openSessions() != 0) {
            std::fprintf(stderr, "sessions left open: %d\n", simbench_openSessions());
            return 1;
        }
        rows.push_back(std::move(row));
    }

    const auto total = [](const SearchRun &r) { return r.totalMs; };
    std::printf("search, click to filled tree (median of %d, best in brackets):\n", repeats);
    std::printf("%9s %8s %20s %8s %16s %13s %9s\n", "resources", "delay ms", "parallel ms", "ideal ms", "vs ideal",
                "one by one ms", "speed-up");
    for (const Row &row : rows) {
        const double ideal = double((row.c.resources + kMaxParallel - 1) / kMaxParallel * row.c.delayMs);
        const double med = median(row.parallel, total);
        const double low = best(row.parallel, total);
        std::printf("%9d %8d %9.1f (%7.1f) %8.0f %7.2fx (%5.2fx) %13.0f %8.1fx\n", row.c.resources, row.c.delayMs, med,
                    low, ideal, med / ideal, low / ideal, row.serial.totalMs, row.serial.totalMs / med);
    }

    std::printf("\nGUI thread during the parallel search, ms (median, worst in brackets):\n");
    std::printf("%9s %20s %20s %20s %20s %20s\n", "resources", "before the dialog", "longest gap in it",
                "after it closes", "items into the tree", "show filled tree");
    for (const Row &row : rows) {
        std::printf("%9d %20s %20s %20s %20s %20s\n", row.c.resources,
                    cell(row.parallel, [](const SearchRun &r) { return r.beforeDialogMs; }).c_str(),
                    cell(row.parallel, [](const SearchRun &r) { return r.longestGapMs; }).c_str(),
                    cell(row.parallel, [](const SearchRun &r) { return r.afterDialogMs; }).c_str(),
                    cell(row.parallel, [](const SearchRun &r) { return r.insertMs; }).c_str(),
                    cell(row.parallel, [](const SearchRun &r) { return r.showTreeMs; }).c_str());
    }
    if (parallelOnly) {
        std::fflush(stdout);
        return 0;
    }
    std::printf("\ncost outside the open delays, one by one: in all (total - N x delay), then per resource: "
                "all but the delays as slept, of which simulator and panel; late = how much later than asked a "
                "sleeping open woke up; the same calls with no delays:\n");
    std::printf("%9s %10s %12s %12s %10s %10s %6s | %10s %10s\n", "resources", "in all ms", "per resource", "simulator",
                "panel", "late", "calls", "simulator", "panel");
    for (const Row &row : rows) {
        const double n = double(row.c.resources);
        const double nominal = row.serial.totalMs - n * row.c.delayMs;
        const double outside = row.serial.totalMs - row.serial.sleptMs;
        std::printf("%9d %10.1f %9.1f us %9.1f us %7.1f us %7.1f us %6.1f | %7.2f us %7.2f us\n", row.c.resources,
                    nominal, outside / n * 1e3, row.serial.benchMs / n * 1e3, (outside - row.serial.benchMs) / n * 1e3,
                    (row.serial.sleptMs - n * row.c.delayMs) / n * 1e3, row.serial.calls / n, row.hot.benchMs / n * 1e3,
                    (row.hot.totalMs - row.hot.benchMs) / n * 1e3);
    }
    std::fflush(stdout);
    return 0;
}
