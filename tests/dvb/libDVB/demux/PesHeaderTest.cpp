#include <gtest/gtest.h>

#include <vector>

#include "base/TraceCapture.h"
#include "dvb/libDVB/demux/PesHeader.h"

using libDVB::ParsePesHeader;

namespace {

void PutTimestamp(std::vector<uint8_t>& out, unsigned prefix, uint64_t ts)
{
    out.push_back(static_cast<uint8_t>((prefix << 4) | (((ts >> 30) & 7) << 1) | 1));
    out.push_back(static_cast<uint8_t>(ts >> 22));
    out.push_back(static_cast<uint8_t>((((ts >> 15) & 0x7F) << 1) | 1));
    out.push_back(static_cast<uint8_t>(ts >> 7));
    out.push_back(static_cast<uint8_t>(((ts & 0x7F) << 1) | 1));
}

std::vector<uint8_t> Pes(uint8_t streamId, unsigned ptsDts, uint64_t pts, uint64_t dts, unsigned dtsPrefix = 1)
{
    std::vector<uint8_t> p = {0x00, 0x00, 0x01, streamId, 0x00, 0x00, 0x80,
                              static_cast<uint8_t>(ptsDts << 6), 0};
    if (ptsDts == 2)
        PutTimestamp(p, 2, pts);
    if (ptsDts == 3) {
        PutTimestamp(p, 3, pts);
        PutTimestamp(p, dtsPrefix, dts);
    }
    p[8] = static_cast<uint8_t>(p.size() - 9);
    p.insert(p.end(), {0xAA, 0xBB}); // payload
    return p;
}

} // namespace

TEST(PesHeader, ReadsA33BitPts)
{
    const uint64_t pts = 0x1ABCDEF12ull; // bit 32 set
    auto pes = Pes(0xBD, 2, pts, 0);
    const uint8_t* pos = pes.data();
    uint32_t count = static_cast<uint32_t>(pes.size());
    uint64_t out = 0;
    ASSERT_EQ(ParsePesHeader(pos, count, out), 1);
    EXPECT_EQ(out, pts);
    EXPECT_EQ(pos, pes.data() + 14);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(*pos, 0xAA);
}

TEST(PesHeader, ChecksTheDtsPrefix)
{
    auto good = Pes(0xE0, 3, 1000, 900);
    const uint8_t* pos = good.data();
    uint32_t count = static_cast<uint32_t>(good.size());
    uint64_t pts = 0;
    EXPECT_EQ(ParsePesHeader(pos, count, pts), 1);
    EXPECT_EQ(pts, 1000u);
    EXPECT_EQ(count, 2u);

    auto bad = Pes(0xE0, 3, 1000, 900, 2);
    pos = bad.data();
    count = static_cast<uint32_t>(bad.size());
    EXPECT_EQ(ParsePesHeader(pos, count, pts), 0);
    EXPECT_EQ(pos, bad.data()); // untouched
}

TEST(PesHeader, PaddingHasNoOptionalHeader)
{
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, 0xBE, 0x00, 0x04, 0xFF, 0xFF, 0xFF, 0xFF};
    const uint8_t* pos = pes.data();
    uint32_t count = 10;
    uint64_t pts = 77;
    EXPECT_EQ(ParsePesHeader(pos, count, pts), 1);
    EXPECT_EQ(pts, 0u);
    EXPECT_EQ(pos, pes.data() + 6);
    EXPECT_EQ(count, 4u);
}

TEST(PesHeader, RefusesEveryTruncation)
{
    auto pes = Pes(0xBD, 3, 123456, 1234);
    const uint32_t headerSize = static_cast<uint32_t>(pes.size() - 2);
    for (uint32_t n = 0; n < headerSize; ++n) {
        std::vector<uint8_t> cut(pes.begin(), pes.begin() + n); // exact size so ASan sees overreads
        const uint8_t* pos = cut.data();
        uint32_t count = n;
        uint64_t pts = 0;
        EXPECT_EQ(ParsePesHeader(pos, count, pts), 0) << "length " << n;
    }
}

