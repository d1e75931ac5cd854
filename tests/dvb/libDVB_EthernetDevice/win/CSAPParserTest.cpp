// The SAP/SDP listener under Wine, against announcers no one here wrote (ffmpeg's sap muxer, VLC's
// stream output) and across two processes listening at once.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <fstream>

#include "NetworkTestKit.h"
#include "base/Utf16.h"
#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"
#include "dvb/libDVB_EthernetDevice/win/CSAPParser.h"
#include "support/TestMedia.h"

using libDVB_EthernetDevice::CMulticastDevice;
using libDVB_EthernetDevice::CNetworkAnnouncement;
using libDVB_EthernetDevice::CSAPParser;
using namespace test;

namespace {

struct Changes : libDVB_EthernetDevice::CSAPcallback {
    int count = 0;
    void OnAnnouncementsChanged() override { ++count; }
};

// The announcement for this group and port, if listed.
std::unique_ptr<CNetworkAnnouncement> Find(const CSAPParser& parser, uint32_t address, uint16_t port)
{
    for (uint16_t id : parser.GetAnnouncementIds()) {
        auto a = parser.GetAnnouncement(id);
        if (a && a->address == address && a->port == port)
            return a;
    }
    return nullptr;
}

const char kChildVariable[] = "TOLVIK_SAP_CHILD";
const char kTwoListenersName[] = "Beide h\xC3\xB6ren";


} // namespace

TEST(SAPListener, FfmpegAnnouncementIsListedUntilItsDeletion)
{
    Changes changes;
    CSAPParser parser(&changes);
    ASSERT_EQ(parser.GetStatus(), S_OK) << parser.GetSocketError();
    CUnixPeer ffmpeg("sap");
    // ffmpeg announces five seconds after it starts, and withdraws the session when it ends.
    ASSERT_TRUE(ffmpeg.Start("ffmpeg -nostdin -loglevel error -re -f lavfi -i testsrc=size=176x144:rate=25 -t 60 "
                             "-c:v mpeg2video -metadata title='Sap \xC3\x84rger' -f sap sap://239.1.2.3:5004"));
    ASSERT_TRUE(PumpUntil([&] { return Find(parser, 0xEF010203u, 5004) != nullptr; }, 15000));
    auto a = Find(parser, 0xEF010203u, 5004);
    EXPECT_EQ(a->name, u"Sap \u00C4rger");
    EXPECT_EQ(changes.count, 1);
    ffmpeg.Stop();
    // Gone well before the 15 s of silence could remove it: by the deletion message.
    EXPECT_TRUE(PumpUntil([&] { return !Find(parser, 0xEF010203u, 5004); }, 5000));
    EXPECT_EQ(changes.count, 2);
}

TEST(SAPListener, VlcChannelIsListedPlaysAndExpiresAfterSilence)
{
    CSAPParser parser;
    ASSERT_EQ(parser.GetStatus(), S_OK) << parser.GetSocketError();
    // VLC refuses to run as root (then it runs as nobody); it announces every 5 s and sends no deletion.
    CUnixPeer vlc("vlc");
    ASSERT_TRUE(vlc.Start("$([ \"$(id -u)\" -ne 0 ] || echo setpriv --reuid=65534 --regid=65534 --clear-groups) "
                          "cvlc -q --loop --sout-keep " +
                          UnixMediaPath("multicast.ts") +
                          " --sout '#std{access=udp,mux=ts,dst=239.255.1.1:1234,sap,name=Zpr\xC3\xA1vy \xC3\x9Cn\xC3\xAF}'"));
    ASSERT_TRUE(PumpUntil([&] { return Find(parser, 0xEFFF0101u, 1234) != nullptr; }, 20000));
    auto a = Find(parser, 0xEFFF0101u, 1234);
    EXPECT_EQ(a->name, u"Zpr\u00E1vy \u00DCn\u00EF");

    // The announced channel plays through a multicast device.
    {
        CCountingListener listener;
        std::u16string address = base::Utf8ToUtf16(std::to_string(a->address >> 24) + "." +
                                                    std::to_string((a->address >> 16) & 255) + "." +
                                                    std::to_string((a->address >> 8) & 255) + "." +
                                                    std::to_string(a->address & 255));
        CMulticastDevice device(address, a->port, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return device.Start(&listener) == S_OK; }, 10000));
        ASSERT_FALSE(listener.services.empty());
        libDVB::CService& service = *listener.services.begin()->second;
        ASSERT_NE(service.GetVideoStream(), nullptr);
        const uint16_t video = service.GetVideoStream()->pid;
        service.ActivateDecoding();
        ASSERT_EQ(device.StartStreaming(), S_OK);
        EXPECT_TRUE(WaitUntil([&] { return listener.Packets(video) > 100; }, 5000));
        EXPECT_EQ(device.Stop(), S_OK);
    }

    // Real time: silence removes it between 15 and 16 s after it was last heard.
    vlc.Stop("TERM");
    const DWORD stopped = GetTickCount();
    uint32_t lastHeard = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            auto now = Find(parser, 0xEFFF0101u, 1234);
            if (now)
                lastHeard = now->lastHeard;
            return !now;
        },
        20000));
    const DWORD gone = GetTickCount();
    EXPECT_GE(gone - lastHeard, 15001u);
    EXPECT_LE(gone - lastHeard, 16200u);
    EXPECT_LE(gone - stopped, 16200u);
}

