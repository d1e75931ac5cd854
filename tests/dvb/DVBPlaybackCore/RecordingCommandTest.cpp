#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "base/Utf16.h"
#include "dvb/DVBPlaybackCore/CTask.h"
#include "dvb/DVBPlaybackCore/RecordingCommand.h"

using namespace DVBPlaybackCore;

namespace {

// Splits a parameter line as the C runtime does for the arguments it hands to main: blanks
// separate, quotes group, 2n backslashes before a quote become n.
std::vector<std::u16string> Split(const std::u16string& line)
{
    std::vector<std::u16string> out;
    std::u16string current;
    bool inArgument = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c == u'\\') {
            size_t n = 0;
            while (i < line.size() && line[i] == u'\\')
                ++n, ++i;
            if (i < line.size() && line[i] == u'"') {
                current.append(n / 2, u'\\');
                if (n % 2)
                    current += u'"';
                else
                    quoted = !quoted;
            } else {
                current.append(n, u'\\');
                --i;
            }
            inArgument = true;
        } else if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == u' ' || c == u'\t') && !quoted) {
            if (inArgument)
                out.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        out.push_back(current);
    return out;
}

CRecordingCommand RoundTrip(uint16_t tsid, uint16_t sid, int64_t duration, bool closeAfter, const std::u16string& path,
                            bool withProgram)
{
    CTask task;
    task.SetRecording(tsid, sid, 0, duration, path, closeAfter);
    auto args = Split(task.GetParameters());
    if (withProgram)
        args.insert(args.begin(), u"C:\\Program Files\\Tolvik\\Tolvik.exe");
    CRecordingCommand command;
    EXPECT_EQ(ParseRecordingCommand(args, &command), S_OK) << base::Utf16ToUtf8(task.GetParameters());
    return command;
}

} // namespace

TEST(RecordingCommand, TheLineOfARecording)
{
    CTask task;
    task.SetRecording(1025, 28106, 1000, 5400, u"D:\\rec.mpg", true);
    EXPECT_EQ(task.GetParameters(), u"/rec 1025 28106 90 1 D:\\rec.mpg");
    EXPECT_EQ(task.GetTransportStreamId(), 1025);
    EXPECT_EQ(task.GetServiceId(), 28106);
    EXPECT_EQ(task.GetStart(), 1000);
    EXPECT_EQ(task.GetDuration(), 5400);
    EXPECT_TRUE(task.GetCloseAfter());
    EXPECT_EQ(task.GetFilePath(), u"D:\\rec.mpg");

    task.SetRecording(1, 2, 0, 59, u"", false);
    EXPECT_EQ(task.GetParameters(), u"/rec 1 2 0 0 ");
    task.SetRecording(65535, 0, 0, 3600, u"C:\\My Videos\\News.mpg", false);
    EXPECT_EQ(task.GetParameters(), u"/rec 65535 0 60 0 \"C:\\My Videos\\News.mpg\"");
    task.SetRecording(1, 2, 0, 60, u"C:\\a b\\", false);
    EXPECT_EQ(task.GetParameters(), u"/rec 1 2 1 0 \"C:\\a b\\\\\"");
}

TEST(RecordingCommand, RoundTripsWithAndWithoutTheProgramName)
{
    const std::u16string spaced = u"C:\\users\\tv\\Videos\\My Recordings\\News at  ten.mpg";
    const std::u16string longest = u"C:\\" + std::u16string(kMaxRecordingPath - 3, u'x');
    for (bool withProgram : {false, true}) {
        for (const std::u16string& path : {std::u16string(u"D:\\rec.mpg"), spaced, longest, std::u16string(),
                                           std::u16string(u"C:\\a b\\")}) {
            SCOPED_TRACE(base::Utf16ToUtf8(path));
            const CRecordingCommand c = RoundTrip(1025, 28106, 5400, true, path, withProgram);
            EXPECT_EQ(c.transportStreamId, 1025);
            EXPECT_EQ(c.serviceId, 28106);
            EXPECT_EQ(c.minutes, 90);
            EXPECT_TRUE(c.closeAfter);
            EXPECT_EQ(c.path, path);
        }
        const CRecordingCommand c = RoundTrip(0, 65535, 59, false, u"x.mpg", withProgram);
        EXPECT_EQ(c.minutes, 0);
        EXPECT_FALSE(c.closeAfter);
    }
}

