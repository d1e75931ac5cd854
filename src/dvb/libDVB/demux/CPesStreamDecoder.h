// Base of the decoders that read whole PES packets of one PID (teletext, DVB subtitles): started
// and stopped, fed transport-stream packets that it gathers into PES, each whole one handed to the
// decoder under the decoder lock.
#pragma once

#include <cstdint>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/demux/CPesGatherer.h"

namespace libDVB {

class CPesStreamDecoder {
public:
    static constexpr uint32_t kBufferSize = CPesGatherer::kCapacity;

    CPesStreamDecoder(const CPesStreamDecoder&) = delete;
    CPesStreamDecoder& operator=(const CPesStreamDecoder&) = delete;

    HRESULT Start();
    // Forgets what was decoded; 1 when the decoder was not running.
    HRESULT Stop();
    bool IsRunning() const;

    // The renderer takes this lock around a sequence of queries (it is re-entrant).
    base::CCriticalSection& Lock() const { return m_lock; }

protected:
    CPesStreamDecoder() = default;
    virtual ~CPesStreamDecoder() = default;

    // One 188-byte packet of the PID: 1 while stopped, else 0.
    HRESULT OnPacket(const uint8_t* packet, uint32_t length);
    // With the lock held: one whole PES gathered.
    virtual void OnPes(const uint8_t* data, uint32_t length) = 0;
    // With the lock held: everything decoded so far is forgotten.
    virtual void ForgetDecoded() = 0;

    mutable base::CCriticalSection m_lock;
    CPesGatherer m_pes;

private:
    bool m_running = false;
};

} // namespace libDVB
