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

TEST(RecordingEntry, PluralFormsAndTimeFormatsWithoutSeconds)
{
    const int forms[] = {3, 1, 2, 2, 2, 3, 3};
    for (uint32_t n = 0; n < 7; ++n)
        EXPECT_EQ(forms[n], PluralForm(n)) << n;
    EXPECT_EQ(3, PluralForm(1000));
    EXPECT_EQ(u"HH:mm", TimeFormatWithoutSeconds(u"HH:mm:ss"));
    EXPECT_EQ(u"h:mm tt", TimeFormatWithoutSeconds(u"h:mm:ss tt"));
    EXPECT_EQ(u"H.mm", TimeFormatWithoutSeconds(u"H.mm"));
    EXPECT_EQ(u"ss", TimeFormatWithoutSeconds(u"ss")); // only after the first character
    EXPECT_EQ(u"", TimeFormatWithoutSeconds(u""));
}

TEST(RecordingEntry, RepeatsFromTheDialog)
{
    CRecordingRepeat repeat;
    EXPECT_FALSE(ComposeRepeat(true, 2, 1, 0, &repeat));    // weekly without a day stays open
    EXPECT_FALSE(ComposeRepeat(true, 2, 1, 0x80, &repeat)); // no weekday among the bits
    ASSERT_TRUE(ComposeRepeat(true, 2, 2, 0x12 | 0x80, &repeat));
    EXPECT_EQ(2u, repeat.kind);
    EXPECT_EQ(2, repeat.interval);
    EXPECT_EQ(0x12, repeat.weekDays);
    ASSERT_TRUE(ComposeRepeat(true, 1, 0, 0x12, &repeat)); // daily: interval at least 1, no days
    EXPECT_EQ(1u, repeat.kind);
    EXPECT_EQ(1, repeat.interval);
    EXPECT_EQ(0, repeat.weekDays);
    ASSERT_TRUE(ComposeRepeat(false, 1, 5, 0, &repeat)); // simple mode records once
    EXPECT_EQ(0u, repeat.kind);
    EXPECT_EQ(0, repeat.interval);
}
