// Header checks and body parsing of the nine tables, with exact and lying lengths.
#include <gtest/gtest.h>

#include "SIBuilders.h"
#include "dvb/libDVB/si/CBATTable.h"
#include "dvb/libDVB/si/CCATTable.h"
#include "dvb/libDVB/si/CEITTable.h"
#include "dvb/libDVB/si/CNITTable.h"
#include "dvb/libDVB/si/CPATTable.h"
#include "dvb/libDVB/si/CPMTTable.h"
#include "dvb/libDVB/si/CSDTTable.h"
#include "dvb/libDVB/si/CTDTTable.h"
#include "dvb/libDVB/si/CTOTTable.h"
#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"
#include "dvb/libDVB/si/descriptors/CISO639LanguageDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"
#include "dvb/libDVB/si/descriptors/CShortEventDescriptor.h"

using namespace libDVB;
using test::Bytes;
using test::Cat;
using test::Descriptor;
using test::Loop12;
using test::MakeLongSection;
using test::Text;

namespace {

template <class T>
HRESULT CheckAndParse(T& table, const Bytes& s)
{
    const HRESULT hr = table.CheckHeader(s.data(), static_cast<uint32_t>(s.size()));
    if (FAILED(hr))
        return hr;
    return table.Parse(s.data(), static_cast<uint32_t>(s.size()));
}

Bytes PmtStream(uint8_t type, uint16_t pid, const Bytes& descriptors, int adjust = 0)
{
    return Cat({{type, static_cast<uint8_t>(0xE0 | (pid >> 8)), static_cast<uint8_t>(pid)}, Loop12(descriptors, adjust)});
}

Bytes Event(uint16_t id, const Bytes& start, const Bytes& duration, uint8_t running, const Bytes& descriptors,
            int adjust = 0)
{
    const uint32_t n = static_cast<uint32_t>(static_cast<int>(descriptors.size()) + adjust);
    return Cat({{static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)}, start, duration,
                {static_cast<uint8_t>((running << 5) | 0x10 | ((n >> 8) & 0x0F)), static_cast<uint8_t>(n)}, descriptors});
}

Bytes SdtEntry(uint16_t id, uint8_t flags, uint8_t running, uint8_t freeCA, const Bytes& descriptors, int adjust = 0)
{
    const uint32_t n = static_cast<uint32_t>(static_cast<int>(descriptors.size()) + adjust);
    return Cat({{static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id), flags,
                 static_cast<uint8_t>((running << 5) | (freeCA << 4) | ((n >> 8) & 0x0F)), static_cast<uint8_t>(n)},
                descriptors});
}

} // namespace

