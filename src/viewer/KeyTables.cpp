#include "viewer/KeyTables.h"

#include "viewer/CommandIds.h"

namespace viewer {

namespace {
constexpr uint32_t kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kEscape = 0x1B, kLeft = 0x25, kUp = 0x26,
                   kRight = 0x27, kDown = 0x28, kDelete = 0x2E, kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B,
                   kSubtract = 0x6D, kF1 = 0x70, kF2 = 0x71, kF3 = 0x72, kF4 = 0x73;
// WM_APPCOMMAND's commands (APPCOMMAND_*).
constexpr uint32_t kAppBrowserBackward = 1, kAppVolumeDown = 9, kAppVolumeUp = 10, kAppMediaStop = 13,
                   kAppMediaPlayPause = 14, kAppMediaPlay = 46, kAppMediaPause = 47, kAppMediaRecord = 48;

KeyAction Run(uint32_t command) { return {KeyStep::Command, command}; }
KeyAction Do(KeyStep step) { return {step, 0}; }

// The letters that open the other views: channel list, guide, stream switcher, recorded shows,
// teletext. A view's own letter closes it instead (handled before this).
KeyAction ViewLetter(uint32_t key)
{
    switch (key) {
    case 'C': return Run(CmdChannelList);
    case 'E': return Run(CmdGuide);
    case 'L': return Run(CmdStreamSwitcher);
    case 'R': return Run(CmdRecordedShows);
    case 'T': return Run(CmdTeletext);
    default: return {};
    }
}

// Tab steps favourites -> TV -> radio -> network -> favourites; F1..F4 pick one. `ids` holds the
// commands for favourites, TV, radio and network.
KeyAction KindKey(uint32_t key, int kind, const Command (&ids)[4], bool& used)
{
    used = true;
    if (key == kTab)
        return Run(ids[(kind >= KindFavourites && kind <= KindNetwork ? kind + 1 : 0) % 4]);
    if (key >= kF1 && key <= kF4)
        return Run(ids[key - kF1]);
    used = false;
    return {};
}

KeyAction ClosingView(uint32_t key, uint32_t ownLetter)
{
    if (key == kEscape || key == ownLetter)
        return Do(KeyStep::CloseView);
    if (key == 'M')
        return Do(KeyStep::CloseThenMenu);
    return ViewLetter(key);
}
} // namespace

KeyView SelectKeyView(const ShownViews& shown)
{
    if (shown.tune) return KeyView::Tune;
    if (shown.channelList) return KeyView::ChannelList;
    if (shown.recorded) return KeyView::Recorded;
    if (shown.teletext) return KeyView::Teletext;
    if (shown.guide) return KeyView::Guide;
    if (shown.switcher) return KeyView::Switcher;
    if (shown.menu) return KeyView::Menu;
    return KeyView::Idle;
}

KeyAction ViewKeyAction(KeyView view, uint32_t key, const KeyContext& context)
{
    bool used = false;
    switch (view) {
    case KeyView::Tune:
        if (key == kBack || key == kEscape || key == kDelete)
            return Do(context.tuneNumberEntered ? KeyStep::TuneErase : KeyStep::TuneCloseNow);
        if (key == kUp || key == kDown)
            return Do(KeyStep::TuneKeepOpen);
        return {};
    case KeyView::ChannelList: {
        const KeyAction kindAction = KindKey(key, context.kind, kChannelListCommands, used);
        if (used)
            return kindAction;
        return ClosingView(key, 'C');
    }
    case KeyView::Recorded:
        return ClosingView(key, 'R');
    case KeyView::Teletext:
        return ClosingView(key, 'T');
    case KeyView::Guide: {
        const KeyAction kindAction = KindKey(key, context.kind, kGuideKindCommands, used);
        if (used)
            return kindAction;
        if (key == kReturn)
            return Run(CmdGuideNow);
        return ClosingView(key, 'E');
    }
    case KeyView::Switcher:
        if (key == kLeft || key == kF1)
            return Run(CmdSwitcherAudio);
        if (key == kRight || key == kF2)
            return Run(CmdSwitcherSubtitles);
        if (key == 'M')
            return Do(KeyStep::MenuToggle);
        return ClosingView(key, 'L');
    case KeyView::Menu:
        if (key == kEscape || key == 'M')
            return Do(KeyStep::HideMenu);
        return ViewLetter(key);
    case KeyView::Idle:
        if (key == kReturn)
            return context.controlsShown ? KeyAction{} : Do(KeyStep::ShowControls);
        if (key == kEscape)
            return context.controlsShown ? Do(KeyStep::HideControls) : KeyAction{};
        if (key == kUp || key == kDown)
            return Run(CmdChannelList);
        if (key == 'M')
            return Do(KeyStep::MenuToggle);
        return ViewLetter(key);
    }
    return {};
}

uint32_t ControlKeyCommand(uint32_t key)
{
    switch (key) {
    case kUp: return CmdVolumeUp;
    case kDown: return CmdVolumeDown;
    case 'M': return CmdMute;
    default: return 0;
    }
}

uint32_t VolumeKeyCommand(uint32_t key)
{
    return key == kAdd ? CmdVolumeUp : key == kSubtract ? CmdVolumeDown : 0;
}

bool TeletextTakesKeyDown(uint32_t key)
{
    return key < kNumpad0 || key > kMultiply;
}

AppCommandAction MapAppCommand(uint32_t appCommand)
{
    switch (appCommand) {
    case kAppBrowserBackward: return {kEscape, 0};
    case kAppVolumeDown: return {kSubtract, 0};
    case kAppVolumeUp: return {kAdd, 0};
    case kAppMediaStop: return {0, CmdStopFile};
    case kAppMediaPlayPause:
    case kAppMediaPlay:
    case kAppMediaPause: return {0, CmdPlayPause};
    case kAppMediaRecord: return {0, CmdRecord};
    default: return {};
    }
}

uint32_t RemoteButtonKey(uint32_t code)
{
    switch (code) {
    case 0x24: return 'M';
    case 0x48: return 'R';
    case 0x5A: return 'T';
    case 0x5B: return kF1;
    case 0x5C: return kF2;
    case 0x5D: return kF3;
    case 0x5E: return kF4;
    case 0x65: return kRemoteClose;
    case 0x8D: return 'E';
    default: return 0;
    }
}

bool ParseRemoteReport(const uint8_t* data, size_t size, size_t headerSize, uint32_t& code)
{
    if (!data || headerSize > size || size - headerSize < 8)
        return false;
    const uint8_t* hid = data + headerSize;
    const auto read32 = [](const uint8_t* p) {
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
               static_cast<uint32_t>(p[3]) << 24;
    };
    const uint64_t reportSize = read32(hid);
    const uint64_t count = read32(hid + 4);
    const size_t available = size - headerSize - 8;
    // The counts come from the device: the reports they announce must lie within what was read.
    if (reportSize < 2 || count == 0 || reportSize * count > available)
        return false;
    const uint8_t* report = hid + 8;
    code = reportSize == 2 ? report[1] : static_cast<uint32_t>(report[1]) | static_cast<uint32_t>(report[2]) << 8;
    return true;
}

bool NoDataFor(uint32_t now, uint32_t lastPacketTick, uint32_t after)
{
    const int32_t elapsed = static_cast<int32_t>(now - lastPacketTick);
    return elapsed > 0 && static_cast<uint32_t>(elapsed) > after;
}

} // namespace viewer
