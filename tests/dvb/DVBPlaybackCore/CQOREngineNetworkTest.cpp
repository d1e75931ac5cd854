// The channel engine across device kinds: from the virtual BDA tuner to a multicast group that
// ffmpeg sends on loopback, to another group whose stream has the same transport_stream_id, and
// back to the tuner. Each switch closes the running device and opens the one that carries the
// channel; each multicast channel's streams are reported and its packets reach the frame.
#include <winsock2.h>

#include <gtest/gtest.h>

#include "NetworkTestKit.h"
#include "TunerEngineTest.h"
#include "base/Utf16.h"
#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"
#include "dvb/libDVB_EthernetDevice/win/CSAPParser.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

namespace {

using Devices = std::vector<std::pair<int32_t, std::u16string>>;

// The first two streams (one program) of the multicast test stream, renumbered, looping.
std::string SendCommand(const char* url, int program, const char* title)
{
    return "ffmpeg -nostdin -loglevel error -re -stream_loop -1 -i " + test::UnixMediaPath("multicast.ts") +
           " -map 0:0 -map 0:1 -c copy -program 'program_num=" + std::to_string(program) + ":title=" + title +
           ":st=0:st=1' -mpegts_transport_stream_id 2000 -f mpegts '" + url + "'";
}

// Waits until the group's sender runs: a device of its own opens once the tables come.
bool SenderRuns(const char16_t* address, uint16_t port)
{
    test::CCountingListener listener;
    libDVB_EthernetDevice::CMulticastDevice probe(address, port, nullptr);
    return test::WaitUntil([&] { return probe.Start(&listener) == S_OK; }, 15000);
}

class QOREngineNetworkTest : public test::CTunerEngineTest {
protected:
    void SetUp() override { StartEngine("channels_network/channels.dat", "channels_network/timeshift.ts"); }
    // Plays the channel and waits until its video PID is reported and its packets arrive.
    void PlayAndReceive(uint16_t sid, uint16_t tsid)
    {
        SCOPED_TRACE("service " + std::to_string(sid));
        ASSERT_EQ(m_engine->PlayServiceById(sid, tsid, -1, 0), S_OK);
        CQORService* playing = nullptr;
        m_engine->GetCurrentService(&playing);
        ASSERT_EQ(playing, m_engine->FindService(CServices::KeyOf(tsid, sid)));
        m_ui.ClearPackets();
        uint16_t video = 0;
        EXPECT_TRUE(test::PumpUntil([&] {
            auto data = m_ui.DataLock();
            video = m_ui.streams.video;
            return video != 0 && m_ui.packets[video] > 10;
        }));
        EXPECT_EQ(playing->GetReceptionState(), libDVB::CService::kReceived);
    }
};

} // namespace

