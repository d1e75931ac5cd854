#include "dvb/libDVB/service/CService.h"

#include "base/Clock.h"
#include "dvb/libDVB/demux/TSPacket.h"

namespace libDVB {

CService::CService(CServiceCallback* callback, CServiceManager* manager)
    : m_callback(callback), m_manager(manager), m_teletext(callback),
      m_timeshift(CTSPacketBufferInterface::Create(this))
{
}

CService::CService(CServiceCallback* callback, CServiceManager* manager, uint16_t serviceId,
                   uint16_t transportStreamId, const std::u16string& name)
    : CService(callback, manager)
{
    m_serviceId = serviceId;
    m_transportStreamId = transportStreamId;
    m_name = name;
}

CService::~CService()
{
    // The replay thread calls back into this service: end it before anything else goes.
    m_timeshift.reset();
}

#define LOCKED_GETTER(type, name, member) \
    type CService::name() const           \
    {                                     \
        base::CScopedLock lock(Lock());   \
        return member;                    \
    }

LOCKED_GETTER(uint16_t, GetServiceId, m_serviceId)
LOCKED_GETTER(uint16_t, GetTransportStreamId, m_transportStreamId)
LOCKED_GETTER(uint16_t, GetOriginalNetworkId, m_originalNetworkId)
LOCKED_GETTER(std::u16string, GetName, m_name)
LOCKED_GETTER(std::u16string, GetProvider, m_provider)
LOCKED_GETTER(uint32_t, GetServiceType, m_serviceType)
LOCKED_GETTER(uint32_t, GetDVBServiceType, m_dvbServiceType)
LOCKED_GETTER(uint8_t, IsScrambled, m_scrambled)
LOCKED_GETTER(uint8_t, IsFreeCA, m_freeCA)
LOCKED_GETTER(uint8_t, HasTeletext, m_hasTeletext)
LOCKED_GETTER(uint8_t, HasSubtitles, m_hasSubtitles)
LOCKED_GETTER(uint8_t, HasEPG, m_hasEPG)
LOCKED_GETTER(uint8_t, HasSeveralAudioStreams, m_severalAudio)
LOCKED_GETTER(uint32_t, GetReceptionState, m_receptionState)
LOCKED_GETTER(bool, IsDecodingStopped, m_decodingStopped != 0)
LOCKED_GETTER(CServiceManager*, GetServiceManager, m_manager)

#undef LOCKED_GETTER

CService::CEvent CService::WithFraction(const CEvent& event) const
{
    CEvent copy = event;
    copy.fraction = event.duration != 0
                        ? static_cast<float>((static_cast<double>(base::UtcNow()) - static_cast<double>(event.start)) /
                                             static_cast<double>(event.duration))
                        : 0.0f;
    return copy;
}

CService::CEvent CService::GetPresentEvent() const
{
    base::CScopedLock lock(Lock());
    return WithFraction(m_present);
}

CService::CEvent CService::GetFollowingEvent() const
{
    base::CScopedLock lock(Lock());
    return WithFraction(m_following);
}

void CService::BeginUpdate()
{
    base::CScopedLock lock(Lock());
    if (++m_updateDepth == 1)
        m_pendingMask = 0;
}

void CService::EndUpdate(uint32_t mask)
{
    base::CScopedLock lock(Lock());
    m_pendingMask |= mask;
    if (m_updateDepth > 0 && --m_updateDepth == 0 && m_pendingMask != 0) {
        const uint32_t pending = m_pendingMask;
        m_pendingMask = 0;
        NotifyChanged(pending);
    }
}

HRESULT CService::NotifyChanged(uint32_t mask)
{
    if (!m_callback)
        return S_FALSE;
    return m_callback->OnServiceChanged(this, mask, m_receptionState, m_decodingStopped);
}

HRESULT CService::ActivateDecoding()
{
    base::CScopedLock lock(Lock());
    if (!m_decodingStopped)
        return S_FALSE;
    m_decodingStopped = 0;
    m_subtitles.Start();
    m_teletext.Start();
    return S_OK;
}

HRESULT CService::DeactivateDecoding()
{
    base::CScopedLock lock(Lock());
    if (m_decodingStopped == 1)
        return S_FALSE;
    m_decodingStopped = 1;
    m_subtitles.Stop();
    m_teletext.Stop();
    return S_OK;
}

HRESULT CService::StartTimeshift()
{
    if (!m_timeshift)
        return E_FAIL;
    // The device thread may replace the stream table on a PMT update at any moment: the PID is
    // read under the service lock, which the buffer must not hold (its replay thread takes it).
    uint16_t pcrPid = 0;
    {
        base::CScopedLock lock(Lock());
        if (const CStream* pcr = GetPCRStream())
            pcrPid = pcr->pid;
    }
    return m_timeshift->Pause(pcrPid);
}

HRESULT CService::StopTimeshift(bool goLive)
{
    if (!m_timeshift)
        return E_FAIL;
    return goLive ? m_timeshift->Stop() : m_timeshift->Play();
}

void CService::OnTeletextSelected(uint16_t page, uint16_t languageId) { m_teletext.SetStreamInfo(page, languageId); }

void CService::OnSubtitlesOff() { m_subtitles.Clear(); }

HRESULT CService::OnStreamPacket(CTSDemultiplexerStream*, const uint8_t* packet, uint32_t length, uint32_t)
{
    if (!packet || length != kTSPacketSize)
        return E_FAIL;
    {
        CUpdateScope scope(*this);
        if (TSScramblingControl(packet) != 0 && !m_scrambled) {
            m_scrambled = 1;
            scope.mask |= kDescriptionChanged;
        }
        if (m_decodingStopped)
            return S_FALSE;
    }
    if (!m_timeshift || m_timeshift->Write(packet, length) == S_FALSE)
        OnBufferedPacket(packet, length);
    return S_OK;
}

HRESULT CService::OnBufferedPacket(const uint8_t* packet, uint32_t length)
{
    uint16_t teletextPid = 0, subtitlePid = 0, videoPid = 0, audioPid = 0;
    bool teletextSubtitles = false;
    {
        base::CScopedLock lock(Lock());
        if (m_decodingStopped)
            return S_FALSE;
        if (const CStream* s = GetTeletextStream())
            teletextPid = s->pid;
        if (const CSubtitleStream* s = GetSubtitleStream()) {
            subtitlePid = s->pid;
            teletextSubtitles = s->teletext != 0;
        }
        if (const CStream* s = GetVideoStream())
            videoPid = s->pid;
        if (const CStream* s = GetAudioStream())
            audioPid = s->pid;
    }
    const uint16_t pid = TSPacketPid(packet);
    if (pid == 0)
        return E_FAIL;
    // Teletext subtitles are pages of the teletext stream: they go to the teletext decoder.
    if (pid == teletextPid || (pid == subtitlePid && teletextSubtitles))
        return m_teletext.OnTeletextPacket(packet, length);
    if (pid == subtitlePid)
        return m_subtitles.OnSubtitlePacket(packet, length);
    if (pid == videoPid || pid == audioPid) {
        if (m_callback)
            m_callback->OnServicePacket(this, pid, packet, length, 0);
        return S_OK;
    }
    return S_FALSE;
}

} // namespace libDVB
