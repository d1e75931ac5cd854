#include "viewer/CChannelNode.h"

#include <cwctype>
#include <unordered_map>

#include "dvb/DVBPlaybackCore/CQORService.h"

void CChannelNode::RemoveAll()
{
    for (POSITION p = GetHeadPosition(); p;)
        delete GetNext(p);
    CList::RemoveAll();
}

CChannelNode* CChannelNode::AddChild(const CString& name, uint16_t transportStreamId, uint16_t serviceId,
                                     uint8_t flag)
{
    CChannelNode* node = new CChannelNode(name, transportStreamId, serviceId, flag);
    AddTail(node);
    return node;
}

CChannelNode* CChannelNode::GetChild(int index) const
{
    int i = 0;
    for (POSITION p = GetHeadPosition(); p; ++i) {
        CChannelNode* node = GetNext(p);
        if (i == index)
            return node;
    }
    return nullptr;
}

CChannelNode* CChannelNode::FindLetterGroup(wchar_t letter) const
{
    for (POSITION p = GetHeadPosition(); p;) {
        CChannelNode* node = GetNext(p);
        if (node->m_name.GetLength() > 0 && node->m_name[0] == letter)
            return node;
    }
    return nullptr;
}

namespace viewer {

CString ToCString(const std::u16string& text)
{
    std::wstring wide(text.begin(), text.end());
    return CString(wide.c_str(), static_cast<int>(wide.size()));
}

int DisplayNumber(const DVBPlaybackCore::CQORService& service, ChannelList list)
{
    switch (list) {
    case ChannelList::Favourites:
        return service.GetFavouriteNumber() + 1;
    case ChannelList::TV:
        return service.GetChannelNumber() + 1000;
    case ChannelList::Radio:
        return service.GetChannelNumber() + 5000;
    }
    return 0;
}

int32_t ListPosition(ChannelList list, size_t index)
{
    using DVBPlaybackCore::CServices;
    const int32_t base = list == ChannelList::Favourites ? CServices::kFavouriteBase
                         : list == ChannelList::TV       ? CServices::kTVBase
                                                         : CServices::kRadioBase;
    return base + static_cast<int32_t>(index);
}

bool NumberBeginsWith(int number, int typed)
{
    if (typed == 0)
        return true;
    const std::string n = std::to_string(number), t = std::to_string(typed);
    return n.compare(0, t.size(), t) == 0;
}

void BuildChannelTree(CChannelNode& root, bool full, const DVBPlaybackCore::CServices& services,
                      const ChannelGroupNames& names)
{
    using DVBPlaybackCore::CQORService;
    CChannelNode* tv = nullptr;
    CChannelNode* radio = nullptr;
    CChannelNode* network = nullptr;
    if (full) {
        root.RemoveAll();
        tv = root.AddChild(names.tv);
        radio = root.AddChild(names.radio);
        network = root.AddChild(names.network);
        root.AddChild(L"-");
        DVBPlaybackCore::CServices::ServiceArray favourites;
        uint64_t version = 0;
        services.GetFavouriteServices(favourites, false, version);
        for (size_t index = 0; index < favourites.size(); ++index) {
            CQORService* service = favourites[index];
            CString name;
            name.Format(L"%s %0.2d", static_cast<const wchar_t*>(ToCString(service->GetName())),
                        service->GetFavouriteNumber() + 1);
            root.AddChild(name, service->GetTransportStreamId(), service->GetServiceId(), 1)->m_number =
                static_cast<uint32_t>(ListPosition(ChannelList::Favourites, index));
        }
    } else {
        if (root.IsEmpty())
            return;
        network = root.GetChild(2);
        if (network)
            network->RemoveAll();
    }

    // A TV or radio entry, and a network one, steps in the channel's own TV or radio list.
    std::unordered_map<const CQORService*, int32_t> positions;
    for (ChannelList list : {ChannelList::TV, ChannelList::Radio}) {
        DVBPlaybackCore::CServices::ServiceArray sorted;
        uint64_t version = 0;
        if (list == ChannelList::TV)
            services.GetTVServices(sorted, false, version);
        else
            services.GetRadioServices(sorted, false, version);
        for (size_t index = 0; index < sorted.size(); ++index)
            positions[sorted[index]] = ListPosition(list, index);
    }
    const auto positionOf = [&positions](const CQORService* service) {
        const auto found = positions.find(service);
        return static_cast<uint32_t>(found == positions.end() ? -1 : found->second);
    };

    DVBPlaybackCore::CServices::ServiceArray all;
    services.GetAllServices(all);
    DVBPlaybackCore::CServices::SortServicesByName(all);
    for (CQORService* service : all) {
        if (service->IsHidden())
            continue;
        const CString name = ToCString(service->GetName());
        if (network && service->GetReceptionState() == libDVB::CService::kReceived && service->GetNetwork())
            network->AddChild(name, service->GetTransportStreamId(), service->GetServiceId())->m_number =
                positionOf(service);
        if (!full)
            continue;
        const uint32_t type = service->GetServiceType();
        CChannelNode* group = type == libDVB::CService::kTV ? tv : type == libDVB::CService::kRadio ? radio : nullptr;
        if (!group || name.IsEmpty())
            continue;
        const wchar_t letter = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(name[0])));
        CChannelNode* letterGroup = group->FindLetterGroup(letter);
        if (!letterGroup)
            letterGroup = group->AddChild(CString(letter));
        CString entry;
        entry.Format(L"%s %0.4d", static_cast<const wchar_t*>(name),
                     DisplayNumber(*service, type == libDVB::CService::kTV ? ChannelList::TV : ChannelList::Radio));
        letterGroup->AddChild(entry, service->GetTransportStreamId(), service->GetServiceId())->m_number =
            positionOf(service);
    }
}

bool ListKeyMove(ListKeyState& list, int key)
{
    constexpr int kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
    if (key == kEnter)
        return list.selection >= 0 && list.selection < list.count;
    const int columns = list.columns > 0 ? list.columns : 1;
    const int rows = list.rowsPerPage > 0 ? list.rowsPerPage : 1; // an item height of 0 shows one row
    int step;
    switch (key) {
    case kLeft:
        step = list.columnList ? -rows : -1;
        break;
    case kRight:
        step = list.columnList ? rows : 1;
        break;
    case kUp:
        step = list.columnList ? -1 : -columns;
        break;
    case kDown:
        step = list.columnList ? 1 : columns;
        break;
    default:
        return false;
    }
    if (list.count <= 0) {
        list.selection = -1; // nothing to select in an empty list
        list.first = 0;
        return false;
    }
    int selection = list.selection + step;
    if (selection > list.count - 1)
        selection = list.count - 1;
    if (selection < 0)
        selection = 0;
    list.selection = selection;
    // Keep the selection on the visible page: a page of `rows` rows of `perRow` items.
    const int perRow = list.columnList ? 1 : columns;
    const int row = selection / perRow;
    const int firstRow = list.first / perRow;
    if (row < firstRow)
        list.first = row * perRow;
    else if (row >= firstRow + rows)
        list.first = (row - rows + 1) * perRow;
    if (list.first < 0)
        list.first = 0;
    return false;
}

} // namespace viewer
