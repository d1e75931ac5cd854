// The platform-neutral heart of the MPEG push demultiplexer: routes the video and audio PIDs of
// a transport stream to one PES assembler each, unwraps their PTS onto one time line and decides
// the common time base that makes the sample times of both outputs start near 0. The filter feeds
// it under its own lock and acts on the events it returns after releasing that lock, so that a
// full output queue never blocks a thread that holds the lock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Result.h"
#include "media/filters/mpegdemux/CPesAssembler.h"

namespace mpegdemux {

class CMpegDemuxCore : private CPesAssemblerListener {
public:
    enum Pin { kVideoPin = 0, kAudioPin = 1, kPinCount = 2 };
    // Without a first PTS on every expected output, the base is decided once the PTS seen have
    // advanced this far past the earliest one (1 s at 90 kHz): a silent audio PID holds nothing up.
    static constexpr int64_t kDecisionWindow = 90000;

    struct CEvent {
        enum Type { kPayload, kAudioKindChanged, kTimeBase } type;
        int pin;                             // kPayload, kAudioKindChanged
        std::unique_ptr<CDataPacket> packet; // kPayload
        int64_t timeBase;                    // kTimeBase: 100-ns units
        int audioKind;                       // kAudioKindChanged: CPesAssembler::AudioKind
        uint32_t generation;                 // the SetPIDs/Reset generation the event belongs to
    };
    using CEvents = std::vector<CEvent>;

    CMpegDemuxCore();

    // One 188-byte packet. connectedPins has bit n set when output n has a downstream connection;
    // packets of an unconnected output are refused. Returns 1 for a PID that is not routed or a
    // packet that carries nothing, E_FAIL for a malformed packet or PES header, else 0. What the
    // packet completes is appended to `events`.
    HRESULT PushPacket(const uint8_t* packet, size_t length, unsigned connectedPins, CEvents& events);
    // New PIDs (0: none); both outputs start over, as Reset.
    void SetPIDs(uint16_t videoPid, uint16_t audioPid);
    // Drops everything gathered and forgets the time base; a new generation starts.
    void Reset();

    uint16_t VideoPid() const { return m_videoPid; }
    uint16_t AudioPid() const { return m_audioPid; }
    CPesAssembler::AudioKind AudioKind() const { return m_audio.GetAudioKind(); }
    bool TimeBaseDecided() const { return m_timeBaseDecided; }
    int64_t TimeBase() const { return m_timeBase; }
    uint32_t Generation() const { return m_generation; }
    // The PIDs that take part in the time-base decision (active and connected).
    int ExpectedOutputs(unsigned connectedPins) const;

    // 33-bit PTS `pts` placed on the time line next to the unwrapped `reference`.
    static int64_t UnwrapPts(int64_t reference, uint64_t pts);

private:
    struct CTiming {
        bool hasFirst = false;
        int64_t firstPts = 0;  // unwrapped
        int64_t latestPts = 0; // unwrapped
    };

    int PinOf(CPesAssembler& assembler) const { return &assembler == &m_video ? kVideoPin : kAudioPin; }
    int64_t OnHeaderPts(CPesAssembler& assembler, uint64_t pts) override;
    // The first PTS of an output since the reset (unwrapped).
    void OnPinFirstTime(int pin, int64_t pts);
    void OnPayload(CPesAssembler& assembler, std::unique_ptr<CDataPacket> packet) override;
    void OnAudioKindChanged(CPesAssembler& assembler) override;
    void DecideTimeBase();

    CPesAssembler m_video;
    CPesAssembler m_audio;
    uint16_t m_videoPid = 0;
    uint16_t m_audioPid = 0;
    CTiming m_timing[kPinCount];
    bool m_haveLastPts = false;
    int64_t m_lastPts = 0; // the latest unwrapped PTS of either output
    bool m_timeBaseDecided = false;
    int64_t m_timeBase = -1;
    uint32_t m_generation = 0;
    // Valid during PushPacket only.
    CEvents* m_events = nullptr;
    unsigned m_connectedPins = 0;
};

} // namespace mpegdemux
