#include "calllog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace simbench {

namespace {

// The slot this thread used last; a plain pointer, so the thread's end
// runs no code of the log's.
thread_local CallLog::Slot *t_slot = nullptr;

} // namespace

CallLog &callLog()
{
    static CallLog *const log = new CallLog;
    return *log;
}

CallLog::Slot &CallLog::claim()
{
    Slot *const last = t_slot;
    if (last && !last->held.exchange(true, std::memory_order_acquire))
        return *last;
    Slot &slot = idleSlot();
    t_slot = &slot;
    return slot;
}

CallLog::Slot &CallLog::idleSlot()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    for (const auto &slot : m_slots) {
        if (!slot->held.exchange(true, std::memory_order_acquire))
            return *slot;
    }
    m_slots.push_back(std::make_unique<Slot>());
    m_slots.back()->held.store(true, std::memory_order_relaxed);
    return *m_slots.back();
}

void CallLog::release(Slot &slot)
{
    slot.held.store(false, std::memory_order_release);
}

void CallLog::append(Slot &slot)
{
    if (m_toFile.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> file(m_fileMutex);
        appendTo(slot);
        writeToFile(slot.line);
        return;
    }
    appendTo(slot);
}

void CallLog::appendTo(Slot &slot)
{
    std::lock_guard<std::mutex> guard(slot.mutex);
    // Numbered and stored in one hold of the lock: a line a merge misses
    // is one being appended right then.
    const std::uint64_t number = m_next.fetch_add(1, std::memory_order_relaxed);
    slot.text.append(slot.line);
    slot.ends.emplace_back(number, slot.text.size());
    m_unmerged.fetch_add(1, std::memory_order_release);
}

void CallLog::merge() const
{
    if (m_unmerged.load(std::memory_order_acquire) == 0)
        return;
    // One slot at a time. A line numbered while this runs may be missing
    // from a slot already visited: the lines after such a gap wait in
    // m_held for a later merge, so the merged lines keep their order.
    std::size_t taken = 0;
    for (const auto &slot : m_slots) {
        std::lock_guard<std::mutex> guard(slot->mutex);
        std::size_t start = 0;
        for (const auto &[number, end] : slot->ends) {
            if (number >= m_nextNumber)
                m_held.emplace_back(number, slot->text.substr(start, end - start));
            start = end;
        }
        taken += slot->ends.size();
        slot->text.clear();
        slot->ends.clear();
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
    // Merged first, so the slots are emptied under their locks;
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
