#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

HRESULT CDescriptor::OpenPayload(const uint8_t* data, uint32_t length, uint32_t minimum, base::CByteReader& payload)
{
    if (!data || length < 2)
        return E_FAIL;
    const uint8_t declared = data[1];
    if (declared > length - 2 || declared < minimum)
        return E_FAIL;
    m_tag = data[0];
    m_length = declared;
    payload = base::CByteReader(data + 2, declared);
    return S_OK;
}

HRESULT CDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader payload;
    return OpenPayload(data, length, 0, payload);
}

CLanguageCode CDescriptor::ReadCode(base::CByteReader& reader)
{
    CLanguageCode code{};
    for (char& c : code)
        c = static_cast<char>(reader.U8());
    return code;
}

std::string CDescriptor::ReadString(base::CByteReader& reader)
{
    const size_t n = reader.Remaining();
    const uint8_t* bytes = reader.Take(n);
    return n ? std::string(reinterpret_cast<const char*>(bytes), n) : std::string();
}

} // namespace libDVB
