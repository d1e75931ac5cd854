#include "media/filters/mpegdemux/CPesAssembler.h"

#include <cstring>

#include "dvb/libDVB/demux/PesHeader.h"
#include "dvb/libDVB/demux/TSPacket.h"

namespace mpegdemux {

CPesAssembler::CPesAssembler(Kind kind, CPesAssemblerListener& listener)
    : m_kind(kind), m_listener(listener), m_buffer(kind == kVideo ? kVideoBufferSize : kAudioBufferSize)
{
}

void CPesAssembler::Reset()
{
    m_state = kWaitingForStart;
    m_fill = 0;
    m_bufferedPts = 0;
    m_synchronised = false;
    m_bufferedHasPts = false;
}

int CPesAssembler::FindStartCode(const uint8_t* payload, uint32_t size)
{
    // The stream id must follow the prefix inside the packet.
    for (uint32_t k = 0; k + 4 <= size; ++k) {
        if (payload[k] == 0 && payload[k + 1] == 0 && payload[k + 2] == 1)
            return static_cast<int>(k);
    }
    return -1;
}

bool CPesAssembler::AcceptsStreamId(uint8_t streamId)
{
    if (m_kind == kVideo)
        return (streamId & 0xF0) == 0xE0; // video streams 0xE0..0xEF
    AudioKind kind;
    if ((streamId & 0xE0) == 0xC0)
        kind = kMpegAudio; // audio streams 0xC0..0xDF
    else if (streamId == 0xBD)
        kind = kAc3; // private_stream_1 carries AC-3 (ETSI TS 102 366, annex B)
    else
        return false;
    if (kind != m_audioKind) {
        // What is buffered belongs to the old kind and cannot be decoded as the new one.
        m_fill = 0;
        m_bufferedHasPts = false;
        m_audioKind = kind;
        m_listener.OnAudioKindChanged(*this);
    }
    return true;
}

void CPesAssembler::EmitBuffer()
{
    if (m_fill > 0 && m_synchronised) {
        const int64_t start = m_bufferedHasPts ? PtsToReferenceTime(m_bufferedPts) : CDataPacket::kNoTime;
        const int64_t pts = m_bufferedHasPts ? m_bufferedPts : 0;
        m_listener.OnPayload(*this, std::make_unique<CDataPacket>(m_buffer.data(), m_fill, start, pts));
        m_bufferedHasPts = false;
    }
    m_fill = 0;
}

HRESULT CPesAssembler::ProcessPacket(const uint8_t* packet)
{
    if ((packet[3] & 0x10) == 0)
        return S_FALSE; // adaptation field only
    uint32_t position = 4;
    if (packet[3] & 0x20)
        position = 5 + packet[4];
    if (position > libDVB::kTSPacketSize)
        position = libDVB::kTSPacketSize; // an adaptation field that claims more than the packet
    const uint8_t* payload = packet + position;
    const uint32_t payloadSize = libDVB::kTSPacketSize - position;

    bool headerHasPts = false;
    int64_t headerPts = 0;
    if (libDVB::TSPayloadUnitStart(packet)) {
        const int start = FindStartCode(payload, payloadSize);
        if (start < 0 || !AcceptsStreamId(payload[start + 3])) {
            // The unit that was being gathered ended here: pass it on rather than glue the next
            // PES's tail onto it.
            EmitBuffer();
            m_state = kWaitingForStart;
            return S_FALSE;
        }
        m_state = kHeaderExpected;
        libDVB::PesHeaderInfo header;
        if (!libDVB::ParsePesHeaderInfo(payload + start, payloadSize - static_cast<uint32_t>(start), header)) {
            EmitBuffer();
            m_state = kWaitingForStart;
            return E_FAIL;
        }
        if (header.hasPts) {
            headerHasPts = true;
            headerPts = m_listener.OnHeaderPts(*this, header.pts);
        }
        m_state = kPayload;
        position += static_cast<uint32_t>(start) + header.headerLength;
    } else if (m_state != kPayload) {
        return S_OK;
    }

    const uint32_t count = position < libDVB::kTSPacketSize ? libDVB::kTSPacketSize - position : 0;
    if (headerHasPts) {
        EmitBuffer(); // data gathered before the first PES with a PTS is dropped here
        m_bufferedPts = headerPts;
        m_synchronised = true;
        m_bufferedHasPts = true;
    }
    if (m_fill + count > m_buffer.size())
        EmitBuffer();
    if (count > 0) {
        std::memcpy(m_buffer.data() + m_fill, packet + position, count);
        m_fill += count;
    }
    return S_OK;
}

} // namespace mpegdemux
