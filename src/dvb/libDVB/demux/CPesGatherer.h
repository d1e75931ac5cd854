// Gathers the PES packets of one PID from its transport-stream packets for a decoder that reads
// whole PES (teletext, DVB subtitles). The buffer exists only while the decoder runs.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/Result.h"
#include "dvb/libDVB/demux/TSPacket.h"

namespace libDVB {

class CPesGatherer {
public:
    static constexpr uint32_t kCapacity = 1024 * kTSPacketSize;

    void Allocate()
    {
        m_buffer.reset(new uint8_t[kCapacity]);
        m_fill = 0;
    }
    void Free()
    {
        m_buffer.reset();
        m_fill = 0;
    }
    void Clear() { m_fill = 0; }
    bool IsAllocated() const { return m_buffer != nullptr; }
    uint32_t GetFill() const { return m_fill; }

    // Feeds one 188-byte packet. A unit start first hands the PES gathered so far to `complete`
    // (data, length). Payload before the first unit start is dropped (1); a PES longer than the
    // buffer loses its tail, the head still decodes.
    template <class Complete>
    HRESULT OnPacket(const uint8_t* packet, Complete&& complete)
    {
        if (!m_buffer)
            return S_FALSE;
        const bool unitStart = TSPayloadUnitStart(packet);
        if (unitStart && m_fill > 0) {
            complete(static_cast<const uint8_t*>(m_buffer.get()), m_fill);
            m_fill = 0;
        }
        const uint32_t offset = TSPayloadOffset(packet);
        if (offset == 0)
            return S_OK;
        if (!unitStart && m_fill == 0)
            return S_FALSE;
        const uint32_t n = std::min(kTSPacketSize - offset, kCapacity - m_fill);
        std::memcpy(m_buffer.get() + m_fill, packet + offset, n);
        m_fill += n;
        return S_OK;
    }

private:
    std::unique_ptr<uint8_t[]> m_buffer;
    uint32_t m_fill = 0;
};

} // namespace libDVB
