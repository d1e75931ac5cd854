#include "media/filters/mpeg2video/CTimeList.h"

#include <algorithm>

namespace mpeg2videofilter {

void CTimeList::Insert(int64_t time)
{
    m_times.insert(std::lower_bound(m_times.begin(), m_times.end(), time), time);
    if (m_times.size() > kMaxEntries)
        m_times.pop_front();
}

bool CTimeList::PopFront(int64_t* time)
{
    if (m_times.empty())
        return false;
    *time = m_times.front();
    m_times.pop_front();
    return true;
}

} // namespace mpeg2videofilter