TEST(SITableHeader, LongFormChecks)
{
    CPATTable pat;
    auto good = MakeLongSection(0x00, 0x0A1B, 7, 1, 2, {0x00, 0x05, 0xE1, 0x00});
    ASSERT_EQ(pat.CheckHeader(good.data(), static_cast<uint32_t>(good.size())), S_OK);
    EXPECT_EQ(pat.GetTableId(), 0x00);
    EXPECT_EQ(pat.GetSectionSyntaxIndicator(), 1);
    EXPECT_EQ(pat.GetSectionLength(), good.size() - 3);
    EXPECT_EQ(pat.GetTableIdExtension(), 0x0A1Bu);
    EXPECT_EQ(pat.GetVersionNumber(), 7);
    EXPECT_EQ(pat.GetCurrentNextIndicator(), 1);
    EXPECT_EQ(pat.GetSectionNumber(), 1);
    EXPECT_EQ(pat.GetLastSectionNumber(), 2);

    auto badCrc = good;
    badCrc[9] ^= 1;
    EXPECT_EQ(pat.CheckHeader(badCrc.data(), static_cast<uint32_t>(badCrc.size())), E_FAIL);
    auto above = MakeLongSection(0x00, 1, 0, 3, 2, {});
    EXPECT_EQ(pat.CheckHeader(above.data(), static_cast<uint32_t>(above.size())), E_FAIL);
    auto next = MakeLongSection(0x00, 1, 0, 0, 0, {});
    next[5] &= 0xFE; // current_next_indicator 0
    test::FixCrc(next);
    EXPECT_EQ(pat.CheckHeader(next.data(), static_cast<uint32_t>(next.size())), E_FAIL);
    // Fewer bytes than section_length claims.
    EXPECT_EQ(pat.CheckHeader(good.data(), static_cast<uint32_t>(good.size() - 1)), E_FAIL);
    // A section_length too small for a long header, even with bytes to spare behind it.
    Bytes tiny{0x00, 0xB0, 0x08, 0, 1, 0xC1, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(pat.CheckHeader(tiny.data(), static_cast<uint32_t>(tiny.size())), E_FAIL);
    EXPECT_EQ(pat.CheckHeader(good.data(), 2), E_FAIL);
    EXPECT_EQ(pat.CheckHeader(nullptr, 0), E_FAIL);
    // Extra bytes behind the section do not count toward its CRC.
    auto padded = Cat({good, {0xFF, 0xFF}});
    EXPECT_EQ(pat.CheckHeader(padded.data(), static_cast<uint32_t>(padded.size())), S_OK);
    // The failed checks did not disturb the header last taken.
    EXPECT_EQ(pat.GetVersionNumber(), 7);
}

TEST(SITableBody, PatProgramsAndNetworkPid)
{
    CPATTable pat;
    auto s = MakeLongSection(0x00, 0x0A1B, 0, 0, 0, {0x00, 0x00, 0xE0, 0x10, 0x00, 0x05, 0xE1, 0x00, 0x01, 0x01, 0xFF, 0xFF});
    ASSERT_EQ(CheckAndParse(pat, s), S_OK);
    EXPECT_TRUE(pat.IsParsed());
    EXPECT_EQ(pat.GetTransportStreamId(), 0x0A1B);
    EXPECT_EQ(pat.GetNetworkPid(), 0x0010);
    EXPECT_EQ(pat.GetPrograms(), (std::map<uint16_t, uint16_t>{{5, 0x0100}, {0x0101, 0x1FFF}}));
    // Parsed once: a second Parse changes nothing even for other bytes.
    auto other = MakeLongSection(0x00, 1, 0, 0, 0, {0x00, 0x09, 0xE2, 0x00});
    EXPECT_EQ(pat.Parse(other.data(), static_cast<uint32_t>(other.size())), S_OK);
    EXPECT_EQ(pat.GetPrograms().size(), 2u);
}

TEST(SITableBody, PmtStreamsWithDescriptorsAndLyingLoopLengths)
{
    CPMTTable pmt;
    const Bytes lang = Descriptor(0x0A, {'e', 'n', 'g', 0});
    const Bytes body = Cat({{0xE1, 0x00}, Loop12(Descriptor(0x0E, {0xC0, 0x10, 0x00})), PmtStream(0x02, 0x100, {}),
                            PmtStream(0x06, 0x102, Cat({Descriptor(0x6A, {0x00}), lang}))});
    ASSERT_EQ(CheckAndParse(pmt, MakeLongSection(0x02, 0x0101, 0, 0, 0, body)), S_OK);
    EXPECT_EQ(pmt.GetProgramNumber(), 0x0101);
    EXPECT_EQ(pmt.GetPcrPid(), 0x0100);
    ASSERT_EQ(pmt.GetProgramDescriptors().size(), 1u);
    ASSERT_EQ(pmt.GetStreams().size(), 2u);
    EXPECT_EQ(pmt.GetStreams()[0].stream_type, 0x02);
    EXPECT_EQ(pmt.GetStreams()[0].elementary_PID, 0x100);
    EXPECT_TRUE(pmt.GetStreams()[0].descriptors.empty());
    EXPECT_EQ(pmt.GetStreams()[1].descriptors.size(), 2u);
    EXPECT_NE(FindDescriptor<CISO639LanguageDescriptor>(pmt.GetStreams()[1].descriptors), nullptr);

    // A program without streams is a valid PMT.
    CPMTTable empty;
    EXPECT_EQ(CheckAndParse(empty, MakeLongSection(0x02, 1, 0, 0, 0, {0xE1, 0x00, 0xF0, 0x00})), S_OK);
    EXPECT_TRUE(empty.GetStreams().empty());
    EXPECT_EQ(CheckAndParse(empty, MakeLongSection(0x02, 1, 1, 0, 0, {0xE1, 0x00, 0xF0})), E_FAIL);

    // program_info_length past the body: cut to it, so the program descriptors take the rest.
    EXPECT_EQ(CheckAndParse(pmt, MakeLongSection(0x02, 0x0101, 1, 0, 0, Cat({{0xE1, 0x00}, Loop12({0x6A, 0x00}, 5)}))),
              S_OK);
    EXPECT_EQ(pmt.GetProgramDescriptors().size(), 1u);
    EXPECT_TRUE(pmt.GetStreams().empty());
    // Exactly filled, it is fine.
    EXPECT_EQ(CheckAndParse(pmt, MakeLongSection(0x02, 0x0101, 1, 0, 0, Cat({{0xE1, 0x00}, Loop12({}), PmtStream(0x1B, 0x200, lang)}))),
              S_OK);
    ASSERT_EQ(pmt.GetStreams().size(), 1u);
    EXPECT_EQ(pmt.GetStreams()[0].stream_type, 0x1B);
}

TEST(SITableBody, CatNitAndBat)
{
    CCATTable cat;
    ASSERT_EQ(CheckAndParse(cat, MakeLongSection(0x01, 0xFFFF, 0, 0, 0, Descriptor(0x09, {0x0B, 0x00, 0xE1, 0x23}))), S_OK);
    EXPECT_TRUE(cat.GetDescriptors().empty()); // CA descriptors are not kept
    EXPECT_EQ(CheckAndParse(cat, MakeLongSection(0x01, 0xFFFF, 1, 0, 0, Cat({Descriptor(0x6A, {}), {0x09, 0x05, 0x00}}))), S_OK);
    EXPECT_EQ(cat.GetDescriptors().size(), 1u); // the loop ends at the one that runs past it

    const Bytes ts = Cat({{0x0A, 0x1B, 0x2C, 0x3D}, Loop12(Descriptor(0x41, {0x01, 0x01, 0x01}))});
    const Bytes nitBody = Cat({Loop12(Descriptor(0x40, test::Str("Fjordnet"))), Loop12(ts)});
    CNITTable nit;
    ASSERT_EQ(CheckAndParse(nit, MakeLongSection(0x40, 0x2C3D, 0, 0, 0, nitBody)), S_OK);
    EXPECT_EQ(nit.GetNetworkId(), 0x2C3D);
    ASSERT_EQ(nit.GetNetworkDescriptors().size(), 1u);
    ASSERT_EQ(nit.GetTransportStreams().size(), 1u);
    EXPECT_EQ(nit.GetTransportStreams()[0].transport_stream_id, 0x0A1B);
    EXPECT_EQ(nit.GetTransportStreams()[0].original_network_id, 0x2C3D);
    EXPECT_EQ(nit.GetTransportStreams()[0].descriptors.size(), 1u);

    CBATTable bat;
    ASSERT_EQ(CheckAndParse(bat, MakeLongSection(0x4A, 0x0042, 0, 0, 0, Cat({Loop12(Descriptor(0x47, test::Str("Bq"))), Loop12(Cat({ts, ts}))}))),
              S_OK);
    EXPECT_EQ(bat.GetBouquetId(), 0x0042);
    EXPECT_EQ(bat.GetBouquetDescriptors().size(), 1u);
    EXPECT_EQ(bat.GetTransportStreams().size(), 2u);
    EXPECT_EQ(CheckAndParse(bat, MakeLongSection(0x4A, 0x0042, 1, 0, 0, {0xF0, 0x00, 0xF0})), E_FAIL);
}

TEST(SITableBody, SdtServiceEntries)
{
    const Bytes service = Descriptor(0x48, Cat({{0x01}, Text("Harbour TV"), Text("Alpha One")}));
    const Bytes e1 = SdtEntry(0x0101, 0xFD, 4, 1, service);  // present/following flag only
    const Bytes e2 = SdtEntry(0x0202, 0xFE, 1, 0, {});       // schedule flag only
    CSDTTable sdt;
    ASSERT_EQ(CheckAndParse(sdt, MakeLongSection(0x42, 0x0A1B, 0, 0, 0, Cat({{0x2C, 0x3D, 0xFF}, e1, e2}))), S_OK);
    EXPECT_EQ(sdt.GetTransportStreamId(), 0x0A1B);
    EXPECT_EQ(sdt.GetOriginalNetworkId(), 0x2C3D);
    ASSERT_EQ(sdt.GetServices().size(), 2u);
    const auto& a = sdt.GetServices()[0];
    EXPECT_EQ(a.service_id, 0x0101);
    EXPECT_EQ(a.EIT_schedule_flag, 0);
    EXPECT_EQ(a.EIT_present_following_flag, 1);
    EXPECT_EQ(a.running_status, 4);
    EXPECT_EQ(a.free_CA_mode, 1);
    const auto* sd = FindDescriptor<CServiceDescriptor>(a.descriptors);
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(sd->GetServiceName(), u"Alpha One");
    const auto& b = sdt.GetServices()[1];
    EXPECT_EQ(b.EIT_schedule_flag, 1);
    EXPECT_EQ(b.EIT_present_following_flag, 0);
    EXPECT_EQ(b.running_status, 1);
    EXPECT_EQ(b.free_CA_mode, 0);
    EXPECT_EQ(CheckAndParse(sdt, MakeLongSection(0x42, 0x0A1B, 1, 0, 0, {0x2C, 0x3D})), E_FAIL);
}

TEST(SITableBody, EitEventsTimesAndTheLoopAfterTheTwelveByteHeader)
{
    const Bytes shortEvent = Descriptor(0x4D, Cat({test::Str("eng"), Text("News"), Text("Daily")}));
    const Bytes content = Descriptor(0x54, {0x21, 0x00});
    const Bytes header{0x0A, 0x1B, 0x2C, 0x3D, 0x01, 0x4F};
    const Bytes body = Cat({header, Event(0x1001, test::MjdTime(0xC079, 12, 45, 0), {0x01, 0x30, 0x00}, 4, Cat({shortEvent, content})),
                            Event(0x1002, test::MjdTime(0xC079, 14, 15, 0), {0x00, 0x45, 0x30}, 1, {})});
    CEITTable eit;
    ASSERT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 3, 0, 1, body)), S_OK);
    EXPECT_EQ(eit.GetServiceId(), 0x0101);
    EXPECT_EQ(eit.GetTransportStreamId(), 0x0A1B);
    EXPECT_EQ(eit.GetOriginalNetworkId(), 0x2C3D);
    EXPECT_EQ(eit.GetSegmentLastSectionNumber(), 1);
    EXPECT_EQ(eit.GetLastTableId(), 0x4F);
    ASSERT_EQ(eit.GetEvents().size(), 2u);
    const auto& e = eit.GetEvents()[0];
    EXPECT_EQ(e.event_id, 0x1001);
    EXPECT_EQ(e.start, 750516300);
    EXPECT_EQ(e.duration, 5400);
    EXPECT_EQ(e.running_status, 4);
    EXPECT_EQ(e.free_CA_mode, 1);
    ASSERT_EQ(e.descriptors.size(), 2u);
    EXPECT_EQ(FindDescriptor<CShortEventDescriptor>(e.descriptors)->GetEventName(), u"News");
    EXPECT_EQ(eit.GetEvents()[1].duration, 45 * 60 + 30);
    EXPECT_EQ(eit.FindEvent(0x1002), &eit.GetEvents()[1]);
    EXPECT_EQ(eit.FindEvent(0x1003), nullptr);

    // The loop is counted from behind the 12-byte event header: ten bytes of loop and a second event
    // header behind it are one event, not two.
    const Bytes fromStart = Cat({header, Event(0x2001, test::MjdTime(0xC079, 0, 0, 0), {0, 0, 0}, 1, {}, 10)});
    EXPECT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 4, 0, 0, Cat({fromStart, Bytes(22, 0x00)}))), S_OK);
    EXPECT_EQ(eit.GetEvents().size(), 2u);
    EXPECT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 5, 0, 0, Cat({fromStart, Bytes(10, 0x00)}))), S_OK);
    EXPECT_EQ(eit.GetEvents().size(), 1u);
    // A header shorter than its minimum; no event is fine.
    EXPECT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 5, 0, 0, {0x0A, 0x1B, 0x2C, 0x3D, 0x01})), E_FAIL);
    ASSERT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 5, 0, 0, header)), S_OK);
    EXPECT_TRUE(eit.GetEvents().empty());
}

