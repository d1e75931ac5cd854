#include "framework/CTime.h"

#include <ctime>

namespace {

bool LocalFields(int64_t time, std::tm& fields)
{
    const std::time_t t = static_cast<std::time_t>(time);
#ifdef _WIN32
    return localtime_s(&fields, &t) == 0;
#else
    return localtime_r(&t, &fields) != nullptr;
#endif
}

} // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    if (year < 1970 || year > 3000 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return;
    std::tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = dst;
    const std::time_t t = std::mktime(&fields);
    m_time = t == static_cast<std::time_t>(-1) ? 0 : static_cast<int64_t>(t);
}

int CTime::GetYear() const
{
    std::tm fields = {};
    return LocalFields(m_time, fields) ? fields.tm_year + 1900 : 0;
}

int CTime::GetMonth() const
{
    std::tm fields = {};
    return LocalFields(m_time, fields) ? fields.tm_mon + 1 : 0;
}

int CTime::GetDay() const
{
    std::tm fields = {};
    return LocalFields(m_time, fields) ? fields.tm_mday : 0;
}

int CTime::GetHour() const
{
    std::tm fields = {};
    return LocalFields(m_time, fields) ? fields.tm_hour : -1;
}
