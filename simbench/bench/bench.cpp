#include "bench.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace simbench {

namespace {

std::string envValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

struct InterfaceName
{
    const char *prefix;
    ViUInt16 type;
};
// Longest first: "GPIB-VXI" must win over "GPIB".
constexpr InterfaceName kInterfaces[] = {
    {"GPIB-VXI", VI_INTF_GPIB_VXI}, {"TCPIP", VI_INTF_TCPIP}, {"GPIB", VI_INTF_GPIB}, {"ASRL", VI_INTF_ASRL},
    {"VXI", VI_INTF_VXI},           {"PXI", VI_INTF_PXI},     {"USB", VI_INTF_USB}};

constexpr const char *kResourceClasses[] = {"INSTR", "INTFC", "BACKPLANE", "MEMACC", "SERVANT", "SOCKET", "RAW"};

std::vector<std::string> splitDescriptor(const std::string &text)
{
    std::vector<std::string> tokens;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("::", start);
        tokens.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return tokens;
        start = end + 2;
    }
}

constexpr StatusText kStandardTexts[] = {
    {VI_SUCCESS, "Operation completed successfully."},
    {VI_SUCCESS_DEV_NPRESENT, "Session opened successfully, but the device at the specified address is not "
                              "responding."},
    {VI_WARN_NULL_OBJECT, "The specified object reference is uninitialized."},
    {VI_WARN_UNKNOWN_STATUS, "The status code passed to the operation could not be interpreted."},
    {VI_WARN_NSUP_ID_QUERY, "Identification query not supported."},
    {VI_WARN_NSUP_RESET, "Reset not supported."},
    {VI_WARN_NSUP_REV_QUERY, "Instrument revision query not supported."},
    {VI_ERROR_SYSTEM_ERROR, "Unknown system error (miscellaneous error)."},
    {VI_ERROR_INV_OBJECT, "The given session or object reference is invalid."},
    {VI_ERROR_RSRC_LOCKED, "Specified type of lock cannot be obtained, or specified operation cannot be performed, "
                           "because the resource is locked."},
    {VI_ERROR_INV_EXPR, "Invalid expression specified for search."},
    {VI_ERROR_RSRC_NFOUND, "Insufficient location information or the requested device or resource is not present "
                           "in the system."},
    {VI_ERROR_INV_RSRC_NAME, "Invalid resource reference specified. Parsing error."},
    {VI_ERROR_INV_ACC_MODE, "Invalid access mode."},
    {VI_ERROR_TMO, "Timeout expired before operation completed."},
    {VI_ERROR_NSUP_ATTR, "The specified attribute is not defined or supported by the referenced session, event, or "
                         "find list."},
    {VI_ERROR_ALLOC, "Insufficient system resources to perform necessary memory allocation."},
    {VI_ERROR_NSUP_OPER, "The given session or object reference does not support this operation."},
    {VI_ERROR_USER_BUF, "A specified user buffer is not valid or cannot be accessed for the required size."},
    {VI_ERROR_RSRC_BUSY, "The resource is valid, but VISA cannot currently access it."},
    {VI_ERROR_CONN_LOST, "The connection for the given session has been lost."},
    {VI_ERROR_PARAMETER1, "Parameter 1 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER2, "Parameter 2 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER3, "Parameter 3 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER4, "Parameter 4 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER5, "Parameter 5 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER6, "Parameter 6 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER7, "Parameter 7 out of range, or error trying to set it."},
    {VI_ERROR_PARAMETER8, "Parameter 8 out of range, or error trying to set it."},
    {VI_ERROR_FAIL_ID_QUERY, "Instrument identification query failed."},
    {VI_ERROR_INV_RESPONSE, "Error interpreting the instrument response."},
};

// One line per call whatever the texts hold; Latin-1 bytes stay as they are.
void appendQuoted(std::string &out, const char *value)
{
    out += '"';
    const char *run = value;
    for (const char *p = value;; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        const bool plain = c >= 0x20 && c != 0x7F && c != '"' && c != '\\';
        if (plain)
            continue;
        out.append(run, std::size_t(p - run));
        run = p + 1;
        if (c == 0)
            break;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
    }
    out += '"';
}

template <typename T> void appendNumber(std::string &out, T value)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, std::size_t(end - text));
}

// What this thread has slept in open delays, ever.
thread_local std::chrono::steady_clock::duration t_delay{};

} // namespace

std::mutex &mutex()
{
    static std::mutex m;
    return m;
}

// Never destroyed: a call during the process's exit (a pool thread, a
// static object's destructor) still finds the bench. The log file is
// flushed per line, so nothing is lost.
World &world()
{
    static World *const w = [] {
        auto *created = new World;
        loadStartBench(*created);
        return created;
    }();
    return *w;
}

CallTime &callTime()
{
    static CallTime time;
    return time;
}

void addDelay(std::chrono::steady_clock::duration slept)
{
    t_delay += slept;
    callTime().delayNanoseconds.fetch_add(
        std::uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(slept).count()), std::memory_order_relaxed);
}

