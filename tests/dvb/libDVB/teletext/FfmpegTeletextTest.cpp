// Our teletext stream, built packet by packet, read by ffmpeg's teletext decoder (libzvbi) and by
// ours: both must find the same text on the same pages.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "dvb/libDVB/demux/TSPacket.h"
#include "dvb/libDVB/teletext/CTeletextDecoder.h"
#include "support/PesBuilder.h"
#include "support/TeletextBuilder.h"
#include "support/TestMedia.h"
#include "support/TransportStreamBuilder.h"

using namespace libDVB;

namespace {

constexpr uint16_t kPid = 0x0100;

// Pages of magazines 1 and 2, sent interleaved as a broadcaster's multiplexer does, with a
// single-bit error in some Hamming bytes.
std::map<unsigned, std::vector<std::string>> Pages()
{
    return {
        {100, {"TOLVIK TELETEXT", "INDEX OF PAGES", "NEWS 101 SPORT 200", "WEATHER FORECAST"}},
        {101, {"NEWS HEADLINES", "FIRST STORY TODAY", "SECOND STORY 42"}},
        {200, {"SPORT RESULTS", "HOME 3 AWAY 1", "LEAGUE TABLE"}},
        {201, {"MORE SPORT", "TENNIS AND GOLF"}},
    };
}

std::vector<test::TSPacket> BuildStream()
{
    uint8_t tableCc = 0, pcrCc = 0, cc = 0;
    test::ProgramStream teletext{kPid, 0x06, {0x56, 0x05, 'e', 'n', 'g', 0x09, 0x00}}; // initial page 100
    std::vector<test::TSPacket> out;
    uint64_t pts = 900000;
    const auto pages = Pages();
    for (int cycle = 0; cycle < 6; ++cycle) {
        const auto tables = test::ProgramTables({teletext}, kPid, tableCc);
        out.insert(out.end(), tables.begin(), tables.end());
        // Pages of magazine 1 and 2 side by side, their rows alternating.
        const unsigned pairs[2][2] = {{100, 200}, {101, 201}};
        for (const auto& pair : pairs) {
            std::vector<std::vector<uint8_t>> units;
            for (unsigned page : pair) {
                test::TeletextHeader h = test::PageHeader(page);
                h.erase = true;
                h.text = "TOLVIK " + std::to_string(page);
                units.push_back(test::TeletextUnit(h.magazine, 0, test::HeaderData(h)));
            }
            for (unsigned row = 1; row <= 4; ++row)
                for (unsigned page : pair) {
                    const auto& rows = pages.at(page);
                    if (row <= rows.size()) {
                        auto unit = test::TeletextUnit(page / 100, row, test::RowData(rows[row - 1]));
                        if (row == 2)
                            unit[5] ^= 0x10; // a correctable error in the packet address
                        units.push_back(unit);
                    }
                }
            out.push_back(test::PcrPacket(kPid, pts - 9000, pcrCc++));
            const auto packets = test::PacketizePes(kPid, test::TeletextPes(units, pts), cc);
            out.insert(out.end(), packets.begin(), packets.end());
            pts += 3600;
        }
    }
    return out;
}

// The lines of the first subtitle that ffmpeg makes of one page (its header row chopped off).
std::vector<std::string> FfmpegPageText(const std::string& file, unsigned page)
{
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -txt_format text -txt_page " +
                                std::to_string(page) + " -i '" + file + "' -map 0:s:0 -f srt - 2>/dev/null";
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    char buffer[512];
    int state = 0; // 0 index, 1 timing, 2 text
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (state == 2 && line.empty())
            break;
        if (state == 2)
            lines.push_back(line);
        else
            ++state;
    }
    pclose(pipe);
    return lines;
}

std::vector<std::string> OurPageText(CTeletextDecoder& decoder, unsigned page)
{
    std::vector<std::string> lines;
    auto copy = decoder.GetPageCopy(static_cast<uint16_t>(page), 0, nullptr, nullptr, true, nullptr);
    if (!copy)
        return lines;
    for (unsigned row = 1; row < 25; ++row) {
        std::string s;
        for (unsigned c = 0; c < 40; ++c)
            s += static_cast<char>(copy->Cell(row, c) & 0x7F);
        const size_t first = s.find_first_not_of(std::string(" \0", 2));
        if (first == std::string::npos)
            continue;
        s = s.substr(first, s.find_last_not_of(std::string(" \0", 2)) - first + 1);
        lines.push_back(s);
    }
    return lines;
}

} // namespace

TEST(FfmpegTeletext, LibzvbiAndOurDecoderReadTheSamePages)
{
    const auto stream = BuildStream();
    const std::string file = test::MediaPath("teletext_crosscheck.ts");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    ASSERT_TRUE(test::WriteFile(file, stream));

    CTeletextDecoder decoder(nullptr);
    decoder.Start();
    for (const auto& p : stream)
        if (TSPacketPid(p.data()) == kPid)
            decoder.OnTeletextPacket(p.data(), 188);
    EXPECT_EQ(decoder.GetPageCount(), 4u);

    for (const auto& page : Pages()) {
        const auto theirs = FfmpegPageText(file, page.first);
        ASSERT_FALSE(theirs.empty()) << "ffmpeg found no page " << page.first;
        EXPECT_EQ(theirs, page.second) << "page " << page.first;
        EXPECT_EQ(OurPageText(decoder, page.first), theirs) << "page " << page.first;
    }
}
