#include "dvb/DVBPlaybackCore/CQORService.h"

#include "dvb/DVBPlaybackCore/FileString.h"
#include "dvb/DVBPlaybackCore/TextCase.h"

namespace DVBPlaybackCore {

CQORService::CQORService(CServiceCallback* callback, base::CByteReader& file) : CService(callback, nullptr)
{
    base::CScopedLock lock(Lock());
    m_valid = Read(file);
}

CQORService::CQORService(CServiceCallback* callback, libDVB::CServiceManager* manager, uint16_t serviceId,
                         uint16_t transportStreamId, const std::u16string& name)
    : CService(callback, manager, serviceId, transportStreamId, name)
{
}

CQORService::~CQORService() = default;

// Record layout: u32 length of what follows; u16 service_id, transport_stream_id,
// original_network_id, reserved id; i32 favourite and channel numbers; u32 DVB service_type and
// service type; strings name and provider; u8 scrambled, teletext, subtitles, EPG, several audio;
// string logo path; five u16 preferred PIDs; u32 tune-info count; the tune infos.
bool CQORService::Read(base::CByteReader& file)
{
    const size_t start = file.Position();
    const uint32_t length = file.U32LE();
    const uint16_t serviceId = file.U16LE();
    const uint16_t transportStreamId = file.U16LE();
    const uint16_t originalNetworkId = file.U16LE();
    const uint16_t reservedId = file.U16LE();
    const int32_t favourite = static_cast<int32_t>(file.U32LE());
    const int32_t channel = static_cast<int32_t>(file.U32LE());
    const uint32_t dvbServiceType = file.U32LE();
    const uint32_t serviceType = file.U32LE();
    if (file.Overrun())
        return false;
    m_serviceId = serviceId;
    m_transportStreamId = transportStreamId;
    m_originalNetworkId = originalNetworkId;
    m_reservedId = reservedId;
    m_favouriteNumber = favourite;
    m_channelNumber = channel;
    m_dvbServiceType = dvbServiceType;
    m_serviceType = serviceType;
    if (!ReadFileString(file, m_name) || !ReadFileString(file, m_provider))
        return false;
    const uint8_t* flags = file.Take(5);
    if (!flags)
        return false;
    m_scrambled = flags[0];
    m_hasTeletext = flags[1];
    m_hasSubtitles = flags[2];
    m_hasEPG = flags[3];
    m_severalAudio = flags[4];
    if (!ReadFileString(file, m_logoPath))
        return false;
    uint16_t pids[kPreferredPidCount];
    for (auto& pid : pids)
        pid = file.U16LE();
    const uint32_t count = file.U32LE();
    if (file.Overrun())
        return false;
    SetPreferredPids(pids);
    // The count is not trusted: the bytes end first when it lies.
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* guid = file.Take(16);
        if (!guid)
            return false;
        std::unique_ptr<CTuneInfo> tuneInfo = CTuneInfo::Create(guid);
        if (!tuneInfo) {
            // A kind of tune info we cannot read: its size is unknown, so the rest of the record
            // is stepped over by the record's length.
            const size_t end = start + 4 + static_cast<size_t>(length);
            if (end < file.Position() || end > file.Size())
                return false;
            file.Skip(end - file.Position());
            return true;
        }
        if (!tuneInfo->Load(file))
            return false;
        m_tuneInfos.push_back(std::move(tuneInfo));
    }
    return true;
}

void CQORService::Save(base::CByteWriter& file) const
{
    base::CScopedLock lock(Lock());
    const size_t lengthAt = file.Position();
    file.U32LE(0);
    file.U16LE(m_serviceId);
    file.U16LE(m_transportStreamId);
    file.U16LE(m_originalNetworkId);
    file.U16LE(m_reservedId);
    file.U32LE(static_cast<uint32_t>(m_favouriteNumber));
    file.U32LE(static_cast<uint32_t>(m_channelNumber));
    file.U32LE(m_dvbServiceType);
    file.U32LE(m_serviceType);
    uint32_t counter = 24;
    counter += file.Utf16String(m_name);
    counter += file.Utf16String(m_provider);
    for (uint8_t flag : {m_scrambled, m_hasTeletext, m_hasSubtitles, m_hasEPG, m_severalAudio})
        file.U8(flag);
    counter += 5;
    counter += file.Utf16String(m_logoPath);
    uint16_t pids[kPreferredPidCount];
    const_cast<CQORService*>(this)->GetPreferredPids(pids);
    for (uint16_t pid : pids)
        file.U16LE(pid);
    file.U32LE(static_cast<uint32_t>(m_tuneInfos.size()));
    counter += 2 * kPreferredPidCount + 4;
    for (const auto& tuneInfo : m_tuneInfos)
        if (tuneInfo)
            tuneInfo->Save(file, counter);
    file.PatchU32LE(lengthAt, counter);
}

HRESULT CQORService::AddTuneInfo(CTuneInfo* tuneInfo)
{
    if (!tuneInfo)
        return E_FAIL;
    base::CScopedLock lock(Lock());
    for (const auto& known : m_tuneInfos)
        if (known && known->Equals(*tuneInfo))
            return S_FALSE;
    m_tuneInfos.emplace_back(tuneInfo);
    return S_OK;
}

