#include "base/TraceCapture.h"

namespace base {

void CTraceCapture::OnRefused(const char* what, const char* why)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_lines.push_back(std::string(what) + ": " + why);
}

std::vector<std::string> CTraceCapture::Lines() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_lines;
}

bool CTraceCapture::Has(const std::string& what, const std::string& why) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    const std::string prefix = what + ": ";
    for (const std::string& line : m_lines)
        if (line.compare(0, prefix.size(), prefix) == 0 && line.find(why, prefix.size()) != std::string::npos)
            return true;
    return false;
}

void CTraceCapture::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_lines.clear();
}

} // namespace base
