// Seeds for the teletext fuzz target: valid teletext streams made with the test builders.
#include <filesystem>

#include "SeedWriter.h"
#include "support/PesBuilder.h"
#include "support/TeletextBuilder.h"

namespace {

std::vector<std::vector<uint8_t>> Units(unsigned page, unsigned subPage)
{
    test::TeletextHeader h = test::PageHeader(page, subPage);
    h.text = "SEED " + std::to_string(page);
    h.erase = subPage == 0;
    test::TeletextHeader other = test::PageHeader(page + 100 > 899 ? 100 : page + 100);
    std::vector<std::vector<uint8_t>> units = {test::TeletextUnit(h.magazine, 0, test::HeaderData(h)),
                                               test::TeletextUnit(other.magazine, 0, test::HeaderData(other))};
    for (unsigned row = 1; row <= 24; row += 3) {
        units.push_back(test::TeletextUnit(h.magazine, row, test::RowData("ROW " + std::to_string(row) + " 123 456")));
        units.push_back(test::TeletextUnit(other.magazine, row, test::RowData("OTHER MAGAZINE")));
    }
    test::TeletextLink red, green;
    red.tens = 0, red.units = 1;
    green.magazineBits = 3, green.tens = 5, green.units = 0;
    units.push_back(test::TeletextUnit(h.magazine, 27, test::LinksData({red, green}, true), 0x03));
    return units;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = true;
    // Transport packets (mode byte 0).
    std::vector<uint8_t> ts = {0x00};
    uint8_t cc = 0;
    for (unsigned page : {100u, 101u, 888u})
        for (const auto& p : test::PacketizePes(0x100, test::TeletextPes(Units(page, page == 101 ? 3 : 0), 90000), cc))
            ts.insert(ts.end(), p.begin(), p.end());
    for (const auto& p : test::PacketizePes(0x100, test::TeletextPes({}, 0), cc))
        ts.insert(ts.end(), p.begin(), p.end());
    ok = fuzz::WriteSeed(folder, "packets", ts) && ok;
    // One PES payload (mode byte 1): data_identifier and data units.
    for (unsigned page : {100u, 823u}) {
        std::vector<uint8_t> payload = {0x01, 0x10};
        for (const auto& u : Units(page, 12))
            payload.insert(payload.end(), u.begin(), u.end());
        ok = fuzz::WriteSeed(folder, "pes" + std::to_string(page), payload) && ok;
    }
    return ok ? 0 : 1;
}
