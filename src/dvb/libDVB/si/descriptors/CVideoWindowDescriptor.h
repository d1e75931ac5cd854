// Tag 0x08, ISO/IEC 13818-1 2.6.14.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CVideoWindowDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x08;
    CVideoWindowDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    uint16_t GetHorizontalOffset() const { return m_horizontalOffset; }
    uint16_t GetVerticalOffset() const { return m_verticalOffset; }
    uint8_t GetWindowPriority() const { return m_windowPriority; }

private:
    uint16_t m_horizontalOffset = 0, m_verticalOffset = 0;
    uint8_t m_windowPriority = 0;
};

} // namespace libDVB
