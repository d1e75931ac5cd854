// The PID router: cuts transport-stream bytes into 188-byte packets and hands each to the stream
// registered for its PID. A byte run may be cut anywhere: the unconfirmed tail of one input is
// carried into the next, so the last packet of an input waits for the sync byte that follows it
// until the input ends (EndInput). It does not own the streams: whoever registers one unregisters
// and deletes it.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"
#include "dvb/libDVB/demux/TSPacket.h"

namespace libDVB {

class CTSDemultiplexer {
public:
    CTSDemultiplexer();
    CTSDemultiplexer(const CTSDemultiplexer&) = delete;
    CTSDemultiplexer& operator=(const CTSDemultiplexer&) = delete;

    HRESULT DeliverPacket(const uint8_t* packet, uint32_t length);
    HRESULT InputBytes(const uint8_t* data, uint32_t length);
    // The byte input starts (again): a carried tail belongs to what came before (another
    // multiplex after a retune) and is dropped.
    void StartInput();
    // The byte input has ended (stop, end of the data): no sync byte will confirm the carried
    // packet any more, so a whole one that follows a confirmed packet is routed now. The carry is
    // emptied. S_OK when a packet was routed, else S_FALSE.
    HRESULT EndInput();

    HRESULT RegisterStream(CTSDemultiplexerStream* stream);
    HRESULT UnregisterStream(uint16_t pid, CTSDemultiplexerStream** out = nullptr);
    HRESULT EnablePid(uint16_t pid);
    HRESULT DisablePid(uint16_t pid);

    bool IsPidEnabled(uint16_t pid) const;
    CTSDemultiplexerStream* FindStream(uint16_t pid);
    uint32_t GetCarriedBytes() const { return m_carryCount; }

    // The stream lock: table callbacks that run inside DeliverPacket may register streams.
    base::CCriticalSection& StreamLock() { return m_streamLock; }

private:
    HRESULT SetPidFlag(uint16_t pid, uint8_t flag);
    uint32_t Scan(const uint8_t* data, uint32_t size, uint32_t limit, bool& delivered, bool& inSync);
    // Hands a packet to its PID's stream; the stream lock is held.
    HRESULT Route(const uint8_t* packet, uint16_t pid);
    // Route for a packet cut from a byte input: refused with the error indicator, as by DeliverPacket.
    void RouteCut(const uint8_t* packet);
    void Keep(const uint8_t* tail, uint32_t count);

    // Flat tables indexed by the 13-bit PID: a packet costs two look-ups and no allocation.
    base::CCriticalSection m_streamLock;
    CTSDemultiplexerStream* m_streams[kPidCount];
    base::CCriticalSection m_enableLock;
    std::atomic<uint8_t> m_enabled[kPidCount];

    uint8_t m_carry[kTSPacketSize];
    uint32_t m_carryCount = 0;
    bool m_carryInSync = false; // the carry starts right behind a confirmed packet
};

} // namespace libDVB
