// The packet path of the playing slot, shared by the channel engine and its benchmark: a video or
// audio packet of the service in the slot goes on to the user interface, a packet of any other
// service (one that stopped playing while its device thread was delivering) is dropped. It runs on
// device and timeshift threads for every packet, so the slot is read once, atomically, without a
// lock.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/Result.h"
#include "dvb/DVBPlaybackCore/CQORService.h"

namespace DVBPlaybackCore {

// `UserInterface` has OnTransportPacket (slot, packet, length).
template <typename UserInterface>
HRESULT RelayPlayingPacket(const std::atomic<CQORService*>& slot, const libDVB::CService* service,
                           UserInterface& ui, const uint8_t* packet, uint32_t length)
{
    if (service != slot.load(std::memory_order_acquire))
        return S_FALSE;
    return ui.OnTransportPacket(0, packet, static_cast<int32_t>(length));
}

} // namespace DVBPlaybackCore
