#pragma once
// The simulated bench as the three stand-ins see it. It lives in the VISA
// stand-in; the driver stand-ins reach it through these functions. Not for
// the panel.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "calllog.h"
#include "visa.h"

namespace simbench {

struct Card
{
    ViUInt16 id = 0; // 0: empty slot
    std::string word252;
    ViUInt32 serial = 0;
    std::string option;
    std::string revision;
};

struct Carrier
{
    ViUInt16 modelId = 0;
    bool interface1 = true;
    std::vector<Card> cards; // slot k is element k - 1; id 0: empty
};

struct Resource
{
    std::string descriptor;
    ViUInt16 intfType = 0;
    std::optional<ViInt16> slot;
    std::optional<std::string> address;
    std::optional<std::string> hostname;
    std::optional<std::string> deviceName;
    int openDelayMs = 0;
    ViStatus openStatus = VI_SUCCESS;
    std::optional<Carrier> carrier;
};

struct Bench
{
    std::string commonLibRevision;
    std::string driverRevision;
    // Never changed once loaded: sessions share them with the bench.
    std::vector<std::shared_ptr<const Resource>> resources;
    // The same resources by normalized descriptor (normalizeDescriptor), so
    // an open costs the same whatever the bench's size.
    std::unordered_map<std::string, std::shared_ptr<const Resource>> byName;
    // Forced when the bench is loaded, as by simbench_setStatus.
    std::map<std::string, ViStatus> statuses;
};

// What the 7480 driver has configured on a card; the defaults are the
// card's state after a reset.
struct CardState
{
    struct Channel
    {
        ViUInt16 filter = 0;
        ViInt16 gain = 0;
        ViUInt16 output = 0;
    };
    Channel channels[2];
    ViInt16 clockSource = 0;
    ViReal64 ddsFrequency = 12.5e6;
    ViUInt16 clockDivider = 4;
    ViUInt16 synchSource = 0;
    ViUInt16 fpClockOutput = 0;
    ViUInt16 mbClockOutput = 0;
    ViInt16 fpSynchMode = 0;
    bool armed = false;
    unsigned pulses[2] = {0, 0}; // front-panel sync pulses per edge
};

// "ch1 filter=0 gain=0 output=0; ch2 ...; clockSource=0 ddsFrequency=12500000 ..."
std::string describe(const CardState &state);

enum class SessionKind { ResourceManager, FindList, Instrument };

struct Session
{
    SessionKind kind = SessionKind::ResourceManager;
    ViSession rm = 0; // the resource manager a find list or instrument was opened through
    std::vector<std::string> found;
    std::size_t next = 0;
    // Shared with the bench it was opened on, which may be replaced meanwhile.
    std::shared_ptr<const Resource> resource;
    ViUInt16 fcNumber = 0; // non-zero: opened by the instrument driver for this slot
};

// Everything here is guarded by mutex(), but for anyForced, which may be
// read without it.
struct World
{
    World() = default;
    World(const World &) = delete;
    World &operator=(const World &) = delete;