// Runs only as the second process of TwoProcessesHearOneAnnouncement.
TEST(SAPListener, ChildListener)
{
    const char* ready = std::getenv(kChildVariable);
    if (!ready)
        GTEST_SKIP() << "second listener process only";
    CSAPParser parser;
    ASSERT_EQ(parser.GetStatus(), S_OK) << parser.GetSocketError();
    std::ofstream(ready).put('1');
    ASSERT_TRUE(PumpUntil([&] { return Find(parser, 0xEF0A0B0Cu, 4321) != nullptr; }, 15000));
    EXPECT_EQ(base::Utf16ToUtf8(Find(parser, 0xEF0A0B0Cu, 4321)->name), kTwoListenersName);
}

TEST(SAPListener, TwoProcessesHearOneAnnouncement)
{
    // The viewer and the configurator both listen on 9875.
    CSAPParser parser;
    ASSERT_EQ(parser.GetStatus(), S_OK) << parser.GetSocketError();
    const std::string ready = MediaPath("sap_child.ready");
    std::remove(ready.c_str());
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    std::string commandLine = std::string("\"") + self + "\" --gtest_filter=SAPListener.ChildListener";
    SetEnvironmentVariableA(kChildVariable, ready.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    const BOOL created =
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableA(kChildVariable, nullptr);
    ASSERT_TRUE(created);
    CloseHandle(child.hThread);
    EXPECT_TRUE(PumpUntil([&] { return FileExists(ready); }, 20000));

    SendAnnouncement(std::string("v=0\r\ns=") + kTwoListenersName + "\r\nc=IN IP4 239.10.11.12/8\r\nt=0 0\r\nm=video 4321 udp mpeg\r\n");
    EXPECT_TRUE(PumpUntil([&] { return Find(parser, 0xEF0A0B0Cu, 4321) != nullptr; }, 5000));
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    EXPECT_EQ(code, 0u);
}

TEST(SAPListener, AnnouncementsLargerThanTwoKilobytesAreRead)
{
    CSAPParser parser;
    ASSERT_EQ(parser.GetStatus(), S_OK) << parser.GetSocketError();
    // A long description (many attributes) in one 6,000-byte datagram.
    std::string sdp = "v=0\r\ns=Gro\xC3\x9F\r\nc=IN IP4 239.20.0.1/8\r\nt=0 0\r\nm=video 6000 udp mpeg\r\n";
    while (sdp.size() < 6000)
        sdp += "a=x-padding:" + std::string(100, 'p') + "\r\n";
    SendAnnouncement(sdp, 0x6000);
    ASSERT_TRUE(PumpUntil([&] { return Find(parser, 0xEF140001u, 6000) != nullptr; }, 5000));
    EXPECT_EQ(Find(parser, 0xEF140001u, 6000)->name, u"Gro\u00DF");
}

TEST(SAPListener, SocketFailureLeavesAReadableState)
{
    // A socket that holds a port without sharing it: the listener's bind must fail visibly. Not
    // SAP's own port, which every viewer that other tests run at the same time shares.
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET holder = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    int length = sizeof local;
    ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&local), &length), 0);
    {
        CSAPParser parser(nullptr, ntohs(local.sin_port));
        EXPECT_EQ(parser.GetStatus(), E_FAIL);
        // Wine reports the port held without sharing as WSAEACCES, as Windows does for exclusive use.
        const int error = parser.GetSocketError();
        EXPECT_TRUE(error == WSAEADDRINUSE || error == WSAEACCES) << error;
        // It stays usable: nothing is listed, messages are still parsed.
        EXPECT_TRUE(parser.GetAnnouncementIds().empty());
        const uint8_t deletion[] = {0x24, 0, 0, 1, 0, 0, 0, 0};
        EXPECT_EQ(parser.ParseAnnouncement(deletion, sizeof deletion), E_FAIL);
    }
    closesocket(holder);
    WSACleanup();
}
