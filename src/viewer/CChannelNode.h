// A node of the channel menu tree (TV and radio by initial letter, network channels, favourites),
// built from the engine's channel list. A node owns its children.
#pragma once

#include <cstdint>
#include <string>

#include "dvb/DVBPlaybackCore/CServices.h"
#include "framework/CList.h"
#include "framework/CString.h"

class CChannelNode : public CList<CChannelNode*, CChannelNode*> {
public:
    CChannelNode() : CList(10) {}
    CChannelNode(const CString& name, uint16_t transportStreamId, uint16_t serviceId, uint8_t flag)
        : CList(10), m_name(name), m_transportStreamId(transportStreamId), m_serviceId(serviceId), m_flag(flag)
    {
    }
    virtual ~CChannelNode() { RemoveAll(); }
    CChannelNode(const CChannelNode&) = delete;
    CChannelNode& operator=(const CChannelNode&) = delete;

    // Deletes the children (and theirs).
    void RemoveAll();
    CChannelNode* AddChild(const CString& name, uint16_t transportStreamId = 0, uint16_t serviceId = 0,
                           uint8_t flag = 0);
    // The child at `index` in order; null past the end.
    CChannelNode* GetChild(int index) const;
    // The first child whose name begins with `letter`; null when none.
    CChannelNode* FindLetterGroup(wchar_t letter) const;

    CString m_name; // "-" makes a separator
    uint16_t m_transportStreamId = 0;
    uint16_t m_serviceId = 0;
    uint8_t m_flag = 0; // 1 for favourites
    // The list position the channel is played with (ListPosition); -1 lets the engine take the
    // channel's place in its TV or radio list.
    uint32_t m_number = 0;
};

namespace viewer {

// The texts of the three groups.
struct ChannelGroupNames {
    CString tv, radio, network;
};

CString ToCString(const std::u16string& text);

// The menu tree of the channel list (see CMainFrame::BuildChannelTree): a full build makes the
// three groups, a separator and the favourites, then files TV and radio services under their
// initial letter; a partial one refills only the network group of a tree a full build made.
void BuildChannelTree(CChannelNode& root, bool full, const DVBPlaybackCore::CServices& services,
                      const ChannelGroupNames& names);

// The display number of a service in its list: favourite number + 1 for favourites, channel
// number + 1000 for TV and + 5000 for radio.
enum class ChannelList { Favourites, TV, Radio };
int DisplayNumber(const DVBPlaybackCore::CQORService& service, ChannelList list);
// The list position of the entry at `index` of a list, by which the engine steps to its neighbours
// in that list: favourites from 1, TV from 1001, radio from 5001. Not the display number: favourite
// numbers count from 0 and channel numbers may leave gaps.
int32_t ListPosition(ChannelList list, size_t index);
// True when `number` written in decimal begins with `typed` written the same way; every number
// matches 0.
bool NumberBeginsWith(int number, int typed);

// Keyboard moves in a list of `count` items laid out in `columns` per row (a grid) or, with
// `columnList`, filled column by column with `rowsPerPage` rows. `selection` and `first` (the
// first visible item) are updated; true when Enter chose the valid selection.
struct ListKeyState {
    int count = 0;
    int columns = 1;
    int rowsPerPage = 0;
    bool columnList = false;
    int selection = -1;
    int first = 0;
};
bool ListKeyMove(ListKeyState& list, int key);

} // namespace viewer
