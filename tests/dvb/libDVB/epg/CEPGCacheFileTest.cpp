#include <gtest/gtest.h>

#include "base/TraceCapture.h"
#include "dvb/libDVB/epg/CEPGCacheFile.h"

using libDVB::CEITEvent;
using libDVB::CEPGCacheFile;

namespace {

constexpr int64_t kNow = 1'800'000'000;

CEITEvent Event(uint16_t id, int64_t start, const std::u16string& name)
{
    CEITEvent e;
    e.original_network_id = 0x0102;
    e.transport_stream_id = 0x0304;
    e.service_id = 0x0506;
    e.event_id = id;
    e.name = name;
    e.shortText = u"s";
    e.extendedText = u"";
    e.content = 0x10;
    e.start = start;
    e.duration = 5400;
    e.running_status = 4;
    return e;
}

std::vector<CEITEvent> ReadAll(const std::vector<uint8_t>& bytes, int* records = nullptr)
{
    std::vector<CEITEvent> out;
    const int n = CEPGCacheFile::Read(bytes, kNow, [&](CEITEvent&& e) { out.push_back(std::move(e)); });
    if (records)
        *records = n;
    return out;
}

} // namespace

TEST(EPGCacheFile, RecordLayoutIsByteExact)
{
    const CEITEvent e = Event(0x0708, 0x0000000012345678, u"A\u00e9");
    const auto bytes = CEPGCacheFile::Write({&e}, 0x12345678);
    const std::vector<uint8_t> expected = {
        0x02,                                           // version
        0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0,             // start
        33 + 4 + 2, 0, 0, 0,                            // length after this field
        0x02, 0x01, 0x04, 0x03, 0x06, 0x05, 0x08, 0x07, // onid, tsid, sid, event_id
        0x18, 0x15, 0, 0, 0, 0, 0, 0,                   // duration 5400
        0x10, 0, 0, 0,                                  // content
        4,                                              // running_status
        4, 0, 0, 0, 'A', 0, 0xE9, 0,                    // name
        2, 0, 0, 0, 's', 0,                             // short text
        0, 0, 0, 0,                                     // extended text
    };
    EXPECT_EQ(bytes, expected);
}

TEST(EPGCacheFile, RoundTripAndAgeBoundary)
{
    const CEITEvent kept = Event(1, kNow - 86399, u"kept");
    const CEITEvent old = Event(2, kNow - 86400, u"old");
    const CEITEvent future = Event(3, kNow + 86400 * 7, u"future");
    const auto bytes = CEPGCacheFile::Write({&kept, &old, &future}, kNow);
    auto events = ReadAll(bytes);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].name, u"kept");
    EXPECT_EQ(events[0].EventKey(), kept.EventKey());
    EXPECT_EQ(events[1].name, u"future");

    // On load too: a record that has aged past a day in the file is skipped, the rest is read.
    const auto written = CEPGCacheFile::Write({&kept, &future}, kNow - 10);
    int records = 0;
    events = ReadAll(written, &records);
    EXPECT_EQ(records, 2);
    EXPECT_EQ(events.size(), 2u);
    std::vector<CEITEvent> later;
    EXPECT_EQ(CEPGCacheFile::Read(written, kNow + 1, [&](CEITEvent&& e) { later.push_back(e); }), 2);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].name, u"future");
}

TEST(EPGCacheFile, OtherVersionsAndEmptyFilesLoadNothing)
{
    const CEITEvent e = Event(1, kNow, u"x");
    auto bytes = CEPGCacheFile::Write({&e}, kNow);
    bytes[0] = 1;
    int records = 0;
    EXPECT_TRUE(ReadAll(bytes, &records).empty());
    EXPECT_EQ(records, -1);
    EXPECT_TRUE(ReadAll({}, &records).empty());
    EXPECT_EQ(records, -1);
    EXPECT_TRUE(ReadAll({2}, &records).empty());
    EXPECT_EQ(records, 0);
}

