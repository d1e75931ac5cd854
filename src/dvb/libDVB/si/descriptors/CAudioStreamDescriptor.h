// Tag 0x03, ISO/IEC 13818-1 2.6.4.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CAudioStreamDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x03;
    CAudioStreamDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetFreeFormatFlag() const { return m_freeFormat; }
    uint8_t GetId() const { return m_id; }
    uint8_t GetLayer() const { return m_layer; }
    uint8_t GetVariableRateAudioIndicator() const { return m_variableRate; }

private:
    uint8_t m_freeFormat = 0, m_id = 0, m_layer = 0, m_variableRate = 0;
};

} // namespace libDVB
