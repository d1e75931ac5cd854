// One transport stream of the NIT or BAT loop (ETSI EN 300 468 5.2.1, 5.2.2).
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

struct CTransportStreamEntry {
    uint16_t transport_stream_id = 0;
    uint16_t original_network_id = 0;
    CDescriptorList descriptors;
};

} // namespace libDVB
