#include <gtest/gtest.h>

#include <cstdlib>

#include "FileReaderTestKit.h"
#include "support/TestMedia.h"

using libDVB::CTSFileReader;
using namespace test;

namespace {

constexpr uint64_t kToleranceMs = 40;

struct FileReaderTest : ::testing::Test {
    void SetUp() override
    {
        file = ReadFileBytes(MediaPath("two_programs.ts"));
        ASSERT_GT(file.size(), CTSFileReader::kBlockSize * 4u);
        ASSERT_EQ(file.size() % 188, 0u);
    }
    // The pre-read's part: one unpaced pass that counts the PCRs, then the choice and a rewind.
    int32_t CountAndChoose(CTSFileReader& reader, const std::vector<uint8_t>& bytes)
    {
        CMemorySource source(bytes, CTSFileReader::kBlockSize);
        CSimulatedClock clock;
        EXPECT_TRUE(reader.Run(source, clock));
        EXPECT_TRUE(clock.waits.empty());
        reader.ClearCarry();
        return reader.ChoosePacingPid();
    }
    // The span in milliseconds of the PCRs of `pid` from the `from`-th one on.
    static uint64_t SpanMs(const std::vector<PcrSample>& pcrs, uint16_t pid, size_t from = 0)
    {
        std::vector<uint64_t> bases;
        for (const auto& s : pcrs)
            if (s.pid == pid)
                bases.push_back(s.base);
        return bases.size() > from ? (bases.back() - bases[from]) / 90 : 0;
    }
    std::vector<uint8_t> file;
};

} // namespace

TEST_F(FileReaderTest, CountsPcrsPerPidAndPacesOnTheBusiestOne)
{
    std::map<uint16_t, uint32_t> expected;
    const auto pcrs = ScanPcrs(file);
    for (const auto& s : pcrs)
        ++expected[s.pid];
    ASSERT_EQ(expected.size(), 2u); // one PCR PID per program

    CKeepingRouter keeper;
    CTSFileReader reader(&keeper.router);
    {
        CMemorySource source(file, CTSFileReader::kBlockSize);
        CSimulatedClock clock;
        ASSERT_TRUE(reader.Run(source, clock));
        EXPECT_EQ(reader.GetPcrCounts(), expected);
    }
    uint16_t busiest = 0;
    uint32_t most = 0;
    for (const auto& e : expected)
        if (e.second > most)
            most = e.second, busiest = e.first;
    reader.ClearCarry();
    EXPECT_EQ(reader.ChoosePacingPid(), busiest);
    EXPECT_TRUE(reader.GetPcrCounts().empty());

    keeper.kept.clear();
    CMemorySource source(file, CTSFileReader::kBlockSize);
    CSimulatedClock clock;
    ASSERT_TRUE(reader.Run(source, clock));
    const uint64_t span = SpanMs(pcrs, busiest);
    EXPECT_GT(span, 3000u);
    EXPECT_NEAR(static_cast<double>(clock.Waited()), static_cast<double>(span), kToleranceMs);
    EXPECT_EQ(keeper.kept, file); // pacing delays, never drops
}

TEST_F(FileReaderTest, NoPcrMeansNoPacingPid)
{
    CTSFileReader reader(nullptr);
    std::vector<uint8_t> none(188 * 10, 0);
    for (size_t at = 0; at < none.size(); at += 188)
        none[at] = 0x47, none[at + 3] = 0x10;
    EXPECT_EQ(CountAndChoose(reader, none), -1);
}

TEST_F(FileReaderTest, AFileStartingMidPacketPlaysFromTheFirstWholePacket)
{
    const std::vector<uint8_t> cut(file.begin() + 100, file.end());
    for (uint32_t readSize : {CTSFileReader::kBlockSize, 1000u, 188u * 3 + 1}) {
        SCOPED_TRACE(readSize);
        CKeepingRouter keeper;
        CTSFileReader reader(&keeper.router);
        CMemorySource source(cut, readSize);
        CSimulatedClock clock;
        ASSERT_TRUE(reader.Run(source, clock));
        EXPECT_TRUE(keeper.kept == std::vector<uint8_t>(file.begin() + 188, file.end()));
    }
}

TEST_F(FileReaderTest, APcrJumpBackAnchorsAnew)
{
    // A second recording appended: its clock starts over.
    std::vector<uint8_t> twice = file;
    twice.insert(twice.end(), file.begin(), file.end());
    CTSFileReader reader(nullptr);
    const int32_t pid = CountAndChoose(reader, twice);
    ASSERT_GE(pid, 0);
    CMemorySource source(twice, CTSFileReader::kBlockSize);
    CSimulatedClock clock;
    ASSERT_TRUE(reader.Run(source, clock));
    const uint64_t span = SpanMs(ScanPcrs(file), static_cast<uint16_t>(pid));
    EXPECT_NEAR(static_cast<double>(clock.Waited()), 2.0 * span, 2 * kToleranceMs);
    for (uint32_t w : clock.waits)
        EXPECT_LT(w, 200u);
}

TEST_F(FileReaderTest, AResumedFileIsPacedFromTheMomentItResumes)
{
    CKeepingRouter keeper;
    CTSFileReader reader(&keeper.router);
    const int32_t pid = CountAndChoose(reader, file);
    ASSERT_GE(pid, 0);
    keeper.kept.clear();
    CMemorySource source(file, 1000);
    CSimulatedClock clock;
    clock.stopAfterWaits = 30;
    ASSERT_FALSE(reader.Run(source, clock));
    EXPECT_GT(clock.Waited(), 500u);
    // The stop ended the wait for this packet's PCR; it is the first one delivered on resume.
    const std::vector<uint8_t> next(file.begin() + keeper.kept.size(), file.begin() + keeper.kept.size() + 188);
    const auto resumedAt = ScanPcrs(next);
    ASSERT_EQ(resumedAt.size(), 1u);
    std::vector<PcrSample> later;
    for (const auto& s : ScanPcrs(file))
        if (s.pid == pid)
            later.push_back(s);

    clock.now += 5000; // paused for five seconds
    clock.stopped = false;
    clock.stopAfterWaits = -1;
    clock.waits.clear();
    ASSERT_TRUE(reader.Run(source, clock));
    const uint64_t rest = (later.back().base - resumedAt[0].base) / 90;
    EXPECT_GT(rest, 1000u);
    EXPECT_NEAR(static_cast<double>(clock.Waited()), static_cast<double>(rest), kToleranceMs);
    EXPECT_TRUE(keeper.kept == file);
}

TEST_F(FileReaderTest, ASeekForgetsTheCarryAndTheRestOfTheBlock)
{
    CKeepingRouter keeper;
    CTSFileReader reader(&keeper.router);
    ASSERT_GE(CountAndChoose(reader, file), 0);
    keeper.kept.clear();
    CMemorySource source(file, 1000);
    CSimulatedClock clock;
    clock.stopAfterWaits = 3;
    ASSERT_FALSE(reader.Run(source, clock));
    ASSERT_FALSE(keeper.kept.empty());

    keeper.kept.clear();
    reader.ClearCarry();
    source.position = 0;
    clock.stopped = false;
    clock.stopAfterWaits = -1;
    ASSERT_TRUE(reader.Run(source, clock));
    EXPECT_TRUE(keeper.kept == file);
}
