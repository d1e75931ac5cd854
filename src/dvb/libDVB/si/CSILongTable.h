// Base of the tables in the long section form (section_syntax_indicator 1): table_id_extension,
// version, section numbers and a CRC_32 that must hold.
#pragma once

#include "dvb/libDVB/si/CSITable.h"

namespace libDVB {

class CSILongTable : public CSITable {
public:
    // Refuses a section that is shorter than its section_length or than a long header and CRC, whose
    // CRC does not hold, whose section_number lies above last_section_number, or that is not yet
    // applicable (current_next_indicator 0).
    HRESULT CheckHeader(const uint8_t* section, uint32_t length) override;
    // The body lies between the 8 header bytes and the CRC.
    HRESULT LocateBody(const uint8_t* section, uint32_t length, base::CByteReader& body) const override;

protected:
    CSILongTable() = default;
    ~CSILongTable() = default;
};

} // namespace libDVB
