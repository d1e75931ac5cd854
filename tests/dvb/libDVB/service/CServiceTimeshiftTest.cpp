// A service's packets through the platform's timeshift buffer: held while paused, replayed in
// order on play, live again on stop.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "dvb/libDVB/service/CService.h"
#include "dvb/libDVB/timeshift/win/CTSPacketBuffer.h"
#include "support/TSPacketBuilder.h"

using libDVB::CService;
using libDVB::CStream;

namespace {

class CountingCallback : public CService::CServiceCallback {
public:
    HRESULT OnServicePacket(CService*, uint16_t, const uint8_t* packet, uint32_t, uint32_t) override
    {
        // The payload's first two bytes number the packets; replay must keep their order.
        const int number = packet[4] << 8 | packet[5];
        if (number != next.load())
            outOfOrder = true;
        next = number + 1;
        ++count;
        return S_OK;
    }
    HRESULT OnServiceChanged(CService*, uint32_t, uint32_t, uint32_t) override { return S_OK; }
    HRESULT OnTeletextPage(libDVB::CTeletextDecoder*, uint32_t, bool, bool) override { return S_OK; }
    std::atomic<int> count{0};
    std::atomic<int> next{0};
    std::atomic<bool> outOfOrder{false};
};

bool WaitFor(const std::atomic<int>& value, int wanted)
{
    for (int i = 0; i < 500 && value.load() < wanted; ++i)
        Sleep(10);
    return value.load() >= wanted;
}

} // namespace

TEST(ServiceTimeshift, PausedPacketsReplayInOrderThenLiveAgain)
{
    libDVB::CTSPacketBuffer::Install();
    CountingCallback callback;
    {
        CService service(&callback, nullptr, 1, 2, u"One");
        service.AddStream(new CStream(CStream::kVideo, 0x100), false);
        service.ActivateDecoding();
        auto send = [&](int number) {
            test::PacketOptions o;
            o.continuity = static_cast<uint8_t>(number);
            auto p = test::MakePacket(0x100, {static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)}, o);
            return service.OnStreamPacket(nullptr, p.data(), 188, 0);
        };
        EXPECT_EQ(send(0), S_OK);
        EXPECT_EQ(callback.count.load(), 1); // live

        ASSERT_EQ(service.StartTimeshift(), S_OK);
        for (int i = 1; i <= 700; ++i)
            send(i);
        Sleep(100);
        EXPECT_EQ(callback.count.load(), 1); // held in the ring

        ASSERT_EQ(service.StopTimeshift(false), S_OK); // play from the buffer
        EXPECT_TRUE(WaitFor(callback.count, 1 + 700)) << callback.count.load();
        EXPECT_FALSE(callback.outOfOrder.load());

        ASSERT_EQ(service.StopTimeshift(true), S_OK); // back to live
        const int before = callback.count.load();
        callback.next = 5000;
        send(5000);
        EXPECT_EQ(callback.count.load(), before + 1);
    }
    libDVB::CTSPacketBufferInterface::SetFactory(nullptr);
}
