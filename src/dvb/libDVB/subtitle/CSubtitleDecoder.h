// DVB subtitle decoder: gathers the PES packets of a service's subtitle PID and turns each one that
// carries a page composition into a display set (ETSI EN 300 743), queued in arrival order with
// its presentation time until the renderer picks it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "dvb/libDVB/demux/CPesStreamDecoder.h"
#include "dvb/libDVB/subtitle/CSubtitleDisplaySet.h"

namespace libDVB {

class CSubtitleDecoder : public CPesStreamDecoder {
public:
    // Display sets waiting for their time; beyond this the oldest are given up (a clock that never
    // reaches them must not make the queue grow without end).
    static constexpr size_t kQueueLimit = 64;

    CSubtitleDecoder() = default;
    ~CSubtitleDecoder() override;

    // Forgets the queued display sets and the PES being gathered (subtitles switched off).
    void Clear();

    // One 188-byte packet of the subtitle PID: 1 while stopped, else 0.
    HRESULT OnSubtitlePacket(const uint8_t* packet, uint32_t length) { return OnPacket(packet, length); }
    // Decodes one whole PES packet into the queue; E_FAIL for a malformed PES.
    HRESULT DecodePes(const uint8_t* data, uint32_t length);

    // With Lock() held: the newest display set due at `pts` that was not shown yet, marked shown,
    // every set queued before it deleted; null when there is none. The set stays valid until the
    // lock is released.
    const CSubtitleDisplaySet* PickDueDisplaySet(uint64_t pts);
    size_t GetQueuedCount() const;

private:
    void OnPes(const uint8_t* data, uint32_t length) override { DecodePes(data, length); }
    void ForgetDecoded() override { m_queue.clear(); }
    void Queue(std::unique_ptr<CSubtitleDisplaySet> set);

    std::deque<std::unique_ptr<CSubtitleDisplaySet>> m_queue;
};

} // namespace libDVB