TEST(EPGCacheFile, EveryTruncationKeepsTheSoundRecords)
{
    const CEITEvent a = Event(1, kNow, u"first");
    const CEITEvent b = Event(2, kNow, u"second");
    const auto bytes = CEPGCacheFile::Write({&a, &b}, kNow);
    const size_t firstEnd = CEPGCacheFile::Write({&a}, kNow).size();
    for (size_t n = 1; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n));
        auto events = ReadAll(cut);
        EXPECT_EQ(events.size(), n >= firstEnd ? 1u : 0u) << "cut at " << n;
    }
    EXPECT_EQ(ReadAll(bytes).size(), 2u);
}

TEST(EPGCacheFile, LyingLengthsStopTheLoad)
{
    const CEITEvent a = Event(1, kNow, u"first");
    const CEITEvent b = Event(2, kNow, u"second");
    const CEITEvent c = Event(3, kNow, u"third");
    const auto one = CEPGCacheFile::Write({&a}, kNow);
    const auto two = CEPGCacheFile::Write({&a, &b}, kNow);
    auto bytes = CEPGCacheFile::Write({&a, &b, &c}, kNow);
    const size_t second = one.size();    // offset of record 2
    const size_t third = two.size();

    auto lengthZero = bytes;
    std::fill(lengthZero.begin() + static_cast<ptrdiff_t>(second + 8), lengthZero.begin() + static_cast<ptrdiff_t>(second + 12), 0);
    EXPECT_EQ(ReadAll(lengthZero).size(), 1u);

    auto nameTooLong = bytes; // the name's byte count runs past its record
    nameTooLong[second + 12 + 21] = 0xF0;
    EXPECT_EQ(ReadAll(nameTooLong).size(), 1u);

    auto oddCount = bytes; // UTF-16 counts are even
    oddCount[second + 12 + 21] = 11;
    EXPECT_EQ(ReadAll(oddCount).size(), 1u);

    auto recordTooLong = bytes; // the record claims more than the file holds
    recordTooLong[third + 8 + 3] = 0x7F;
    EXPECT_EQ(ReadAll(recordTooLong).size(), 2u);

    auto recordTooShort = bytes; // the strings do not fill the record exactly
    recordTooShort[second + 8] = static_cast<uint8_t>(recordTooShort[second + 8] + 2);
    EXPECT_EQ(ReadAll(recordTooShort).size(), 1u);
}

TEST(EPGCacheFile, RefusalsTellTheTraceWhy)
{
    base::CTraceCapture trace;
    const CEITEvent a = Event(1, kNow, u"first");
    const CEITEvent b = Event(2, kNow, u"second");
    const CEITEvent c = Event(3, kNow, u"third");
    const size_t second = CEPGCacheFile::Write({&a}, kNow).size();
    const size_t third = CEPGCacheFile::Write({&a, &b}, kNow).size();
    const auto bytes = CEPGCacheFile::Write({&a, &b, &c}, kNow);
    ReadAll(bytes);
    EXPECT_TRUE(trace.Lines().empty()) << "a sound file is not traced";

    auto version = bytes;
    version[0] = 1;
    ReadAll(version);
    EXPECT_TRUE(trace.Has("EPG cache", "not of this version"));
    auto tooLong = bytes;
    tooLong[third + 8 + 3] = 0x7F;
    ReadAll(tooLong);
    EXPECT_TRUE(trace.Has("EPG cache", "record past the end of the file"));
    auto tooShort = bytes;
    tooShort[second + 8] = static_cast<uint8_t>(tooShort[second + 8] + 2);
    ReadAll(tooShort);
    EXPECT_TRUE(trace.Has("EPG cache", "record length does not match its texts"));
    EXPECT_EQ(trace.Lines().size(), 3u);
}

TEST(EPGCacheFile, ExtremeStartTimesDoNotOverflow)
{
    CEITEvent early = Event(1, INT64_MIN, u"early");
    CEITEvent late = Event(2, INT64_MAX, u"late");
    late.duration = INT64_MAX;
    const auto bytes = CEPGCacheFile::Write({&early, &late}, kNow);
    auto events = ReadAll(bytes);
    ASSERT_EQ(events.size(), 1u); // the far past is expired, the far future kept
    EXPECT_EQ(events[0].name, u"late");
}
