#include "media/filters/mpegdemux/CMpegDemuxCore.h"

#include "dvb/libDVB/demux/TSPacket.h"

namespace mpegdemux {

namespace {
constexpr int64_t kPtsPeriod = int64_t(1) << 33;
}

CMpegDemuxCore::CMpegDemuxCore() : m_video(CPesAssembler::kVideo, *this), m_audio(CPesAssembler::kAudio, *this) {}

int64_t CMpegDemuxCore::UnwrapPts(int64_t reference, uint64_t pts)
{
    // The nearest value congruent to pts modulo 2^33: a PTS that wraps after 26.5 hours goes on
    // rising, and one slightly behind the reference (B-pictures, the other stream) stays behind it.
    int64_t delta = (static_cast<int64_t>(pts) - reference) & (kPtsPeriod - 1);
    if (delta >= kPtsPeriod / 2)
        delta -= kPtsPeriod;
    return reference + delta;
}

void CMpegDemuxCore::SetPIDs(uint16_t videoPid, uint16_t audioPid)
{
    m_videoPid = videoPid & 0x1FFF;
    m_audioPid = audioPid & 0x1FFF;
    Reset();
}

void CMpegDemuxCore::Reset()
{
    m_video.Reset();
    m_audio.Reset();
    m_timing[kVideoPin] = CTiming();
    m_timing[kAudioPin] = CTiming();
    m_haveLastPts = false;
    m_lastPts = 0;
    m_timeBaseDecided = false;
    m_timeBase = -1;
    ++m_generation;
}

int CMpegDemuxCore::ExpectedOutputs(unsigned connectedPins) const
{
    int expected = 0;
    if (m_videoPid != 0 && (connectedPins & (1u << kVideoPin)))
        ++expected;
    // The video output takes a PID that both name.
    if (m_audioPid != 0 && m_audioPid != m_videoPid && (connectedPins & (1u << kAudioPin)))
        ++expected;
    return expected;
}

HRESULT CMpegDemuxCore::PushPacket(const uint8_t* packet, size_t length, unsigned connectedPins, CEvents& events)
{
    if (!packet)
        return E_POINTER;
    if (length != libDVB::kTSPacketSize || packet[0] != libDVB::kTSSyncByte)
        return E_FAIL;
    const uint16_t pid = libDVB::TSPacketPid(packet);
    CPesAssembler* assembler;
    int pin;
    if (pid == m_videoPid && m_videoPid != 0) {
        assembler = &m_video;
        pin = kVideoPin;
    } else if (pid == m_audioPid && m_audioPid != 0) {
        assembler = &m_audio;
        pin = kAudioPin;
    } else {
        return S_FALSE;
    }
    if (!(connectedPins & (1u << pin)))
        return S_FALSE;
    m_events = &events;
    m_connectedPins = connectedPins;
    const HRESULT result = assembler->ProcessPacket(packet);
    m_events = nullptr;
    return result;
}

int64_t CMpegDemuxCore::OnHeaderPts(CPesAssembler& assembler, uint64_t pts)
{
    CTiming& timing = m_timing[PinOf(assembler)];
    int64_t unwrapped;
    if (timing.hasFirst)
        unwrapped = UnwrapPts(timing.latestPts, pts);
    else if (m_haveLastPts)
        unwrapped = UnwrapPts(m_lastPts, pts); // join the time line the other output started
    else
        unwrapped = static_cast<int64_t>(pts);
    timing.latestPts = unwrapped;
    if (!timing.hasFirst)
        OnPinFirstTime(PinOf(assembler), unwrapped);
    m_lastPts = unwrapped;
    m_haveLastPts = true;
    if (!m_timeBaseDecided)
        DecideTimeBase();
    return unwrapped;
}

void CMpegDemuxCore::OnPinFirstTime(int pin, int64_t pts)
{
    m_timing[pin].hasFirst = true;
    m_timing[pin].firstPts = pts;
}

void CMpegDemuxCore::DecideTimeBase()
{
    int present = 0;
    int64_t earliest = 0;
    int64_t latest = 0;
    for (const CTiming& timing : m_timing) {
        if (!timing.hasFirst)
            continue;
        if (present == 0 || timing.firstPts < earliest)
            earliest = timing.firstPts;
        if (present == 0 || timing.latestPts > latest)
            latest = timing.latestPts;
        ++present;
    }
    if (present == 0)
        return;
    if (present < ExpectedOutputs(m_connectedPins) && latest - earliest < kDecisionWindow)
        return;
    m_timeBaseDecided = true;
    m_timeBase = PtsToReferenceTime(earliest);
    m_events->push_back(CEvent{CEvent::kTimeBase, -1, nullptr, m_timeBase, 0, m_generation});
}

void CMpegDemuxCore::OnPayload(CPesAssembler& assembler, std::unique_ptr<CDataPacket> packet)
{
    m_events->push_back(CEvent{CEvent::kPayload, PinOf(assembler), std::move(packet), 0, 0, m_generation});
}

void CMpegDemuxCore::OnAudioKindChanged(CPesAssembler& assembler)
{
    m_events->push_back(CEvent{CEvent::kAudioKindChanged, PinOf(assembler), nullptr, 0, assembler.GetAudioKind(), m_generation});
}

} // namespace mpegdemux