// The bench of ZR_SIMBENCH_FILE, or the built-in one; a file that does not
// load leaves an empty bench, so a test never runs on the wrong one unnoticed.
void loadStartBench(World &w)
{
    callLog().setPath(envValue("ZR_SIMBENCH_LOG"));
    const std::string file = envValue("ZR_SIMBENCH_FILE");
    Bench bench;
    std::string error;
    if (file.empty()) {
        parseBench(defaultBenchJson(), &bench, &error);
    } else if (!loadBenchFile(file.c_str(), &bench, &error)) {
        std::fprintf(stderr, "simbench: %s\n", error.c_str());
        w.lastError = error;
    }
    useBench(w, std::move(bench));
}

void useBench(World &w, Bench bench)
{
    for (const auto &[operation, status] : bench.statuses) {
        w.forced[operation] = status;
        w.anyForced.store(true, std::memory_order_release);
    }
    w.bench = std::move(bench);
}

bool normalizeDescriptor(const std::string &name, std::string *normalized, ViUInt16 *intfType)
{
    std::string upper;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == ',' || c == '"')
            return false;
        upper += char(std::toupper(u));
    }
    std::vector<std::string> tokens = splitDescriptor(upper);
    for (const std::string &t : tokens) {
        if (t.empty())
            return false;
    }
    if (tokens.size() < 2)
        return false;
    const InterfaceName *intf = nullptr;
    for (const InterfaceName &candidate : kInterfaces) {
        if (tokens[0].compare(0, std::strlen(candidate.prefix), candidate.prefix) == 0) {
            intf = &candidate;
            break;
        }
    }
    if (!intf)
        return false;
    const std::string board = tokens[0].substr(std::strlen(intf->prefix));
    for (const char c : board) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    tokens[0] = std::string(intf->prefix) + (board.empty() ? "0" : board);
    bool hasClass = false;
    for (const char *resourceClass : kResourceClasses)
        hasClass = hasClass || tokens.back() == resourceClass;
    if (!hasClass)
        tokens.push_back("INSTR");
    std::string joined = tokens[0];
    for (std::size_t i = 1; i < tokens.size(); ++i)
        joined += "::" + tokens[i];
    if (normalized)
        *normalized = joined;
    if (intfType)
        *intfType = intf->type;
    return true;
}

bool interfaceByName(const std::string &name, ViUInt16 *intfType)
{
    for (const InterfaceName &intf : kInterfaces) {
        if (name == intf.prefix) {
            *intfType = intf.type;
            return true;
        }
    }
    return false;
}

Session *findSession(World &w, ViObject vi, SessionKind kind)
{
    const auto it = w.sessions.find(vi);
    return it != w.sessions.end() && it->second.kind == kind ? &it->second : nullptr;
}

ViSession addSession(World &w, Session session)
{
    do {
        ++w.lastSession;
    } while (w.lastSession == VI_NULL || w.sessions.count(w.lastSession));
    w.sessions.emplace(w.lastSession, std::move(session));
    return w.lastSession;
}

std::shared_ptr<const Resource> findResource(const World &w, const std::string &normalizedName)
{
    const auto it = w.bench.byName.find(normalizedName);
    return it == w.bench.byName.end() ? nullptr : it->second;
}

std::string cardKey(const Resource &resource, ViUInt16 fcNumber)
{
    std::string box;
    if (resource.address)
        box = "address " + *resource.address;
    else if (!normalizeDescriptor(resource.descriptor, &box, nullptr))
        box = resource.descriptor;
    return box + " slot " + std::to_string(fcNumber);
}

ViStatus openDefaultRM(ViSession *vi)
{
    if (!vi)
        return VI_ERROR_USER_BUF;
    *vi = locked([](World &w) { return addSession(w, Session{}); });
    return VI_SUCCESS;
}

ViStatus openResource(ViSession rm, const char *name, ViSession *vi)
{
    if (!vi)
        return VI_ERROR_USER_BUF;
    *vi = VI_NULL;
    std::string key;
    const bool validName = name && normalizeDescriptor(name, &key, nullptr);
    std::shared_ptr<const Resource> resource;
    const ViStatus found = locked([&](World &w) {
        if (!findSession(w, rm, SessionKind::ResourceManager))
            return VI_ERROR_INV_OBJECT;
        if (!validName)
            return VI_ERROR_INV_RSRC_NAME;
        resource = findResource(w, key);
        return resource ? VI_SUCCESS : VI_ERROR_RSRC_NFOUND;
    });
    if (found != VI_SUCCESS)
        return found;
    // The delay runs without the lock, so slow resources open in parallel.
    if (resource->openDelayMs > 0) {
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(resource->openDelayMs));
        addDelay(std::chrono::steady_clock::now() - start);
    }
    const ViStatus status = resource->openStatus;
    if (status < VI_SUCCESS)
        return status;
    return locked([&](World &w) {
        if (!findSession(w, rm, SessionKind::ResourceManager))
            return VI_ERROR_INV_OBJECT;
        Session session;
        session.kind = SessionKind::Instrument;
        session.rm = rm;
        session.resource = std::move(resource);
        *vi = addSession(w, std::move(session));
        return status;
    });
}

