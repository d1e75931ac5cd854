#include "support/TeletextBuilder.h"

#include "support/PesBuilder.h"

namespace test {

uint8_t Hamming84(unsigned nibble)
{
    static const uint8_t kCodewords[16] = {0x15, 0x02, 0x49, 0x5E, 0x64, 0x73, 0x38, 0x2F,
                                           0xD0, 0xC7, 0x8C, 0x9B, 0xA1, 0xB6, 0xFD, 0xEA};
    return kCodewords[nibble & 15];
}

uint8_t WithOddParity(uint8_t code)
{
    code &= 0x7F;
    unsigned ones = 0;
    for (int b = 0; b < 7; ++b)
        ones += (code >> b) & 1;
    return static_cast<uint8_t>((ones & 1) ? code : code | 0x80);
}

uint8_t ReverseBits(uint8_t value)
{
    uint8_t r = 0;
    for (int b = 0; b < 8; ++b)
        if (value & (1 << b))
            r = static_cast<uint8_t>(r | (0x80 >> b));
    return r;
}

TeletextHeader PageHeader(unsigned page, unsigned subPage)
{
    TeletextHeader h;
    h.magazine = page / 100;
    h.tens = (page / 10) % 10;
    h.units = page % 10;
    h.s1 = subPage % 10;
    h.s2 = (subPage / 10) % 10;
    h.s3 = (subPage / 100) % 10;
    h.s4 = (subPage / 1000) % 10;
    return h;
}

TeletextData HeaderData(const TeletextHeader& h)
{
    TeletextData d;
    d[0] = Hamming84(h.units);
    d[1] = Hamming84(h.tens);
    d[2] = Hamming84(h.s1);
    d[3] = Hamming84((h.s2 & 7) | (h.erase ? 8 : 0));
    d[4] = Hamming84(h.s3);
    d[5] = Hamming84((h.s4 & 3) | (h.newsflash ? 4 : 0) | (h.subtitle ? 8 : 0));
    d[6] = Hamming84(0);
    d[7] = Hamming84((h.serial ? 1 : 0) | ((h.national & 7) << 1));
    for (size_t c = 8; c < 40; ++c)
        d[c] = WithOddParity(c - 8 < h.text.size() ? static_cast<uint8_t>(h.text[c - 8]) : ' ');
    return d;
}

TeletextData RowData(const std::string& text)
{
    TeletextData d;
    for (size_t c = 0; c < 40; ++c)
        d[c] = WithOddParity(c < text.size() ? static_cast<uint8_t>(text[c]) : ' ');
    return d;
}

TeletextData LinksData(const std::vector<TeletextLink>& links, bool showRow24)
{
    TeletextData d;
    d.fill(Hamming84(0));
    for (size_t i = 0; i < 6; ++i) {
        const TeletextLink link = i < links.size() ? links[i] : TeletextLink();
        uint8_t* p = d.data() + 1 + 6 * i;
        p[0] = Hamming84(link.units);
        p[1] = Hamming84(link.tens);
        p[2] = Hamming84(link.s1);
        p[3] = Hamming84((link.s2 & 7) | ((link.magazineBits & 1) << 3));
        p[4] = Hamming84(link.s3);
        p[5] = Hamming84((link.s4 & 3) | ((link.magazineBits >> 1) << 2));
    }
    d[37] = Hamming84(showRow24 ? 8 : 0);
    return d;
}

std::vector<uint8_t> TeletextUnit(unsigned magazine, unsigned packet, const TeletextData& data, uint8_t unitId)
{
    std::vector<uint8_t> u = {unitId, 0x2C, 0xE0 | 0x07, 0xE4};
    const unsigned address = (magazine & 7) | ((packet & 1) << 3);
    u.push_back(ReverseBits(Hamming84(address)));
    u.push_back(ReverseBits(Hamming84(packet >> 1)));
    for (uint8_t b : data)
        u.push_back(ReverseBits(b));
    return u;
}

std::vector<uint8_t> TeletextPes(const std::vector<std::vector<uint8_t>>& units, uint64_t pts)
{
    std::vector<uint8_t> payload = {0x10};
    size_t count = 0;
    for (const auto& u : units) {
        payload.insert(payload.end(), u.begin(), u.end());
        ++count;
    }
    // 45 header bytes + data_identifier + 46 per unit: a whole number of 184-byte payloads.
    while (count % 4 != 3) {
        payload.push_back(0xFF);
        payload.push_back(0x2C);
        payload.insert(payload.end(), 44, 0xFF);
        ++count;
    }
    return MakePes(pts, payload, 0x24 - 5);
}

} // namespace test
