// Base of the table objects: the section header (ISO/IEC 13818-1 2.4.4.10, short form), the result
// of the version check and the version records of every key seen. Each table kind parses its body
// on demand, once per section, into fields that stay until the next section of its kind.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "base/ByteReader.h"
#include "base/Result.h"
#include "dvb/libDVB/si/CSIVersionRecord.h"

namespace libDVB {

class CSITable {
public:
    // Version check results.
    static constexpr uint8_t kStateSeen = 0;     // seen in this version, not handled yet
    static constexpr uint8_t kStateNew = 1;      // first sight in this version
    static constexpr uint8_t kStateHandled = 2;  // handled in this version: nothing to do

    CSITable(const CSITable&) = delete;
    CSITable& operator=(const CSITable&) = delete;

    // Checks the header of `section` (length bytes) and takes its fields; clears the parsed flag.
    virtual HRESULT CheckHeader(const uint8_t* section, uint32_t length);
    // A reader over the body of a section that passed the header check.
    virtual HRESULT LocateBody(const uint8_t* section, uint32_t length, base::CByteReader& body) const;

    // Parses the body of the section whose header was checked last: 0 at once when that was done
    // already; E_FAIL for a malformed body, which leaves the table's earlier fields as they were.
    HRESULT Parse(const uint8_t* section, uint32_t length);

    bool IsParsed() const { return m_parsed != 0; }
    uint8_t GetTableId() const { return m_tableId; }
    uint8_t GetSectionSyntaxIndicator() const { return m_sectionSyntaxIndicator; }
    uint32_t GetSectionLength() const { return m_sectionLength; }
    uint32_t GetTableIdExtension() const { return m_tableIdExtension; }
    uint8_t GetVersionNumber() const { return m_versionNumber; }
    uint8_t GetCurrentNextIndicator() const { return m_currentNextIndicator; }
    uint8_t GetSectionNumber() const { return m_sectionNumber; }
    uint8_t GetLastSectionNumber() const { return m_lastSectionNumber; }
    uint8_t GetState() const { return m_state; }
    bool IsHandled() const { return (m_state & kStateHandled) != 0; }
    uint64_t GetKey() const { return m_key; }
    size_t GetVersionRecordCount() const { return m_versions.size(); }

    // The opening of every consumer of a table's section. False, with `result` set, when the
    // consumer has nothing more to do: no table (E_POINTER), a section handled already in its
    // version (S_OK), one that `admit` declines (what it said, before anything is parsed) or a
    // malformed body (E_FAIL). True once the body is parsed.
    template <class Admit>
    static bool OpenSection(CSITable* table, const uint8_t* section, uint32_t length, HRESULT& result, Admit admit);
    static bool OpenSection(CSITable* table, const uint8_t* section, uint32_t length, HRESULT& result)
    {
        return OpenSection(table, section, length, result, [] { return S_OK; });
    }

    // Version bookkeeping, driven by the parser.
    void CheckVersion(uint64_t key);
    void NoteResult(HRESULT result);
    void MarkUnversioned() { m_key = 0, m_record = nullptr, m_state = kStateNew; }
    void ForgetVersions();
    // Forgets one key, so that its next section counts as new whatever its version.
    void ForgetVersion(uint64_t key);

protected:
    CSITable() = default;
    ~CSITable() = default;

    struct CShortHeader {
        uint8_t tableId = 0;
        uint8_t syntax = 0;
        uint32_t sectionLength = 0;
    };
    // Reads table_id, section_syntax_indicator and section_length; E_FAIL when the bytes do not hold
    // the whole section. Nothing is taken until the caller's own checks have passed.
    static HRESULT ReadShortHeader(const uint8_t* section, uint32_t length, CShortHeader& header);
    void TakeShortHeader(const CShortHeader& header);

    // The fewest body bytes the kind needs, and its body parser; both see only a checked section.
    virtual uint32_t MinimumBody() const { return 0; }
    virtual HRESULT ParseBody(base::CByteReader& body) = 0;

    uint8_t m_parsed = 0;
    uint8_t m_tableId = 0;
    uint8_t m_sectionSyntaxIndicator = 0;
    uint32_t m_sectionLength = 0;
    uint32_t m_tableIdExtension = 0;
    uint8_t m_versionNumber = 0;
    uint8_t m_currentNextIndicator = 0;
    uint8_t m_sectionNumber = 0;
    uint8_t m_lastSectionNumber = 0;
    uint8_t m_state = kStateNew;
    uint64_t m_key = 0;
    CSIVersionRecord* m_record = nullptr;
    std::unordered_map<uint64_t, std::unique_ptr<CSIVersionRecord>> m_versions;
};

template <class Admit>
bool CSITable::OpenSection(CSITable* table, const uint8_t* section, uint32_t length, HRESULT& result, Admit admit)
{
    if (!table) {
        result = E_POINTER;
        return false;
    }
    if (table->IsHandled()) {
        result = S_OK;
        return false;
    }
    result = admit();
    if (result != S_OK)
        return false;
    result = table->Parse(section, length);
    return result == S_OK;
}

} // namespace libDVB
