#pragma once

#include <cstddef>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace simbench {

// The lines of the calls that entered the libraries, oldest first, from any
// number of threads. Callers format a line in their own thread; append()
// holds the lock only to copy it behind the others in a large block, so a
// line costs no allocation of its own and no caller waits for another's
// formatting.
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
    // Caller holds m_mutex. Room for size bytes that stay where they are.
    char *reserve(std::size_t size);
    void writeToFile(std::string_view line);

    static constexpr std::size_t kBlockSize = std::size_t(64) * 1024;

    mutable std::mutex m_mutex;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_free = nullptr;
    std::size_t m_left = 0;
    std::deque<std::string_view> m_lines; // into m_blocks
    std::string m_path;
    std::FILE *m_file = nullptr;
};

// The one log of the process; never destroyed, so a call during the exit
// still finds it.
CallLog &callLog();

} // namespace simbench
