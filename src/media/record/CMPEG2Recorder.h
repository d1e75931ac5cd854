// Rewrites the video and audio PES packets of a transport stream into an MPEG-2 program stream
// (ISO/IEC 13818-1, 2.5): program-stream PES packets of at most 64 KiB, AC-3 as private_stream_1,
// interleaved and timed by CProgramStreamMux (a system header after the pack header of every video
// PES with a PTS, of every audio PES with a PTS when there is no video), the program end code when
// the recording closes. MPEG video starts at its first sequence header (pictures before it cannot
// be decoded). Timestamps are counted from the recording's start: the first video PES decodes at
// kFirstDecodingTime, whatever the broadcast's clock read. Watches the free space of the target
// volume and stops, calling its owner once, when that falls below the reserve fixed at the start
// or when the sink fails. Runs on the transport-stream thread under its owner's lock; it has none
// of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "media/record/CBaseRecorder.h"
#include "media/record/CFreeSpaceQuery.h"
#include "media/record/CProgramStreamMux.h"

namespace record {

class CMPEG2Recorder : public CBaseRecorder {
public:
    class CRecCallback {
    public:
        virtual ~CRecCallback() = default;
        // The recording ended (disk space below the reserve, or the sink failed). The owner may
        // delete the recorder inside the call; the recorder touches nothing of itself afterwards.
        virtual void OnDiskFull() = 0;
    };

    static constexpr int kBufferSize = 65536;
    // Payload of a program-stream PES cut from a longer video PES.
    static constexpr int kVideoPieceSize = kBufferSize - 32;
    // The decoding time (1 s at 90 kHz) the first written pack's PES gets: players that take the
    // stream's timestamps as they are (Wine's splitter) show the first picture at once, and audio
    // up to that long before the first video picture keeps a time after zero.
    static constexpr int64_t kFirstDecodingTime = 90000;
    // The volume is asked for its free space once per this many packets: one query costs about
    // 0.2 ms under Wine, more than a packet of a 15 Mbit/s service may take.
    static constexpr int kPacketsPerSpaceQuery = 32;

    // Takes the sink and the free-space query; freeSpacePercent (clamped to 0..100) is the share
    // of the space free at the start that the recording may use.
    CMPEG2Recorder(CBaseRecorderSink* sink, int freeSpacePercent, CFreeSpaceQuery* freeSpace, CRecCallback* callback);
    ~CMPEG2Recorder() override;

    void SetPids(uint16_t videoPid, uint16_t audioPid) override;
    void OnPacket(const uint8_t* packet, int length) override;
    // One gathered PES packet of the video or audio PID.
    virtual void OnPES(uint16_t pid, const uint8_t* data, int length, bool complete);

    uint64_t Reserve() const { return m_reserve; }
    bool Started() const { return m_started; }
    bool Stopped() const { return m_stopped; }

private:
    struct CHeader {
        bool valid = false;
        bool hasPts = false;
        uint8_t streamId = 0;
        uint32_t headerLength = 0;
        uint64_t pts = 0;
        uint64_t dts = 0;
    };
    static CHeader ExamineHeader(const uint8_t* data, int length);

    void OnAudioPES(const uint8_t* data, int length);
    void FlushVideo();
    // Starts the recording at this PES: its timestamps fix the origin.
    void Start(const CHeader& header);
    // Counts the PES header's PTS and DTS from the recording's start, in place; the first PES
    // with a PTS fixes that start.
    void Rebase(uint8_t* pes, const CHeader& header);
    void Write(const uint8_t* data, int length);
    // Ends the recording and tells the owner; false when it had ended before.
    void Stop();

    std::unique_ptr<CFreeSpaceQuery> m_freeSpace;
    CProgramStreamMux m_mux;
    CRecCallback* m_callback;
    std::vector<uint8_t> m_videoOut;
    std::vector<uint8_t> m_audioOut;
    std::vector<uint8_t> m_videoGather;
    std::vector<uint8_t> m_audioGather;
    int m_videoOutFill = 0;
    int m_videoGatherFill = 0;
    int m_audioGatherFill = 0;
    int m_packetsSinceQuery = 0;
    uint64_t m_reserve = 0;
    uint64_t m_origin = 0;
    bool m_haveOrigin = false;
    bool m_audioIsAc3 = false;
    bool m_started = false;
    bool m_stopped = false;
    bool m_writeFailed = false;
};

} // namespace record