size_t CQORService::GetTuneInfoCount() const
{
    base::CScopedLock lock(Lock());
    return m_tuneInfos.size();
}

CTuneInfo* CQORService::GetTuneInfo(size_t index) const
{
    base::CScopedLock lock(Lock());
    return index < m_tuneInfos.size() ? m_tuneInfos[index].get() : nullptr;
}

void CQORService::MergeTuneInfosInto(CQORService& target)
{
    base::CScopedLock lock(Lock());
    for (auto& tuneInfo : m_tuneInfos)
        if (tuneInfo && target.AddTuneInfo(tuneInfo.get()) == S_OK)
            tuneInfo.release();
}

void CQORService::TakeStoredFields(CQORService& from)
{
    base::CScopedLock lock(Lock());
    base::CScopedLock fromLock(from.Lock());
    m_originalNetworkId = from.m_originalNetworkId;
    m_reservedId = from.m_reservedId;
    m_favouriteNumber = from.m_favouriteNumber;
    m_channelNumber = from.m_channelNumber;
    m_dvbServiceType = from.m_dvbServiceType;
    m_serviceType = from.m_serviceType;
    m_name = from.m_name;
    m_provider = from.m_provider;
    m_scrambled = from.m_scrambled;
    m_hasTeletext = from.m_hasTeletext;
    m_hasSubtitles = from.m_hasSubtitles;
    m_hasEPG = from.m_hasEPG;
    m_severalAudio = from.m_severalAudio;
    m_logoPath = from.m_logoPath;
    uint16_t pids[kPreferredPidCount];
    from.GetPreferredPids(pids);
    SetPreferredPids(pids);
    m_tuneInfos = std::move(from.m_tuneInfos);
    from.m_tuneInfos.clear();
}

void CQORService::FindLogo(const std::vector<std::u16string>& logos)
{
    std::u16string name;
    for (char16_t c : GetName())
        if (c != u'"')
            name += LowerCase(c);
    const std::u16string* candidate = nullptr;
    const std::u16string* exact = nullptr;
    for (const std::u16string& path : logos) {
        // The file name first: a '.' in a folder name is not an extension.
        const size_t slash = path.find_last_of(u"\\/");
        std::u16string base = LowerCase(slash == std::u16string::npos ? path : path.substr(slash + 1));
        const size_t dot = base.rfind(u'.');
        if (dot != std::u16string::npos)
            base.erase(dot);
        if (base.empty())
            continue;
        if (base == name) {
            exact = &path;
            break;
        }
        if (!candidate && name.size() > base.size() && name.compare(0, base.size(), base) == 0) {
            const char16_t next = name[base.size()];
            if (next == u':' || next == u'\\' || next == u'/' || next == u' ')
                candidate = &path;
        }
    }
    const std::u16string* chosen = exact ? exact : candidate;
    SetLogoPath(chosen ? *chosen : std::u16string());
}

uint32_t CQORService::GetKey() const
{
    base::CScopedLock lock(Lock());
    return static_cast<uint32_t>(m_transportStreamId) << 16 | m_serviceId;
}

#define LOCKED_FIELD(type, get, set, member) \
    type CQORService::get() const            \
    {                                        \
        base::CScopedLock lock(Lock());      \
        return member;                       \
    }                                        \
    void CQORService::set(type value)        \
    {                                        \
        base::CScopedLock lock(Lock());      \
        member = value;                      \
    }

LOCKED_FIELD(int32_t, GetFavouriteNumber, SetFavouriteNumber, m_favouriteNumber)
LOCKED_FIELD(int32_t, GetChannelNumber, SetChannelNumber, m_channelNumber)
LOCKED_FIELD(int32_t, GetListPosition, SetListPosition, m_listPosition)
LOCKED_FIELD(uint32_t, GetNotSaved, SetNotSaved, m_notSaved)
LOCKED_FIELD(uint32_t, GetNetwork, SetNetwork, m_network)
LOCKED_FIELD(bool, IsValid, SetValid, m_valid)
LOCKED_FIELD(bool, IsHidden, SetHidden, m_hidden)
LOCKED_FIELD(uint32_t, GetSelected, SetSelected, m_selected)
LOCKED_FIELD(uint8_t, GetNew, SetNew, m_new)

#undef LOCKED_FIELD

std::u16string CQORService::GetLogoPath() const
{
    base::CScopedLock lock(Lock());
    return m_logoPath;
}

void CQORService::SetLogoPath(const std::u16string& path)
{
    base::CScopedLock lock(Lock());
    m_logoPath = path;
}

CQORService::CLogoImage* CQORService::GetLogoImage() const
{
    base::CScopedLock lock(Lock());
    return m_logoImage.get();
}

void CQORService::SetLogoImage(std::unique_ptr<CLogoImage> image)
{
    base::CScopedLock lock(Lock());
    m_logoImage = std::move(image);
}

} // namespace DVBPlaybackCore
