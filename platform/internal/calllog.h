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
// number of threads. Each thread appends to a buffer of its own, numbering
// its lines from one counter shared by all; reading merges the buffers in
// that order, one buffer at a time. So a call waits for no other thread's call, however many run
// at once; only while a log file is written do calls take one lock, to keep
// the file in the same order.
class CallLog final
{
public:
    CallLog() = default;
    CallLog(const CallLog &) = delete;
    CallLog &operator=(const CallLog &) = delete;

    void append(std::string_view line);
    std::size_t count() const;
    // Empty past the end.
    std::string line(std::size_t index) const;
    void clear();
    // Every later line also goes to this file, appended and flushed as it
    // comes; empty: no file. A file that cannot be opened is reported once
    // on stderr and forgotten.
    void setPath(const std::string &path);

private:
    // One thread's lines not yet merged: their text back to back, and
    // where each ends with its number.
    struct ThreadLines
    {
        std::mutex mutex;
        std::string text;
        std::vector<std::pair<std::uint64_t, std::size_t>> ends;
        bool ownerGone = false;
    };
    // Ends with its thread and marks its lines as orphans.
    struct Owner
    {
        ~Owner();
        std::shared_ptr<ThreadLines> lines;
    };

    ThreadLines &threadLines();
    void appendTo(ThreadLines &mine, std::string_view line);
    // Caller holds m_mutex.
    void merge() const;
    // Caller holds m_mutex. Room for size bytes that stay where they are.
    char *reserve(std::size_t size) const;
    // Caller holds m_fileMutex.
    void writeToFile(std::string_view line);

    static constexpr std::size_t kBlockSize = std::size_t(64) * 1024;

    // The registry of threads and the merged lines.
    mutable std::mutex m_mutex;
    mutable std::vector<std::shared_ptr<ThreadLines>> m_threads;
    mutable std::vector<std::unique_ptr<char[]>> m_blocks;
    mutable char *m_free = nullptr;
    mutable std::size_t m_left = 0;
    mutable std::deque<std::string_view> m_lines; // into m_blocks
    // Lines taken from the threads that wait for a line numbered before them.
    mutable std::vector<std::pair<std::uint64_t, std::string>> m_held;
    mutable std::uint64_t m_nextNumber = 0; // of the next line to merge
    std::atomic<std::uint64_t> m_next{0};
    mutable std::atomic<std::size_t> m_unmerged{0};

    std::atomic<bool> m_toFile{false};
    std::mutex m_fileMutex; // the file and its path
    std::string m_path;
    std::FILE *m_file = nullptr;
};

// The one log of the process; never destroyed, so a call during the exit
// still finds it.
CallLog &callLog();

} // namespace simbench