    Bench bench;
    std::unordered_map<ViSession, Session> sessions;
    ViSession lastSession = 0;
    std::map<std::string, CardState> cards;
    std::map<std::string, ViStatus, std::less<>> forced;
    // Set while forced is not empty: most calls then need no lock to learn
    // that nothing is forced.
    std::atomic<bool> anyForced{false};
    std::string lastError;
    std::unordered_set<const void *> carriers; // carrier objects of the common driver not yet released
};

std::mutex &mutex();
World &world();
// Caller holds mutex(). The bench of ZR_SIMBENCH_FILE or the built-in one,
// and the log file of ZR_SIMBENCH_LOG.
void loadStartBench(World &w);
// Caller holds mutex(). Makes bench the world's and forces its statuses.
void useBench(World &w, Bench bench);

// Time spent inside logged calls, summed over all threads, without the
// resources' open delays; the number of those calls; and the open delays
// as slept (a sleeping thread wakes a little late).
struct CallTime
{
    std::atomic<std::uint64_t> nanoseconds{0};
    std::atomic<std::uint64_t> calls{0};
    std::atomic<std::uint64_t> delayNanoseconds{0};
};
CallTime &callTime();
// Adds what the calling thread has slept on purpose (an open delay), which
// the call time leaves out.
void addDelay(std::chrono::steady_clock::duration slept);

template <typename F> auto locked(F &&f)
{
    std::lock_guard<std::mutex> guard(mutex());
    return f(world());
}

// The bench file format (docs/simbench.md). False leaves bench alone and sets error.
bool parseBench(const std::string &json, Bench *bench, std::string *error);
bool loadBenchFile(const char *path, Bench *bench, std::string *error);
const char *defaultBenchJson();

// A resource descriptor in the form the bench compares (upper case, board
// number and resource class filled in) and its interface type. False when
// the text is not a VISA resource descriptor.
bool normalizeDescriptor(const std::string &name, std::string *normalized, ViUInt16 *intfType);
// The interface type of an interface name as VISA spells it ("GPIB-VXI").
bool interfaceByName(const std::string &name, ViUInt16 *intfType);

// VISA operations without logging or forced statuses, for the driver stand-ins.
ViStatus openDefaultRM(ViSession *vi);
ViStatus openResource(ViSession rm, const char *name, ViSession *vi);
ViStatus closeSession(ViObject vi);

// Caller holds mutex(). Null when vi is not an open session of that kind.
Session *findSession(World &w, ViObject vi, SessionKind kind);
ViSession addSession(World &w, Session session);
// Caller holds mutex(). The resource the bench lists under name, or null;
// one hash lookup.
std::shared_ptr<const Resource> findResource(const World &w, const std::string &normalizedName);
// The key of the card in slot fcNumber of a resource: several descriptors of
// one box (same address) reach the same card.
std::string cardKey(const Resource &resource, ViUInt16 fcNumber);

struct StatusText
{
    ViStatus status;
    const char *text;
};
// A library's own text for status, else the text of a VISA status or a
// standard instrument-driver status; null for others.
const char *statusText(const StatusText *own, std::size_t count, ViStatus status);
template <std::size_t N> const char *statusText(const StatusText (&own)[N], ViStatus status)
{
    return statusText(own, N, status);
}
std::string unknownStatusText(ViStatus status);

// Copies at most size - 1 bytes and terminates.
void copyText(char *dst, std::size_t size, const std::string &src);

// One log line: "name(arg=value, ...) -> status". Build the inputs, check
// forced(), then finish with done(status), which logs and returns status.
// The line is formatted in a slot of the call log held for the call,
// normally the one the calling thread used last. The time from construction
// to done() counts as call time.
class Call
{
public:
    explicit Call(const char *name);
    ~Call();
    Call(const Call &) = delete;
    Call &operator=(const Call &) = delete;

    Call &arg(const char *name, long long value);
    Call &hex(const char *name, unsigned long value);
    Call &real(const char *name, double value);
    Call &text(const char *name, const char *value);
    // A buffer the library writes: NULL, the text written, or "-" when nothing was written.
    Call &buffer(const char *name, const char *value, bool written);

    std::optional<ViStatus> forced() const;
    ViStatus done(ViStatus status);
    // The forced status, or operation()'s (which then runs), not yet
    // logged: for a call that logs what the operation wrote first.
    template <typename F> ViStatus forcedOr(F &&operation)
    {
        if (const auto status = forced())
            return *status;
        return operation();
    }
    // The forced status, or operation()'s; logged either way.
    template <typename F> ViStatus run(F &&operation) { return done(forcedOr(operation)); }
    void done(const char *result);

private:
    // Starts the next argument: ", name=".
    void key(const char *name);

    const char *operationName;
    CallLog::Slot &slot;
    std::string &line; // the slot's
    bool hasArgs = false;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::duration delayAtStart;
};

// A library's status-text operation, after its arguments are logged: the
// text for status (statusText(), else unknownStatusText() with
// VI_WARN_UNKNOWN_STATUS) copied into buffer of size bytes, which the line
// shows as name; missing is the status for a null buffer. Finishes the call.
ViStatus writeStatusText(Call &call, const StatusText *own, std::size_t count, ViStatus status, const char *name,
                         char *buffer, std::size_t size, ViStatus missing);
template <std::size_t N>
ViStatus writeStatusText(Call &call, const StatusText (&own)[N], ViStatus status, const char *name, char *buffer,
                         std::size_t size, ViStatus missing)
{
    return writeStatusText(call, own, N, status, name, buffer, size, missing);
}

} // namespace simbench
