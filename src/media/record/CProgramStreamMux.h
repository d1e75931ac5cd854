// Interleaves the program-stream PES packets of one video and one audio stream into packs
// (ISO/IEC 13818-1, 2.5) and times them by the P-STD: a PES is written in the order of its
// decoding time, every byte arrives (by the pack's SCR and program_mux_rate) before the DTS/PTS of
// the access unit it belongs to, and no stream's buffer holds more than the bound its system
// header declares. The SCR therefore follows the data actually written: it runs continuously at
// the mux rate and jumps forward where a stream's buffer has no room yet.
//
// The declared values are fixed by the first pack and the same in every system header: the video
// bound is the VBV maximum of its level (ISO/IEC 13818-2, 8.2: 224 KiB for main level, 1194 KiB
// for high level), MPEG audio and AC-3 get 16 KiB unless their PES packets are too long for it,
// and the mux rate covers the level's highest video rate with the audio (20 Mbit/s standard
// definition, 100 Mbit/s high definition). The first pack waits until the audio's kind is known.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace record {

class CProgramStreamMux {
public:
    enum Stream { kVideo = 0, kAudio = 1 };
    // Writes bytes to the recording.
    using Writer = std::function<void(const uint8_t* data, int length)>;

    // The SCR starts this far (0.5 s at 90 kHz) ahead of the earliest decoding time.
    static constexpr int64_t kStartLead = 45000;
    // How far (in decoding time, 1 s) a stream is held back waiting for the other before it is
    // written alone: a stream that stopped does not hold the recording.
    static constexpr int64_t kHoldLimit = 90000;
    // ... or this many bytes (a damaged timestamp far ahead must not hold the recording either).
    static constexpr size_t kHoldBytes = 8 << 20;
    // Declared values: mux rate in units of 50 bytes/s, buffer bounds in bytes.
    static constexpr uint32_t kStandardRate = 50000;    // 20 Mbit/s
    static constexpr uint32_t kHighRate = 250000;       // 100 Mbit/s
    static constexpr uint32_t kStandardVideoBound = 224 * 1024; // MP@ML VBV maximum
    static constexpr uint32_t kHighVideoBound = 1194 * 1024;    // MP@HL VBV maximum
    static constexpr uint32_t kAudioBound = 128 * 128;

    explicit CProgramStreamMux(Writer writer);

    // The streams the recording carries (before the first pack).
    void SetStreams(bool video, bool audio);
    // The audio's stream id (0xC0 MPEG audio, 0xBD AC-3) as soon as it is known.
    void SetAudioId(uint8_t id);
    // Whether the video is larger than standard definition (from its sequence header).
    void SetHighDefinition(bool high) { m_highDefinition = high; }

    // One program-stream PES packet, `head` then `data`. `time` is the 33-bit DTS (else PTS) of
    // the access unit it starts when `timestamped`; a PES without a timestamp continues the
    // stream's last one.
    void Add(Stream stream, const uint8_t* head, int headLength, const uint8_t* data, int length, bool timestamped,
             uint64_t time);
    // Writes what can be written now.
    void Drain() { Schedule(false); }
    // Writes everything held and the program end code (when anything was written).
    void End();

    bool Started() const { return m_started; }

private:
    struct CUnit {
        int size;
        int64_t deadline;
        bool timestamped;
    };
    struct CHeld {
        int64_t size;
        int64_t removal;
    };
    struct CQueue {
        bool present = false;
        uint8_t id = 0;
        uint32_t bound = 0;
        std::vector<uint8_t> bytes;
        size_t read = 0;
        std::deque<CUnit> units;
        std::deque<CHeld> held; // written, not yet decoded (the P-STD buffer)
        int64_t lastDeadline = 0;
        bool seen = false;
        int largest = 0;
    };

    void Schedule(bool final);
    bool Begin(bool final);
    // The stream has waited for the other one long enough to be written alone.
    static bool HeldTooLong(const CQueue& queue);
    // The earliest time (90 kHz) from which `unit` fits in the stream's buffer.
    double FitTime(CQueue& queue, const CUnit& unit) const;
    double Now() const;
    void WritePack(double time, bool systemHeader);
    void Emit(const uint8_t* data, int length);

    Writer m_writer;
    CQueue m_queues[2];
    bool m_highDefinition = false;
    bool m_started = false;
    bool m_ended = false;
    uint64_t m_audioWritten = 0;
    uint32_t m_rate = kStandardRate;
    int64_t m_clock = 0;    // unwrapping reference for 33-bit times
    int64_t m_scr = 0;      // last SCR, 90 kHz
    uint64_t m_scrAt = 0;   // position of the byte that SCR refers to
    uint64_t m_position = 0;
};

} // namespace record
