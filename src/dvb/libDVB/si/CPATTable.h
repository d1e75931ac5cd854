// Program association table (ISO/IEC 13818-1 2.4.4.3), table_id 0x00.
#pragma once

#include <map>

#include "dvb/libDVB/si/CSILongTable.h"

namespace libDVB {

class CPATTable : public CSILongTable {
public:
    uint16_t GetTransportStreamId() const { return static_cast<uint16_t>(m_tableIdExtension); }
    // The PID of program_number 0, or 0 when the table names none.
    uint16_t GetNetworkPid() const { return m_networkPid; }
    // program_number -> program_map_PID, without program 0.
    const std::map<uint16_t, uint16_t>& GetPrograms() const { return m_programs; }

protected:
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    uint16_t m_networkPid = 0;
    std::map<uint16_t, uint16_t> m_programs;
};

} // namespace libDVB
