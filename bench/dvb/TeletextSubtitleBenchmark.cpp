// Decoding a teletext service (pages of 24 rows, four magazines interleaved) packet by packet, and
// drawing a full-width two-line DVB subtitle display set.
#include <benchmark/benchmark.h>

#include <vector>

#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"
#include "dvb/libDVB/teletext/CTeletextDecoder.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"
#include "support/TeletextBuilder.h"

namespace {

std::vector<test::TSPacket> TeletextStream()
{
    std::vector<test::TSPacket> out;
    uint8_t cc = 0;
    for (unsigned cycle = 0; cycle < 25; ++cycle) {
        std::vector<std::vector<uint8_t>> units;
        for (unsigned m = 1; m <= 4; ++m) {
            test::TeletextHeader h = test::PageHeader(m * 100 + cycle);
            h.text = "BENCHMARK PAGE";
            units.push_back(test::TeletextUnit(m, 0, test::HeaderData(h)));
        }
        for (unsigned row = 1; row <= 24; ++row)
            for (unsigned m = 1; m <= 4; ++m)
                units.push_back(test::TeletextUnit(m, row, test::RowData("ROW TEXT OF A TELETEXT PAGE 123")));
        const auto packets = test::PacketizePes(0x100, test::TeletextPes(units, 0), cc);
        out.insert(out.end(), packets.begin(), packets.end());
    }
    return out;
}

void BM_TeletextDecode(benchmark::State& state)
{
    const auto stream = TeletextStream();
    libDVB::CTeletextDecoder decoder(nullptr);
    decoder.Start();
    for (auto _ : state)
        for (const auto& p : stream)
            decoder.OnTeletextPacket(p.data(), 188);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size() * 188));
}
BENCHMARK(BM_TeletextDecode);

void BM_SubtitleDraw(benchmark::State& state)
{
    std::vector<std::vector<uint8_t>> lines;
    for (int y = 0; y < 80; ++y) {
        std::vector<uint8_t> line;
        for (int x = 0; x < 700; ++x)
            line.push_back(static_cast<uint8_t>(((x / 3) ^ (y / 2)) % 4 == 0 ? 0 : 1 + (x / 25) % 3));
        lines.push_back(line);
    }
    std::vector<std::vector<uint8_t>> top, bottom;
    for (size_t y = 0; y < lines.size(); ++y)
        (y % 2 ? bottom : top).push_back(lines[y]);
    test::SubtitleRegion region;
    region.id = 1;
    region.width = 710;
    region.height = 90;
    region.objects = {{1, 0, 0, 5, 5}};
    const auto pes = test::MakePes(
        100, test::SubtitlePesPayload(
                 {test::PageCompositionSegment(1, 5, 0, 1, {{1, 5, 470}}), test::RegionCompositionSegment(1, region),
                  test::ClutDefinitionSegment(1, 0, 0,
                                              {{1, 0x40, true, 235, 128, 128, 0}, {2, 0x40, true, 16, 128, 128, 0},
                                               {3, 0x40, true, 150, 100, 160, 0}}),
                  test::ObjectDataSegment(1, 1, 0, test::FourBitField(top), test::FourBitField(bottom))}));
    libDVB::CSubtitleDecoder decoder;
    decoder.Start();
    libDVB::CSubtitleRenderer renderer(nullptr);
    renderer.Attach(&decoder);
    uint64_t pts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        decoder.DecodePes(pes.data(), static_cast<uint32_t>(pes.size()));
        state.ResumeTiming();
        renderer.Draw(~0ull - 1 - pts++);
    }
}
BENCHMARK(BM_SubtitleDraw);

} // namespace
BENCHMARK_MAIN();
