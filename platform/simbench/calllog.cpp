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
    // Numbered under the thread's own lock: a merge, which holds every
    // thread's lock, never sees a number whose line is still missing.
    const std::uint64_t number = m_next.fetch_add(1, std::memory_order_relaxed);
    mine.text.append(line);
    mine.ends.emplace_back(number, mine.text.size());
    m_unmerged.fetch_add(1, std::memory_order_release);
}

void CallLog::merge() const
{
    if (m_unmerged.load(std::memory_order_acquire) == 0)
        return;
    struct Piece
    {
        std::uint64_t number;
        std::string_view text;
    };
    std::vector<Piece> pieces;
    std::vector<bool> gone(m_threads.size());
    {
        std::vector<std::unique_lock<std::mutex>> locks;
        locks.reserve(m_threads.size());
        for (const auto &t : m_threads)
            locks.emplace_back(t->mutex);
        for (std::size_t i = 0; i < m_threads.size(); ++i) {
            const ThreadLines &t = *m_threads[i];
            std::size_t start = 0;
            for (const auto &[number, end] : t.ends) {
                pieces.push_back({number, std::string_view(t.text).substr(start, end - start)});
                start = end;
            }
            gone[i] = t.ownerGone;
        }
        std::sort(pieces.begin(), pieces.end(), [](const Piece &a, const Piece &b) { return a.number < b.number; });
        for (const Piece &piece : pieces) {
            char *stored = reserve(piece.text.size());
            std::memcpy(stored, piece.text.data(), piece.text.size());
            m_lines.emplace_back(stored, piece.text.size());
        }
        for (const auto &t : m_threads) {
            t->text.clear();
            t->ends.clear();
        }
        m_unmerged.fetch_sub(pieces.size(), std::memory_order_relaxed);
    }
    // The lines of threads that have ended are all merged now.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_threads.size(); ++i) {
        if (!gone[i])
            m_threads[kept++] = std::move(m_threads[i]);
    }
    m_threads.resize(kept);
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
    // Merged first, so the threads' buffers are emptied under their locks.
    merge();
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
