// The timeshift buffer on the real platform (temporary file, threads), with the replay's clock
// injected so that pacing is checked without waiting for wall time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "dvb/libDVB/timeshift/win/CTSPacketBuffer.h"
#include "support/TSPacketBuilder.h"
#include "support/TransportStreamBuilder.h"

using libDVB::CTSPacketBuffer;

namespace {

constexpr uint16_t kVideoPid = 0x0100;
constexpr uint16_t kPcrPid = 0x0101;
constexpr uint32_t kTransferPackets = CTSPacketBuffer::kTransferSize / 188;

// Packet number n carries n in its payload, so order and identity are checked byte for byte.
test::TSPacket Numbered(uint32_t n)
{
    std::vector<uint8_t> payload(184);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>((n >> (8 * (i % 4))) + i);
    test::PacketOptions o;
    o.continuity = static_cast<uint8_t>(n & 15);
    return test::MakePacket(kVideoPid, payload, o);
}

struct FakeClock : CTSPacketBuffer::CClock {
    uint64_t NowMs() override { return now; }
    bool Wait(HANDLE stop, uint32_t ms) override
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            waits.push_back(ms);
        }
        now += ms;
        return WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
    }
    std::atomic<uint64_t> now{1000};
    std::mutex mutex;
    std::vector<uint32_t> waits;
};

struct Receiver : CTSPacketBuffer::CTSPacketBufferCallback {
    HRESULT OnBufferedPacket(const uint8_t* packet, uint32_t length) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_EQ(length, 188u);
        packets.emplace_back();
        std::copy(packet, packet + 188, packets.back().begin());
        threads.insert(GetCurrentThreadId());
        changed.notify_all();
        return S_OK;
    }
    // Waits (at most a generous while, so a broken reader fails instead of hanging) for `count`.
    bool WaitFor(size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(30), [&] { return packets.size() >= count; });
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return packets.size();
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<test::TSPacket> packets;
    std::set<DWORD> threads;
};

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteNumbered(CTSPacketBuffer& buffer, uint32_t from, uint32_t count)
{
    for (uint32_t n = from; n < from + count; ++n) {
        const auto p = Numbered(n);
        ASSERT_EQ(buffer.Write(p.data(), 188), S_OK);
    }
}

void ExpectNumbered(Receiver& receiver, uint32_t from, uint32_t count)
{
    std::lock_guard<std::mutex> lock(receiver.mutex);
    ASSERT_EQ(receiver.packets.size(), count);
    for (uint32_t i = 0; i < count; ++i)
        ASSERT_EQ(receiver.packets[i], Numbered(from + i)) << "packet " << i;
}

struct PacketBufferTest : ::testing::Test {
    FakeClock clock;
    Receiver receiver;
};

} // namespace

TEST_F(PacketBufferTest, StatesAndResults)
{
    CTSPacketBuffer buffer(&receiver, &clock, 0, 0);
    const auto p = Numbered(0);
    EXPECT_EQ(buffer.Write(p.data(), 188), S_FALSE); // no timeshift yet: pass it on directly
    EXPECT_FALSE(buffer.IsCreated());
    EXPECT_EQ(buffer.Play(), S_FALSE);
    EXPECT_EQ(buffer.Pause(kPcrPid), S_OK);
    EXPECT_TRUE(buffer.IsPaused());
    EXPECT_TRUE(buffer.IsCreated());
    EXPECT_EQ(buffer.Pause(kPcrPid), S_FALSE);
    EXPECT_EQ(buffer.Write(p.data(), 100), E_INVALIDARG);
    EXPECT_EQ(buffer.Write(nullptr, 188), E_POINTER);

    // The ring's file: a temporary file of the first step's size.
    const std::wstring path = buffer.GetFilePath();
    ASSERT_TRUE(FileExists(path));
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    EXPECT_EQ(name.substr(0, 3), L"qor");
    EXPECT_EQ(buffer.GetRingSize(), 67379200u);

    EXPECT_EQ(buffer.Play(), S_OK);
    EXPECT_FALSE(buffer.IsPaused());
    EXPECT_EQ(buffer.Play(), S_FALSE);
    EXPECT_EQ(buffer.Stop(), S_OK);
    EXPECT_FALSE(buffer.IsCreated());
    EXPECT_FALSE(FileExists(path)); // deleted when the buffer stops
    EXPECT_EQ(buffer.Write(p.data(), 188), S_FALSE);
}

TEST_F(PacketBufferTest, TheMaximumIsSeventyPercentOfTheFreeSpaceIn64Bits)
{
    CTSPacketBuffer buffer(&receiver);
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    wchar_t folder[1040];
    ASSERT_GT(GetTempPathW(1040, folder), 0u);
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(folder, &available, &total, &free));
    const double expected = available.QuadPart * 0.7;
    // Allow for the file itself and other writers on the drive.
    EXPECT_NEAR(static_cast<double>(buffer.GetRingMaximum()), expected, expected * 0.05 + 200e6);
    if (available.QuadPart > 8ull << 30) {
        EXPECT_GT(buffer.GetRingMaximum(), 0xFFFFFFFFull);
    }
    buffer.Stop();
}

