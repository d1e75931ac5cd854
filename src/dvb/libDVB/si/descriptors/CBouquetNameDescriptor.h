// Tag 0x47, ETSI EN 300 468 6.2.4: the name as broadcast (8-bit string of the whole payload).
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CBouquetNameDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTag = 0x47;
    CBouquetNameDescriptor() : CDescriptor(kTag) {}
    HRESULT Parse(const uint8_t* data, uint32_t length) override;

    const std::string& GetName() const { return m_name; }

private:
    std::string m_name;
};

} // namespace libDVB
