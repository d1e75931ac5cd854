// The lists' window-free rules: recordings-folder entries, channel-list numbers and values, unnamed
// stream texts, the transport-stream extension and the command line's file.
#include <gtest/gtest.h>

#include "viewer/CommandLineBlock.h"
#include "viewer/ListRules.h"

using namespace viewer;

TEST(RecordedShows, OnlyPlainFilesWithNamesAreListed)
{
    EXPECT_TRUE(IsRecordedShowEntry(u"News - Weather (1-2-2007).mpg", 0x20));   // archive
    EXPECT_TRUE(IsRecordedShowEntry(u"x", 0x80 | 0x01));                        // normal, read-only
    EXPECT_FALSE(IsRecordedShowEntry(u"", 0));
    EXPECT_FALSE(IsRecordedShowEntry(u".", 0x10));
    EXPECT_FALSE(IsRecordedShowEntry(u".hidden-by-name.mpg", 0));
    EXPECT_FALSE(IsRecordedShowEntry(u"h.mpg", 0x02));
    EXPECT_FALSE(IsRecordedShowEntry(u"s.mpg", 0x04));
    EXPECT_FALSE(IsRecordedShowEntry(u"folder", 0x10));
    EXPECT_EQ(FileNameOf(u"C:\\rec\\\\a b.mpg"), u"a b.mpg");
    EXPECT_EQ(FileNameOf(u"plain.mpg"), u"plain.mpg");
    EXPECT_EQ(FileNameOf(u"C:\\rec\\"), u"");
    // The popup's last id stays below the frame's commands at 43000.
    EXPECT_LT(kFirstRecordedMenuId + kMaxRecordedMenuItems - 1, 43000);
}

TEST(ChannelList, NumbersAndValuesPerKind)
{
    // The number shows the channel's own number; value2 is its place in the list shown (what the
    // next and previous channel step from), whatever gaps the numbers leave.
    ChannelListEntry e = ChannelListItem(0, 0, 4, 17, 0x0421, 0x0101);
    EXPECT_EQ(e.number, u"0005");
    EXPECT_EQ(e.value, 0x04210101);
    EXPECT_EQ(e.value2, 1);
    e = ChannelListItem(1, 2, 4, 17, 0x0421, 0x0101);
    EXPECT_EQ(e.number, u"1017");
    EXPECT_EQ(e.value2, 1003);
    e = ChannelListItem(2, 1, -1, 3, 1, 2);
    EXPECT_EQ(e.number, u"5003");
    EXPECT_EQ(e.value2, 5002);
    EXPECT_EQ(e.value, 0x00010002);
    e = ChannelListItem(3, 0, 4, 17, 0xFFFF, 0xFFFF);
    EXPECT_EQ(e.number, u"");
    EXPECT_EQ(e.value2, -1) << "a network channel steps in its own TV or radio list";
    EXPECT_EQ(static_cast<uint32_t>(e.value), 0xFFFFFFFFu) << "the key's 32 bits travel in the int";
}

TEST(StreamTexts, UnnamedStreamsAreCounted)
{
    int counter = 1;
    EXPECT_EQ(StreamItemText(u"", u"Language", counter, u"Unknown", nullptr), u"Language 1 (Unknown)");
    EXPECT_EQ(StreamItemText(u"German (Deutsch)", u"Language", counter, u"Unknown", nullptr), u"German (Deutsch)");
    EXPECT_EQ(StreamItemText(u"", u"Language", counter, u"Unknown", nullptr), u"Language 2 (Unknown)");
    counter = 1;
    const std::u16string teletext = u"Teletext", none;
    EXPECT_EQ(StreamItemText(u"", u"Jazyk", counter, u"Neznámy", &teletext), u"Jazyk 1 (Neznámy) Teletext");
    EXPECT_EQ(StreamItemText(u"", u"Jazyk", counter, u"Neznámy", &none), u"Jazyk 2 (Neznámy) ");
}

TEST(MediaFiles, ExtensionAndCommandLine)
{
    EXPECT_TRUE(IsTransportStreamExtension(u".ts"));
    EXPECT_FALSE(IsTransportStreamExtension(u".TS"));
    EXPECT_FALSE(IsTransportStreamExtension(u".tsx"));
    EXPECT_FALSE(IsTransportStreamExtension(u""));
    EXPECT_EQ(JoinArguments({u"Z:\\media\\my", u"film.avi"}, 0), u"Z:\\media\\my film.avi");
    EXPECT_EQ(JoinArguments({u"C:\\a.wav"}, 0), u"C:\\a.wav");
    EXPECT_EQ(JoinArguments({}, 0), u"");
}
