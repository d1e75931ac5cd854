// What a key does in each view of the display, what a remote button or a multimedia key stands
// for, and the no-data watchdog's timing. Key codes are Windows virtual-key codes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace viewer {

// The views that own the keyboard, in the order they are asked: the first shown one decides.
enum class KeyView { Tune, ChannelList, Recorded, Teletext, Guide, Switcher, Menu, Idle };

struct ShownViews {
    bool tune = false, channelList = false, recorded = false, teletext = false, guide = false,
         switcher = false, menu = false;
};

KeyView SelectKeyView(const ShownViews& shown);

enum class KeyStep {
    None,
    Command,         // run `command`
    CloseView,       // hide the view that owns the keys
    CloseThenMenu,   // hide it, then open the main menu
    MenuToggle,      // controls shown, the menu command, focus to the menu
    TuneErase,       // erase the last entered digit
    TuneCloseNow,    // the tune panel closes at once
    TuneKeepOpen,    // the tune panel stays open while its list is browsed
    ShowControls,
    HideControls,    // controls and top bars hidden
    HideMenu,        // menu, top bars and controls hidden
};

struct KeyAction {
    KeyStep step = KeyStep::None;
    uint32_t command = 0;
};

// The context a table needs: the shown list or guide kind (0 favourites, 1 TV, 2 radio,
// 3 network), whether the tune panel holds a number and whether the controls are shown.
struct KeyContext {
    int kind = 0;
    bool tuneNumberEntered = false;
    bool controlsShown = false;
};

KeyAction ViewKeyAction(KeyView view, uint32_t key, const KeyContext& context);

// With a Control key held: the volume and mute commands, 0 for keys that go on to the views.
uint32_t ControlKeyCommand(uint32_t key);

// The keypad's plus and minus change the volume in every view, after the view's own table.
uint32_t VolumeKeyCommand(uint32_t key);

// Keypad digits and the multiply key reach the teletext only as characters, never as key downs.
bool TeletextTakesKeyDown(uint32_t key);

// A multimedia key (WM_APPCOMMAND's command, device bits removed): a key it stands for or a
// command; both 0 when it does nothing.
struct AppCommandAction {
    uint32_t key = 0;
    uint32_t command = 0;
};
AppCommandAction MapAppCommand(uint32_t appCommand);

// A remote button code: the key it stands for, kRemoteClose to close the viewer, 0 for nothing.
constexpr uint32_t kRemoteClose = 0xFFFFFFFF;
uint32_t RemoteButtonKey(uint32_t code);

// The button code of a raw-input block as GetRawInputData writes it: the header of
// `headerSize` bytes, the HID report size and count (two 32-bit little-endian values), then the
// reports. A report of two bytes (the id and one code byte) gives that byte, a longer one the
// 16-bit little-endian code after the id. False for a block too short for its own counts.
bool ParseRemoteReport(const uint8_t* data, size_t size, size_t headerSize, uint32_t& code);

// True when no packet has come for more than `after` ms. The tick counter wraps every 49.7
// days: the difference is taken modulo 2^32 and a last tick ahead of now (a grace set into the
// future) counts as data.
bool NoDataFor(uint32_t now, uint32_t lastPacketTick, uint32_t after);

} // namespace viewer
