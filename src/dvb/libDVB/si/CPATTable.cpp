#include "dvb/libDVB/si/CPATTable.h"

namespace libDVB {

HRESULT CPATTable::ParseBody(base::CByteReader& body)
{
    uint16_t networkPid = 0;
    std::map<uint16_t, uint16_t> programs;
    while (body.Remaining() >= 4) {
        const uint16_t program = body.U16();
        body.SkipBits(3);
        const uint16_t pid = static_cast<uint16_t>(body.Bits(13));
        if (program == 0)
            networkPid = pid;
        else
            programs[program] = pid;
    }
    m_networkPid = networkPid;
    m_programs = std::move(programs);
    return S_OK;
}

} // namespace libDVB
