// Tag 0x06, ISO/IEC 13818-1 2.6.10.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CDataStreamAlignmentDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x06;
    CDataStreamAlignmentDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint8_t GetAlignmentType() const { return m_alignmentType; }

private:
    uint8_t m_alignmentType = 0;
};

} // namespace libDVB
