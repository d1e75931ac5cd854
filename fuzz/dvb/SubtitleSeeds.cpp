// Seeds for the subtitle fuzz target: valid display sets made with the test builders.
#include <filesystem>

#include "SeedWriter.h"
#include "support/PesBuilder.h"
#include "support/SubtitleBuilder.h"

namespace {

std::vector<test::Bytes> DisplaySet(uint8_t state)
{
    std::vector<std::vector<uint8_t>> lines;
    for (int y = 0; y < 6; ++y) {
        std::vector<uint8_t> line;
        for (int x = 0; x < 300; ++x)
            line.push_back(static_cast<uint8_t>(((x / (1 + y * 7)) + y) % 16));
        lines.push_back(line);
    }
    test::SubtitleRegion region;
    region.id = 1;
    region.width = 320;
    region.height = 20;
    region.code4 = 2;
    region.objects = {{7, 0, 0, 5, 2}, {8, 1, 0, 0, 0, 1, 2}};
    // A field that also holds a 2-bit string, an 8-bit string and map tables.
    test::Bytes mixed = {0x10, 0x5A, 0x23, 0x00, 0x12, 0x07, 0x00, 0x85, 0x09, 0x00, 0x00, 0x20, 0x01, 0x23,
                         0x21, 0x00, 0x11, 0x22, 0x33, 0x22};
    mixed.insert(mixed.end(), 16, 0x5C);
    mixed.insert(mixed.end(), {0x11, 0x12, 0x34, 0x0E, 0x5F, 0x00, 0xF0});
    return {test::PageCompositionSegment(1, 10, state, state == 0 ? 0 : 1, {{1, 40, 500}, {2, 700, 570}}),
            test::RegionCompositionSegment(1, region),
            test::ClutDefinitionSegment(1, 0, 0,
                                        {{1, 0xE0, true, 235, 128, 128, 0}, {2, 0x40, false, 16, 128, 128, 0},
                                         {3, 0x40, true, 82, 240, 90, 0}, {9, 0x20, false, 160, 60, 200, 0}}),
            test::ObjectDataSegment(1, 7, 0, test::FourBitField({lines[0], lines[2], lines[4]}),
                                    test::FourBitField({lines[1], lines[3], lines[5]})),
            test::ObjectDataSegment(1, 8, 0, mixed, {}), test::EndOfDisplaySetSegment(1)};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = true;
    test::Bytes payload = {0x01};
    const auto pes = test::SubtitlePesPayload(DisplaySet(1));
    payload.insert(payload.end(), pes.begin(), pes.end());
    ok = fuzz::WriteSeed(folder, "pes", payload) && ok;
    test::Bytes ts = {0x00};
    uint8_t cc = 0;
    for (uint8_t state : {1, 0, 2})
        for (const auto& p : test::PacketizePes(0x200, test::MakePes(90000 * (state + 1), test::SubtitlePesPayload(DisplaySet(state))), cc))
            ts.insert(ts.end(), p.begin(), p.end());
    ok = fuzz::WriteSeed(folder, "packets", ts) && ok;
    return ok ? 0 : 1;
}