TEST(PesHeader, RefusesWrongMarkersAndLengths)
{
    auto pes = Pes(0xBD, 2, 5, 0);
    pes[6] = 0x40; // '01' instead of '10'
    const uint8_t* pos = pes.data();
    uint32_t count = static_cast<uint32_t>(pes.size());
    uint64_t pts = 0;
    EXPECT_EQ(ParsePesHeader(pos, count, pts), 0);

    // Each of the three marker bits of the PTS (after bits 32..30, 29..15 and 14..0).
    for (size_t at : {9, 11, 13}) {
        auto marker = Pes(0xBD, 2, 5, 0);
        marker[at] &= 0xFE;
        pos = marker.data();
        count = static_cast<uint32_t>(marker.size());
        EXPECT_EQ(ParsePesHeader(pos, count, pts), 0) << "marker in byte " << at;
        EXPECT_EQ(pos, marker.data());
    }

    // PES_header_data_length too small for the PTS it announces.
    auto shortHeader = Pes(0xBD, 2, 5, 0);
    shortHeader[8] = 3;
    pos = shortHeader.data();
    EXPECT_EQ(ParsePesHeader(pos, count, pts), 0);
}

TEST(PesHeader, WalksOptionalFields)
{
    // PTS, DSM trick mode, CRC, and an extension with private data and a field extension.
    std::vector<uint8_t> p = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x80, 0x80 | 0x08 | 0x02 | 0x01, 0};
    PutTimestamp(p, 2, 42);
    p.push_back(0x00);                // trick mode
    p.insert(p.end(), {0x12, 0x34});  // previous_PES_packet_CRC
    p.push_back(0x80 | 0x01 | 0x0E);  // private data + extension_2, reserved bits
    p.insert(p.end(), 16, 0xEE);
    p.insert(p.end(), {0x82, 0x01, 0x02}); // marker, length 2, two bytes
    p.insert(p.end(), 3, 0xFF);            // stuffing inside the header
    p[8] = static_cast<uint8_t>(p.size() - 9);
    p.push_back(0x5A);
    const uint8_t* pos = p.data();
    uint32_t count = static_cast<uint32_t>(p.size());
    uint64_t pts = 0;
    ASSERT_EQ(ParsePesHeader(pos, count, pts), 1);
    EXPECT_EQ(pts, 42u);
    EXPECT_EQ(*pos, 0x5A);
    EXPECT_EQ(count, 1u);
}

TEST(PesHeader, RefusalsTellTheTraceWhy)
{
    base::CTraceCapture trace;
    libDVB::PesHeaderInfo info;
    auto pes = Pes(0xBD, 2, 5, 0);
    pes[6] = 0x40;
    EXPECT_FALSE(libDVB::ParsePesHeaderInfo(pes.data(), static_cast<uint32_t>(pes.size()), info));
    EXPECT_TRUE(trace.Has("PES header", "without its '10' marker"));

    auto marker = Pes(0xBD, 2, 5, 0);
    marker[11] &= 0xFE;
    EXPECT_FALSE(libDVB::ParsePesHeaderInfo(marker.data(), static_cast<uint32_t>(marker.size()), info));
    EXPECT_TRUE(trace.Has("PES header", "bad PTS"));

    auto shortHeader = Pes(0xBD, 2, 5, 0);
    shortHeader[8] = 40;
    EXPECT_FALSE(libDVB::ParsePesHeaderInfo(shortHeader.data(), static_cast<uint32_t>(shortHeader.size()), info));
    EXPECT_TRUE(trace.Has("PES header", "PES_header_data_length past the data"));

    EXPECT_TRUE(libDVB::ParsePesHeaderInfo(Pes(0xBD, 2, 5, 0).data(), 16, info));
    EXPECT_EQ(trace.Lines().size(), 3u) << "a sound header is not traced";
}
