// Resource search figures: N network resources whose opens each take a set
// delay, found by the real search (parallel, at most 128 opens at a time),
// against the ideal ceil(N / 128) * delay and against querying the same
// resources one by one. "Outside delays" is the one-by-one time not spent in
// the open delays: the cost of the libraries (here the simulated bench, whose
// calls are serialised) that parallel opening cannot hide.
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <vector>

#include "core/zr6200fp_resourceCollection.h"
#include "fc/zr6200fp_fcSelect.h"
#include "simbench.h"
#include "zr7480_fc.h"

namespace {

constexpr int kMaxParallel = 128;

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

qint64 searchInParallel(zr6200fp_genFC *card)
{
    zr6200fp_fcSelect dialog(card, 0);
    QElapsedTimer timer;
    timer.start();
    dialog.searchCards();
    return timer.elapsed();
}

// The same work as the search's workers, in turn on this thread.
qint64 searchOneByOne(zr6200fp_genFC *card, int resources)
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
    QElapsedTimer timer;
    timer.start();
    for (getResourceInfo_params_t &record : records)
        getResourceInfo(&record);
    const qint64 elapsed = timer.elapsed();
    viClose(rm);
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zr7480_fc card;

    // Delays chosen so that the one-by-one runs together stay near 35 s.
    const Case cases[] = {{100, 50}, {1000, 10}, {5000, 4}};
    std::printf("%9s %9s %12s %10s %13s %17s %9s %9s\n", "resources", "delay ms", "parallel ms", "ideal ms",
                "one by one ms", "outside delays ms", "speed-up", "vs ideal");
    for (const Case &c : cases) {
        if (!loadBench(c.resources, c.delayMs))
            return 1;
        const qint64 parallel = searchInParallel(&card);
        simbench_clearLog();
        const qint64 serial = searchOneByOne(&card, c.resources);
        simbench_clearLog();
        const qint64 ideal = qint64((c.resources + kMaxParallel - 1) / kMaxParallel) * c.delayMs;
        const qint64 outside = serial - qint64(c.resources) * c.delayMs;
        std::printf("%9d %9d %12lld %10lld %13lld %17lld %8.1fx %8.2fx\n", c.resources, c.delayMs, parallel, ideal,
                    serial, outside, double(serial) / double(qMax<qint64>(parallel, 1)),
                    double(parallel) / double(qMax<qint64>(ideal, 1)));
        std::fflush(stdout);
        if (simbench_openSessions() != 0) {
            std::fprintf(stderr, "sessions left open: %d\n", simbench_openSessions());
            return 1;
        }
    }
    return 0;
}
