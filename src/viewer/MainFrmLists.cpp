// The OSD's channel list and stream switcher, filled from the engine. What the lists need of the
// services is read first, with no frame lock held (the service lock comes before m_uiLock), then the
// OSD is filled under m_uiLock in one go.
#include "viewer/MainFrm.h"

#include <vector>

#include "viewer/ListRules.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"

namespace {
constexpr UINT kLanguageWord = 138;
constexpr UINT kUnknown = 162;
constexpr UINT kNoSubtitles = 184;
constexpr int kAudioItem = 0x10000;
constexpr int kSubtitleItem = 0x20000;

std::u16string Text(UINT id)
{
    return viewer::ToU16(LoadLocalizedString(id));
}

struct SwitcherItem {
    CString text;
    int value;
    int value2;
};
} // namespace

void CMainFrame::FillChannelList(int kind)
{
    struct Item {
        CString number, name;
        int value, value2;
        bool select;
    };
    std::vector<Item> items;
    if (m_engine) {
        DVBPlaybackCore::CServices::ServiceArray services;
        uint64_t version = 0;
        switch (kind) {
        case viewer::KindFavourites:
            m_engine->GetFavouriteServices(services, false, version);
            break;
        case viewer::KindTV:
            m_engine->GetTVServices(services, false, version);
            break;
        case viewer::KindRadio:
            m_engine->GetRadioServices(services, false, version);
            break;
        default:
            m_engine->GetRunningServices(services, true); // received from a multicast group only
            break;
        }
        CQORService* current = nullptr;
        m_engine->GetCurrentService(&current);
        for (size_t index = 0; index < services.size(); ++index) {
            CQORService* service = services[index];
            const viewer::ChannelListEntry entry =
                viewer::ChannelListItem(kind, index, service->GetFavouriteNumber(), service->GetChannelNumber(),
                                        service->GetTransportStreamId(), service->GetServiceId());
            items.push_back({viewer::ToCString(entry.number), viewer::ToCString(service->GetName()), entry.value,
                             entry.value2, service == current});
        }
    }
    base::CScopedLock ui(m_uiLock);
    m_display.SetChannelListTab(kind);
    m_display.ClearChannelList();
    for (const Item& item : items)
        m_display.AddChannelListItem(item.number, item.name, item.value, item.value2, item.select);
    m_channelListKind = static_cast<BYTE>(kind);
}

void CMainFrame::FillAudioList()
{
    std::vector<SwitcherItem> items;
    CQORService* service = nullptr;
    if (m_engine)
        m_engine->GetCurrentService(&service);
    if (service) {
        std::vector<libDVB::CAudioStream> streams;
        uint16_t currentPid = 0; // no audio stream in use: compared with PID 0
        {
            base::CScopedLock lock(service->Lock());
            service->GetAudioStreams(streams);
            if (const libDVB::CAudioStream* audio = service->GetAudioStream())
                currentPid = audio->pid;
        }
        const std::u16string word = Text(kLanguageWord), unknown = Text(kUnknown);
        int counter = 1;
        for (const libDVB::CAudioStream& stream : streams) {
            const CString language = LanguageDisplayName(reinterpret_cast<const char*>(stream.language));
            const std::u16string text =
                viewer::StreamItemText(viewer::ToU16(language.GetString()), word, counter, unknown, nullptr);
            items.push_back({viewer::ToCString(text), kAudioItem | stream.pid, stream.pid == currentPid ? 1 : 0});
        }
    }
    base::CScopedLock ui(m_uiLock);
    for (const SwitcherItem& item : items)
        m_display.AddSwitcherItem(item.text, item.value, item.value2);
}

void CMainFrame::FillSubtitleList()
{
    std::vector<SwitcherItem> items;
    CQORService* service = nullptr;
    if (m_engine)
        m_engine->GetCurrentService(&service);
    std::vector<libDVB::CSubtitleStream> streams;
    uint16_t currentPid = 0; // no subtitle stream selected reads as PID 0: "No subtitles" is chosen
    if (service) {
        base::CScopedLock lock(service->Lock());
        service->GetSubtitleStreams(streams);
        if (const libDVB::CSubtitleStream* subtitle = service->GetSubtitleStream())
            currentPid = subtitle->pid;
    }
    items.push_back({viewer::ToCString(Text(kNoSubtitles)), kSubtitleItem, currentPid == 0 ? 1 : 0});
    const std::u16string word = Text(kLanguageWord), unknown = Text(kUnknown);
    const std::u16string teletext = u"Teletext", dvb;
    int counter = 1;
    for (const libDVB::CSubtitleStream& stream : streams) {
        const CString language = LanguageDisplayName(reinterpret_cast<const char*>(stream.language));
        const std::u16string text = viewer::StreamItemText(viewer::ToU16(language.GetString()), word, counter, unknown,
                                                           stream.teletext ? &teletext : &dvb);
        items.push_back(
            {viewer::ToCString(text), kSubtitleItem | stream.pid, stream.pid != 0 && stream.pid == currentPid ? 1 : 0});
    }
    base::CScopedLock ui(m_uiLock);
    for (const SwitcherItem& item : items)
        m_display.AddSwitcherItem(item.text, item.value, item.value2);
}