// A CRC-valid section with one inner length 1, 2 and 200 bytes too long: the length is cut to what
// remains of the body, so the record that carries it and everything before it are kept. A
// descriptor_length that runs past its loop ends the loop: the descriptors before it are kept.
TEST(SITableBody, InnerLengthsTooLongAreCutToTheBody)
{
    const Bytes lang = Descriptor(0x0A, {'s', 'l', 'k', 0});
    const Bytes ac3 = Descriptor(0x6A, {});
    const Bytes service = Descriptor(0x48, Cat({{0x01}, Text("Harbour"), Text("Alpha")}));
    const Bytes shortEvent = Descriptor(0x4D, Cat({test::Str("slk"), Text("Spravy"), Text("")}));
    const Bytes names = Descriptor(0x40, test::Str("Fjordnet"));
    const Bytes time = test::MjdTime(0xC079, 12, 0, 0);
    for (const int over : {1, 2, 200}) {
        SCOPED_TRACE(over);
        // The descriptor 0x0A runs past the loop that holds it.
        const Bytes cut = Cat({ac3, {0x0A, static_cast<uint8_t>(4 + over), 's', 'l', 'k', 0}});

        CPMTTable pmt;
        ASSERT_EQ(CheckAndParse(pmt, MakeLongSection(0x02, 1, 0, 0, 0,
                                                     Cat({{0xE1, 0x00}, Loop12(ac3), PmtStream(0x02, 0x100, lang),
                                                          PmtStream(0x04, 0x101, lang, over)}))),
                  S_OK);
        ASSERT_EQ(pmt.GetStreams().size(), 2u);
        EXPECT_EQ(pmt.GetStreams()[1].elementary_PID, 0x101);
        EXPECT_NE(FindDescriptor<CISO639LanguageDescriptor>(pmt.GetStreams()[1].descriptors), nullptr);
        ASSERT_EQ(CheckAndParse(pmt, MakeLongSection(0x02, 1, 1, 0, 0, Cat({{0xE1, 0x00}, Loop12({}), PmtStream(0x04, 0x101, cut)}))),
                  S_OK);
        ASSERT_EQ(pmt.GetStreams().size(), 1u);
        ASSERT_EQ(pmt.GetStreams()[0].descriptors.size(), 1u);
        EXPECT_EQ(pmt.GetStreams()[0].descriptors[0]->GetTag(), 0x6A);

        CSDTTable sdt;
        ASSERT_EQ(CheckAndParse(sdt, MakeLongSection(0x42, 1, 0, 0, 0,
                                                     Cat({{0x2C, 0x3D, 0xFF}, SdtEntry(0x0101, 0xFD, 4, 0, service),
                                                          SdtEntry(0x0102, 0xFD, 4, 0, Cat({ac3, service}), over)}))),
                  S_OK);
        ASSERT_EQ(sdt.GetServices().size(), 2u);
        ASSERT_NE(FindDescriptor<CServiceDescriptor>(sdt.GetServices()[1].descriptors), nullptr);
        EXPECT_EQ(FindDescriptor<CServiceDescriptor>(sdt.GetServices()[1].descriptors)->GetServiceName(), u"Alpha");
        ASSERT_EQ(CheckAndParse(sdt, MakeLongSection(0x42, 1, 1, 0, 0, Cat({{0x2C, 0x3D, 0xFF}, SdtEntry(0x0101, 0xFD, 4, 0, cut)}))),
                  S_OK);
        ASSERT_EQ(sdt.GetServices().size(), 1u);
        EXPECT_EQ(sdt.GetServices()[0].descriptors.size(), 1u);

        CEITTable eit;
        const Bytes eitHeader{0x00, 0x01, 0x2C, 0x3D, 0x00, 0x4E};
        ASSERT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 0, 0, 0,
                                                     Cat({eitHeader, Event(1, time, {0, 30, 0}, 4, shortEvent),
                                                          Event(2, time, {0, 30, 0}, 1, shortEvent, over)}))),
                  S_OK);
        ASSERT_EQ(eit.GetEvents().size(), 2u);
        ASSERT_NE(FindDescriptor<CShortEventDescriptor>(eit.GetEvents()[1].descriptors), nullptr);
        EXPECT_EQ(FindDescriptor<CShortEventDescriptor>(eit.GetEvents()[1].descriptors)->GetEventName(), u"Spravy");
        ASSERT_EQ(CheckAndParse(eit, MakeLongSection(0x4E, 0x0101, 1, 0, 0, Cat({eitHeader, Event(1, time, {0, 30, 0}, 4, cut)}))),
                  S_OK);
        ASSERT_EQ(eit.GetEvents().size(), 1u);
        EXPECT_EQ(eit.GetEvents()[0].descriptors.size(), 1u);

        // NIT and BAT: the transport-stream loop length, then the last transport_descriptors_length.
        const Bytes ts1 = Cat({{0x00, 0x01, 0x2C, 0x3D}, Loop12(ac3)});
        const Bytes ts2 = Cat({{0x00, 0x02, 0x2C, 0x3D}, Loop12(ac3)});
        const Bytes ts2Long = Cat({{0x00, 0x02, 0x2C, 0x3D}, Loop12(ac3, over)});
        const Bytes ts2Cut = Cat({{0x00, 0x02, 0x2C, 0x3D}, Loop12(cut)});
        for (const uint8_t tableId : {0x40, 0x4A}) {
            SCOPED_TRACE(tableId);
            CNITTable nit;
            CBATTable bat;
            CTransportStreamLoopTable& table = tableId == 0x40 ? static_cast<CTransportStreamLoopTable&>(nit) : bat;
            for (const Bytes& loop : {Loop12(Cat({ts1, ts2}), over), Loop12(Cat({ts1, ts2Long})), Loop12(Cat({ts1, ts2Cut}))}) {
                const Bytes body = Cat({Loop12(names), loop});
                const Bytes section = MakeLongSection(tableId, 1, 0, 0, 0, body);
                ASSERT_EQ(table.CheckHeader(section.data(), static_cast<uint32_t>(section.size())), S_OK);
                ASSERT_EQ(table.Parse(section.data(), static_cast<uint32_t>(section.size())), S_OK);
                ASSERT_EQ(table.GetTransportStreams().size(), 2u);
                EXPECT_EQ(table.GetTransportStreams()[1].transport_stream_id, 2);
                ASSERT_EQ(table.GetTransportStreams()[1].descriptors.size(), 1u);
                EXPECT_EQ(table.GetTransportStreams()[1].descriptors[0]->GetTag(), 0x6A);
            }
            EXPECT_EQ(tableId == 0x40 ? nit.GetNetworkDescriptors().size() : bat.GetBouquetDescriptors().size(), 1u);
        }
    }
}