ViStatus closeSession(ViObject vi)
{
    if (vi == VI_NULL)
        return VI_WARN_NULL_OBJECT;
    return locked([vi](World &w) {
        const auto it = w.sessions.find(vi);
        if (it == w.sessions.end())
            return VI_ERROR_INV_OBJECT;
        // Closing a resource manager closes everything opened through it.
        if (it->second.kind == SessionKind::ResourceManager) {
            for (auto child = w.sessions.begin(); child != w.sessions.end();) {
                if (child->second.kind != SessionKind::ResourceManager && child->second.rm == vi)
                    child = w.sessions.erase(child);
                else
                    ++child;
            }
        }
        w.sessions.erase(vi);
        return VI_SUCCESS;
    });
}

const char *statusText(const StatusText *own, std::size_t count, ViStatus status)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (own[i].status == status)
            return own[i].text;
    }
    for (const StatusText &entry : kStandardTexts) {
        if (entry.status == status)
            return entry.text;
    }
    return nullptr;
}

ViStatus writeStatusText(Call &call, const StatusText *own, std::size_t count, ViStatus status, const char *name,
                         char *buffer, std::size_t size, ViStatus missing)
{
    bool written = false;
    const ViStatus result = call.forcedOr([&] {
        if (!buffer)
            return missing;
        const char *text = statusText(own, count, status);
        copyText(buffer, size, text ? text : unknownStatusText(status));
        written = true;
        return text ? VI_SUCCESS : VI_WARN_UNKNOWN_STATUS;
    });
    call.buffer(name, buffer, written);
    return call.done(result);
}

std::string describe(const CardState &state)
{
    char text[512];
    const CardState::Channel &a = state.channels[0];
    const CardState::Channel &b = state.channels[1];
    std::snprintf(text, sizeof text,
                  "ch1 filter=%u gain=%d output=%u; ch2 filter=%u gain=%d output=%u; clockSource=%d "
                  "ddsFrequency=%.10g clockDivider=%u synchSource=%u fpClockOutput=%u mbClockOutput=%u; "
                  "fpSynchMode=%d; armed=%d; pulses falling=%u rising=%u",
                  a.filter, a.gain, a.output, b.filter, b.gain, b.output, state.clockSource, state.ddsFrequency,
                  state.clockDivider, state.synchSource, state.fpClockOutput, state.mbClockOutput, state.fpSynchMode,
                  state.armed ? 1 : 0, state.pulses[0], state.pulses[1]);
    return text;
}

std::string unknownStatusText(ViStatus status)
{
    char text[96];
    std::snprintf(text, sizeof text, "Unknown status code 0x%08" PRIX32 " (%" PRId32 ").", std::uint32_t(status),
                  std::int32_t(status));
    return text;
}

void copyText(char *dst, std::size_t size, const std::string &src)
{
    if (!dst || size == 0)
        return;
    const std::size_t n = std::min(size - 1, src.size());
    std::memcpy(dst, src.data(), n);
    dst[n] = '\0';
}

Call::Call(const char *name)
    : operationName(name)
    , slot(callLog().claim())
    , line(slot.line)
    , start(std::chrono::steady_clock::now())
    , delayAtStart(t_delay)
{
    line.assign(name);
    line += '(';
}

Call::~Call()
{
    callLog().release(slot);
}

void Call::key(const char *name)
{
    if (hasArgs)
        line += ", ";
    hasArgs = true;
    line += name;
    line += '=';
}

Call &Call::arg(const char *name, long long value)
{
    key(name);
    appendNumber(line, value);
    return *this;
}

Call &Call::hex(const char *name, unsigned long value)
{
    key(name);
    char text[32];
    std::snprintf(text, sizeof text, "0x%08lX", value);
    line += text;
    return *this;
}

Call &Call::real(const char *name, double value)
{
    key(name);
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    line += text;
    return *this;
}

Call &Call::text(const char *name, const char *value)
{
    key(name);
    if (value)
        appendQuoted(line, value);
    else
        line += "NULL";
    return *this;
}

Call &Call::buffer(const char *name, const char *value, bool written)
{
    if (value && !written) {
        key(name);
        line += '-';
        return *this;
    }
    return text(name, value);
}

std::optional<ViStatus> Call::forced() const
{
    if (!world().anyForced.load(std::memory_order_acquire))
        return std::nullopt;
    return locked([this](World &w) -> std::optional<ViStatus> {
        const auto it = w.forced.find(operationName);
        if (it == w.forced.end())
            return std::nullopt;
        return it->second;
    });
}

ViStatus Call::done(ViStatus status)
{
    char text[16];
    *std::to_chars(text, text + sizeof text - 1, status).ptr = '\0';
    done(text);
    return status;
}

void Call::done(const char *result)
{
    line += ") -> ";
    line += result;
    callLog().append(slot);
    const auto spent = std::chrono::steady_clock::now() - start - (t_delay - delayAtStart);
    CallTime &time = callTime();
    time.nanoseconds.fetch_add(std::uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count()),
                               std::memory_order_relaxed);
    time.calls.fetch_add(1, std::memory_order_relaxed);
}

} // namespace simbench
