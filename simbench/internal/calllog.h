#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace simbench {

// The lines of the calls that entered the libraries, oldest first, from any
// number of threads. A call formats its line in a slot of the log and
// appends it there, numbered from one counter shared by all; reading merges
// the slots' lines in that order, one slot at a time. So a call waits for no
// other thread's call, however many run at once; only while a log file is
// written do calls take one lock, to keep the file in the same order.
//
// The slots belong to the log, not to the threads: a thread finds the one it
// used last through a thread-local plain pointer, and a thread without one
// (new, or its slot in use) takes an idle slot or adds one. Nothing happens
// when a thread ends, so nothing depends on the destructors of thread-local
// objects, which MinGW-w64's runtime runs after freeing the thread's storage
// when they live in a DLL. There are never more slots than calls that were
// once in progress at the same time.
class CallLog final
{
public:
    CallLog(const CallLog &) = delete;
    CallLog &operator=(const CallLog &) = delete;

    struct Slot
    {
        std::atomic<bool> held{false};
        std::string line; // of the call that holds the slot
        // Lines appended from this slot and not yet merged: their text back
        // to back, and where each ends with its number.
        std::mutex mutex;
        std::string text;
        std::vector<std::pair<std::uint64_t, std::size_t>> ends;
    };
    // A slot for one call, held until release(): the one this thread used
    // last when it is idle.
    Slot &claim();
    void release(Slot &slot);
    // Logs the slot's line.
    void append(Slot &slot);

    std::size_t count() const;
    // Empty past the end.
    std::string line(std::size_t index) const;
    void clear();
    // Every later line also goes to this file, appended and flushed as it
    // comes; empty: no file. A file that cannot be opened is reported once on
    // stderr and forgotten.
    void setPath(const std::string &path);

private:
    CallLog() = default;
    friend CallLog &callLog();

    Slot &idleSlot();
    void appendTo(Slot &slot);
    // Caller holds mutex.
    void merge() const;
    // Caller holds mutex. Room for size bytes that stay where they are.
    char *reserve(std::size_t size) const;
    // Caller holds fileMutex.
    void writeToFile(std::string_view line);

    static constexpr std::size_t kBlockSize = std::size_t(64) * 1024;

    // The slots and the merged lines.
    mutable std::mutex mutex;
    std::vector<std::unique_ptr<Slot>> allSlots;
    mutable std::vector<std::unique_ptr<char[]>> blocks;
    mutable char *nextFree = nullptr;
    mutable std::size_t bytesLeft = 0;
    mutable std::deque<std::string_view> lines; // into blocks
    // Lines taken from the slots that wait for a line numbered before them.
    mutable std::vector<std::pair<std::uint64_t, std::string>> waiting;
    mutable std::uint64_t nextToMerge = 0; // of the next line to merge
    std::atomic<std::uint64_t> nextNumber{0};
    mutable std::atomic<std::size_t> unmerged{0};

    std::atomic<bool> toFile{false};
    std::mutex fileMutex; // the file and its path
    std::string filePath;
    std::FILE *logFile = nullptr;
};

// The one log of the process; never destroyed, so a call during the exit
// still finds it.
CallLog &callLog();

} // namespace simbench
