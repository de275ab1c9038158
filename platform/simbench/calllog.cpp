#include "calllog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace simbench {

namespace {

// Set when this thread's Owner has ended (the thread is ending): a call
// made after that gets lines of its own, already marked as orphans.
thread_local bool t_ownerGone = false;

} // namespace

CallLog &callLog()
{
    static CallLog *const log = new CallLog;
    return *log;
}

CallLog::Owner::~Owner()
{
    t_ownerGone = true;
    if (lines) {
        std::lock_guard<std::mutex> guard(lines->mutex);
        lines->ownerGone = true;
    }
}

CallLog::ThreadLines &CallLog::threadLines()
{
    thread_local Owner owner;
    if (!t_ownerGone && owner.lines)
        return *owner.lines;
    auto lines = std::make_shared<ThreadLines>();
    lines->ownerGone = t_ownerGone;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_threads.push_back(lines);
    }
    if (t_ownerGone)
        return *lines; // kept alive by the registry until merged
    owner.lines = std::move(lines);
    return *owner.lines;
}

void CallLog::append(std::string_view line)
{
    if (m_toFile.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> file(m_fileMutex);
        appendTo(threadLines(), line);
        writeToFile(line);
        return;
    }
    appendTo(threadLines(), line);
}

void CallLog::appendTo(ThreadLines &mine, std::string_view line)
{
    std::lock_guard<std::mutex> guard(mine.mutex);
    // Numbered and stored in one hold of the lock: a line a merge misses
    // is one being appended right then.
    const std::uint64_t number = m_next.fetch_add(1, std::memory_order_relaxed);
    mine.text.append(line);
    mine.ends.emplace_back(number, mine.text.size());
    m_unmerged.fetch_add(1, std::memory_order_release);
}

void CallLog::merge() const
{
    if (m_unmerged.load(std::memory_order_acquire) == 0)
        return;
    // One thread's buffer at a time. A line numbered while this runs may be
    // missing from a buffer already visited: the lines after such a gap
    // wait in m_held for a later merge, so the merged lines keep their order.
    std::size_t taken = 0;
    for (const auto &t : m_threads) {
        std::lock_guard<std::mutex> guard(t->mutex);
        std::size_t start = 0;
        for (const auto &[number, end] : t->ends) {
            if (number >= m_nextNumber)
                m_held.emplace_back(number, t->text.substr(start, end - start));
            start = end;
        }
        taken += t->ends.size();
        t->text.clear();
        t->ends.clear();
    }
    m_unmerged.fetch_sub(taken, std::memory_order_relaxed);
    std::sort(m_held.begin(), m_held.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::size_t merged = 0;
    while (merged < m_held.size() && m_held[merged].first == m_nextNumber) {
        const std::string &text = m_held[merged].second;
        char *stored = reserve(text.size());
        std::memcpy(stored, text.data(), text.size());
        m_lines.emplace_back(stored, text.size());
        ++m_nextNumber;
        ++merged;
    }
    m_held.erase(m_held.begin(), m_held.begin() + std::ptrdiff_t(merged));
    // Threads that have ended have nothing more to give.
    m_threads.erase(std::remove_if(m_threads.begin(), m_threads.end(),
                                   [](const std::shared_ptr<ThreadLines> &t) {
                                       std::lock_guard<std::mutex> guard(t->mutex);
                                       return t->ownerGone && t->ends.empty();
                                   }),
                    m_threads.end());
}

std::size_t CallLog::count() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    merge();
    return m_lines.size();
}

std::string CallLog::line(std::size_t index) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    merge();
    return index < m_lines.size() ? std::string(m_lines[index]) : std::string();
}

void CallLog::clear()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    // Merged first, so the threads' buffers are emptied under their locks;
    // a line numbered before this and not yet in its buffer is dropped
    // when it comes.
    merge();
    m_held.clear();
    m_nextNumber = m_next.load(std::memory_order_relaxed);
    m_lines.clear();
    m_blocks.clear();
    m_free = nullptr;
    m_left = 0;
}

void CallLog::setPath(const std::string &path)
{
    std::lock_guard<std::mutex> guard(m_fileMutex);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_path = path;
    m_toFile.store(!m_path.empty(), std::memory_order_release);
}

char *CallLog::reserve(std::size_t size) const
{
    if (size > kBlockSize / 4) {
        // A long line gets a block of its own; the current one stays in use.
        m_blocks.emplace_back(new char[size]);
        return m_blocks.back().get();
    }
    if (size > m_left) {
        m_blocks.emplace_back(new char[kBlockSize]);
        m_free = m_blocks.back().get();
        m_left = kBlockSize;
    }
    char *const place = m_free;
    m_free += size;
    m_left -= size;
    return place;
}

void CallLog::writeToFile(std::string_view line)
{
    if (!m_file) {
        m_file = std::fopen(m_path.c_str(), "a");
        if (!m_file) {
            std::fprintf(stderr, "simbench: cannot append to %s: %s\n", m_path.c_str(), std::strerror(errno));
            m_path.clear();
            m_toFile.store(false, std::memory_order_release);
            return;
        }
    }
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fputc('\n', m_file);
    std::fflush(m_file);
}

} // namespace simbench
