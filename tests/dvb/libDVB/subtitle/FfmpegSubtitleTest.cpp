// Our DVB subtitle stream, built segment by segment, drawn by ffmpeg's DVB subtitle decoder (laid
// over black) and by ours: the pictures must agree.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dvb/libDVB/demux/TSPacket.h"
#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"
#include "support/TestMedia.h"
#include "support/TransportStreamBuilder.h"

using namespace libDVB;
using namespace test;

namespace {

constexpr uint16_t kPid = 0x0200;
constexpr uint64_t kPts = 900000;

std::vector<std::vector<uint8_t>> Glyphs(int width, int height)
{
    // Bars, a checker and a diagonal in five colours on the background code 0.
    std::vector<std::vector<uint8_t>> lines(height, std::vector<uint8_t>(width, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (y < 8)
                lines[y][x] = static_cast<uint8_t>(1 + (x / 40) % 5);
            else if (y < 24)
                lines[y][x] = ((x / 4 + y / 4) % 2) ? 2 : 0;
            else if (std::abs(x - 3 * (y - 24)) < 6)
                lines[y][x] = 4;
        }
    return lines;
}

std::vector<TSPacket> BuildStream(const std::vector<std::vector<uint8_t>>& picture)
{
    std::vector<std::vector<uint8_t>> top, bottom;
    for (size_t y = 0; y < picture.size(); ++y)
        (y % 2 ? bottom : top).push_back(picture[y]);
    SubtitleRegion region;
    region.id = 1;
    region.width = static_cast<uint16_t>(picture[0].size() + 20);
    region.height = static_cast<uint16_t>(picture.size() + 10);
    region.objects = {{3, 0, 0, 10, 4}};
    // Opaque colours away from the saturated corners, where the two conversions round alike.
    const std::vector<SubtitleClutEntry> clut = {{1, 0x40, true, 180, 128, 128, 0}, {2, 0x40, true, 120, 160, 100, 0},
                                                 {3, 0x40, true, 90, 110, 150, 0},  {4, 0x40, true, 150, 140, 90, 0},
                                                 {5, 0x40, true, 60, 120, 135, 0}};
    const auto payload = SubtitlePesPayload(
        {PageCompositionSegment(1, 10, 0, 2, {{1, 120, 400}}), RegionCompositionSegment(1, region),
         ClutDefinitionSegment(1, 0, 0, clut), ObjectDataSegment(1, 3, 0, FourBitField(top), FourBitField(bottom)),
         EndOfDisplaySetSegment(1)});
    uint8_t tableCc = 0, pcrCc = 0, cc = 0;
    const ProgramStream stream{kPid, 0x06, {0x59, 0x08, 'e', 'n', 'g', 0x10, 0x00, 0x01, 0x00, 0x01}};
    std::vector<TSPacket> out = ProgramTables({stream}, kPid, tableCc);
    out.push_back(PcrPacket(kPid, kPts - 9000, pcrCc++));
    auto packets = PacketizePes(kPid, MakePes(kPts, payload), cc);
    out.insert(out.end(), packets.begin(), packets.end());
    // A second, empty display set a second later ends the first for ffmpeg.
    const auto clear = SubtitlePesPayload({PageCompositionSegment(1, 10, 1, 2, {}), EndOfDisplaySetSegment(1)});
    for (int i = 1; i <= 10; ++i)
        out.push_back(PcrPacket(kPid, kPts + i * 9000, pcrCc++));
    packets = PacketizePes(kPid, MakePes(kPts + 90000, clear), cc);
    out.insert(out.end(), packets.begin(), packets.end());
    return out;
}

// ffmpeg's picture: the subtitle laid over black, as 720 x 576 RGB.
std::vector<uint8_t> FfmpegPicture(const std::string& file)
{
    const std::string raw = file + ".rgb";
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i color=c=black:s=720x576:r=25:d=0.5 -i '" + file +
        "' -filter_complex '[0:v]format=gbrp[b];[b][1:s:0]overlay=format=rgb:eof_action=pass,format=rgb24' -frames:v 3 -f rawvideo '" + raw +
        "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return {};
    // The first frame comes before the subtitle is decoded; the third shows it.
    auto frames = ReadFileBytes(raw);
    const size_t frame = 720u * 576 * 3;
    if (frames.size() < 3 * frame)
        return {};
    return std::vector<uint8_t>(frames.begin() + 2 * frame, frames.begin() + 3 * frame);
}

} // namespace

TEST(FfmpegSubtitle, FfmpegAndOurRendererDrawTheSamePicture)
{
    const auto picture = Glyphs(420, 60);
    const auto stream = BuildStream(picture);
    const std::string file = MediaPath("subtitle_crosscheck.ts");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    ASSERT_TRUE(WriteFile(file, stream));

    CSubtitleDecoder decoder;
    decoder.Start();
    for (const auto& p : stream)
        if (TSPacketPid(p.data()) == kPid)
            decoder.OnSubtitlePacket(p.data(), 188);
    CSubtitleRenderer renderer(nullptr);
    renderer.Attach(&decoder);
    renderer.Draw(kPts);

    const auto theirs = FfmpegPicture(file);
    ASSERT_EQ(theirs.size(), 720u * 576 * 3) << "ffmpeg drew no picture";
    int lit = 0, shapeDiffers = 0, colourDiffers = 0;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x) {
            const uint32_t ours = renderer.Canvas().Pixel(x, y);
            const uint8_t* rgb = &theirs[(y * 720 + x) * 3];
            const bool theirsLit = rgb[0] | rgb[1] | rgb[2];
            const bool oursLit = (ours >> 24) != 0;
            lit += oursLit;
            if (theirsLit != oursLit) {
                if (++shapeDiffers <= 5)
                    ADD_FAILURE() << x << "," << y << " ours " << std::hex << ours << " theirs " << int(rgb[0]) << " "
                                  << int(rgb[1]) << " " << int(rgb[2]);
                continue;
            }
            if (!oursLit)
                continue;
            // Our colours are studio range (16..235, as EN 300 743's equations give them); ffmpeg
            // stretches them to full range.
            const int channels[3] = {int(ours >> 16) & 255, int(ours >> 8) & 255, int(ours) & 255};
            for (int c = 0; c < 3; ++c)
                if (std::abs((channels[c] - 16) * 255 / 219 - rgb[c]) > 3) {
                    if (++colourDiffers <= 5)
                        ADD_FAILURE() << x << "," << y << " ours " << std::hex << ours << " theirs " << int(rgb[0])
                                      << " " << int(rgb[1]) << " " << int(rgb[2]);
                    break;
                }
        }
    EXPECT_GT(lit, 5000);
    EXPECT_EQ(shapeDiffers, 0);
    EXPECT_EQ(colourDiffers, 0);
}

