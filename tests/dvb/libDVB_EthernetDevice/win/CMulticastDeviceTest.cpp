// The multicast device against ffmpeg sending a two-program stream over loopback multicast, bare
// (mpegts over udp) and in RTP (rtp_mpegts): the services, PIDs and names must be what ffprobe
// reports for the file, and every packet a Python receiver saw on the group must reach the service.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "NetworkTestKit.h"
#include "base/Utf16.h"
#include "dvb/libDVB/service/CStream.h"
#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"
#include "support/TestMedia.h"

using libDVB_EthernetDevice::CMulticastDevice;
using namespace test;

namespace {

struct Probed {
    uint16_t pcrPid = 0;
    std::string name;
    std::vector<uint16_t> pids;
};

// "program <id> <pmt_pid> <pcr_pid> <name>" and "stream <id> <pid>" lines, as the fixture and
// the scan write them.
std::map<uint16_t, Probed> ReadProbe(const std::string& path)
{
    std::map<uint16_t, Probed> programs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        uint16_t id, pid, pmt;
        words >> kind >> id;
        if (kind == "program") {
            words >> pmt >> programs[id].pcrPid;
            std::getline(words, programs[id].name);
            programs[id].name.erase(0, 1);
        } else if (kind == "stream") {
            words >> pid;
            programs[id].pids.push_back(pid);
        }
    }
    return programs;
}

bool operator==(const Probed& a, const Probed& b) { return a.pcrPid == b.pcrPid && a.name == b.name && a.pids == b.pids; }

std::map<uint16_t, int> ReadCounts(const std::string& path, std::string& sizes)
{
    std::map<uint16_t, int> counts;
    std::ifstream in(path);
    std::string word;
    while (in >> word) {
        if (word == "sizes") {
            std::getline(in, sizes);
            break;
        }
        in >> counts[static_cast<uint16_t>(std::stoi(word))];
    }
    return counts;
}

// The file remuxed with the options that made it, so programs, PIDs and names stay (the RTP muxer
// takes the streams but not the programs: it sends them as one program).
std::string SendCommand(const std::string& url, const std::string& format, bool loop)
{
    return "ffmpeg -nostdin -loglevel error -re " + std::string(loop ? "-stream_loop -1 " : "") + "-i " +
           UnixMediaPath("multicast.ts") +
           " -map 0 -c copy -program 'program_num=301:title=Nord Eins:st=0:st=1'"
           " -program 'program_num=302:title=S\xC3\xBC" "d Zwei:st=2:st=3' -mpegts_transport_stream_id 0x0456 -f " +
           format + " '" + url + "'";
}

// Starts the device on a looping send, then counts one whole send of the file while streaming
// and checks the services and counts against the scan's ffprobe of what was sent.
void ReceiveFromFfmpeg(const char* group, uint16_t port, const std::string& url, const std::string& format,
                       const char* largestDatagram, std::map<uint16_t, Probed>& sent)
{
    CCountingListener listener;
    CMulticastDevice device(base::Utf8ToUtf16(group), port, nullptr);
    // Nothing sent yet: no PAT within 500 ms.
    EXPECT_EQ(device.Start(&listener), E_FAIL);
    EXPECT_EQ(device.GetState(), CMulticastDevice::kStopped);

    CUnixPeer looping(format + "_loop");
    ASSERT_TRUE(looping.Start(SendCommand(url, format, true)));
    // ffmpeg may pause after its first datagrams while it interleaves its inputs.
    ASSERT_TRUE(WaitUntil([&] { return device.Start(&listener) == S_OK; }, 15000));
    looping.Stop();
    ASSERT_FALSE(listener.services.empty());

    CUnixPeer once(format + "_once"), scan(format + "_scan");
    ASSERT_TRUE(scan.Start("python3 " + UnixSourcePath("tests/dvb/libDVB_EthernetDevice/udp_scan.py") + " " + group +
                           " " + std::to_string(port) + " " + scan.UnixStem()));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(scan.WindowsPath(".ready")); }, 10000));
    listener.ResetPackets();
    // Played services hand on the packets of their selected video and audio streams.
    for (auto& entry : listener.services)
        entry.second->ActivateDecoding();
    ASSERT_EQ(device.StartStreaming(), S_OK);
    ASSERT_TRUE(once.Start(SendCommand(url, format, false)));
    int code = -1;
    ASSERT_TRUE(once.WaitExit(30000, &code));
    EXPECT_EQ(code, 0);
    ASSERT_TRUE(scan.WaitExit(15000));

    sent = ReadProbe(scan.WindowsPath(".probe"));
    ASSERT_FALSE(sent.empty());
    ASSERT_EQ(listener.services.size(), sent.size());
    for (const auto& entry : sent) {
        SCOPED_TRACE("service " + std::to_string(entry.first));
        ASSERT_EQ(listener.services.count(entry.first), 1u);
        libDVB::CService& service = *listener.services[entry.first];
        EXPECT_EQ(base::Utf16ToUtf8(service.GetName()), entry.second.name);
        ASSERT_NE(service.GetPCRStream(), nullptr);
        EXPECT_EQ(service.GetPCRStream()->pid, entry.second.pcrPid);
        EXPECT_EQ(service.GetStreamCount(), entry.second.pids.size());
        for (uint16_t pid : entry.second.pids)
            EXPECT_TRUE(service.FindStream(pid, libDVB::CStream::kVideo) || service.FindStream(pid, libDVB::CStream::kAudio))
                << pid;
    }

    std::string sizes;
    const auto counts = ReadCounts(scan.WindowsPath(".counts"), sizes);
    EXPECT_EQ(sizes.substr(sizes.rfind(' ') + 1), largestDatagram);
    // Each service passes on its selected (first) video and audio stream.
    std::vector<uint16_t> played;
    for (auto& entry : listener.services)
        for (auto* stream : {entry.second->GetVideoStream(), static_cast<libDVB::CStream*>(entry.second->GetAudioStream())})
            if (stream)
                played.push_back(stream->pid);
    ASSERT_FALSE(played.empty());
    int expected = 0;
    for (uint16_t pid : played) {
        ASSERT_GT(counts.count(pid), 0u) << pid;
        expected += counts.at(pid);
    }
    // The socket thread may still be working through its queue when the scan is done.
    auto received = [&] {
        int sum = 0;
        for (uint16_t pid : played)
            sum += listener.Packets(pid);
        return sum;
    };
    WaitUntil([&] { return received() >= expected; }, 3000);
    EXPECT_EQ(device.StopStreaming(), S_OK);
    for (uint16_t pid : played)
        EXPECT_EQ(listener.Packets(pid), counts.at(pid)) << "pid " << pid;
    EXPECT_EQ(device.Stop(), S_OK);
}

} // namespace

