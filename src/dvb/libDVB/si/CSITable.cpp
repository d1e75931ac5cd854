#include "dvb/libDVB/si/CSITable.h"

#include "base/Trace.h"

namespace libDVB {

HRESULT CSITable::ReadShortHeader(const uint8_t* section, uint32_t length, CShortHeader& header)
{
    if (!section || length < 3) {
        base::TraceRefused("section", "shorter than its header");
        return E_FAIL;
    }
    base::CByteReader r(section, length);
    header.tableId = r.U8();
    header.syntax = static_cast<uint8_t>(r.Bits(1));
    r.SkipBits(3);
    header.sectionLength = r.Bits(12);
    if (r.Remaining() < header.sectionLength) {
        base::TraceRefused("section", "section_length past the data");
        return E_FAIL;
    }
    return S_OK;
}

void CSITable::TakeShortHeader(const CShortHeader& header)
{
    m_tableId = header.tableId;
    m_sectionSyntaxIndicator = header.syntax;
    m_sectionLength = header.sectionLength;
}

HRESULT CSITable::CheckHeader(const uint8_t* section, uint32_t length)
{
    m_parsed = 0;
    CShortHeader header;
    if (FAILED(ReadShortHeader(section, length, header)))
        return E_FAIL;
    TakeShortHeader(header);
    return S_OK;
}

HRESULT CSITable::LocateBody(const uint8_t* section, uint32_t length, base::CByteReader& body) const
{
    if (!section || length < 3 || length - 3 < m_sectionLength)
        return E_FAIL;
    body = base::CByteReader(section + 3, m_sectionLength);
    return S_OK;
}

HRESULT CSITable::Parse(const uint8_t* section, uint32_t length)
{
    if (m_parsed)
        return S_OK;
    base::CByteReader body;
    if (FAILED(LocateBody(section, length, body)) || body.Size() < MinimumBody()) {
        base::TraceRefused("section", "body too short for its table");
        return E_FAIL;
    }
    if (FAILED(ParseBody(body))) {
        base::TraceRefused("section", "malformed body");
        return E_FAIL;
    }
    m_parsed = 1;
    return S_OK;
}

void CSITable::CheckVersion(uint64_t key)
{
    auto& slot = m_versions[key];
    if (!slot)
        slot = std::make_unique<CSIVersionRecord>();
    CSIVersionRecord& record = *slot;
    m_key = key;
    m_record = &record;
    uint8_t& flags = record.sections[m_sectionNumber];
    if (record.version != m_versionNumber) {
        record.version = m_versionNumber;
        std::memset(record.sections, 0, sizeof record.sections);
        flags = CSIVersionRecord::kSeen;
        m_state = kStateNew;
    } else if (flags) {
        m_state = flags & CSIVersionRecord::kHandled;
    } else {
        flags = CSIVersionRecord::kSeen;
        m_state = kStateNew;
    }
}

void CSITable::NoteResult(HRESULT result)
{
    if (!m_record)
        return;
    uint8_t& flags = m_record->sections[m_sectionNumber];
    if (result == S_OK)
        flags |= CSIVersionRecord::kHandled;
    else if (FAILED(result))
        flags = 0;
}

void CSITable::ForgetVersion(uint64_t key)
{
    auto found = m_versions.find(key);
    if (found == m_versions.end())
        return;
    if (m_record == found->second.get())
        m_record = nullptr;
    m_versions.erase(found);
}

void CSITable::ForgetVersions()
{
    m_record = nullptr;
    m_key = 0;
    m_versions.clear();
}

} // namespace libDVB
