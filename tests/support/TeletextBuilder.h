// Builds EBU teletext in DVB for tests (ETSI EN 300 706, EN 300 472): Hamming 8/4 and parity
// coding from the standard's own tables, page headers, rows, navigation packets, data units in
// transmission bit order and whole teletext PES packets.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace test {

using TeletextData = std::array<uint8_t, 40>; // a packet's 40 data bytes in teletext bit order

// The Hamming 8/4 codeword of a nibble (EN 300 706, 8.2, table 3).
uint8_t Hamming84(unsigned nibble);
uint8_t WithOddParity(uint8_t code);
uint8_t ReverseBits(uint8_t value);

struct TeletextHeader {
    unsigned magazine = 1; // 1..8 (8 is sent as 0)
    unsigned tens = 0;     // nibbles as sent; decimal digits for ordinary pages
    unsigned units = 0;
    unsigned s1 = 0, s2 = 0, s3 = 0, s4 = 0; // sub-code nibbles (S2 3 bits, S4 2 bits)
    bool erase = false;     // C4
    bool newsflash = false; // C5
    bool subtitle = false;  // C6
    bool serial = false;    // C11
    unsigned national = 0;  // C12-C14
    std::string text;       // header text from column 8
};
// A header for the decimal page and sub-page (sub-page below 80).
TeletextHeader PageHeader(unsigned page, unsigned subPage = 0);

struct TeletextLink {
    unsigned magazineBits = 0; // M1..M3 as sent
    unsigned tens = 0xF, units = 0xF;
    unsigned s1 = 0xF, s2 = 0x7, s3 = 0xF, s4 = 0x3; // the sub-code of "any sub-page"
};

TeletextData HeaderData(const TeletextHeader& header);
TeletextData RowData(const std::string& text);
TeletextData LinksData(const std::vector<TeletextLink>& links, bool showRow24);

// One data unit (id, length 44, field/line, framing code, address, data) in transmission order.
std::vector<uint8_t> TeletextUnit(unsigned magazine, unsigned packet, const TeletextData& data, uint8_t unitId = 0x02);
// A teletext PES (EN 300 472: header data length 0x24, data_identifier 0x10) holding the units,
// filled up with stuffing units to a whole number of transport packets.
std::vector<uint8_t> TeletextPes(const std::vector<std::vector<uint8_t>>& units, uint64_t pts);

} // namespace test
