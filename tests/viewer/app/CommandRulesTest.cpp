// The dispatcher's window-free rules: recording names, the timeshift table, volume.
#include <gtest/gtest.h>

#include <set>

#include "viewer/CommandRules.h"

using namespace viewer;

TEST(RecordingName, ForbiddenAndControlCharactersBecomeDashes)
{
    EXPECT_EQ(RecordingFileName(u"News", u"Weather", u"1/2/2007"), u"News - Weather (1-2-2007).mpg");
    EXPECT_EQ(RecordingFileName(u"A\\B", u"Who? What: \"x\" <y> |z| *", u"1.2.2007"),
              u"A-B - Who- What- -x- -y- -z- - (1.2.2007).mpg");
    EXPECT_EQ(FileNamePart(std::u16string(u"a\tb\x7f" u"c\x01")), u"a-b-c-");
    EXPECT_EQ(FileNamePart(u"Zprávy ČT"), u"Zprávy ČT"); // letters beyond ASCII stay
}

TEST(RecordingName, FreePathAddsTimeThenCounter)
{
    std::set<std::u16string> existing;
    auto exists = [&](const std::u16string& p) { return existing.count(p) != 0; };
    const std::u16string path = u"C:\\rec\\\\News - 20-15-00 (1-2-2007).mpg";
    EXPECT_EQ(FreeRecordingPath(path, u"20-15-00", exists), path);
    existing.insert(path);
    const std::u16string second = u"C:\\rec\\\\News - 20-15-00 (1-2-2007) - 20-15-00.mpg";
    EXPECT_EQ(FreeRecordingPath(path, u"20-15-00", exists), second);
    existing.insert(second);
    EXPECT_EQ(FreeRecordingPath(path, u"20-15-00", exists), u"C:\\rec\\\\News - 20-15-00 (1-2-2007) - 20-15-00 (2).mpg");
    existing.insert(u"C:\\rec\\\\News - 20-15-00 (1-2-2007) - 20-15-00 (2).mpg");
    EXPECT_EQ(FreeRecordingPath(path, u"20-15-00", exists), u"C:\\rec\\\\News - 20-15-00 (1-2-2007) - 20-15-00 (3).mpg");
    // ".mpg" inside a channel name is not touched; only the extension is.
    existing = {u"x.mpg TV - a (d).mpg"};
    EXPECT_EQ(FreeRecordingPath(u"x.mpg TV - a (d).mpg", u"1-2-3", exists), u"x.mpg TV - a (d) - 1-2-3.mpg");
}

TEST(Timeshift, TableRows)
{
    EXPECT_EQ(TimeshiftCallFor(false, false), TimeshiftCall::Start);
    EXPECT_EQ(TimeshiftCallFor(false, true), TimeshiftCall::StopToLive);
    EXPECT_EQ(TimeshiftCallFor(true, false), TimeshiftCall::None);
    EXPECT_EQ(TimeshiftCallFor(true, true), TimeshiftCall::Stop);
    TimeshiftView view{-1, nullptr};
    EXPECT_FALSE(TimeshiftViewAfter(TimeshiftCall::None, false, view));
    EXPECT_EQ(view.recordIcon, -1);
    ASSERT_TRUE(TimeshiftViewAfter(TimeshiftCall::Start, false, view));
    EXPECT_EQ(view.recordIcon, 2);
    EXPECT_EQ(std::u16string(view.button), u"play_button");
    ASSERT_TRUE(TimeshiftViewAfter(TimeshiftCall::StopToLive, false, view));
    EXPECT_EQ(view.recordIcon, 0);
    EXPECT_EQ(std::u16string(view.button), u"pause_button");
    ASSERT_TRUE(TimeshiftViewAfter(TimeshiftCall::Stop, true, view));
    EXPECT_EQ(view.recordIcon, 0);
    EXPECT_EQ(std::u16string(view.button), u"pause_button");
    ASSERT_TRUE(TimeshiftViewAfter(TimeshiftCall::Stop, false, view));
    EXPECT_EQ(view.recordIcon, 2);
    EXPECT_EQ(std::u16string(view.button), u"timeshift_button");
}

TEST(Volume, ClampedSteps)
{
    EXPECT_EQ(SteppedVolume(98, 5), 100);
    EXPECT_EQ(SteppedVolume(3, -5), 0);
    EXPECT_EQ(SteppedVolume(50, 5), 55);
    EXPECT_EQ(SteppedVolume(100, -5), 95);
}