TEST_F(PacketBufferTest, TransfersReachTheRingWhole)
{
    CTSPacketBuffer buffer(&receiver, &clock, 0, 0);
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    WriteNumbered(buffer, 0, kTransferPackets - 1);
    EXPECT_EQ(buffer.GetRingUsed(), 0u); // 349 packets wait in the transfer buffer
    WriteNumbered(buffer, kTransferPackets - 1, 1);
    EXPECT_EQ(buffer.GetRingUsed(), CTSPacketBuffer::kTransferSize);
    WriteNumbered(buffer, kTransferPackets, kTransferPackets - 1);
    ASSERT_EQ(buffer.Play(), S_OK); // flushes the 349
    ASSERT_TRUE(receiver.WaitFor(2 * kTransferPackets - 1));
    buffer.Stop();
    ExpectNumbered(receiver, 0, 2 * kTransferPackets - 1);
}

TEST_F(PacketBufferTest, ReplayIsIdenticalToTheInputWhileRecordingGoesOn)
{
    CTSPacketBuffer buffer(&receiver, &clock, 0, 0);
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    WriteNumbered(buffer, 0, 3 * kTransferPackets);
    ASSERT_EQ(buffer.Play(), S_OK);
    WriteNumbered(buffer, 3 * kTransferPackets, 2 * kTransferPackets);
    ASSERT_TRUE(receiver.WaitFor(5 * kTransferPackets));
    buffer.Stop();
    ExpectNumbered(receiver, 0, 5 * kTransferPackets);
}

TEST_F(PacketBufferTest, PauseAndPlayAgainKeepOneReader)
{
    CTSPacketBuffer buffer(&receiver, &clock, 0, 0);
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    WriteNumbered(buffer, 0, 2 * kTransferPackets);
    ASSERT_EQ(buffer.Play(), S_OK);
    ASSERT_TRUE(receiver.WaitFor(2 * kTransferPackets));
    for (uint32_t round = 0; round < 3; ++round) {
        ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
        WriteNumbered(buffer, (2 + round) * kTransferPackets, kTransferPackets);
        ASSERT_EQ(buffer.Play(), S_OK);
        ASSERT_TRUE(receiver.WaitFor((3 + round) * kTransferPackets));
    }
    buffer.Stop();
    ExpectNumbered(receiver, 0, 5 * kTransferPackets);
    EXPECT_EQ(receiver.threads.size(), 1u);
}

TEST_F(PacketBufferTest, PacingFollowsThePcrAndSkipsAJump)
{
    CTSPacketBuffer buffer(&receiver, &clock, 0, 0);
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    // 70 PCRs 40 ms apart, with a jump of 20,000 after the 30th; video packets between them.
    uint64_t pcr = 900000;
    uint8_t cc = 0;
    std::vector<test::TSPacket> input;
    for (int i = 0; i < 70; ++i) {
        input.push_back(test::PcrPacket(kPcrPid, pcr, cc++));
        for (uint32_t v = 0; v < 9; ++v)
            input.push_back(Numbered(static_cast<uint32_t>(i * 9 + v)));
        pcr += i == 29 ? 20000 : 3600;
    }
    while (input.size() % kTransferPackets)
        input.push_back(Numbered(99999));
    for (const auto& p : input)
        ASSERT_EQ(buffer.Write(p.data(), 188), S_OK);
    ASSERT_EQ(buffer.Play(), S_OK);
    ASSERT_TRUE(receiver.WaitFor(input.size()));
    buffer.Stop();
    {
        std::lock_guard<std::mutex> lock(receiver.mutex);
        EXPECT_EQ(receiver.packets, input);
    }
    // The first PCR and the one after the jump anchor; every other waits its 40 ms.
    EXPECT_EQ(clock.waits, std::vector<uint32_t>(68, 40));
    EXPECT_EQ(clock.now, 1000u + 68 * 40);
}

TEST_F(PacketBufferTest, AFullRingGivesUpItsOldestTransfers)
{
    CTSPacketBuffer buffer(&receiver, &clock, 4 * CTSPacketBuffer::kTransferSize, 1); // may not grow
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    WriteNumbered(buffer, 0, 10 * kTransferPackets);
    EXPECT_EQ(buffer.GetRingUsed(), 4u * CTSPacketBuffer::kTransferSize);
    ASSERT_EQ(buffer.Play(), S_OK);
    ASSERT_TRUE(receiver.WaitFor(4 * kTransferPackets));
    // Nothing more comes: the reader has caught up and waits.
    Sleep(100);
    buffer.Stop();
    ExpectNumbered(receiver, 6 * kTransferPackets, 4 * kTransferPackets);
}

TEST_F(PacketBufferTest, TheRingGrowsWhileItMay)
{
    CTSPacketBuffer buffer(&receiver, &clock, 2 * CTSPacketBuffer::kTransferSize,
                           7 * uint64_t(CTSPacketBuffer::kTransferSize));
    ASSERT_EQ(buffer.Pause(kPcrPid), S_OK);
    WriteNumbered(buffer, 0, 9 * kTransferPackets);
    EXPECT_EQ(buffer.GetRingSize(), 6u * CTSPacketBuffer::kTransferSize); // 2 -> 4 -> 6, not 8
    ASSERT_EQ(buffer.Play(), S_OK);
    ASSERT_TRUE(receiver.WaitFor(6 * kTransferPackets));
    buffer.Stop();
    ExpectNumbered(receiver, 3 * kTransferPackets, 6 * kTransferPackets);
}
