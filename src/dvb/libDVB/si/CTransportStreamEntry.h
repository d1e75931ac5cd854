// One transport stream of the NIT or BAT loop (ETSI EN 300 468 5.2.1, 5.2.2).
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

struct CTransportStreamEntry {
    uint16_t transportStreamId = 0;
    uint16_t originalNetworkId = 0;
    CDescriptorList descriptors;
};

} // namespace libDVB
