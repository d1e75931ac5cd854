#include "media/record/CMPEG2Recorder.h"

#include <algorithm>
#include <cstring>

#include "dvb/libDVB/demux/PesHeader.h"
#include "dvb/libDVB/demux/TSPacket.h"
#include "media/audio/Ac3Tables.h"

namespace record {

namespace {

constexpr uint64_t kTimestampMask = (uint64_t(1) << 33) - 1;
constexpr int kPesLengthLimit = 0xFFFF + 6;
constexpr int kAc3SubstreamHeader = 4;

bool IsVideoStream(uint8_t id) { return (id & 0xF0) == 0xE0; }
bool IsMpegAudioStream(uint8_t id) { return (id & 0xE0) == 0xC0; }

void PutLength(uint8_t* pes, int length)
{
    pes[4] = static_cast<uint8_t>(length >> 8);
    pes[5] = static_cast<uint8_t>(length);
}

// AC-3 sync frames that start in `payload`, and the offset of the first (ETSI TS 102 366, 4.4.1:
// syncword 0x0B77, then crc1, fscod and frmsizecod).
int CountAc3Frames(const uint8_t* payload, int size, int* first)
{
    *first = -1;
    for (int k = 0; k + 1 < size; ++k) {
        if (payload[k] == 0x0B && payload[k + 1] == 0x77) {
            *first = k;
            break;
        }
    }
    int frames = 0;
    for (int position = *first; position >= 0 && position + 5 <= size;) {
        if (payload[position] != 0x0B || payload[position + 1] != 0x77)
            break;
        const uint32_t fscod = payload[position + 4] >> 6;
        const uint32_t frmsizecod = payload[position + 4] & 0x3F;
        const uint32_t words = fscod < 3 && frmsizecod < 38 ? audio::ac3::FrameWords(fscod, frmsizecod) : 0;
        if (words == 0)
            break;
        ++frames;
        position += static_cast<int>(words * 2);
    }
    return frames;
}

// MPEG video (ISO/IEC 13818-2, 6.2): a payload that begins with a picture, sequence, extension or
// GOP start code.
bool IsMpegVideo(const uint8_t* payload, int size)
{
    return size >= 4 && payload[0] == 0 && payload[1] == 0 && payload[2] == 1 &&
           (payload[3] == 0x00 || payload[3] == 0xB3 || payload[3] == 0xB5 || payload[3] == 0xB8);
}

// A sequence header in the payload and its picture size (ISO/IEC 13818-2, 6.2.2.1:
// horizontal_size_value and vertical_size_value, 12 bits each, after the start code).
bool FindSequenceHeader(const uint8_t* payload, int size, int* width, int* height)
{
    for (int k = 0; k + 7 <= size; ++k) {
        if (payload[k] == 0 && payload[k + 1] == 0 && payload[k + 2] == 1 && payload[k + 3] == 0xB3) {
            *width = (payload[k + 4] << 4) | (payload[k + 5] >> 4);
            *height = ((payload[k + 5] & 0x0F) << 8) | payload[k + 6];
            return true;
        }
    }
    return false;
}

// A PTS or DTS field (ISO/IEC 13818-1, 2.4.3.7): the 4-bit prefix kept, 33 bits and marker bits.
void PutTimestamp(uint8_t* field, uint64_t value)
{
    field[0] = static_cast<uint8_t>((field[0] & 0xF0) | ((value >> 29) & 0x0E) | 1);
    field[1] = static_cast<uint8_t>(value >> 22);
    field[2] = static_cast<uint8_t>(((value >> 14) & 0xFE) | 1);
    field[3] = static_cast<uint8_t>(value >> 7);
    field[4] = static_cast<uint8_t>(((value << 1) & 0xFE) | 1);
}

} // namespace

CMPEG2Recorder::CMPEG2Recorder(CBaseRecorderSink* sink, int freeSpacePercent, CFreeSpaceQuery* freeSpace,
                               CRecCallback* callback)
    : CBaseRecorder(sink), m_freeSpace(freeSpace), m_mux([this](const uint8_t* data, int length) { Write(data, length); }),
      m_callback(callback), m_videoOut(kBufferSize),
      m_audioOut(kBufferSize + kAc3SubstreamHeader), m_videoGather(kBufferSize), m_audioGather(kBufferSize)
{
    const uint64_t percent = static_cast<uint64_t>(std::clamp(freeSpacePercent, 0, 100));
    uint64_t free = 0;
    if (!m_freeSpace || !m_freeSpace->FreeBytes(&free))
        free = 0;
    // free x (100 - percent) / 100 without overflowing 64 bits.
    m_reserve = free / 100 * (100 - percent) + free % 100 * (100 - percent) / 100;
}

CMPEG2Recorder::~CMPEG2Recorder()
{
    // A stop keeps what is complete: the video piece held back for the next PES and the PES
    // packets gathered so far; a full disk keeps what was already complete. Either way the
    // recording ends with the program end code.
    if (!m_stopped) {
        if (m_videoGatherFill > 0)
            OnPES(m_videoPid, m_videoGather.data(), m_videoGatherFill, true);
        FlushVideo();
        if (m_audioGatherFill > 0)
            OnPES(m_audioPid, m_audioGather.data(), m_audioGatherFill, true);
    }
    m_mux.End();
}

void CMPEG2Recorder::SetPids(uint16_t videoPid, uint16_t audioPid)
{
    m_videoOutFill = 0;
    m_videoGatherFill = 0;
    m_audioGatherFill = 0;
    CBaseRecorder::SetPids(videoPid, audioPid);
    m_mux.SetStreams(m_videoPid != 0, m_audioPid != 0);
}

void CMPEG2Recorder::Stop()
{
    m_stopped = true;
    if (m_callback)
        m_callback->OnDiskFull();
}

void CMPEG2Recorder::Write(const uint8_t* data, int length)
{
    if (m_writeFailed || length <= 0)
        return;
    if (FAILED(m_sink->Write(data, length)))
        m_writeFailed = true;
}

void CMPEG2Recorder::Start(const CHeader& header)
{
    m_origin = (header.dts - kFirstDecodingTime) & kTimestampMask;
    m_haveOrigin = true;
    m_started = true;
}

void CMPEG2Recorder::Rebase(uint8_t* pes, const CHeader& header)
{
    if (!header.hasPts || !m_haveOrigin)
        return;
    PutTimestamp(pes + 9, (header.pts - m_origin) & kTimestampMask);
    if ((pes[7] & 0xC0) == 0xC0)
        PutTimestamp(pes + 14, (header.dts - m_origin) & kTimestampMask);
}

CMPEG2Recorder::CHeader CMPEG2Recorder::ExamineHeader(const uint8_t* data, int length)
{
    CHeader header;
    libDVB::PesHeaderInfo info;
    if (length < 9 || data[0] != 0 || data[1] != 0 || data[2] != 1 ||
        !libDVB::ParsePesHeaderInfo(data, static_cast<uint32_t>(length), info))
        return header;
    header.valid = true;
    header.streamId = info.streamId;
    header.hasPts = info.hasPts;
    header.headerLength = info.headerLength;
    header.pts = info.pts;
    header.dts = info.dts;
    return header;
}

void CMPEG2Recorder::OnPacket(const uint8_t* packet, int length)
{
    if (m_stopped || !packet || length != static_cast<int>(libDVB::kTSPacketSize) || packet[0] != libDVB::kTSSyncByte)
        return;
    const uint16_t pid = libDVB::TSPacketPid(packet);
    const bool unitStart = libDVB::TSPayloadUnitStart(packet);
    const uint8_t* payload = nullptr;
    int payloadLength = 0;
    if (packet[3] & 0x10) {
        int offset = 4;
        if (packet[3] & 0x20)
            offset = std::min(5 + packet[4], length);
        payload = packet + offset;
        payloadLength = length - offset;
    }

    auto gather = [&](std::vector<uint8_t>& buffer, int& fill) {
        if (unitStart || fill + payloadLength > kBufferSize) {
            const int complete = fill;
            fill = 0;
            OnPES(pid, buffer.data(), complete, true);
        }
        if (payloadLength > 0) {
            std::memcpy(buffer.data() + fill, payload, static_cast<size_t>(payloadLength));
            fill += payloadLength;
        }
    };
    if (pid != 0 && pid == m_videoPid)
        gather(m_videoGather, m_videoGatherFill);
    else if (pid != 0 && pid == m_audioPid)
        gather(m_audioGather, m_audioGatherFill);

    if (m_writeFailed) {
        Stop();
        return;
    }
    if (m_packetsSinceQuery++ % kPacketsPerSpaceQuery != 0)
        return;
    uint64_t free = 0;
    if (!m_freeSpace || !m_freeSpace->FreeBytes(&free))
        free = 0;
    if (free < m_reserve)
        Stop(); // the owner may have deleted us: nothing more here
}

void CMPEG2Recorder::OnPES(uint16_t pid, const uint8_t* data, int length, bool complete)
{
    if (m_stopped || !data || length <= 0)
        return;
    if (pid == m_videoPid && pid != 0) {
        while (length > 0) {
            FlushVideo();
            const int piece = std::min(length, kVideoPieceSize);
            std::memcpy(m_videoOut.data(), data, static_cast<size_t>(piece));
            m_videoOutFill = piece;
            data += piece;
            length -= piece;
        }
    } else if (pid == m_audioPid && pid != 0 && complete) {
        OnAudioPES(data, length);
    }
}

void CMPEG2Recorder::OnAudioPES(const uint8_t* data, int length)
{
    const CHeader header = ExamineHeader(data, length);
    if (!header.valid || !(IsMpegAudioStream(header.streamId) || header.streamId == 0xBD))
        return; // a piece without a PES start, or no audio: nothing a player could use
    m_audioIsAc3 = header.streamId == 0xBD;
    // Known before the first pack: audio that comes before it tells its kind.
    m_mux.SetAudioId(m_audioIsAc3 ? 0xBD : 0xC0);
    if (m_videoPid == 0 && header.hasPts && !m_started)
        Start(header); // without video the audio starts the recording
    if (!m_started)
        return; // audio before the first pack is dropped

    uint8_t* out = m_audioOut.data();
    std::memcpy(out, data, header.headerLength);
    Rebase(out, header);
    int fill = static_cast<int>(header.headerLength);
    const uint8_t* payload = data + header.headerLength;
    const int payloadLength = length - fill;
    if (m_audioIsAc3) {
        // private_stream_1 sub-stream 0x80 with its frame count and first access unit pointer.
        int first = -1;
        const int frames = CountAc3Frames(payload, payloadLength, &first);
        const int pointer = first < 0 ? 0 : first + 1;
        out[3] = 0xBD;
        out[fill++] = 0x80;
        out[fill++] = static_cast<uint8_t>(std::min(frames, 255));
        out[fill++] = static_cast<uint8_t>(pointer >> 8);
        out[fill++] = static_cast<uint8_t>(pointer);
    } else {
        out[3] = 0xC0;
    }
    if (fill + payloadLength > kPesLengthLimit)
        return; // longer than a program-stream PES can say
    PutLength(out, fill + payloadLength - 6);
    m_mux.Add(CProgramStreamMux::kAudio, out, fill, payload, payloadLength, header.hasPts,
              (header.dts - m_origin) & kTimestampMask);
}

void CMPEG2Recorder::FlushVideo()
{
    const int fill = m_videoOutFill;
    if (fill == 0)
        return;
    m_videoOutFill = 0;
    uint8_t* out = m_videoOut.data();
    if (fill >= 4 && out[0] == 0 && out[1] == 0 && out[2] == 1 && IsVideoStream(out[3])) {
        const CHeader header = ExamineHeader(out, fill);
        if (!header.valid)
            return;
        out[3] = 0xE0;
        PutLength(out, fill - 6);
        if (header.hasPts && !m_started) {
            int width = 0, height = 0;
            const uint8_t* payload = out + header.headerLength;
            const int payloadLength = fill - static_cast<int>(header.headerLength);
            const bool sequence = FindSequenceHeader(payload, payloadLength, &width, &height);
            if (!sequence && IsMpegVideo(payload, payloadLength))
                return; // pictures before the first sequence header cannot be decoded
            m_mux.SetHighDefinition(!sequence || width > 720 || height > 576);
            Start(header);
        }
        if (!m_started)
            return;
        Rebase(out, header);
        m_mux.Add(CProgramStreamMux::kVideo, out, fill, nullptr, 0, header.hasPts,
                  (header.dts - m_origin) & kTimestampMask);
    } else if (m_started) {
        // The continuation of a video PES longer than one piece.
        const int length = fill + 3;
        const uint8_t pes[9] = {0, 0, 1, 0xE0, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length),
                                0x80, 0x00, 0x00};
        m_mux.Add(CProgramStreamMux::kVideo, pes, sizeof(pes), out, fill, false, 0);
    }
}

} // namespace record
