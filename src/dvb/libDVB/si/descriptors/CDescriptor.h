// The base of every descriptor kind (ISO/IEC 13818-1 2.6, ETSI EN 300 468 6): tag and length; each
// kind parses its payload and keeps its fields. A descriptor list owns its descriptors, in the
// order of the loop they came from.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "base/Result.h"

namespace libDVB {

// ISO 639-2 language code or ISO 3166 country code: three characters as broadcast.
using CLanguageCode = std::array<char, 3>;

class CDescriptor {
public:
    explicit CDescriptor(uint8_t tag = 0) : m_tag(tag) {}
    virtual ~CDescriptor() = default;
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;

    // `data` starts at the tag and holds `length` bytes. E_FAIL when the descriptor_length runs past
    // them or the payload is shorter than the kind needs.
    virtual HRESULT Parse(const uint8_t* data, uint32_t length);

    uint8_t GetTag() const { return m_tag; }
    uint8_t GetLength() const { return m_length; }

protected:
    // Reads tag and descriptor_length and hands out a reader over exactly the payload.
    HRESULT OpenPayload(const uint8_t* data, uint32_t length, uint32_t minimum, base::CByteReader& payload);
    static CLanguageCode ReadCode(base::CByteReader& reader);
    // The rest of the payload as an 8-bit string, as broadcast.
    static std::string ReadString(base::CByteReader& reader);

    uint8_t m_tag;
    uint8_t m_length = 0;
};

using CDescriptorList = std::vector<std::unique_ptr<CDescriptor>>;

} // namespace libDVB