TEST(RecordingCommand, RefusesWhatItCannotCarryOut)
{
    CRecordingCommand c;
    c.serviceId = 7;
    const std::u16string tooLong = u"C:\\" + std::u16string(kMaxRecordingPath - 2, u'x'); // 260
    EXPECT_EQ(ParseRecordingCommand({u"/rec", u"1", u"2", u"3", u"1", tooLong}, &c), E_INVALIDARG);
    EXPECT_EQ(ParseRecordingCommand({u"/rec", u"1", u"2", u"3"}, &c), S_FALSE); // four strings
    EXPECT_EQ(ParseRecordingCommand({u"prog", u"x", u"/rec", u"1", u"2", u"3", u"1"}, &c), S_FALSE);
    EXPECT_EQ(ParseRecordingCommand({}, &c), S_FALSE);
    EXPECT_EQ(ParseRecordingCommand({u"/REC", u"1", u"2", u"3", u"1"}, &c), S_FALSE);
    for (const char16_t* bad : {u"", u"-1", u"65536", u"12x", u"+5", u" 5", u"99999999999999999999999"})
        EXPECT_EQ(ParseRecordingCommand({u"/rec", bad, u"2", u"3", u"1"}, &c), E_FAIL);
    EXPECT_EQ(ParseRecordingCommand({u"/rec", u"1", u"2", u"-3", u"1"}, &c), E_FAIL);
    EXPECT_EQ(ParseRecordingCommand({u"/rec", u"1", u"2", u"9223372036854775808", u"1"}, &c), E_FAIL);
    EXPECT_EQ(c.serviceId, 7); // refused: nothing written
    EXPECT_EQ(ParseRecordingCommand({u"/rec", u"1", u"2", u"3", u"1"}, nullptr), E_POINTER);

    // An unquoted path with blanks, as older versions wrote it, comes back whole.
    ASSERT_EQ(ParseRecordingCommand({u"/rec", u"1", u"2", u"9223372036854775807", u"10", u"C:\\My", u"Videos\\a.mpg"}, &c),
              S_OK);
    EXPECT_EQ(c.path, u"C:\\My Videos\\a.mpg");
    EXPECT_EQ(c.minutes, INT64_MAX);
    EXPECT_TRUE(c.closeAfter); // the first character decides
}

TEST(Task, WeekDaysAndRepetition)
{
    CTask task;
    EXPECT_EQ(task.GetTriggerType(), CTask::kOnce);
    EXPECT_EQ(task.GetWeekDays(), 0);
    task.SetWeekDays(false, true, false, true, false, false, false);
    EXPECT_EQ(task.GetWeekDays(), 0x0A);
    task.SetWeekDays(true, false, false, false, false, false, true);
    EXPECT_EQ(task.GetWeekDays(), 0x41);
    task.SetTriggerType(CTask::kWeekly);
    EXPECT_EQ(task.CheckRepetition(), E_INVALIDARG); // interval 0
    task.SetInterval(1);
    EXPECT_EQ(task.CheckRepetition(), S_OK);
    task.SetWeekDays(false, false, false, false, false, false, false);
    EXPECT_EQ(task.CheckRepetition(), E_INVALIDARG); // no weekday
    task.SetTriggerType(CTask::kDaily);
    EXPECT_EQ(task.CheckRepetition(), S_OK);
    task.SetInterval(0);
    EXPECT_EQ(task.CheckRepetition(), E_INVALIDARG);
}

// The zone is set through TZ, which only the native C library reads as such.
#ifndef _WIN32
TEST(Task, TheTriggerTakesTheLocalTimeOfTheStartInstant)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "Europe/Bratislava", 1);
    tzset();
    CTask task;
    CTask::CTriggerTimes t{};
    // 2026-03-29 00:30 UTC is 01:30 CET; two hours later, past the change, it is 04:30 CEST.
    task.SetRecording(1, 2, 1774744200, 7200 + 59, u"", true);
    ASSERT_TRUE(task.GetTriggerTimes(&t));
    EXPECT_EQ(t.beginYear, 2026);
    EXPECT_EQ(t.beginMonth, 3);
    EXPECT_EQ(t.beginDay, 29);
    EXPECT_EQ(t.startHour, 1);
    EXPECT_EQ(t.startMinute, 30);
    EXPECT_EQ(t.minutesDuration, 120u);
    // 2026-12-31 23:30 UTC ends in the local new year.
    task.SetRecording(1, 2, 1798759800, 60, u"", true);
    ASSERT_TRUE(task.GetTriggerTimes(&t));
    EXPECT_EQ(t.beginYear, 2027);
    EXPECT_EQ(t.beginMonth, 1);
    EXPECT_EQ(t.beginDay, 1);
    EXPECT_EQ(t.startHour, 0);
    EXPECT_EQ(t.endYear, 2027);
    EXPECT_EQ(t.endDay, 1);
    task.SetRecording(1, 2, 1798759800, 59, u"", true);
    ASSERT_TRUE(task.GetTriggerTimes(&t));
    EXPECT_EQ(t.minutesDuration, 0u);
    // No local time: before 1970, past year 9999, a negative duration.
    for (const auto& c : {std::make_pair(int64_t(-100000), int64_t(60)), std::make_pair(int64_t(253402300800), int64_t(60)),
                          std::make_pair(int64_t(1798759800), int64_t(-60))}) {
        task.SetRecording(1, 2, c.first, c.second, u"", true);
        EXPECT_FALSE(task.GetTriggerTimes(&t)) << c.first << " " << c.second;
    }
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif
