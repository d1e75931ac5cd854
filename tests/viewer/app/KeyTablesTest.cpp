// The key tables per view, the remote's reports at the x64 offsets, multimedia keys and the
// no-data watchdog across the tick counter's wrap.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "viewer/KeyTables.h"

using namespace viewer;

namespace {
constexpr uint32_t kTab = 0x09, kReturn = 0x0D, kEscape = 0x1B, kLeft = 0x25, kUp = 0x26, kDown = 0x28,
                   kF1 = 0x70, kF4 = 0x73;

KeyAction Key(KeyView view, uint32_t key, int kind = 0, bool number = false, bool controls = false)
{
    KeyContext context;
    context.kind = kind;
    context.tuneNumberEntered = number;
    context.controlsShown = controls;
    return ViewKeyAction(view, key, context);
}

void ExpectCommand(const KeyAction& action, uint32_t command)
{
    EXPECT_EQ(KeyStep::Command, action.step);
    EXPECT_EQ(command, action.command);
}

// A raw-input block as the x64 platform writes it: a 24-byte header, the two HID counts, the
// reports.
std::vector<uint8_t> RawBlock(uint32_t reportSize, uint32_t count, std::vector<uint8_t> reports)
{
    std::vector<uint8_t> block(24, 0xEE);
    const uint32_t counts[2] = {reportSize, count};
    block.resize(32);
    std::memcpy(block.data() + 24, counts, 8);
    block.insert(block.end(), reports.begin(), reports.end());
    return block;
}
} // namespace

TEST(KeyTables, ViewOrderAndControlKeys)
{
    ShownViews shown;
    EXPECT_EQ(KeyView::Idle, SelectKeyView(shown));
    shown.guide = true;
    shown.menu = true;
    EXPECT_EQ(KeyView::Guide, SelectKeyView(shown));
    shown.channelList = true; // the channel list is asked before the guide
    EXPECT_EQ(KeyView::ChannelList, SelectKeyView(shown));
    shown.tune = true;
    EXPECT_EQ(KeyView::Tune, SelectKeyView(shown));

    EXPECT_EQ(13u, ControlKeyCommand(kUp));
    EXPECT_EQ(14u, ControlKeyCommand(kDown));
    EXPECT_EQ(18u, ControlKeyCommand('M'));
    EXPECT_EQ(0u, ControlKeyCommand('C'));
    EXPECT_EQ(13u, VolumeKeyCommand(0x6B));
    EXPECT_EQ(14u, VolumeKeyCommand(0x6D));
    EXPECT_EQ(0u, VolumeKeyCommand(0x6C));

    // Keypad digits and multiply reach the teletext only as characters.
    for (uint32_t key = 0x60; key <= 0x6A; ++key)
        EXPECT_FALSE(TeletextTakesKeyDown(key)) << key;
    EXPECT_TRUE(TeletextTakesKeyDown(0x5F));
    EXPECT_TRUE(TeletextTakesKeyDown(0x6B));
    EXPECT_TRUE(TeletextTakesKeyDown('5'));
}

TEST(KeyTables, EachViewsTable)
{
    EXPECT_EQ(KeyStep::TuneErase, Key(KeyView::Tune, 0x08, 0, true).step);
    EXPECT_EQ(KeyStep::TuneCloseNow, Key(KeyView::Tune, 0x2E, 0, false).step);
    EXPECT_EQ(KeyStep::TuneKeepOpen, Key(KeyView::Tune, kDown).step);
    EXPECT_EQ(KeyStep::None, Key(KeyView::Tune, 'C').step);

    // Tab walks favourites -> TV -> radio -> network -> favourites.
    ExpectCommand(Key(KeyView::ChannelList, kTab, 0), 102);
    ExpectCommand(Key(KeyView::ChannelList, kTab, 1), 103);
    ExpectCommand(Key(KeyView::ChannelList, kTab, 2), 101);
    ExpectCommand(Key(KeyView::ChannelList, kTab, 3), 104);
    ExpectCommand(Key(KeyView::ChannelList, kF1), 104);
    ExpectCommand(Key(KeyView::ChannelList, kF4), 101);
    EXPECT_EQ(KeyStep::CloseView, Key(KeyView::ChannelList, 'C').step);
    EXPECT_EQ(KeyStep::CloseThenMenu, Key(KeyView::ChannelList, 'M').step);
    ExpectCommand(Key(KeyView::ChannelList, 'E'), 24);

    EXPECT_EQ(KeyStep::CloseView, Key(KeyView::Recorded, 'R').step);
    ExpectCommand(Key(KeyView::Recorded, 'C'), 21);
    EXPECT_EQ(KeyStep::CloseView, Key(KeyView::Teletext, kEscape).step);
    ExpectCommand(Key(KeyView::Teletext, 'R'), 22);

    ExpectCommand(Key(KeyView::Guide, kTab, 0), 71);
    ExpectCommand(Key(KeyView::Guide, kTab, 3), 73);
    ExpectCommand(Key(KeyView::Guide, kF1), 73);
    ExpectCommand(Key(KeyView::Guide, kReturn), 64);
    EXPECT_EQ(KeyStep::CloseView, Key(KeyView::Guide, 'E').step);
    ExpectCommand(Key(KeyView::Guide, 'T'), 20);

    ExpectCommand(Key(KeyView::Switcher, kLeft), 81);
    ExpectCommand(Key(KeyView::Switcher, 0x71), 82);
    EXPECT_EQ(KeyStep::MenuToggle, Key(KeyView::Switcher, 'M').step);
    EXPECT_EQ(KeyStep::CloseView, Key(KeyView::Switcher, 'L').step);

    EXPECT_EQ(KeyStep::HideMenu, Key(KeyView::Menu, 'M').step);
    ExpectCommand(Key(KeyView::Menu, 'L'), 23);

    // Idle: Enter shows hidden controls, Escape hides shown ones and does nothing otherwise.
    EXPECT_EQ(KeyStep::ShowControls, Key(KeyView::Idle, kReturn, 0, false, false).step);
    EXPECT_EQ(KeyStep::None, Key(KeyView::Idle, kReturn, 0, false, true).step);
    EXPECT_EQ(KeyStep::None, Key(KeyView::Idle, kEscape, 0, false, false).step);
    EXPECT_EQ(KeyStep::HideControls, Key(KeyView::Idle, kEscape, 0, false, true).step);
    ExpectCommand(Key(KeyView::Idle, kUp), 21);
    EXPECT_EQ(KeyStep::MenuToggle, Key(KeyView::Idle, 'M').step);
    EXPECT_EQ(KeyStep::None, Key(KeyView::Idle, 'Z').step);
}

