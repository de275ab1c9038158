#include "search/zr6200fp_search.h"

#include <QSet>
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>

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

// The same box under several descriptors is listed once, under the first;
// then the list is ordered.
std::vector<resourceEntry> uniqueInOrder(std::vector<std::atomic<getResourceInfo_params_t *>> &work)
{
    std::vector<resourceEntry> unique;
    unique.reserve(work.size());
    QSet<QString> identities;
    for (std::atomic<getResourceInfo_params_t *> &slot : work) {
        resourceEntry &entry = slot.load(std::memory_order_acquire)->entry;
        if (!entry.identity.isEmpty()) {
            if (identities.contains(entry.identity))
                continue;
            identities.insert(entry.identity);
        }
        unique.push_back(std::move(entry));
    }
    std::stable_sort(unique.begin(), unique.end(), [](const resourceEntry &a, const resourceEntry &b) {
        return descriptorLessThan(a.descriptor, b.descriptor);
    });
    return unique;
}

} // namespace

zr6200fp_search::zr6200fp_search(const zr6200fp_genFC *card, ViSession rm)
{
    std::vector<resourceEntry> entries = enumerate(rm);
    if (entries.empty())
        return;

    // Non-network resources answer at once: query them here; network ones
    // go to the pool.
    records.resize(entries.size());
    work = std::vector<std::atomic<getResourceInfo_params_t *>>(records.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        getResourceInfo_params_t &record = records[i];
        record.card = card;
        record.entry = std::move(entries[i]);
        record.rmSession = rm;
        if (!record.entry.descriptor.toUpper().contains(QLatin1String("TCPIP"))) {
            getResourceInfo(&record);
            record.done = true;
        }
        work[i].store(&record, std::memory_order_release);
    }

    QThreadPool &pool = searchPool();
    pool.setMaxThreadCount(int(std::min<size_t>(work.size(), kMaxPoolThreads)));
    queries = QtConcurrent::map(&pool, work, [](std::atomic<getResourceInfo_params_t *> &slot) {
        getResourceInfo_params_t *const record = slot.load(std::memory_order_acquire);
        getResourceInfo(record);
        slot.store(record, std::memory_order_release);
    });
}

zr6200fp_search::~zr6200fp_search()
{
    queries.waitForFinished();
}

std::vector<resourceEntry> zr6200fp_search::takeFound()
{
    queries.waitForFinished();
    std::vector<resourceEntry> found = uniqueInOrder(work);
    records.clear();
    work.clear();
    return found;
}
