#include "dvb/libDVB/si/CTDTTable.h"

#include "dvb/libDVB/si/SITime.h"

namespace libDVB {

HRESULT CTDTTable::ParseBody(base::CByteReader& body)
{
    m_utcTime = MjdBcdToTime(body.Take(5));
    return S_OK;
}

} // namespace libDVB
