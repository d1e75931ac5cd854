// The fixed table of the four network types: what enumeration looks for, and what graph
// building and tuning-space creation create for each.
#pragma once

#include <cstdint>

#include "dvb/libBDA/BDADeclarations.h"

namespace libBDA {

enum : uint32_t {
    kNetworkDVBT = 1,
    kNetworkDVBC = 2,
    kNetworkDVBS = 3,
    kNetworkATSC = 4,
};

struct BDANetworkType {
    uint32_t type;
    const wchar_t* name;            // friendly and unique name of the tuning space
    const GUID* demodulator;        // topology node searched at enumeration
    const GUID* networkProvider;    // class of the provider filter
    const GUID* tuningSpace;        // class of the tuning space
    int systemType;                 // IDVBTuningSpace system type; -1: none
    const GUID* locator;            // class of the locator
    const GUID* networkType;        // network type of the tuning space
};

// The entry of a type 1..4; null for anything else.
const BDANetworkType* FindBDANetworkType(uint32_t type);

// Enumeration tests the demodulators in this order of types.
static const uint32_t kEnumerationOrder[4] = {kNetworkDVBT, kNetworkDVBS, kNetworkDVBC, kNetworkATSC};

} // namespace libBDA
