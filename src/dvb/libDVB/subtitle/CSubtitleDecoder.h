// DVB subtitle decoder: gathers the PES packets of a service's subtitle PID and turns each one that
// carries a page composition into a display set (ETSI EN 300 743), queued in arrival order with
// its presentation time until the renderer picks it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "base/Lock.h"
#include "dvb/libDVB/demux/CPesGatherer.h"
#include "base/Result.h"
#include "dvb/libDVB/subtitle/CSubtitleDisplaySet.h"

namespace libDVB {

class CSubtitleDecoder {
public:
    static constexpr uint32_t kBufferSize = CPesGatherer::kCapacity;
    // Display sets waiting for their time; beyond this the oldest are given up (a clock that never
    // reaches them must not make the queue grow without end).
    static constexpr size_t kQueueLimit = 64;

    CSubtitleDecoder() = default;
    ~CSubtitleDecoder();
    CSubtitleDecoder(const CSubtitleDecoder&) = delete;
    CSubtitleDecoder& operator=(const CSubtitleDecoder&) = delete;

    HRESULT Start();
    // 1 when it was not running.
    HRESULT Stop();
    bool IsRunning() const;
    // Forgets the queued display sets and the PES being gathered (subtitles switched off).
    void Clear();

    // One 188-byte packet of the subtitle PID: 1 while stopped, else 0.
    HRESULT OnSubtitlePacket(const uint8_t* packet, uint32_t length);
    // Decodes one whole PES packet into the queue; E_FAIL for a malformed PES.
    HRESULT DecodePes(const uint8_t* data, uint32_t length);

    // With Lock() held: the newest display set due at `pts` that was not shown yet, marked shown,
    // every set queued before it deleted; null when there is none. The set stays valid until the
    // lock is released.
    const CSubtitleDisplaySet* PickDueDisplaySet(uint64_t pts);
    size_t GetQueuedCount() const;

    base::CCriticalSection& Lock() const { return m_lock; }

private:
    void Queue(std::unique_ptr<CSubtitleDisplaySet> set);

    mutable base::CCriticalSection m_lock;
    std::deque<std::unique_ptr<CSubtitleDisplaySet>> m_queue;
    CPesGatherer m_pes;
    bool m_running = false;
};

} // namespace libDVB
