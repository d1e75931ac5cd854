#include "brenvo/CVersionEntry.h"

#include <cstdio>
#include <vector>

#include "framework/CTime.h"

namespace {

// The fields between commas, empty ones skipped, each trimmed of white space.
std::vector<CStringA> SplitFields(const CStringA& line)
{
    std::vector<CStringA> fields;
    int start = 0;
    for (CStringA field = line.Tokenize(",", start); start >= 0; field = line.Tokenize(",", start))
        fields.push_back(field.Trim());
    return fields;
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
    std::vector<CStringA> fields = SplitFields(line);
    int32_t id = 0;
    if (fields.empty() || !ReadId(fields[0], id))
        return false;
    fields.resize(4);
    m_versionId = id;
    m_flag = fields[1] == "1";
    m_releaseDate = ReadDate(fields[2]);
    m_text = fields[3];
    return true;
}
