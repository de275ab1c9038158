#pragma once

#include <QFuture>
#include <QString>
#include <atomic>
#include <cstddef>
#include <vector>

#include "search/zr6200fp_resourceInfo.h"
#include "visa.h"

class zr6200fp_genFC;

// The VISA search behind Auto Find. Made, it has listed VISA's instrument
// resources through rm and queried the others at once; the network ones
// then run in parallel, at most 128 at a time, on a pool of the search's
// own. The last query to end drops duplicate network boxes (the first in
// VISA's order stays) and orders the list by descriptorLessThan, there in
// the pool, in the order the first resource's query worked out while the
// others waited for their resources: the calling thread only takes the
// finished list. rm must stay open as long as the search.
class zr6200fp_search final
{
public:
    zr6200fp_search(const zr6200fp_genFC *card, ViSession rm);
    // Waits for the pool.
    ~zr6200fp_search();
    zr6200fp_search(const zr6200fp_search &) = delete;
    zr6200fp_search &operator=(const zr6200fp_search &) = delete;

    // The resources VISA listed; 0 when it found none or failed.
    std::size_t resourceCount() const { return records.size(); }
    // One step per resource; finished once the list is ordered.
    QFuture<void> future() const { return queries; }
    // Waits for the future and hands the list over; empty when VISA found
    // nothing or failed.
    std::vector<resourceEntry> takeFound();

private:
    std::vector<getResourceInfo_params_t> records;
    std::vector<QString> descriptors;
    // Each record goes to the pool through an atomic (with all that was set
    // before it), and the records come back through the count of queries
    // still running, the list through one more: the pool's threads outlive
    // a search, and Qt's own hand-offs (its queue and the future's end)
    // happen behind locks ThreadSanitizer cannot see; these it does.
    std::vector<std::atomic<getResourceInfo_params_t *>> work;
    std::atomic<std::size_t> running{0};
    std::vector<std::size_t> order;
    std::vector<resourceEntry> ordered;
    std::atomic<std::vector<resourceEntry> *> found{nullptr};
    QFuture<void> queries;
};
