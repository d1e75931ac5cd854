#include "dvb/libDVB/si/descriptors/NetworkDescriptors.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

namespace {

std::string WholePayload(base::CByteReader& r)
{
    const size_t n = r.Remaining();
    const uint8_t* bytes = r.Take(n);
    return n ? std::string(reinterpret_cast<const char*>(bytes), n) : std::string();
}

} // namespace

HRESULT CNetworkNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_name = WholePayload(r);
    return S_OK;
}

HRESULT CServiceListDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 3, r)))
        return E_FAIL;
    m_serviceId = r.U16();
    m_serviceType = r.U8();
    return S_OK;
}

HRESULT CBouquetNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    m_name = WholePayload(r);
    return S_OK;
}

HRESULT CMultilingualNetworkNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.language = ReadCode(r);
        entry.name = ReadLengthPrefixedString(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

HRESULT CMultilingualBouquetNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 4) {
        CEntry entry;
        entry.language = ReadCode(r);
        entry.name = ReadDVBText(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

} // namespace libDVB
