#include "dvb/libDVB/service/CServiceStreams.h"

#include "dvb/libDVB/service/LanguageTable.h"

namespace libDVB {

CStream*& CServiceStreams::Current(uint32_t kind)
{
    switch (kind) {
    case CStream::kVideo:
        return m_video;
    case CStream::kAudio:
        return m_audio;
    case CStream::kSubtitle:
        return m_subtitle;
    default:
        return m_teletext;
    }
}

HRESULT CServiceStreams::AddStream(CStream* stream, bool isPCR)
{
    if (!stream)
        return E_INVALIDARG;
    CUpdateScope scope(*this);
    m_streams.emplace_back(stream);
    const uint16_t pid = stream->pid;
    switch (stream->kind) {
    case CStream::kVideo:
        if (!m_video && (m_preferred[kVideoPid] == pid || m_preferred[kVideoPid] == 0))
            m_video = stream;
        if (!m_pcr)
            m_pcr = stream;
        break;
    case CStream::kAudio:
        if (!m_audio && (m_preferred[kAudioPid] == pid || m_preferred[kAudioPid] == 0))
            m_audio = stream;
        break;
    case CStream::kSubtitle:
        // Subtitles stay off unless the user chose this very stream before.
        if (!m_subtitle && m_preferred[kSubtitlePid] == pid)
            m_subtitle = stream;
        break;
    case CStream::kTeletext:
        if (!m_teletext && (m_preferred[kTeletextPid] == pid || m_preferred[kTeletextPid] == 0))
            m_teletext = stream;
        break;
    default:
        break;
    }
    if (isPCR)
        m_pcr = stream;
    scope.mask |= kStreamsChanged;
    return S_OK;
}

void CServiceStreams::ClearStreams()
{
    CUpdateScope scope(*this);
    m_pcr = m_video = m_audio = m_subtitle = m_teletext = nullptr;
    m_streams.clear();
    scope.mask |= kStreamsChanged;
}

CStream* CServiceStreams::FindStream(uint16_t pid, uint32_t kind)
{
    base::CScopedLock lock(m_lock);
    for (const auto& s : m_streams)
        if (s->kind == kind && s->pid == pid)
            return s.get();
    return nullptr;
}

HRESULT CServiceStreams::Select(uint32_t kind, const CStream& wanted)
{
    CUpdateScope scope(*this);
    CStream*& current = Current(kind);
    if (kind == CStream::kSubtitle && wanted.pid == 0) {
        OnSubtitlesOff();
        current = nullptr;
        m_preferred[kSubtitlePid] = 0;
        scope.mask |= kStreamsChanged;
        return S_OK;
    }
    if (current && current->pid == wanted.pid)
        return S_FALSE;
    CStream* found = FindStream(wanted.pid, kind);
    if (!found)
        return E_FAIL;
    current = found;
    static const PreferredPid kPreferredOf[] = {kReservedPid, kVideoPid, kAudioPid, kSubtitlePid, kTeletextPid};
    static const ChangeFlag kFlagOf[] = {kVideoChanged, kVideoChanged, kAudioChanged, kSubtitleChanged, kTeletextChanged};
    m_preferred[kPreferredOf[kind]] = found->pid;
    m_changed[kFlagOf[kind]] = 1;
    if (kind == CStream::kTeletext) {
        const auto* teletext = static_cast<const CTeletextStream*>(found);
        OnTeletextSelected(teletext->InitialPage(), LanguageIdFromCode(PackLanguageCode(teletext->Language())));
    }
    scope.mask |= kStreamsChanged;
    return S_OK;
}

HRESULT CServiceStreams::SelectVideoStream(const CStream& stream) { return Select(CStream::kVideo, stream); }
HRESULT CServiceStreams::SelectAudioStream(const CStream& stream) { return Select(CStream::kAudio, stream); }
HRESULT CServiceStreams::SelectSubtitleStream(const CStream& stream) { return Select(CStream::kSubtitle, stream); }
HRESULT CServiceStreams::SelectTeletextStream(const CStream& stream) { return Select(CStream::kTeletext, stream); }

CStream* CServiceStreams::GetVideoStream()
{
    base::CScopedLock lock(m_lock);
    return m_video;
}

CAudioStream* CServiceStreams::GetAudioStream()
{
    base::CScopedLock lock(m_lock);
    return static_cast<CAudioStream*>(m_audio);
}

CSubtitleStream* CServiceStreams::GetSubtitleStream()
{
    base::CScopedLock lock(m_lock);
    return static_cast<CSubtitleStream*>(m_subtitle);
}

CTeletextStream* CServiceStreams::GetTeletextStream()
{
    base::CScopedLock lock(m_lock);
    return static_cast<CTeletextStream*>(m_teletext);
}

CStream* CServiceStreams::GetPCRStream()
{
    base::CScopedLock lock(m_lock);
    return m_pcr;
}

void CServiceStreams::GetAudioStreams(std::vector<CAudioStream>& out)
{
    base::CScopedLock lock(m_lock);
    for (const auto& s : m_streams)
        if (s->kind == CStream::kAudio)
            out.push_back(static_cast<const CAudioStream&>(*s));
}

void CServiceStreams::GetSubtitleStreams(std::vector<CSubtitleStream>& out)
{
    base::CScopedLock lock(m_lock);
    for (const auto& s : m_streams)
        if (s->kind == CStream::kSubtitle)
            out.push_back(static_cast<const CSubtitleStream&>(*s));
}

size_t CServiceStreams::GetStreamCount()
{
    base::CScopedLock lock(m_lock);
    return m_streams.size();
}

void CServiceStreams::SetPreferredPids(const uint16_t pids[kPreferredPidCount])
{
    base::CScopedLock lock(m_lock);
    for (int i = 0; i < kPreferredPidCount; ++i)
        m_preferred[i] = pids[i];
}

void CServiceStreams::GetPreferredPids(uint16_t pids[kPreferredPidCount])
{
    base::CScopedLock lock(m_lock);
    for (int i = 0; i < kPreferredPidCount; ++i)
        pids[i] = m_preferred[i];
}

void CServiceStreams::TakeChangeFlags(uint32_t flags[kChangeFlagCount])
{
    base::CScopedLock lock(m_lock);
    for (int i = 0; i < kChangeFlagCount; ++i) {
        flags[i] = m_changed[i];
        m_changed[i] = 0;
    }
}

} // namespace libDVB
