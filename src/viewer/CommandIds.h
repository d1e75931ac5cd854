// The numbers the viewer's parts exchange, with their names: every user action travels as the id
// of the OSD control that stands for it, so the skin builder, the key tables, the input handlers
// and the dispatcher all speak of the same commands. The values are fixed: skins, key tables and
// the frame's menus meet on them.
#pragma once

namespace viewer {

// Commands of the dispatcher, grouped by the screen whose controls send them.
enum Command : int {
    // The controls panel.
    CmdMenu = 10,
    CmdRecord = 11,
    CmdPlayPause = 12,
    CmdVolumeUp = 13,
    CmdVolumeDown = 14,
    CmdChannelUp = 15,
    CmdChannelDown = 16,
    CmdStopFile = 17,
    CmdMute = 18,
    // The main menu.
    CmdTeletext = 20,
    CmdChannelList = 21,
    CmdRecordedShows = 22,
    CmdStreamSwitcher = 23,
    CmdGuide = 24,
    // The window buttons.
    CmdClose = 30,
    CmdMaximise = 31,
    CmdMinimise = 32,
    CmdAlwaysOnTop = 33,
    // The top-menu tabs, each opening its popup.
    CmdFilePopup = 40,
    CmdViewPopup = 41,
    CmdChannelsPopup = 42,
    // The teletext view.
    CmdTeletextClose = 50,
    CmdTeletextNext = 51,
    CmdTeletextPrevious = 52,
    CmdTeletextFirst = 53,
    // The guide's scroll pad and close button.
    CmdGuideRowsUp = 60,
    CmdGuideRowsDown = 61,
    CmdGuideEarlier = 62,
    CmdGuideLater = 63,
    CmdGuideNow = 64,
    CmdGuideClose = 65,
    // The guide's tabs: the channel set it shows.
    CmdGuideNetwork = 70,
    CmdGuideTV = 71,
    CmdGuideRadio = 72,
    CmdGuideFavourites = 73,
    // The stream switcher.
    CmdSwitcherClose = 80,
    CmdSwitcherAudio = 81,
    CmdSwitcherSubtitles = 82,
    // The recorded shows.
    CmdRecordedClose = 90,
    CmdRecordedTab = 91,
    // The channel list and its tabs.
    CmdChannelListClose = 100,
    CmdChannelListNetwork = 101,
    CmdChannelListTV = 102,
    CmdChannelListRadio = 103,
    CmdChannelListFavourites = 104,
    // The range the frame's command map hands to the dispatcher.
    CmdFirst = CmdMenu,
    CmdLast = CmdChannelListFavourites,
};

// Playback modes of the frame.
enum PlaybackMode : int {
    ModeTransitional = -1, // only while the Direct3D device is re-created
    ModeIdle = 0,
    ModeFile = 1,
    ModeLive = 2,
};

// The channel set a list or the programme guide shows.
enum ListKind : int {
    KindFavourites = 0,
    KindTV = 1,
    KindRadio = 2,
    KindNetwork = 3, // channels received from a multicast device
};
using GuideKind = ListKind;

// The OSD lists whose choices reach the frame.
enum ListId : int {
    ListRecorded = 10,
    ListChannels = 11,
    ListTune = 12,
};

// How the picture's aspect is chosen.
enum AspectMode : int {
    AspectSource = 0,
    Aspect4x3 = 1,
    Aspect16x9 = 2,
};

// The tab and list commands of each kind, indexed by ListKind.
constexpr Command kChannelListCommands[4] = {CmdChannelListFavourites, CmdChannelListTV, CmdChannelListRadio,
                                            CmdChannelListNetwork};
constexpr Command kGuideKindCommands[4] = {CmdGuideFavourites, CmdGuideTV, CmdGuideRadio, CmdGuideNetwork};

} // namespace viewer
