// The channel menus (a tree of channel nodes turned into popup menus), the File and View menus,
// the tune panel's list and the stream languages.
#include "viewer/MainFrm.h"

#include <vector>

#include "dvb/libDVB/service/LanguageTable.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"

namespace {
constexpr UINT kNoNetworkSources = 139;
constexpr UINT kNetworkChannels = 140;
constexpr UINT kRadioStations = 141;
constexpr UINT kTVChannels = 142;
constexpr UINT kFileMenuTexts[] = {148, 149, 150, 151};
constexpr UINT kViewMenuTexts[] = {143, 144, 145, 146, 147};
constexpr UINT kFirstNetworkItem = 39000;
constexpr UINT kFirstChannelItem = 100;

// The channel items' ids, restarted for every rebuild of the menu.
UINT g_nextMenuId = kFirstChannelItem;

CString Text(UINT id)
{
    return CString(LoadLocalizedString(id).c_str());
}
} // namespace

void CMainFrame::BuildChannelTree(bool full)
{
    if (!m_engine)
        return;
    viewer::BuildChannelTree(m_channelTree, full, *m_engine,
                             viewer::ChannelGroupNames{Text(kTVChannels), Text(kRadioStations), Text(kNetworkChannels)});
}

void CMainFrame::RebuildChannelMenu(CMenu& menu)
{
    while (menu.GetMenuItemCount() > 0)
        menu.DeleteMenu(0, MF_BYPOSITION);
    BuildChannelTree(false);
    g_nextMenuId = kFirstChannelItem;
    AppendChannelMenu(menu, &m_channelTree);
    if (CMenu* network = menu.GetSubMenu(2))
        AppendNetworkSources(*network);
    // Without favourites the separator after the three groups would end the menu.
    if (menu.GetMenuItemCount() == 4)
        menu.DeleteMenu(3, MF_BYPOSITION);
}

void CMainFrame::AppendChannelMenu(HMENU menu, CChannelNode* node)
{
    const CString network = Text(kNetworkChannels);
    for (POSITION p = node->GetHeadPosition(); p;) {
        CChannelNode* child = node->GetNext(p);
        if (!child->IsEmpty() || child->m_name == network) {
            HMENU popup = ::CreatePopupMenu();
            AppendChannelMenu(popup, child);
            ::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), child->m_name);
            continue;
        }
        const UINT id = g_nextMenuId++;
        if (child->m_name == L"-") {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        ::AppendMenuW(menu, MF_STRING, id, child->m_name);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(child);
        ::SetMenuItemInfoW(menu, id, FALSE, &info);
    }
}

void CMainFrame::AppendNetworkSources(CMenu& submenu)
{
    // The item data is the announcement's id: the dispatcher reads it back as 16 bits and asks
    // the listener for a copy of that announcement.
    UINT position = 0;
    for (uint16_t id : m_sapParser.GetAnnouncementIds()) {
        const std::unique_ptr<libDVB_EthernetDevice::CNetworkAnnouncement> announcement = m_sapParser.GetAnnouncement(id);
        if (!announcement)
            continue;
        const UINT itemId = kFirstNetworkItem + position;
        submenu.InsertMenu(position, MF_BYPOSITION | MF_STRING, itemId, viewer::ToCString(announcement->name));
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        info.dwItemData = id;
        ::SetMenuItemInfoW(submenu, position, TRUE, &info);
        ++position;
    }
    if (position == 0)
        submenu.InsertMenu(position++, MF_BYPOSITION | MF_STRING | MF_GRAYED, kFirstNetworkItem, Text(kNoNetworkSources));
    submenu.InsertMenu(position, MF_BYPOSITION | MF_SEPARATOR);
}

void CMainFrame::FillFileMenu(CMenu& menu)
{
    while (menu.GetMenuItemCount() > 0)
        menu.DeleteMenu(0, MF_BYPOSITION);
    UINT position = 0;
    menu.InsertMenu(position++, MF_BYPOSITION | MF_STRING, ID_FILE_OPEN_MEDIA, Text(kFileMenuTexts[0]));
    menu.InsertMenu(position++, MF_BYPOSITION | MF_STRING, ID_FILE_CLOSE_MEDIA, Text(kFileMenuTexts[1]));
    menu.InsertMenu(position++, MF_BYPOSITION | MF_SEPARATOR);
    menu.InsertMenu(position++, MF_BYPOSITION | MF_STRING, ID_FILE_RECORDED, Text(kFileMenuTexts[2]));
    menu.InsertMenu(position++, MF_BYPOSITION | MF_SEPARATOR);
    menu.InsertMenu(position, MF_BYPOSITION | MF_STRING, ID_FILE_EXIT, Text(kFileMenuTexts[3]));
}

