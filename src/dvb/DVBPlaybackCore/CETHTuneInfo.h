// Reception from an IP multicast group: the group address in dotted notation and the UDP port.
#pragma once

#include "dvb/DVBPlaybackCore/CTuneInfo.h"

namespace DVBPlaybackCore {

class CETHTuneInfo : public CTuneInfo {
public:
    // {D2218975-B473-4C2D-9889-4F8A82511D9F}
    static constexpr TuneInfoGuid kTypeGuid = {0x75, 0x89, 0x21, 0xD2, 0x73, 0xB4, 0x2D, 0x4C,
                                               0x98, 0x89, 0x4F, 0x8A, 0x82, 0x51, 0x1D, 0x9F};

    CETHTuneInfo() : CTuneInfo(kTypeGuid) {}

    bool Load(base::CByteReader& file) override;
    void Save(base::CByteWriter& file, uint32_t& counter) const override;
    bool Equals(const CTuneInfo& other) const override;
    std::unique_ptr<CTuneInfo> Clone() const override;

    const std::u16string& GetAddress() const { return m_text; }
    void SetAddress(const std::u16string& address) { m_text = address; }
    uint32_t GetPort() const { return m_number; }
    void SetPort(uint32_t port) { m_number = port; }
};

} // namespace DVBPlaybackCore
