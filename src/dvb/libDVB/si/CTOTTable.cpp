#include "dvb/libDVB/si/CTOTTable.h"

#include "base/Trace.h"
#include "dvb/libDVB/si/Crc32.h"
#include "dvb/libDVB/si/SIReading.h"
#include "dvb/libDVB/si/SITime.h"

namespace libDVB {

HRESULT CTOTTable::CheckHeader(const uint8_t* section, uint32_t length)
{
    m_parsed = 0;
    CShortHeader header;
    if (FAILED(ReadShortHeader(section, length, header)))
        return E_FAIL;
    if (header.sectionLength < 4 || Crc32Mpeg(section, 3 + header.sectionLength) != 0) {
        base::TraceRefused("section", "TOT CRC_32 mismatch");
        return E_FAIL;
    }
    TakeShortHeader(header);
    return S_OK;
}

HRESULT CTOTTable::ParseBody(base::CByteReader& body)
{
    base::CByteReader fields = body.Sub(body.Size() - 4); // the CRC was checked with the header
    const int64_t utcTime = MjdBcdToTime(fields.Take(5));
    CDescriptorList descriptors;
    ReadDescriptorLoop(fields, 4, descriptors);
    m_utcTime = utcTime;
    m_descriptors = std::move(descriptors);
    return S_OK;
}

} // namespace libDVB