TEST(SITableBody, TdtAndTot)
{
    CTDTTable tdt;
    const auto tdtSection = test::ShortSection(0x70, test::MjdTime(0xC079, 12, 45, 0), false);
    ASSERT_EQ(CheckAndParse(tdt, tdtSection), S_OK);
    EXPECT_EQ(tdt.GetUtcTime(), 750516300);
    EXPECT_EQ(CheckAndParse(tdt, test::ShortSection(0x70, {0xC0, 0x79, 0x12, 0x45}, false)), E_FAIL);
    EXPECT_EQ(tdt.CheckHeader(tdtSection.data(), 7), E_FAIL); // shorter than section_length

    // Local time offset descriptor (0x58) is not a kind of ours and is skipped.
    const Bytes offset = Descriptor(0x58, {'S', 'V', 'K', 0x02, 0x01, 0x00, 0xC0, 0x79, 0x01, 0x00, 0x00, 0x02, 0x00});
    CTOTTable tot;
    const auto totSection = test::ShortSection(0x73, Cat({test::MjdTime(0xC079, 12, 45, 1), Loop12(offset)}), true);
    ASSERT_EQ(CheckAndParse(tot, totSection), S_OK);
    EXPECT_EQ(tot.GetUtcTime(), 750516301);
    EXPECT_TRUE(tot.GetDescriptors().empty());
    auto badCrc = totSection;
    badCrc[4] ^= 0x01;
    EXPECT_EQ(tot.CheckHeader(badCrc.data(), static_cast<uint32_t>(badCrc.size())), E_FAIL);
    // A loop length that would cover the CRC is cut before it.
    const Bytes lang = Descriptor(0x0A, {'s', 'l', 'k', 0});
    const auto lying = test::ShortSection(0x73, Cat({test::MjdTime(0xC079, 12, 45, 1), Loop12(lang, 4)}), true);
    EXPECT_EQ(CheckAndParse(tot, lying), S_OK);
    EXPECT_EQ(tot.GetDescriptors().size(), 1u);
    EXPECT_EQ(CheckAndParse(tot, test::ShortSection(0x73, {0xC0, 0x79, 0x12, 0x45, 0x00, 0xF0}, true)), E_FAIL);
}
