// The channel the viewer starts with when the user has never chosen one.
#pragma once

#include <cstdint>

#include "dvb/DVBPlaybackCore/CServices.h"

namespace plintor {

struct CStartChannel {
    uint32_t key = 0;   // (transport_stream_id << 16) | service_id
    uint32_t index = 0; // the number the viewer shows: favourite + 1, 1000 + TV or 5000 + radio number
};

// The first service of the favourites, else of the TV list, else of the radio list; false when
// there is none or its key is 0.
bool ChooseStartChannel(const DVBPlaybackCore::CServices& services, CStartChannel* out);

} // namespace plintor
