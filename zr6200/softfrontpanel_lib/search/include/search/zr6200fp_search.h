#pragma once

#include <QFuture>
#include <atomic>
#include <cstddef>
#include <vector>

#include "search/zr6200fp_resourceInfo.h"
#include "visa.h"

class zr6200fp_genFC;

// The VISA search behind Auto Find. Made, it has listed VISA's instrument
// resources through rm and queried the others at once; the network ones
// then run in parallel, at most 128 at a time, on a pool of the search's
// own. rm must stay open as long as the search.
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
    // One step per resource.
    QFuture<void> future() const { return queries; }
    // Waits for the future and hands the list over: duplicate network
    // boxes dropped (the first in VISA's order stays), ordered by
    // descriptorLessThan; empty when VISA found nothing or failed.
    std::vector<resourceEntry> takeFound();

private:
    std::vector<getResourceInfo_params_t> records;
    // Each record goes to the pool and comes back through an atomic: the
    // pool's threads outlive a search, and Qt's own hand-offs (its queue and
    // the future's end) happen behind locks ThreadSanitizer cannot see;
    // these it does.
    std::vector<std::atomic<getResourceInfo_params_t *>> work;
    QFuture<void> queries;
};
