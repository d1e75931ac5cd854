// One multicast session announced over SAP (RFC 2974) and described in SDP (RFC 4566).
#pragma once

#include <cstdint>
#include <string>

namespace libDVB_EthernetDevice {

struct CNetworkAnnouncement {
    std::u16string name;      // s=
    std::u16string groupName; // a=x-plgroup:
    uint32_t address = 0;     // c=, first octet in the most significant byte
    uint16_t port = 0;        // m=
    uint32_t lastHeard = 0;   // tick count (ms) of the last message
    uint64_t start = 0;       // t= start, seconds since 1970
    uint64_t stop = 0;        // t= stop, seconds since 1970; 0 = open-ended
    uint32_t id = 0;          // the SAP message identifier hash that keys it
};

} // namespace libDVB_EthernetDevice
