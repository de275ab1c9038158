#include "search/zr6200fp_search.h"

#include <QSet>
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>
#include <numeric>

#include "core/zr6200fp_descriptorOrder.h"
#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"

namespace {

constexpr int kMaxPoolThreads = 128;

// A pool of the search's own: the global one also serves the raster
// painter, and filling it would freeze the progress dialog. It is kept from
// one search to the next, because starting and joining up to 128 threads
// costs the GUI thread milliseconds at every search; idle threads end by
// themselves after the pool's expiry time.
QThreadPool &searchPool()
{
    static QThreadPool pool;
    return pool;
}

// The descriptors VISA lists for "?*INSTR", in its order.
std::vector<resourceEntry> enumerate(ViSession rm)
{
    std::vector<resourceEntry> entries;
    ViFindList findList = 0;
    ViUInt32 count = 0;
    char found[VI_FIND_BUFLEN] = {};
    if (ZR_DRIVER_CALL(viFindRsrc, rm, "?*INSTR", &findList, &count, found) != VI_SUCCESS)
        return entries;
    if (count != 0) {
        // The count comes from the library: do not trust it with memory.
        entries.reserve(std::min<ViUInt32>(count, 1u << 16));
        ViStatus findStatus = VI_SUCCESS;
        do {
            entries.emplace_back();
            entries.back().descriptor = zr6200fp_driverText::fromBuffer(found);
            --count;
            findStatus = ZR_DRIVER_CALL(viFindNext, findList, found);
        } while (findStatus == VI_SUCCESS && count != 0);
    }
    ZR_DRIVER_CALL(viClose, findList);
    return entries;
}

// Indexes of the descriptors in descriptorLessThan's order.
std::vector<size_t> orderOf(const std::vector<QString> &descriptors)
{
    std::vector<size_t> order(descriptors.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return descriptorLessThan(descriptors[a], descriptors[b]); });
    return order;
}

// The same box under several descriptors is listed once, under the first
// in VISA's order; the entries kept go into the list in the given order.
std::vector<resourceEntry> uniqueInOrder(std::vector<std::atomic<getResourceInfo_params_t *>> &work,
                                         const std::vector<size_t> &order)
{
    std::vector<bool> kept(work.size(), true);
    QSet<QString> identities;
    for (size_t i = 0; i < work.size(); ++i) {
        const QString &identity = work[i].load(std::memory_order_acquire)->entry.identity;
        if (!identity.isEmpty()) {
            kept[i] = !identities.contains(identity);
            identities.insert(identity);
        }
    }
    std::vector<resourceEntry> unique;
    unique.reserve(work.size());
    for (const size_t i : order) {
        if (kept[i])
            unique.push_back(std::move(work[i].load(std::memory_order_acquire)->entry));
    }
    return unique;
}

} // namespace

zr6200fp_search::zr6200fp_search(const zr6200fp_genFC *card, ViSession rm)
{
    std::vector<resourceEntry> entries = enumerate(rm);
    if (entries.empty())
        return;

    // Non-network resources answer at once: query them here; network ones
    // go to the pool. The descriptors are copied for the ordering, since
    // the records change meanwhile.
    records.resize(entries.size());
    descriptors.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        getResourceInfo_params_t &record = records[i];
        record.card = card;
        record.entry = std::move(entries[i]);
        record.rmSession = rm;
        descriptors.push_back(record.entry.descriptor);
        if (!record.entry.descriptor.toUpper().contains(QLatin1String("TCPIP"))) {
            getResourceInfo(&record);
            record.done = true;
        }
    }
    running.store(records.size(), std::memory_order_relaxed);
    work = std::vector<std::atomic<getResourceInfo_params_t *>>(records.size());
    for (size_t i = 0; i < records.size(); ++i)
        work[i].store(&records[i], std::memory_order_release);

    // Thousands of entries take the ordering tens of milliseconds, which
    // the GUI thread must not spend, nor the search wait for: the query of
    // the first resource, among the first to start, orders the descriptors
    // while the others wait for their resources, and the last query to end
    // drops the duplicates and lays the list out in that order.
    QThreadPool &pool = searchPool();
    pool.setMaxThreadCount(int(std::min<size_t>(work.size(), kMaxPoolThreads)));
    queries = QtConcurrent::map(&pool, work, [this](std::atomic<getResourceInfo_params_t *> &slot) {
        getResourceInfo_params_t *const record = slot.load(std::memory_order_acquire);
        if (record == &records.front())
            order = orderOf(descriptors);
        getResourceInfo(record);
        if (running.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            ordered = uniqueInOrder(work, order);
            found.store(&ordered, std::memory_order_release);
        }
    });
}

zr6200fp_search::~zr6200fp_search()
{
    queries.waitForFinished();
}

std::vector<resourceEntry> zr6200fp_search::takeFound()
{
    queries.waitForFinished();
    std::vector<resourceEntry> *const list = found.exchange(nullptr, std::memory_order_acquire);
    return list ? std::move(*list) : std::vector<resourceEntry>();
}
