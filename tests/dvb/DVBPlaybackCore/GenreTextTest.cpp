// Genre names, categories and texts of EIT content values.
#include <gtest/gtest.h>

#include "dvb/DVBPlaybackCore/GenreText.h"

using DVBPlaybackCore::GetGenreText;

namespace {

std::u16string Text(uint32_t value, int expectedCategory)
{
    int category = -1;
    const std::u16string text = GetGenreText(value, &category);
    EXPECT_EQ(category, expectedCategory) << "value 0x" << std::hex << value;
    return text;
}

} // namespace

TEST(GenreText, MovieSubGenresHaveTheirOwnNamesAndCategories)
{
    EXPECT_EQ(Text(0x10, 10), u"Movie - movie/drama (general)");
    EXPECT_EQ(Text(0x11, 10), u"Movie - detective/thriller");
    EXPECT_EQ(Text(0x12, 11), u"Adventure - adventure/western/war");
    EXPECT_EQ(Text(0x13, 12), u"Science - science fiction/fantasy/horror");
    EXPECT_EQ(Text(0x14, 13), u"Comedy - comedy");
    EXPECT_EQ(Text(0x15, 14), u"Romance - soap/melodrama/folkloric");
    EXPECT_EQ(Text(0x16, 14), u"Romance - romance");
    EXPECT_EQ(Text(0x17, 14), u"Romance - serious/classical/religious/historical movie/drama");
    EXPECT_EQ(Text(0x18, 15), u"Adult - adult movie/drama");
    EXPECT_EQ(Text(0x19, 0), u" - to 0xE reserved for future use");
    EXPECT_EQ(Text(0x1F, 0), u" - user defined");
}

TEST(GenreText, OtherLevelsTakeTheirNibble)
{
    EXPECT_EQ(Text(0x20, 1), u"News - news/current affairs (general)");
    EXPECT_EQ(Text(0x33, 2), u"Show - talk show");
    EXPECT_EQ(Text(0x43, 3), u"Sport - football/soccer");
    EXPECT_EQ(Text(0x41, 3), u"Sport - special events (Olympic Games, World Cup, etc.)");
    EXPECT_EQ(Text(0x55, 4), u"Children - cartoons/puppets");
    EXPECT_EQ(Text(0x64, 5), u"Music - jazz");
    EXPECT_EQ(Text(0x7B, 6), u"Culture - fashion");
    EXPECT_EQ(Text(0x83, 7), u"Social - remarkable people");
    EXPECT_EQ(Text(0x91, 8), u"News - nature/animals/environment");
    EXPECT_EQ(Text(0xA0, 9), u"Leisure - leisure hobbies (general)");
    EXPECT_EQ(Text(0xA6, 9), u"Leisure - gardening");
    EXPECT_EQ(Text(0x25, 1), u"News - "); // unassigned within a level
}

TEST(GenreText, UndefinedLevelsAndTheEndOfTheTable)
{
    EXPECT_EQ(Text(0x00, 0), u" - ");
    EXPECT_EQ(Text(0xB3, 0), u" - live broadcast");
    EXPECT_EQ(Text(0xBF, 0), u" - ");
    EXPECT_EQ(Text(0xC0, 0), u"");
    EXPECT_EQ(Text(0xF4, 0), u"");
    EXPECT_EQ(Text(0x1A4, 9), u"Leisure"); // beyond a byte: the low byte's short name alone
    EXPECT_EQ(GetGenreText(0x14, nullptr), u"Comedy - comedy");
}

TEST(GenreText, EveryContentByteHasACategoryInRange)
{
    for (uint32_t v = 0; v < 0x100; ++v) {
        int category = -1;
        const std::u16string text = GetGenreText(v, &category);
        ASSERT_GE(category, 0);
        ASSERT_LE(category, 15);
        ASSERT_EQ(text.find(u" - ") != std::u16string::npos, v < 0xC0) << v;
    }
}