void CMainFrame::FillViewMenu(CMenu& menu)
{
    while (menu.GetMenuItemCount() > 0)
        menu.DeleteMenu(0, MF_BYPOSITION);
    const UINT ids[] = {ID_VIEW_HALF_SIZE, ID_VIEW_NORMAL_SIZE, ID_VIEW_DOUBLE_SIZE, ID_VIEW_FULLSCREEN};
    UINT position = 0;
    for (int i = 0; i < 4; ++i)
        menu.InsertMenu(position++, MF_BYPOSITION | MF_STRING, ids[i], Text(kViewMenuTexts[i]));
    menu.InsertMenu(position++, MF_BYPOSITION | MF_SEPARATOR);
    menu.InsertMenu(position, MF_BYPOSITION | MF_STRING | (m_onTop ? MF_CHECKED : MF_UNCHECKED), ID_VIEW_ALWAYS_ON_TOP,
                    Text(kViewMenuTexts[4]));
}

void CMainFrame::FillTuneList(int typedNumber)
{
    if (!m_engine)
        return;
    struct Item {
        CString number, name;
        int key, position;
    };
    // The lists are copied and read before the user-interface lock: the service lock comes first.
    std::vector<Item> items;
    const viewer::ChannelList kinds[] = {viewer::ChannelList::Favourites, viewer::ChannelList::TV,
                                         viewer::ChannelList::Radio};
    for (viewer::ChannelList kind : kinds) {
        DVBPlaybackCore::CServices::ServiceArray services;
        uint64_t version = 0;
        if (kind == viewer::ChannelList::Favourites)
            m_engine->GetFavouriteServices(services, false, version);
        else if (kind == viewer::ChannelList::TV)
            m_engine->GetTVServices(services, false, version);
        else
            m_engine->GetRadioServices(services, false, version);
        for (size_t index = 0; index < services.size(); ++index) {
            CQORService* service = services[index];
            const int number = viewer::DisplayNumber(*service, kind);
            if (!viewer::NumberBeginsWith(number, typedNumber))
                continue;
            Item item;
            item.number.Format(kind == viewer::ChannelList::Favourites ? L"%.2d" : L"%.4d", number);
            item.name = viewer::ToCString(service->GetName());
            item.key = static_cast<int>(service->GetKey());
            item.position = viewer::ListPosition(kind, index);
            items.push_back(item);
        }
    }
    base::CScopedLock ui(m_uiLock);
    m_display.ClearTuneList();
    for (const Item& item : items)
        m_display.AddTuneItem(item.number, item.name, item.key, item.position);
}

void CMainFrame::SelectStream(int id)
{
    if (!m_engine)
        return;
    CQORService* service = nullptr;
    m_engine->GetCurrentService(&service);
    if (!service)
        return;
    const int kind = (id >> 16) & 0xFFFF;
    const uint16_t pid = static_cast<uint16_t>(id & 0xFFFF);
    if (kind == 1) {
        service->SelectAudioStream(libDVB::CAudioStream(pid));
        return;
    }
    if (kind != 2)
        return;
    m_engine->RelayDisplayFlag(false);
    m_engine->ShowTeletext(false, 0, false);
    service->SelectSubtitleStream(libDVB::CSubtitleStream(0));
    if (pid == 0)
        return;
    std::vector<libDVB::CSubtitleStream> streams;
    service->GetSubtitleStreams(streams);
    for (const libDVB::CSubtitleStream& stream : streams) {
        if (stream.pid != pid)
            continue;
        m_engine->RelayDisplayFlag(true);
        service->SelectSubtitleStream(stream);
        if (stream.teletext)
            m_engine->ShowTeletext(true, stream.page, true);
        return;
    }
    // A PID that is not among the subtitle streams: subtitles stay off.
}

CString CMainFrame::LanguageDisplayName(const char code[3])
{
    if (code[0] == 'N' && code[1] == 'A' && code[2] == 'R')
        return CString(L"Narrator");
    const uint16_t language = libDVB::LanguageIdFromCode(libDVB::PackLanguageCode(reinterpret_cast<const uint8_t*>(code)));
    if (language == 0)
        return CString();
    const LCID locale = MAKELCID(MAKELANGID(language, SUBLANG_DEFAULT), SORT_DEFAULT);
    wchar_t english[128] = {}, native[128] = {};
    ::GetLocaleInfoW(locale, LOCALE_SENGLANGUAGE, english, 128);
    ::GetLocaleInfoW(locale, LOCALE_SNATIVELANGNAME, native, 128);
    CString name;
    name.Format(L"%s (%s)", english, native);
    return name;
}
