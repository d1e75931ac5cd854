// One engine used from two threads, as the channel engine does: the device thread replays PMT and
// SDT versions (each PMT replaces the stream table) while the player's thread starts and stops
// timeshift and selects streams. Run under ThreadSanitizer as well as AddressSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ServiceTestKit.h"

using namespace test;
using libDVB::CAudioStream;
using libDVB::CService;
using libDVB::CTSPacketBufferInterface;

namespace {

// A buffer that only remembers the pacing PID it was paused with.
class CPacingRecorder : public CTSPacketBufferInterface {
public:
    static std::atomic<int> pauses;
    static std::atomic<uint32_t> badPids;
    HRESULT Pause(uint16_t pid) override
    {
        ++pauses;
        if (pid != 0x200 && pid != 0x300)
            ++badPids;
        return S_OK;
    }
    HRESULT Play() override { return S_OK; }
    HRESULT Write(const uint8_t*, uint32_t) override { return S_FALSE; }
    HRESULT Stop() override { return S_OK; }
    bool IsPaused() const override { return false; }
    bool IsCreated() const override { return false; }
};
std::atomic<int> CPacingRecorder::pauses{0};
std::atomic<uint32_t> CPacingRecorder::badPids{0};

std::unique_ptr<CTSPacketBufferInterface> MakeRecorder(CTSPacketBufferInterface::CTSPacketBufferCallback*)
{
    return std::make_unique<CPacingRecorder>();
}

} // namespace

TEST(ServiceConcurrency, TimeshiftStartReadsThePcrStreamUnderTheServiceLock)
{
    CTSPacketBufferInterface::SetFactory(MakeRecorder);
    CTestListener listener;
    CTestEngine engine;
    ASSERT_EQ(engine.Start(&listener), S_OK);
    engine.Feed(0, Pat(1, 0, {{1, 0x100}}));
    engine.Feed(0x100, Pmt(1, 0, 0x200, {{0x02, 0x200, {}}, {0x03, 0x201, {}}, {0x03, 0x202, {}}}));
    CService* service = listener.Service(1);
    ASSERT_NE(service, nullptr);

    constexpr int kVersions = 3000;
    std::atomic<bool> done{false};
    std::thread device([&] {
        for (int i = 1; i <= kVersions; ++i) {
            const uint8_t version = static_cast<uint8_t>(i & 31);
            // Every version deletes the streams of the last one; the PCR stream moves between PIDs.
            const uint16_t base = (i & 1) ? 0x300 : 0x200;
            engine.Feed(0x100, Pmt(1, version, base, {{0x02, base, {}}, {0x03, uint16_t(base + 1), {}},
                                                      {0x03, uint16_t(base + 2), {}}}));
            engine.Feed(0x11, Sdt(1, 0x2000, version, {{1, i & 1 ? "Odd" : "Even", "Maker"}}));
        }
        done = true;
    });
    int rounds = 0;
    while (!done || rounds < 10) {
        EXPECT_EQ(service->StartTimeshift(), S_OK);
        for (uint16_t pid : {0x201, 0x202, 0x301, 0x302})
            service->SelectAudioStream(CAudioStream(pid));
        std::vector<CAudioStream> audio;
        service->GetAudioStreams(audio);
        EXPECT_EQ(audio.size(), 2u);
        EXPECT_EQ(service->StopTimeshift(true), S_OK);
        ++rounds;
    }
    device.join();
    EXPECT_EQ(CPacingRecorder::pauses.load(), rounds);
    EXPECT_EQ(CPacingRecorder::badPids.load(), 0u);
    EXPECT_EQ(service->GetName(), kVersions & 1 ? u"Odd" : u"Even");
    ASSERT_NE(service->GetPCRStream(), nullptr);
    EXPECT_EQ(service->GetPCRStream()->pid, (kVersions & 1) ? 0x300 : 0x200);
    engine.Stop();
    CTSPacketBufferInterface::SetFactory(nullptr);
}
