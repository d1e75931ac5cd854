// The recording dialog's derived values: durations over midnight, descriptions of awkward paths
// and job names that never repeat one already taken.
#include <gtest/gtest.h>

#include "plintor/RecordingEntry.h"

using namespace plintor;

TEST(RecordingEntry, DurationsEndTheNextDayWhenTheEndIsNotAfterTheStart)
{
    EXPECT_EQ(3600, RecordingDuration(23 * 3600 + 1800, 1800)); // 23:30 - 00:30
    EXPECT_EQ(86400, RecordingDuration(20 * 3600, 20 * 3600));
    EXPECT_EQ(60, RecordingDuration(0, 60));
    EXPECT_EQ(86340, RecordingDuration(60, 0));
    EXPECT_EQ(86340, RecordingDuration(0, 86340));
}

TEST(RecordingEntry, TheDescriptionIsTheNameWithoutFolderAndExtension)
{
    EXPECT_EQ(u"news at ten", DescriptionFromPath(u"C:\\My Videos\\news at ten.ts"));
    EXPECT_EQ(u"film.part1", DescriptionFromPath(u"D:\\film.part1.mpg"));
    EXPECT_EQ(u"recording", DescriptionFromPath(u"C:\\v1.2\\recording")); // dotted folder, no extension
    EXPECT_EQ(u"", DescriptionFromPath(u"C:\\v1.2\\"));
    EXPECT_EQ(u"", DescriptionFromPath(u"C:\\.ts"));
    EXPECT_EQ(u"plain", DescriptionFromPath(u"plain"));
    EXPECT_EQ(u"", DescriptionFromPath(u""));
}

TEST(RecordingEntry, JobNamesSkipEveryNameTaken)
{
    EXPECT_EQ(u"QORSR_1000", FreeJobName(1000, {}));
    EXPECT_EQ(u"QORSR_1002", FreeJobName(1000, {u"QORSR_1000", u"qorsr_1001", u"QORSR_1003"}));
    // Ticks past 2^31 read as "%d" does: negative; counting on wraps to the positive side.
    EXPECT_EQ(u"QORSR_-1", FreeJobName(0xFFFFFFFFu, {}));
    EXPECT_EQ(u"QORSR_0", FreeJobName(0xFFFFFFFFu, {u"QORSR_-1"}));
}
