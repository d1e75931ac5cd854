// One line of the update script's version list: "id, flag, year-month-day, text".
#pragma once

#include <cstdint>

#include "framework/CStringA.h"

class CVersionEntry {
public:
    // Reads line: its fields are taken in order between commas, empty ones skipped, each trimmed;
    // fields past the fourth are ignored and missing ones leave the flag false, the date 0 and
    // the text empty. A line whose first field is not a whole number that fits the id is refused
    // (false) and leaves the entry as it was, so that no unset id is ever downloaded. A date that
    // cannot be read gives time 0.
    bool Parse(const CStringA& line);

    int32_t m_versionId = 0;
    bool m_flag = false;       // the second field equals "1"
    int64_t m_releaseDate = 0; // local midnight of the release date
    CStringA m_text;
};
