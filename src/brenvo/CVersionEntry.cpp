#include "brenvo/CVersionEntry.h"

#include <cstdio>
#include <vector>

#include "framework/CTime.h"

namespace {

// The fields between commas, empty ones included, each trimmed of white space.
std::vector<CStringA> SplitFields(const CStringA& line)
{
    std::vector<CStringA> fields;
    int start = 0;
    for (;;) {
        const int comma = line.Find(',', start);
        CStringA field = comma < 0 ? line.Mid(start) : line.Mid(start, comma - start);
        fields.push_back(field.Trim());
        if (comma < 0)
            return fields;
        start = comma + 1;
    }
}

bool ReadId(const CStringA& field, int32_t& id)
{
    if (field.IsEmpty() || field.GetLength() > 10)
        return false;
    int64_t value = 0;
    for (int i = 0; i < field.GetLength(); ++i) {
        const char ch = field.GetString()[i];
        if (ch < '0' || ch > '9')
            return false;
        value = value * 10 + (ch - '0');
    }
    if (value > INT32_MAX)
        return false;
    id = static_cast<int32_t>(value);
    return true;
}

int64_t ReadDate(const CStringA& field)
{
    int year = 0, month = 0, day = 0;
    char rest = 0;
    if (std::sscanf(field, "%d-%d-%d%c", &year, &month, &day, &rest) != 3)
        return 0;
    return CTime(year, month, day, 0, 0, 0, -1).GetTime();
}

} // namespace

bool CVersionEntry::Parse(const CStringA& line)
{
    CStringA text = line;
    const std::vector<CStringA> fields = SplitFields(text.TrimRight());
    int32_t id = 0;
    if (fields.size() != 4 || !ReadId(fields[0], id))
        return false;
    m_versionId = id;
    m_flag = fields[1] == "1";
    m_releaseDate = ReadDate(fields[2]);
    m_text = fields[3];
    return true;
}