TEST(MulticastDevice, ReceivesFfmpegMpegtsOverUdp)
{
    // pkt_size 1316: seven packets per datagram, as set-top senders use.
    std::map<uint16_t, Probed> sent;
    ReceiveFromFfmpeg("239.1.1.10", 5010, "udp://239.1.1.10:5010?pkt_size=1316", "mpegts", "1316", sent);
    // What went out is the test-made file: its programs, PIDs and names.
    const auto file = ReadProbe(MediaPath("multicast.txt"));
    EXPECT_EQ(file.size(), 2u);
    EXPECT_TRUE(sent == file);
}

TEST(MulticastDevice, ReceivesFfmpegRtpMpegts)
{
    std::map<uint16_t, Probed> sent;
    ReceiveFromFfmpeg("239.1.1.11", 5012, "rtp://239.1.1.11:5012", "rtp_mpegts", "1328", sent);
}

TEST(MulticastDevice, StreamingStartsAndStopsOnce)
{
    CMulticastDevice device(u"239.1.1.12", 5014, nullptr);
    EXPECT_EQ(device.StopStreaming(), S_FALSE);
    EXPECT_EQ(device.StartStreaming(), S_OK);
    EXPECT_EQ(device.StartStreaming(), S_FALSE);
    EXPECT_EQ(device.StopStreaming(), S_OK);
    EXPECT_EQ(device.StopStreaming(), S_FALSE);
}

TEST(MulticastDevice, SocketSetUpFailureIsReported)
{
    // Not a group address: the membership cannot be joined, and Start says so at once.
    CMulticastDevice unicast(u"127.0.0.1", 5016, nullptr), garbage(u"239.1.1.x", 5016, nullptr);
    CCountingListener listener;
    const DWORD before = GetTickCount();
    EXPECT_EQ(unicast.StartStreaming(), E_FAIL);
    EXPECT_NE(unicast.GetSocketError(), 0);
    EXPECT_EQ(garbage.Start(&listener), E_FAIL);
    EXPECT_LT(GetTickCount() - before, 400u);
}

TEST(MulticastDevice, StopStreamingEndsTheThreadPromptly)
{
    CMulticastDevice device(u"239.1.1.13", 5018, nullptr);
    for (DWORD delay : {0u, 1u, 10u}) {
        DWORD slowest = 0;
        for (int round = 0; round < 100; ++round) {
            ASSERT_EQ(device.StartStreaming(), S_OK);
            if (delay)
                Sleep(delay);
            const DWORD before = GetTickCount();
            ASSERT_EQ(device.StopStreaming(), S_OK);
            slowest = std::max<DWORD>(slowest, GetTickCount() - before);
        }
        EXPECT_LT(slowest, 1000u) << "delay " << delay;
    }
}
