#include "dvb/libDVB/si/CSDTTable.h"

#include "dvb/libDVB/si/SIReading.h"

namespace libDVB {

HRESULT CSDTTable::ParseBody(base::CByteReader& body)
{
    const uint16_t originalNetworkId = body.U16();
    body.Skip(1);
    std::vector<CServiceEntry> services;
    while (body.Remaining() >= 5) {
        CServiceEntry entry;
        entry.service_id = body.U16();
        body.SkipBits(6);
        entry.EIT_schedule_flag = static_cast<uint8_t>(body.Bits(1));
        entry.EIT_present_following_flag = static_cast<uint8_t>(body.Bits(1));
        entry.running_status = static_cast<uint8_t>(body.Bits(3));
        entry.free_CA_mode = static_cast<uint8_t>(body.Bits(1));
        ReadDescriptorLoop(body, 0, entry.descriptors);
        services.push_back(std::move(entry));
    }
    m_originalNetworkId = originalNetworkId;
    m_services = std::move(services);
    return S_OK;
}

} // namespace libDVB