TEST(FfmpegSubtitle, OurDecoderDrawsWhatFfmpegsEncoderWrote)
{
    // ffmpeg decodes our stream and codes the picture again with its own encoder (its own CLUT,
    // regions and run-length strings); drawn by us, that stream must show the same picture.
    const auto picture = Glyphs(420, 60);
    const auto stream = BuildStream(picture);
    const std::string file = MediaPath("subtitle_crosscheck_source.ts");
    const std::string encoded = MediaPath("subtitle_crosscheck_ffmpeg.ts");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    ASSERT_TRUE(WriteFile(file, stream));
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -i '" + file +
                                "' -map 0:s -c:s dvbsub -f mpegts '" + encoded + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto theirs = ReadFileBytes(encoded);
    ASSERT_EQ(theirs.size() % 188, 0u);

    CSubtitleDecoder original, reencoded;
    original.Start();
    reencoded.Start();
    for (const auto& p : stream)
        if (TSPacketPid(p.data()) == kPid)
            original.OnSubtitlePacket(p.data(), 188);
    int packets = 0;
    for (size_t i = 0; i + 188 <= theirs.size(); i += 188)
        if (TSPacketPid(&theirs[i]) == 0x0100) { // ffmpeg's first elementary PID
            ++packets;
            reencoded.OnSubtitlePacket(&theirs[i], 188);
        }
    ASSERT_GT(packets, 0);
    // Flush the last PES with an empty start.
    const uint8_t start[188] = {0x47, 0x41, 0x00, 0x10};
    reencoded.OnSubtitlePacket(start, 188);
    ASSERT_GE(reencoded.GetQueuedCount(), 1u);

    CSubtitleRenderer ours(nullptr), fromFfmpeg(nullptr);
    ours.Attach(&original);
    ours.Draw(kPts);
    fromFfmpeg.Attach(&reencoded);
    {
        // The first display set ffmpeg wrote, whatever its time base.
        base::CScopedLock lock(reencoded.Lock());
        const CSubtitleDisplaySet* set = reencoded.PickDueDisplaySet(0);
        for (uint64_t pts = 0; !set && pts < (1ull << 33); pts += 9000)
            set = reencoded.PickDueDisplaySet(pts);
        ASSERT_NE(set, nullptr);
        ASSERT_FALSE(set->page.regions.empty());
        CSubtitleCanvas canvas(fromFfmpeg.Surface().Pixels());
        canvas.Draw(*set);
    }
    int lit = 0, shapeDiffers = 0, colourDiffers = 0;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x) {
            const uint32_t a = ours.Canvas().Pixel(x, y), b = fromFfmpeg.Canvas().Pixel(x, y);
            lit += (a >> 24) != 0;
            if (((a >> 24) != 0) != ((b >> 24) != 0)) {
                if (++shapeDiffers <= 5)
                    ADD_FAILURE() << x << "," << y << " " << std::hex << a << " " << b;
                continue;
            }
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > 6) {
                    if (++colourDiffers <= 5)
                        ADD_FAILURE() << x << "," << y << " " << std::hex << a << " " << b;
                    break;
                }
        }
    EXPECT_GT(lit, 5000);
    EXPECT_EQ(shapeDiffers, 0);
    EXPECT_EQ(colourDiffers, 0);
}
