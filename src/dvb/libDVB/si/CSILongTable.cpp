#include "dvb/libDVB/si/CSILongTable.h"

#include "base/Trace.h"
#include "dvb/libDVB/si/Crc32.h"

namespace libDVB {

namespace {

constexpr uint32_t kLongHeaderAndCrc = 12; // 8 header bytes and the CRC_32

} // namespace

HRESULT CSILongTable::CheckHeader(const uint8_t* section, uint32_t length)
{
    m_parsed = 0;
    CShortHeader header;
    if (FAILED(ReadShortHeader(section, length, header)))
        return E_FAIL;
    // Judged by section_length, not by the bytes handed in: the CRC covers exactly the section.
    const uint32_t total = 3 + header.sectionLength;
    if (total < kLongHeaderAndCrc) {
        base::TraceRefused("section", "too short for the long header and CRC_32");
        return E_FAIL;
    }
    if (Crc32Mpeg(section, total) != 0) {
        base::TraceRefused("section", "CRC_32 mismatch");
        return E_FAIL;
    }
    base::CByteReader r(section + 3, 5);
    const uint32_t extension = r.U16();
    r.SkipBits(2);
    const uint8_t version = static_cast<uint8_t>(r.Bits(5));
    const uint8_t currentNext = static_cast<uint8_t>(r.Bits(1));
    const uint8_t number = r.U8();
    const uint8_t lastNumber = r.U8();
    if (number > lastNumber) {
        base::TraceRefused("section", "section_number past last_section_number");
        return E_FAIL;
    }
    if (currentNext == 0) {
        base::TraceRefused("section", "not yet applicable (current_next_indicator 0)");
        return E_FAIL;
    }
    TakeShortHeader(header);
    m_tableIdExtension = extension;
    m_versionNumber = version;
    m_currentNextIndicator = currentNext;
    m_sectionNumber = number;
    m_lastSectionNumber = lastNumber;
    return S_OK;
}

HRESULT CSILongTable::LocateBody(const uint8_t* section, uint32_t length, base::CByteReader& body) const
{
    if (!section || m_sectionLength < kLongHeaderAndCrc - 3 || length < 3 + m_sectionLength)
        return E_FAIL;
    body = base::CByteReader(section + 8, m_sectionLength - 9);
    return S_OK;
}

} // namespace libDVB
