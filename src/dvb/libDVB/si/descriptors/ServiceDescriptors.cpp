#include "dvb/libDVB/si/descriptors/ServiceDescriptors.h"

#include "dvb/libDVB/si/DVBText.h"

namespace libDVB {

HRESULT CServiceDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_serviceType = r.U8();
    m_providerName = ReadDVBText(r);
    m_serviceName = ReadDVBText(r);
    return S_OK;
}

HRESULT CCountryAvailabilityDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_availability = static_cast<uint8_t>(r.U8() >> 7);
    while (r.Remaining() >= 3)
        m_countries.push_back(ReadCode(r));
    return S_OK;
}

HRESULT CMultilingualServiceNameDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 0, r)))
        return E_FAIL;
    while (r.Remaining() >= 5) {
        CEntry entry;
        entry.language = ReadCode(r);
        entry.providerName = ReadDVBText(r);
        entry.serviceName = ReadDVBText(r);
        m_entries.push_back(std::move(entry));
    }
    return S_OK;
}

HRESULT CServiceAvailabilityDescriptor::Parse(const uint8_t* data, uint32_t length)
{
    base::CByteReader r;
    if (FAILED(OpenPayload(data, length, 1, r)))
        return E_FAIL;
    m_availability = static_cast<uint8_t>(r.U8() >> 7);
    while (r.Remaining() >= 2)
        m_cellIds.push_back(r.U16());
    return S_OK;
}

} // namespace libDVB
