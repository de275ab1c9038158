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
    std::lock_guard<std::mutex> guard(mutex);
    for (const auto &slot : allSlots) {
        if (!slot->held.exchange(true, std::memory_order_acquire))
            return *slot;
    }
    allSlots.push_back(std::make_unique<Slot>());
    allSlots.back()->held.store(true, std::memory_order_relaxed);
    return *allSlots.back();
}

void CallLog::release(Slot &slot)
{
    slot.held.store(false, std::memory_order_release);
}

void CallLog::append(Slot &slot)
{
    if (toFile.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> file(fileMutex);
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
    const std::uint64_t number = nextNumber.fetch_add(1, std::memory_order_relaxed);
    slot.text.append(slot.line);
    slot.ends.emplace_back(number, slot.text.size());
    unmerged.fetch_add(1, std::memory_order_release);
}

void CallLog::merge() const
{
    if (unmerged.load(std::memory_order_acquire) == 0)
        return;
    // One slot at a time. A line numbered while this runs may be missing
    // from a slot already visited: the lines after such a gap are kept in
    // waiting for a later merge, so the merged lines keep their order.
    std::size_t taken = 0;
    for (const auto &slot : allSlots) {
        std::lock_guard<std::mutex> guard(slot->mutex);
        std::size_t start = 0;
        for (const auto &[number, end] : slot->ends) {
            if (number >= nextToMerge)
                waiting.emplace_back(number, slot->text.substr(start, end - start));
            start = end;
        }
        taken += slot->ends.size();
        slot->text.clear();
        slot->ends.clear();
    }
    unmerged.fetch_sub(taken, std::memory_order_relaxed);
    std::sort(waiting.begin(), waiting.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::size_t merged = 0;
    while (merged < waiting.size() && waiting[merged].first == nextToMerge) {
        const std::string &text = waiting[merged].second;
        char *stored = reserve(text.size());
        std::memcpy(stored, text.data(), text.size());
        lines.emplace_back(stored, text.size());
        ++nextToMerge;
        ++merged;
    }
    waiting.erase(waiting.begin(), waiting.begin() + std::ptrdiff_t(merged));
}

std::size_t CallLog::count() const
{
    std::lock_guard<std::mutex> guard(mutex);
    merge();
    return lines.size();
}

std::string CallLog::line(std::size_t index) const
{
    std::lock_guard<std::mutex> guard(mutex);
    merge();
    return index < lines.size() ? std::string(lines[index]) : std::string();
}

void CallLog::clear()
{
    std::lock_guard<std::mutex> guard(mutex);
    // Merged first, so the slots are emptied under their locks;
    // a line numbered before this and not yet in its buffer is dropped
    // when it comes.
    merge();
    waiting.clear();
    nextToMerge = nextNumber.load(std::memory_order_relaxed);
    lines.clear();
    blocks.clear();
    nextFree = nullptr;
    bytesLeft = 0;
}

void CallLog::setPath(const std::string &path)
{
    std::lock_guard<std::mutex> guard(fileMutex);
    if (logFile) {
        std::fclose(logFile);
        logFile = nullptr;
    }
    filePath = path;
    toFile.store(!filePath.empty(), std::memory_order_release);
}

char *CallLog::reserve(std::size_t size) const
{
    if (size > kBlockSize / 4) {
        // A long line gets a block of its own; the current one stays in use.
        blocks.emplace_back(new char[size]);
        return blocks.back().get();
    }
    if (size > bytesLeft) {
        blocks.emplace_back(new char[kBlockSize]);
        nextFree = blocks.back().get();
        bytesLeft = kBlockSize;
    }
    char *const place = nextFree;
    nextFree += size;
    bytesLeft -= size;
    return place;
}

void CallLog::writeToFile(std::string_view line)
{
    if (!logFile) {
        logFile = std::fopen(filePath.c_str(), "a");
        if (!logFile) {
            std::fprintf(stderr, "simbench: cannot append to %s: %s\n", filePath.c_str(), std::strerror(errno));
            filePath.clear();
            toFile.store(false, std::memory_order_release);
            return;
        }
    }
    std::fwrite(line.data(), 1, line.size(), logFile);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

} // namespace simbench
