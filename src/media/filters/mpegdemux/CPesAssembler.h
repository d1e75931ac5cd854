// Reassembly of the PES packets of one PID into payload units (ISO/IEC 13818-1, 2.4.3.6 and
// 2.4.3.7): one unit runs from a PES start with a PTS up to the next one; PES packets without a
// PTS are joined to the one before, and a unit larger than the buffer is cut into buffer-fulls,
// only the first of which carries the time. Platform-neutral: the demultiplexer filter owns one
// assembler per output pin and calls it under its lock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Result.h"
#include "media/filters/mpegdemux/CDataPacket.h"

namespace mpegdemux {

class CPesAssembler;

// What an assembler reports while it works through a packet.
class CPesAssemblerListener {
public:
    virtual ~CPesAssemblerListener() = default;
    // A PES header with a PTS (33 bits); answers the PTS unwrapped onto a continuous time line.
    virtual int64_t OnHeaderPts(CPesAssembler& assembler, uint64_t pts) = 0;
    virtual void OnPayload(CPesAssembler& assembler, std::unique_ptr<CDataPacket> packet) = 0;
    // The audio PES changed between MPEG audio and AC-3.
    virtual void OnAudioKindChanged(CPesAssembler& assembler) = 0;
};

class CPesAssembler {
public:
    enum Kind { kVideo = 0, kAudio = 1 };
    enum AudioKind { kMpegAudio = 0, kAc3 = 1 };
    enum State { kWaitingForStart = 0, kHeaderExpected = 1, kPayload = 2 };
    static constexpr uint32_t kVideoBufferSize = 0x80000;
    static constexpr uint32_t kAudioBufferSize = 16384;

    CPesAssembler(Kind kind, CPesAssemblerListener& listener);
    CPesAssembler(const CPesAssembler&) = delete;
    CPesAssembler& operator=(const CPesAssembler&) = delete;

    // One 188-byte transport-stream packet of this assembler's PID. 0 when it was taken, 1 when it
    // carried nothing usable (no payload, a start without a PES start code, a foreign stream id),
    // E_FAIL for a malformed PES header (the PES is then skipped up to the next start).
    HRESULT ProcessPacket(const uint8_t* packet);
    // Drops the buffered payload and waits for the next PES start with a PTS.
    void Reset();

    Kind GetKind() const { return m_kind; }
    AudioKind GetAudioKind() const { return m_audioKind; }
    State GetState() const { return m_state; }
    uint32_t BufferSize() const { return static_cast<uint32_t>(m_buffer.size()); }

private:
    // Offset of the start-code prefix 00 00 01 in the payload, or -1 (ISO/IEC 13818-1 puts it
    // first; a search tolerates stray bytes before it).
    static int FindStartCode(const uint8_t* payload, uint32_t size);
    bool AcceptsStreamId(uint8_t streamId);
    // Hands the buffered payload on when the assembler is synchronised, then empties the buffer.
    void EmitBuffer();

    Kind m_kind;
    AudioKind m_audioKind = kMpegAudio;
    CPesAssemblerListener& m_listener;
    State m_state = kWaitingForStart;
    std::vector<uint8_t> m_buffer;
    uint32_t m_fill = 0;
    int64_t m_bufferedPts = 0;     // unwrapped
    bool m_synchronised = false;   // a PES start with a PTS has been seen since the reset
    bool m_bufferedHasPts = false; // the buffered unit still owns its PTS
};

} // namespace mpegdemux
