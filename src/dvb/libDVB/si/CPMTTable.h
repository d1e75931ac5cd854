// Program map table (ISO/IEC 13818-1 2.4.4.8), table_id 0x02: the elementary streams of one program.
#pragma once

#include "dvb/libDVB/si/CSILongTable.h"
#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CPMTTable : public CSILongTable {
public:
    struct CElementaryStream {
        uint8_t stream_type = 0;
        uint16_t elementary_PID = 0;
        CDescriptorList descriptors;
    };

    uint16_t GetProgramNumber() const { return static_cast<uint16_t>(m_tableIdExtension); }
    uint16_t GetPcrPid() const { return m_pcrPid; }
    const CDescriptorList& GetProgramDescriptors() const { return m_programDescriptors; }
    const std::vector<CElementaryStream>& GetStreams() const { return m_streams; }

protected:
    // PCR_PID and program_info_length; a program may list no stream at all.
    uint32_t MinimumBody() const override { return 4; }
    HRESULT ParseBody(base::CByteReader& body) override;

private:
    uint16_t m_pcrPid = 0;
    CDescriptorList m_programDescriptors;
    std::vector<CElementaryStream> m_streams;
};

} // namespace libDVB
