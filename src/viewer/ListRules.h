// The rules of the frame's lists and media files that need no window: which entries of the
// recordings folder are shown, the channel list's numbers and values, the texts of unnamed audio and
// subtitle streams, the transport-stream extension and a file named on the command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace viewer {

// Attributes that keep an entry of the recordings folder out of the list: hidden, system, folder.
constexpr uint32_t kUnlistedAttributes = 0x16;

// True for an entry the recorded-shows list shows: a name that is not empty, does not begin with
// '.', and none of kUnlistedAttributes.
bool IsRecordedShowEntry(const std::u16string& name, uint32_t attributes);

// The part of a path after its last backslash, or the whole path when it has none.
std::u16string FileNameOf(const std::u16string& path);

// The recorded-shows popup's items take ids 40000 + index; the frame's own commands begin at 43000,
// so the popup holds at most 3000 entries.
constexpr int kFirstRecordedMenuId = 40000;
constexpr int kMaxRecordedMenuItems = 3000;

// The item at `index` of the channel list for list kind 0 (favourites), 1 (TV), 2 (radio) or 3
// (network): the number text ("%.4d" of the favourite number + 1, the channel number + 1000 or
// + 5000; empty for the network), the value (transport_stream_id << 16 | service_id) and value2,
// the list position the channel plays with, so that the next and previous channel are its
// neighbours in that list (-1 for the network: the channel's own TV or radio list).
struct ChannelListEntry {
    std::u16string number;
    int value = 0;
    int value2 = 0;
};
ChannelListEntry ChannelListItem(int kind, size_t index, int32_t favouriteNumber, int32_t channelNumber,
                                 uint16_t transportStreamId, uint16_t serviceId);

// The text of a stream in the switcher: its language text, or "word counter (unknown)" followed by
// " suffix" when a suffix is given (the subtitle list always gives one, possibly empty); the
// counter of unnamed streams then goes up by one.
std::u16string StreamItemText(const std::u16string& language, const std::u16string& word, int& counter,
                              const std::u16string& unknown, const std::u16string* suffix);

// True when the extension (from the last dot, as the platform finds it) is ".ts" exactly: the
// comparison is case-sensitive, so "film.TS" goes to the file graph.
bool IsTransportStreamExtension(const std::u16string& extension);

} // namespace viewer
