#include "calllog.h"

#include <cerrno>
#include <cstring>

namespace simbench {

CallLog &callLog()
{
    static CallLog *const log = new CallLog;
    return *log;
}

void CallLog::append(std::string_view line)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    char *stored = reserve(line.size());
    std::memcpy(stored, line.data(), line.size());
    m_lines.emplace_back(stored, line.size());
    if (m_file || !m_path.empty())
        writeToFile(line);
}

std::size_t CallLog::count() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_lines.size();
}

std::string CallLog::line(std::size_t index) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return index < m_lines.size() ? std::string(m_lines[index]) : std::string();
}

void CallLog::clear()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_lines.clear();
    m_blocks.clear();
    m_free = nullptr;
    m_left = 0;
}

void CallLog::setPath(const std::string &path)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_path = path;
}

char *CallLog::reserve(std::size_t size)
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
            return;
        }
    }
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fputc('\n', m_file);
    std::fflush(m_file);
}

} // namespace simbench
