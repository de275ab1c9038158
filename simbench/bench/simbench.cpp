#include "simbench.h"

#include <cstring>
#include <string>

#include "bench.h"

using simbench::World;

extern "C" {

void simbench_reset(void)
{
    simbench::locked([](World &w) {
        w.sessions.clear();
        w.lastSession = 0;
        w.cards.clear();
        w.forced.clear();
        w.anyForced.store(false, std::memory_order_release);
        simbench::callLog().clear();
        simbench::loadStartBench(w);
    });
    simbench_clearCallTime();
}

static int loaded(bool ok, simbench::Bench &bench, const std::string &error)
{
    return simbench::locked([&](World &w) {
        if (!ok) {
            w.lastError = error;
            return -1;
        }
        simbench::useBench(w, std::move(bench));
        w.cards.clear();
        w.lastError.clear();
        return 0;
    });
}

int simbench_loadFile(const char *path)
{
    simbench::Bench bench;
    std::string error;
    const bool ok = simbench::loadBenchFile(path, &bench, &error);
    return loaded(ok, bench, error);
}

int simbench_loadJson(const char *json)
{
    simbench::Bench bench;
    std::string error = "no JSON given";
    const bool ok = json && simbench::parseBench(json, &bench, &error);
    return loaded(ok, bench, error);
}

const char *simbench_lastError(void)
{
    // The text stays valid until the next load or reset.
    return simbench::locked([](World &w) { return w.lastError.c_str(); });
}

void simbench_setStatus(const char *operation, ViStatus status)
{
    if (!operation)
        return;
    simbench::locked([&](World &w) {
        w.forced[operation] = status;
        w.anyForced.store(true, std::memory_order_release);
    });
}

void simbench_clearStatuses(void)
{
    simbench::locked([](World &w) {
        w.forced.clear();
        w.anyForced.store(false, std::memory_order_release);
    });
}

size_t simbench_logCount(void)
{
    return simbench::callLog().count();
}

size_t simbench_logLine(size_t index, char *buf, size_t size)
{
    const std::string line = simbench::callLog().line(index);
    simbench::copyText(buf, size, line);
    return line.size();
}

void simbench_clearLog(void)
{
    simbench::callLog().clear();
}

unsigned long long simbench_callTimeNs(void)
{
    return simbench::callTime().nanoseconds.load(std::memory_order_relaxed);
}

unsigned long long simbench_callCount(void)
{
    return simbench::callTime().calls.load(std::memory_order_relaxed);
}

unsigned long long simbench_delayTimeNs(void)
{
    return simbench::callTime().delayNanoseconds.load(std::memory_order_relaxed);
}

void simbench_clearCallTime(void)
{
    simbench::CallTime &time = simbench::callTime();
    time.nanoseconds.store(0, std::memory_order_relaxed);
    time.calls.store(0, std::memory_order_relaxed);
    time.delayNanoseconds.store(0, std::memory_order_relaxed);
}

int simbench_openSessions(void)
{
    return simbench::locked([](World &w) { return int(w.sessions.size()); });
}

size_t simbench_cardState(const char *descriptor, unsigned fcNumber, char *buf, size_t size)
{
    const std::string text = simbench::locked([&](World &w) {
        std::string key;
        if (!descriptor || !simbench::normalizeDescriptor(descriptor, &key, nullptr))
            return std::string();
        const std::shared_ptr<const simbench::Resource> r = simbench::findResource(w, key);
        if (!r || !r->carrier || fcNumber < 1 || fcNumber > r->carrier->cards.size() ||
            r->carrier->cards[fcNumber - 1].id == 0)
            return std::string();
        const auto it = w.cards.find(simbench::cardKey(*r, ViUInt16(fcNumber)));
        return simbench::describe(it == w.cards.end() ? simbench::CardState{} : it->second);
    });
    simbench::copyText(buf, size, text);
    return text.size();
}

int simbench_carrierObjects(void)
{
    return simbench::locked([](World &w) { return int(w.carriers.size()); });
}
}
