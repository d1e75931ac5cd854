// One line of the update script's version list: "id, flag, year-month-day, text".
#pragma once

#include <cstdint>

#include "framework/CStringA.h"

class CVersionEntry {
public:
    // Reads line. Empty fields keep their place (a tokenizer that skips them would shift the
    // date into the flag); a line without exactly four fields, or whose first field is not a
    // whole number that fits the id, is refused (false) and leaves the entry as it was, so
    // that no unset id is ever downloaded. A date that cannot be read gives time 0.
    bool Parse(const CStringA& line);

    int32_t m_versionId = 0;
    bool m_flag = false;       // the second field equals "1"
    int64_t m_releaseDate = 0; // local midnight of the release date
    CStringA m_text;
};
