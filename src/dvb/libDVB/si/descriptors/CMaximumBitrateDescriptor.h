// Tag 0x0E, ISO/IEC 13818-1 2.6.26: in units of 50 bytes/s.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CMaximumBitrateDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x0E;
    CMaximumBitrateDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint32_t GetMaximumBitrate() const { return m_maximumBitrate; }

private:
    uint32_t m_maximumBitrate = 0;
};

} // namespace libDVB
