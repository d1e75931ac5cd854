#include "dvb/DVBPlaybackCore/CTask.h"

#include "base/Clock.h"
#include "dvb/DVBPlaybackCore/RecordingCommand.h"

namespace DVBPlaybackCore {

namespace {

// The last second whose local date has a four-digit year, as the scheduler's dates hold.
constexpr int64_t kLastSchedulable = 253402300799; // 9999-12-31 23:59:59

struct LocalTime {
    int64_t year;
    unsigned month, day, hour, minute;
};

bool ToLocalTime(int64_t utc, LocalTime* local)
{
    if (utc < 0 || utc > kLastSchedulable)
        return false;
    const int64_t seconds = utc + base::LocalUtcOffset(utc);
    if (seconds < 0 || seconds > kLastSchedulable)
        return false;
    base::CivilFromDays(seconds / 86400, &local->year, &local->month, &local->day);
    local->hour = static_cast<unsigned>(seconds % 86400 / 3600);
    local->minute = static_cast<unsigned>(seconds % 3600 / 60);
    return true;
}

} // namespace

void CTask::SetWeekDays(bool sunday, bool monday, bool tuesday, bool wednesday, bool thursday, bool friday,
                        bool saturday)
{
    m_weekDays = static_cast<uint16_t>(sunday | monday << 1 | tuesday << 2 | wednesday << 3 | thursday << 4 |
                                       friday << 5 | saturday << 6);
}

void CTask::SetRecording(uint16_t transportStreamId, uint16_t serviceId, int64_t start, int64_t duration,
                         const std::u16string& path, bool closeAfter)
{
    m_parameters = FormatRecordingCommand(transportStreamId, serviceId, duration / 60, closeAfter, path);
    m_transportStreamId = transportStreamId;
    m_serviceId = serviceId;
    m_start = start;
    m_duration = duration;
    m_closeAfter = closeAfter ? 1 : 0;
    m_filePath = path;
}

bool CTask::GetTriggerTimes(CTriggerTimes* times) const
{
    LocalTime begin;
    if (!times || m_duration < 0 || m_duration / 60 > 0xFFFFFFFFll || !ToLocalTime(m_start, &begin))
        return false;
    times->beginYear = static_cast<uint16_t>(begin.year);
    times->beginMonth = static_cast<uint16_t>(begin.month);
    times->beginDay = static_cast<uint16_t>(begin.day);
    times->startHour = static_cast<uint16_t>(begin.hour);
    times->startMinute = static_cast<uint16_t>(begin.minute);
    LocalTime end;
    if (m_start <= kLastSchedulable - m_duration && ToLocalTime(m_start + m_duration, &end)) {
        times->endYear = static_cast<uint16_t>(end.year);
        times->endMonth = static_cast<uint16_t>(end.month);
        times->endDay = static_cast<uint16_t>(end.day);
    } else {
        times->endYear = times->endMonth = times->endDay = 0;
    }
    times->minutesDuration = static_cast<uint32_t>(m_duration / 60);
    return true;
}

HRESULT CTask::CheckRepetition() const
{
    if (m_triggerType == kDaily && m_interval == 0)
        return E_INVALIDARG;
    if (m_triggerType == kWeekly && (m_interval == 0 || (m_weekDays & 0x7F) == 0))
        return E_INVALIDARG;
    return S_OK;
}

} // namespace DVBPlaybackCore
