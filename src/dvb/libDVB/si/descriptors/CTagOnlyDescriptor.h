// Tags 0x68 (DSNG), 0x69 (PDC) and 0x6A (AC-3), ETSI EN 300 468 6.2: tag and length only.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

class CTagOnlyDescriptor : public CDescriptor {
public:
    static constexpr uint8_t kTagDSNG = 0x68;
    static constexpr uint8_t kTagPDC = 0x69;
    static constexpr uint8_t kTagAC3 = 0x6A;
    explicit CTagOnlyDescriptor(uint8_t tag) : CDescriptor(tag) {}
};

} // namespace libDVB
