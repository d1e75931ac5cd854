// The scan over multicast groups, against ffmpeg sending the test stream bare (UDP) and in RTP:
// the channels found are ffprobe's programs, each with the group and port as its tuning record;
// a group nobody sends to is skipped.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "NetworkTestKit.h"
#include "base/Utf16.h"
#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"
#include "plintor/ManualEntry.h"
#include "plintor/ScanRun.h"
#include "plintor/win/CMulticastScanSource.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CQORService;
using namespace test;

namespace {

// service id -> name, from the fixture's "program <id> <pmt> <pcr> <name>" lines.
std::map<uint16_t, std::string> ProbedPrograms()
{
    std::map<uint16_t, std::string> programs;
    std::ifstream in(MediaPath("multicast.txt"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind, name;
        int id = 0, pmt = 0, pcr = 0;
        words >> kind >> id;
        if (kind != "program")
            continue;
        words >> pmt >> pcr;
        std::getline(words, name);
        programs[static_cast<uint16_t>(id)] = name.substr(1);
    }
    return programs;
}

// `programsKept`: the RTP muxer sends the streams as one program of its own.
void ScanWhileSending(const char* group, uint16_t port, const std::string& url, const std::string& format,
                      bool programsKept)
{
    CUnixPeer sender(format + "_scan_send");
    ASSERT_TRUE(sender.Start("ffmpeg -nostdin -loglevel error -re -stream_loop -1 -i " + UnixMediaPath("multicast.ts") +
                             " -map 0 -c copy -program 'program_num=301:title=Nord Eins:st=0:st=1'"
                             " -program 'program_num=302:title=S\xC3\xBC" "d Zwei:st=2:st=3'"
                             " -mpegts_transport_stream_id 0x0456 -f " + format + " '" + url + "'"));
    const uint8_t silent[4] = {239, 1, 3, 99};
    const uint8_t sending[4] = {239, 1, 3, static_cast<uint8_t>(std::stoi(std::string(group).substr(8)))};
    std::vector<uint64_t> packed = {plintor::PackMulticastEntry(silent, 5098), plintor::PackMulticastEntry(sending, port)};

    std::vector<std::unique_ptr<CQORService>> found;
    std::vector<uint32_t> messages;
    // ffmpeg may take a moment before its first datagrams: scan until it found something.
    for (int attempt = 0; attempt < 5 && found.empty(); ++attempt) {
        plintor::CMulticastScanSource source(plintor::CMulticastScanSource::FromPacked(packed));
        base::CManualResetEvent stop;
        messages.clear();
        plintor::RunScan(source, plintor::kSourceNetwork, stop, [&](uint32_t id, uintptr_t wParam, intptr_t) {
            messages.push_back(id);
            if (id == plintor::kScanRecord)
                found.emplace_back(reinterpret_cast<CQORService*>(wParam));
            return true;
        });
    }
    sender.Stop();

    const auto programs = ProbedPrograms();
    ASSERT_EQ(programs.size(), 2u);
    ASSERT_EQ(found.size(), programsKept ? programs.size() : 1u);
    for (const auto& record : found) {
        SCOPED_TRACE(record->GetServiceId());
        if (programsKept) {
            ASSERT_EQ(programs.count(record->GetServiceId()), 1u);
            EXPECT_EQ(base::Utf16ToUtf8(record->GetName()), programs.at(record->GetServiceId()));
            EXPECT_EQ(record->GetTransportStreamId(), 0x0456);
        }
        ASSERT_EQ(record->GetTuneInfoCount(), 1u);
        auto* info = dynamic_cast<DVBPlaybackCore::CETHTuneInfo*>(record->GetTuneInfo(0));
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(base::Utf16ToUtf8(info->GetAddress()), group);
        EXPECT_EQ(info->GetPort(), port);
    }
    std::vector<uint32_t> expected = {1025, 1026, 1027, 1027};
    expected.insert(expected.end(), found.size(), 1028);
    expected.insert(expected.end(), {1029, 1029});
    EXPECT_EQ(messages, expected);
}

} // namespace

TEST(MulticastScan, FindsFfmpegProgramsOverUdp)
{
    ScanWhileSending("239.1.3.20", 5040, "udp://239.1.3.20:5040?pkt_size=1316", "mpegts", true);
}

TEST(MulticastScan, FindsFfmpegProgramsOverRtp)
{
    ScanWhileSending("239.1.3.21", 5042, "rtp://239.1.3.21:5042", "rtp_mpegts", false);
}
