// The per-PID consumer that the PID router calls for every packet of one PID.
#pragma once

#include <cstdint>

#include "base/Result.h"

namespace libDVB {

class CTSDemultiplexerStream {
public:
    class CTSDemultiplexerStreamCallback {
    public:
        // A section stream calls this once per complete section (data from its table_id),
        // a relay once per 188-byte packet; flag is always 0.
        virtual HRESULT OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* data, uint32_t length,
                                       uint32_t flag) = 0;

    protected:
        ~CTSDemultiplexerStreamCallback() = default;
    };

    CTSDemultiplexerStream(CTSDemultiplexerStreamCallback* owner, uint16_t pid);
    virtual ~CTSDemultiplexerStream() = default;
    CTSDemultiplexerStream(const CTSDemultiplexerStream&) = delete;
    CTSDemultiplexerStream& operator=(const CTSDemultiplexerStream&) = delete;

    // Continuity bookkeeping; subclasses add what they do with the packet.
    virtual HRESULT OnPacket(const uint8_t* packet, uint32_t length);

    uint16_t GetPid() const { return m_pid; }
    CTSDemultiplexerStreamCallback* GetOwner() const { return m_owner; }
    int32_t GetLastContinuityCounter() const { return m_lastContinuity; }
    bool HadDiscontinuity() const { return m_discontinuity != 0; }
    uint32_t GetScrambling() const { return m_scrambling; }

protected:
    void NoteScrambling(const uint8_t* packet);

    uint16_t m_pid;
    CTSDemultiplexerStreamCallback* m_owner;
    int32_t m_lastContinuity = -1;
    uint32_t m_discontinuity = 0;
    uint32_t m_scrambling = 0;
};

} // namespace libDVB
