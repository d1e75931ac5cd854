// Splitting a job's parameter line by the platform's rules and reading the recording from it.
#include <gtest/gtest.h>

#include "plintor/JobParameters.h"

namespace {

using Args = std::vector<std::u16string>;

TEST(JobParametersTest, SplitsByTheCommandLineRules)
{
    EXPECT_EQ(Args{}, plintor::SplitCommandLine(u""));
    EXPECT_EQ(Args{}, plintor::SplitCommandLine(u" \t "));
    EXPECT_EQ((Args{ u"/rec", u"1", u"2" }), plintor::SplitCommandLine(u"  /rec\t1  2 "));
    EXPECT_EQ((Args{ u"C:\\My Videos\\a b.ts", u"x" }), plintor::SplitCommandLine(u"\"C:\\My Videos\\a b.ts\" x"));
    EXPECT_EQ((Args{ u"a\\\\b" }), plintor::SplitCommandLine(u"a\\\\b"));         // no quote: literal
    EXPECT_EQ((Args{ u"a b\\" }), plintor::SplitCommandLine(u"\"a b\\\\\""));   // 2n before a quote
    EXPECT_EQ((Args{ u"a\"b" }), plintor::SplitCommandLine(u"a\\\"b"));           // 2n + 1: a literal quote
    EXPECT_EQ((Args{ u"say \"hi\"" }), plintor::SplitCommandLine(u"\"say \"\"hi\"\"\""));
    EXPECT_EQ((Args{ u"", u"x" }), plintor::SplitCommandLine(u"\"\" x"));
    EXPECT_EQ((Args{ u"open end" }), plintor::SplitCommandLine(u"\"open end"));
}

TEST(JobParametersTest, ReadsTheRecordingWithAQuotedSpacedPath)
{
    DVBPlaybackCore::CRecordingCommand command;
    ASSERT_EQ(S_OK, plintor::ParseJobParameters(
                        u"/rec 4097 258 45 1 \"C:\\My Videos\\Tolvik recordings\\News 20.ts\"", &command));
    EXPECT_EQ(4097, command.transportStreamId);
    EXPECT_EQ(258, command.serviceId);
    EXPECT_EQ(45, command.minutes);
    EXPECT_TRUE(command.closeAfter);
    EXPECT_EQ(u"C:\\My Videos\\Tolvik recordings\\News 20.ts", command.path);

    // What the format writes reads back the same.
    const std::u16string line = DVBPlaybackCore::FormatRecordingCommand(65535, 1, 90, false, u"D:\\a b\\c d.ts");
    ASSERT_EQ(S_OK, plintor::ParseJobParameters(line, &command));
    EXPECT_EQ(65535, command.transportStreamId);
    EXPECT_EQ(u"D:\\a b\\c d.ts", command.path);
}

TEST(JobParametersTest, RefusesIdsOutOfRangeAndForeignLines)
{
    DVBPlaybackCore::CRecordingCommand command;
    EXPECT_EQ(E_FAIL, plintor::ParseJobParameters(u"/rec 65536 1 2 0 C:\\x.ts", &command));
    EXPECT_EQ(E_FAIL, plintor::ParseJobParameters(u"/rec -1 1 2 0 C:\\x.ts", &command));
    EXPECT_EQ(S_FALSE, plintor::ParseJobParameters(u"--other program", &command));
    EXPECT_EQ(S_FALSE, plintor::ParseJobParameters(u"", &command));
}

} // namespace