TEST_F(QOREngineNetworkTest, SwitchesBetweenTunerAndMulticastGroupsByWhatCarriesTheChannel)
{
    test::CUnixPeer groupA("engine_group_a"), groupB("engine_group_b");
    ASSERT_TRUE(groupA.Start(SendCommand("udp://239.1.2.1:5020?pkt_size=1316", 501, "Gruppe A")));
    ASSERT_TRUE(groupB.Start(SendCommand("udp://239.1.2.2:5022?pkt_size=1316", 502, "Gruppe B")));
    ASSERT_TRUE(SenderRuns(u"239.1.2.1", 5020));
    ASSERT_TRUE(SenderRuns(u"239.1.2.2", 5022));

    PlayAndReceive(301, 1110);
    EXPECT_EQ(m_engine->GetDevices(), (Devices{{1, u"Virtual Tuner T/C (1)"}}));
    const uint32_t tunes = m_tuner.LastTune().count;

    // To the network: the tuner is closed, the group of the channel's record opened.
    PlayAndReceive(501, 2000);
    EXPECT_EQ(m_engine->GetDevices(), (Devices{{2, u"239.1.2.1:5020"}}));

    // Equal transport_stream_id, other group: the running device does not carry it.
    PlayAndReceive(502, 2000);
    EXPECT_EQ(m_engine->GetDevices(), (Devices{{3, u"239.1.2.2:5022"}}));
    EXPECT_EQ(m_engine->FindService(CServices::KeyOf(2000, 501))->GetServiceManager(), nullptr);

    // Back to the tuner, opened and tuned anew.
    PlayAndReceive(301, 1110);
    EXPECT_EQ(m_engine->GetDevices(), (Devices{{4, u"Virtual Tuner T/C (1)"}}));
    EXPECT_GT(m_tuner.LastTune().count, tunes);

    // A device the frame opens for a group is registered under "address:port" and borrowed.
    libDVB::CTSEngine* device = nullptr;
    int32_t id = 0;
    ASSERT_EQ(m_engine->CreateMulticastDevice(u"239.1.2.1", 5020, &device, &id), S_OK);
    EXPECT_NE(device, nullptr);
    EXPECT_EQ(id, 5);
    EXPECT_EQ(m_engine->GetDevices().back(), (std::pair<int32_t, std::u16string>{5, u"239.1.2.1:5020"}));
    EXPECT_EQ(m_engine->Shutdown(), S_OK);
    EXPECT_TRUE(m_engine->GetDevices().empty());
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}

// A channel announced over SAP plays as the frame's network-source menu plays it: the group
// address from the announcement, a multicast device opened for it, its first running service.
TEST_F(QOREngineNetworkTest, AnAnnouncedChannelPlaysThroughAMulticastDevice)
{
    libDVB_EthernetDevice::CSAPParser listener;
    ASSERT_EQ(listener.GetStatus(), S_OK) << listener.GetSocketError();
    test::CUnixPeer group("engine_sap_group");
    ASSERT_TRUE(group.Start(SendCommand("udp://239.1.2.3:5024?pkt_size=1316", 503, "Angesagt")));
    test::SendAnnouncement("v=0\r\ns=Angesagt\r\nc=IN IP4 239.1.2.3/8\r\nt=0 0\r\nm=video 5024 udp mpeg\r\n", 0x5AB);
    ASSERT_TRUE(test::PumpUntil([&] { return !listener.GetAnnouncementIds().empty(); }, 5000));
    const auto announcement = listener.GetAnnouncement(listener.GetAnnouncementIds().front());
    ASSERT_NE(announcement, nullptr);
    const uint32_t a = announcement->address;
    const std::string address = std::to_string(a >> 24) + "." + std::to_string(a >> 16 & 255) + "." +
                                std::to_string(a >> 8 & 255) + "." + std::to_string(a & 255);
    EXPECT_EQ(address, "239.1.2.3");

    libDVB::CTSEngine* device = nullptr;
    // The sender may still be starting: the device opens once its tables come.
    ASSERT_TRUE(test::PumpUntil(
        [&] {
            return m_engine->CreateMulticastDevice(base::Utf8ToUtf16(address), announcement->port, &device,
                                                   nullptr) == S_OK;
        },
        15000));
    CServices::ServiceArray running;
    m_engine->GetRunningServices(running, false);
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(running[0]->GetServiceId(), 503);
    EXPECT_EQ(running[0]->GetName(), u"Angesagt");
    ASSERT_EQ(m_engine->PlayService(running[0], 0, 0), S_OK);
    ASSERT_EQ(device->StartStreaming(), S_OK);
    EXPECT_TRUE(test::PumpUntil([&] {
        auto data = m_ui.DataLock();
        return m_ui.streams.video != 0 && m_ui.packets[m_ui.streams.video] > 10;
    }));
    EXPECT_EQ(m_engine->GetDevices(), (Devices{{1, u"239.1.2.3:5024"}}));
    EXPECT_EQ(m_ui.timeouts.load(), 0u);
}