TEST(KeyTables, MultimediaKeysAndRemoteButtons)
{
    EXPECT_EQ(0x1Bu, MapAppCommand(1).key);
    EXPECT_EQ(0x6Du, MapAppCommand(9).key);
    EXPECT_EQ(0x6Bu, MapAppCommand(10).key);
    EXPECT_EQ(17u, MapAppCommand(13).command);
    EXPECT_EQ(12u, MapAppCommand(47).command);
    EXPECT_EQ(11u, MapAppCommand(48).command);
    EXPECT_EQ(0u, MapAppCommand(8).key + MapAppCommand(8).command);

    EXPECT_EQ(static_cast<uint32_t>('T'), RemoteButtonKey(0x5A));
    EXPECT_EQ(0x73u, RemoteButtonKey(0x5E));
    EXPECT_EQ(kRemoteClose, RemoteButtonKey(0x65));
    EXPECT_EQ(0u, RemoteButtonKey(0x15A));
}

TEST(RemoteReport, CodesAtTheX64Offsets)
{
    uint32_t code = 0;
    // The report the 32-bit layout calls "26 bytes": id and one code byte.
    std::vector<uint8_t> block = RawBlock(2, 1, {0x03, 0x5A});
    ASSERT_EQ(34u, block.size());
    ASSERT_TRUE(ParseRemoteReport(block.data(), block.size(), 24, code));
    EXPECT_EQ(0x5Au, code);
    // Three report bytes: the 16-bit code, which names no button.
    block = RawBlock(3, 1, {0x03, 0x5A, 0x01});
    ASSERT_TRUE(ParseRemoteReport(block.data(), block.size(), 24, code));
    EXPECT_EQ(0x015Au, code);
    EXPECT_EQ(0u, RemoteButtonKey(code));
    // Read at the 32-bit offsets the same block would give the header's bytes.
    EXPECT_FALSE(ParseRemoteReport(block.data(), block.size(), 16, code) && code == 0x5A);

    // Counts that announce more than was read, one-byte reports, truncated blocks.
    block = RawBlock(2, 2, {0x03, 0x5A});
    EXPECT_FALSE(ParseRemoteReport(block.data(), block.size(), 24, code));
    block = RawBlock(0x80000000u, 2, {0x03, 0x5A});
    EXPECT_FALSE(ParseRemoteReport(block.data(), block.size(), 24, code)) << "size times count beyond 32 bits";
    block = RawBlock(1, 1, {0x03});
    EXPECT_FALSE(ParseRemoteReport(block.data(), block.size(), 24, code));
    block = RawBlock(2, 0, {0x03, 0x5A});
    EXPECT_FALSE(ParseRemoteReport(block.data(), block.size(), 24, code));
    for (size_t size = 0; size < 34; ++size)
        EXPECT_FALSE(ParseRemoteReport(RawBlock(2, 1, {0x03, 0x5A}).data(), size, 24, code)) << size;
}

TEST(NoDataWatchdog, AcrossTheTickWrap)
{
    EXPECT_FALSE(NoDataFor(1000, 0, 2000));
    EXPECT_FALSE(NoDataFor(2000, 0, 2000));
    EXPECT_TRUE(NoDataFor(2001, 0, 2000));
    // The last packet 1000 ms before the wrap, now just after it.
    EXPECT_FALSE(NoDataFor(1000, 0xFFFFFC18u, 2000));
    EXPECT_TRUE(NoDataFor(1001, 0xFFFFFC18u, 2000));
    // A grace set into the future counts as data, also when it lies beyond the wrap.
    EXPECT_FALSE(NoDataFor(0xFFFFFF00u, 100, 2000));
    EXPECT_FALSE(NoDataFor(100, 5000, 2000));
}
