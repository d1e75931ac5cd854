// The descriptor factory and every descriptor kind: boundary lengths and the fields kept.
#include <gtest/gtest.h>

#include "SIBuilders.h"
#include "dvb/libDVB/si/descriptors/DescriptorFactory.h"
#include "dvb/libDVB/si/descriptors/CAudioStreamDescriptor.h"
#include "dvb/libDVB/si/descriptors/CBouquetNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CComponentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CContentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CCountryAvailabilityDescriptor.h"
#include "dvb/libDVB/si/descriptors/CDataStreamAlignmentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CExtendedEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CISO639LanguageDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMaximumBitrateDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualBouquetNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualComponentDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualNetworkNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CMultilingualServiceNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CNetworkNameDescriptor.h"
#include "dvb/libDVB/si/descriptors/CParentalRatingDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceAvailabilityDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceDescriptor.h"
#include "dvb/libDVB/si/descriptors/CServiceListDescriptor.h"
#include "dvb/libDVB/si/descriptors/CShortEventDescriptor.h"
#include "dvb/libDVB/si/descriptors/CSubtitlingDescriptor.h"
#include "dvb/libDVB/si/descriptors/CTagOnlyDescriptor.h"
#include "dvb/libDVB/si/descriptors/CTeletextDescriptor.h"
#include "dvb/libDVB/si/descriptors/CVideoStreamDescriptor.h"
#include "dvb/libDVB/si/descriptors/CVideoWindowDescriptor.h"

using namespace libDVB;
using test::Bytes;
using test::Cat;
using test::Descriptor;
using test::Text;

namespace {

CDescriptorList Parse(const Bytes& loop, HRESULT expected = S_OK)
{
    CDescriptorList list;
    EXPECT_EQ(ParseDescriptors(list, loop.data(), static_cast<uint32_t>(loop.size())), expected);
    return list;
}

std::string Code(const CLanguageCode& c) { return std::string(c.data(), 3); }

template <class T>
const T* Only(const CDescriptorList& list)
{
    EXPECT_EQ(list.size(), 1u);
    const T* d = FindDescriptor<T>(list);
    EXPECT_NE(d, nullptr);
    return d;
}

struct CKind {
    uint8_t tag;
    uint32_t minimum;
    uint8_t fill; // payload byte that makes the minimum payload valid
};

// Every kind with the fewest payload bytes it accepts.
const CKind kKinds[] = {
    {0x02, 1, 0x04}, // video_stream, MPEG_1_only_flag set
    {0x03, 1, 0}, {0x06, 1, 0}, {0x08, 4, 0}, {0x0A, 0, 0}, {0x0E, 3, 0}, {0x40, 1, 'N'},
    {0x41, 3, 0}, {0x47, 0, 0}, {0x48, 1, 0}, {0x49, 1, 0}, {0x4D, 3, 0},
    {0x4E, 5, 0}, // numbers, language, length_of_items
    {0x50, 6, 0}, {0x54, 0, 0}, {0x55, 0, 0}, {0x56, 0, 0}, {0x59, 0, 0}, {0x5B, 0, 0},
    {0x5C, 0, 0}, {0x5D, 0, 0}, {0x5E, 1, 0}, {0x68, 0, 0}, {0x69, 0, 0}, {0x6A, 0, 0}, {0x72, 1, 0},
};

} // namespace

TEST(DescriptorKinds, EachKindAtItsMinimumIsKeptAndOneByteShortIsDropped)
{
    for (const CKind& kind : kKinds) {
        SCOPED_TRACE(testing::Message() << "tag 0x" << std::hex << int(kind.tag));
        const Bytes minimum(kind.minimum, kind.fill);
        auto list = Parse(Descriptor(kind.tag, minimum));
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0]->GetTag(), kind.tag);
        EXPECT_EQ(list[0]->GetLength(), kind.minimum);
        if (kind.minimum > 0) {
            // The short one is dropped; the descriptor behind it is still read.
            const Bytes shorter(kind.minimum - 1, kind.fill);
            auto rest = Parse(Cat({Descriptor(kind.tag, shorter), Descriptor(0x6A, {})}));
            ASSERT_EQ(rest.size(), 1u);
            EXPECT_EQ(rest[0]->GetTag(), 0x6A);
        }
    }
}

TEST(DescriptorFactory, UnknownTagsAreSkippedByTheirLength)
{
    const Bytes loop = Cat({Descriptor(0x48, Cat({{0x01}, Text("P"), Text("Svc")})),
                            Descriptor(0x99, {0x4D, 0x03, 'x', 'y', 'z'}),
                            Descriptor(0x4D, Cat({test::Str("eng"), Text("Name"), Text("Info")}))});
    auto list = Parse(loop);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->GetTag(), 0x48);
    EXPECT_EQ(list[1]->GetTag(), 0x4D);
    EXPECT_EQ(FindDescriptor(list, 0x99), nullptr);
}

TEST(DescriptorFactory, FindCountsMatchesInOrder)
{
    auto list = Parse(Cat({Descriptor(0x0A, {'e', 'n', 'g', 0}), Descriptor(0x6A, {}), Descriptor(0x0A, {'d', 'e', 'u', 1})}));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(Code(FindDescriptor<CISO639LanguageDescriptor>(list, 0)->GetLanguageCode()), "eng");
    EXPECT_EQ(Code(FindDescriptor<CISO639LanguageDescriptor>(list, 1)->GetLanguageCode()), "deu");
    EXPECT_EQ(FindDescriptor<CISO639LanguageDescriptor>(list, 2), nullptr);
    EXPECT_EQ(FindDescriptor(list, CTagOnlyDescriptor::kTagAC3), list[1].get());
}

TEST(DescriptorFactory, LoopBoundaries)
{
    // A loop shorter than a descriptor header is empty; a one-byte tail is ignored.
    EXPECT_TRUE(Parse({0x48}).empty());
    EXPECT_EQ(Parse(Cat({Descriptor(0x6A, {}), {0x48}})).size(), 1u);
    // A header with no payload at the very end is a whole descriptor.
    EXPECT_EQ(Parse({0x6A, 0x00}).size(), 1u);
    // A descriptor_length that runs past the loop ends it there: the cut descriptor is dropped, the
    // one before it kept.
    CDescriptorList list;
    const Bytes lying = Cat({Descriptor(0x6A, {}), {0x48, 0x04, 0x01, 0x00, 0x00}});
    list = Parse(Cat({Descriptor(0x0A, {'e', 'n', 'g', 0})}));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(ParseDescriptors(list, lying.data(), static_cast<uint32_t>(lying.size())), S_OK);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->GetTag(), 0x6A);
    // The same bytes with one more byte of payload are fine.
    EXPECT_EQ(Parse(Cat({lying, {0x00}})).size(), 2u);
    // Empty and null loops.
    EXPECT_TRUE(Parse({}).empty());
    EXPECT_EQ(ParseDescriptors(list, nullptr, 10), S_OK);
    // Parse of a descriptor whose length runs past the bytes it is given.
    CServiceDescriptor service;
    const uint8_t cut[] = {0x48, 0x05, 0x01, 0x00};
    EXPECT_EQ(service.Parse(cut, sizeof cut), E_FAIL);
    EXPECT_EQ(service.Parse(cut, 1), E_FAIL);
}

TEST(MpegDescriptors, FieldsAndTheMpeg2Extension)
{
    // multiple_frame_rate 1, frame_rate_code 3, MPEG_1_only 0, constrained 1, still 0; P&L 0x48,
    // chroma 1, frame_rate_extension 1.
    auto v = Parse(Descriptor(0x02, {0x80 | (3 << 3) | 0x02, 0x48, 0x60}));
    const auto* video = Only<CVideoStreamDescriptor>(v);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->GetMultipleFrameRateFlag(), 1);
    EXPECT_EQ(video->GetFrameRateCode(), 3);
    EXPECT_EQ(video->GetMpeg1OnlyFlag(), 0);
    EXPECT_EQ(video->GetConstrainedParameterFlag(), 1);
    EXPECT_EQ(video->GetStillPictureFlag(), 0);
    EXPECT_EQ(video->GetProfileAndLevelIndication(), 0x48);
    EXPECT_EQ(video->GetChromaFormat(), 1);
    EXPECT_EQ(video->GetFrameRateExtensionFlag(), 1);
    // MPEG_1_only_flag 0 without the two extension bytes is refused; with one of them too.
    EXPECT_TRUE(Parse(Descriptor(0x02, {0x18})).empty());
    EXPECT_TRUE(Parse(Descriptor(0x02, {0x18, 0x48})).empty());

    auto a = Parse(Descriptor(0x03, {0xF8}));
    const auto* audio = Only<CAudioStreamDescriptor>(a);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->GetFreeFormatFlag(), 1);
    EXPECT_EQ(audio->GetId(), 1);
    EXPECT_EQ(audio->GetLayer(), 3);
    EXPECT_EQ(audio->GetVariableRateAudioIndicator(), 1);

    auto w = Parse(Descriptor(0x08, {0xFF, 0xFF, 0x00, 0x05}));
    const auto* window = Only<CVideoWindowDescriptor>(w);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetHorizontalOffset(), 0x3FFF);
    EXPECT_EQ(window->GetVerticalOffset(), 0x3000);
    EXPECT_EQ(window->GetWindowPriority(), 5);

    auto m = Parse(Descriptor(0x0E, {0xFF, 0x12, 0x34}));
    EXPECT_EQ(Only<CMaximumBitrateDescriptor>(m)->GetMaximumBitrate(), 0x3F1234u);
    auto al = Parse(Descriptor(0x06, {0x02}));
    EXPECT_EQ(Only<CDataStreamAlignmentDescriptor>(al)->GetAlignmentType(), 2);
}

TEST(MpegDescriptors, LanguageKeepsTheLastWholeEntry)
{
    auto l = Parse(Descriptor(0x0A, {'e', 'n', 'g', 0x00, 'c', 'z', 'e', 0x03}));
    const auto* lang = Only<CISO639LanguageDescriptor>(l);
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(Code(lang->GetLanguageCode()), "cze");
    EXPECT_EQ(lang->GetAudioType(), 3);
    auto partial = Parse(Descriptor(0x0A, {'e', 'n', 'g', 0x01, 'c', 'z', 'e'}));
    EXPECT_EQ(Code(Only<CISO639LanguageDescriptor>(partial)->GetLanguageCode()), "eng");
    auto none = Parse(Descriptor(0x0A, {}));
    EXPECT_EQ(Only<CISO639LanguageDescriptor>(none)->GetLanguageCode(), (CLanguageCode{}));
}

TEST(NetworkDescriptors, NamesListsAndMultilingualNames)
{
    auto n = Parse(Descriptor(0x40, test::Str("Net \x05X")));
    EXPECT_EQ(Only<CNetworkNameDescriptor>(n)->GetName(), "Net \x05X"); // raw bytes
    auto b = Parse(Descriptor(0x47, {}));
    EXPECT_EQ(Only<CBouquetNameDescriptor>(b)->GetName(), "");
    auto s = Parse(Descriptor(0x41, {0x12, 0x34, 0x01, 0x56, 0x78, 0x02}));
    const auto* list = Only<CServiceListDescriptor>(s);
    EXPECT_EQ(list->GetServiceId(), 0x1234);
    EXPECT_EQ(list->GetServiceType(), 0x01);

    auto mn = Parse(Descriptor(0x5B, Cat({test::Str("eng"), Text("North"), test::Str("deu"), Text("Nord"), {'x', 'y', 'z'}})));
    const auto& ne = Only<CMultilingualNetworkNameDescriptor>(mn)->GetEntries();
    ASSERT_EQ(ne.size(), 2u); // the 3-byte tail is no whole entry header
    EXPECT_EQ(ne[1].network_name, "Nord");
}

TEST(NetworkDescriptors, MultilingualEntriesNeedAWholeHeader)
{
    auto mn = Parse(Descriptor(0x5B, Cat({test::Str("eng"), Text("North"), {'d', 'e', 'u'}})));
    const auto& ne = Only<CMultilingualNetworkNameDescriptor>(mn)->GetEntries();
    ASSERT_EQ(ne.size(), 1u);
    EXPECT_EQ(Code(ne[0].ISO_639_language_code), "eng");
    EXPECT_EQ(ne[0].network_name, "North");

    // A name length that runs past the descriptor is cut at its end.
    auto mb = Parse(Descriptor(0x5C, Cat({test::Str("fra"), {0x09, 'B', 'o'}})));
    const auto& be = Only<CMultilingualBouquetNameDescriptor>(mb)->GetEntries();
    ASSERT_EQ(be.size(), 1u);
    EXPECT_EQ(be[0].bouquet_name, u"Bo");
}

TEST(ServiceDescriptors, ServiceNamesAvailabilityAndCountries)
{
    auto s = Parse(Descriptor(0x48, Cat({{0x19}, Text(""), Text(Bytes{0xC2, 'E', 'c', 'h', 'o'})})));
    const auto* service = Only<CServiceDescriptor>(s);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(service->GetServiceType(), 0x19);
    EXPECT_EQ(service->GetServiceProviderName(), u"");
    EXPECT_EQ(service->GetServiceName(), u"\u00C9cho");
    // Only the type: both names empty.
    auto bare = Parse(Descriptor(0x48, {0x02}));
    EXPECT_EQ(Only<CServiceDescriptor>(bare)->GetServiceName(), u"");

    auto c = Parse(Descriptor(0x49, {0x80, 'S', 'V', 'K', 'C', 'Z', 'E', 'A'}));
    const auto* country = Only<CCountryAvailabilityDescriptor>(c);
    EXPECT_EQ(country->GetCountryAvailabilityFlag(), 1);
    ASSERT_EQ(country->GetCountries().size(), 2u);
    EXPECT_EQ(Code(country->GetCountries()[1]), "CZE");

    auto ms = Parse(Descriptor(0x5D, Cat({test::Str("slk"), Text("Prov"), Text("Meno"), test::Str("eng"), {0x00}, Text("Name")})));
    const auto& me = Only<CMultilingualServiceNameDescriptor>(ms)->GetEntries();
    ASSERT_EQ(me.size(), 2u);
    EXPECT_EQ(me[0].service_provider_name, u"Prov");
    EXPECT_EQ(me[0].service_name, u"Meno");
    EXPECT_EQ(me[1].service_provider_name, u"");
    EXPECT_EQ(me[1].service_name, u"Name");
    // Four bytes are not a whole header of this kind (language + two length bytes).
    auto tail = Parse(Descriptor(0x5D, Cat({test::Str("slk"), {0x00}})));
    EXPECT_TRUE(Only<CMultilingualServiceNameDescriptor>(tail)->GetEntries().empty());

    auto a = Parse(Descriptor(0x72, {0x00, 0x01, 0x02, 0x03, 0x04, 0x05}));
    const auto* avail = Only<CServiceAvailabilityDescriptor>(a);
    EXPECT_EQ(avail->GetAvailabilityFlag(), 0);
    EXPECT_EQ(avail->GetCellIds(), (std::vector<uint16_t>{0x0102, 0x0304}));
}

TEST(EventDescriptors, ShortAndExtendedEvents)
{
    auto s = Parse(Descriptor(0x4D, Cat({test::Str("eng"), Text("News"), Text("  The day. ")})));
    const auto* se = Only<CShortEventDescriptor>(s);
    ASSERT_NE(se, nullptr);
    EXPECT_EQ(Code(se->GetLanguageCode()), "eng");
    EXPECT_EQ(se->GetEventName(), u"News");
    EXPECT_EQ(se->GetText(), u"The day.");
    auto only = Parse(Descriptor(0x4D, test::Str("deu")));
    EXPECT_EQ(Only<CShortEventDescriptor>(only)->GetEventName(), u"");

    const Bytes items = Cat({Text("Director"), Text("A. Smith"), Text("Year"), Text("1999")});
    auto e = Parse(Descriptor(0x4E, Cat({{0x13}, test::Str("eng"), {static_cast<uint8_t>(items.size())}, items, Text("Long text")})));
    const auto* ee = Only<CExtendedEventDescriptor>(e);
    ASSERT_NE(ee, nullptr);
    EXPECT_EQ(ee->GetDescriptorNumber(), 1);
    EXPECT_EQ(ee->GetLastDescriptorNumber(), 3);
    ASSERT_EQ(ee->GetItems().size(), 2u);
    EXPECT_EQ(ee->GetItems()[0].item_description, u"Director");
    EXPECT_EQ(ee->GetItems()[1].item, u"1999");
    EXPECT_EQ(ee->GetText(), u"Long text");
    // length_of_items past the descriptor: refused.
    EXPECT_TRUE(Parse(Descriptor(0x4E, Cat({{0x00}, test::Str("eng"), {0x09, 0x01, 'a'}}))).empty());
    // An item text that claims more than length_of_items is cut there; the text after is intact.
    auto cut = Parse(Descriptor(0x4E, Cat({{0x00}, test::Str("eng"), {0x03, 0x07, 'a', 'b'}, Text("T")})));
    const auto* ce = Only<CExtendedEventDescriptor>(cut);
    ASSERT_EQ(ce->GetItems().size(), 1u);
    EXPECT_EQ(ce->GetItems()[0].item_description, u"ab");
    EXPECT_EQ(ce->GetText(), u"T");
}

TEST(EventDescriptors, ComponentContentRatingAndMultilingualComponent)
{
    // The component text fills the payload; it has no length byte.
    auto c = Parse(Descriptor(0x50, Cat({{0xF2, 0x03, 0x07}, test::Str("eng"), test::Str("Stereo")})));
    const auto* comp = Only<CComponentDescriptor>(c);
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->GetStreamContent(), 2);
    EXPECT_EQ(comp->GetComponentType(), 3);
    EXPECT_EQ(comp->GetComponentTag(), 7);
    EXPECT_EQ(Code(comp->GetLanguageCode()), "eng");
    EXPECT_EQ(comp->GetText(), u"Stereo");

    auto ct = Parse(Descriptor(0x54, {0x14, 0x00, 0x43, 0x21, 0x99}));
    const auto& entries = Only<CContentDescriptor>(ct)->GetEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].content, 0x14);
    EXPECT_EQ(entries[1].content, 0x43);
    EXPECT_EQ(entries[1].user_byte, 0x21);

    auto pr = Parse(Descriptor(0x55, {'S', 'V', 'K', 0x09, 'D', 'E', 'U'}));
    const auto& ratings = Only<CParentalRatingDescriptor>(pr)->GetEntries();
    ASSERT_EQ(ratings.size(), 1u);
    EXPECT_EQ(Code(ratings[0].country_code), "SVK");
    EXPECT_EQ(ratings[0].rating, 9);

    auto mc = Parse(Descriptor(0x5E, Cat({{0x05}, test::Str("eng"), Text("Dub"), test::Str("ces"), Text("Dabing")})));
    const auto* m = Only<CMultilingualComponentDescriptor>(mc);
    EXPECT_EQ(m->GetComponentTag(), 5);
    ASSERT_EQ(m->GetEntries().size(), 2u);
    EXPECT_EQ(m->GetEntries()[1].text, u"Dabing");
}

TEST(StreamDescriptors, TeletextAndSubtitlingEntries)
{
    auto t = Parse(Descriptor(0x56, {'d', 'e', 'u', 0x09, 0x50, 'e', 'n', 'g', 0x29, 0x88, 'x'}));
    const auto& te = Only<CTeletextDescriptor>(t)->GetEntries();
    ASSERT_EQ(te.size(), 2u);
    EXPECT_EQ(te[0].teletext_type, 1);
    EXPECT_EQ(te[0].teletext_magazine_number, 1);
    EXPECT_EQ(te[0].teletext_page_number, 0x50);
    EXPECT_EQ(te[1].teletext_type, 5); // 0x29
    EXPECT_EQ(te[1].teletext_magazine_number, 1);
    EXPECT_EQ(Code(te[1].ISO_639_language_code), "eng");

    auto s = Parse(Descriptor(0x59, {'f', 'i', 'n', 0x10, 0x00, 0x02, 0x00, 0x03, 's', 'w', 'e'}));
    const auto& se = Only<CSubtitlingDescriptor>(s)->GetEntries();
    ASSERT_EQ(se.size(), 1u);
    EXPECT_EQ(se[0].subtitling_type, 0x10);
    EXPECT_EQ(se[0].composition_page_id, 2);
    EXPECT_EQ(se[0].ancillary_page_id, 3);

    auto kinds = Parse(Cat({Descriptor(0x68, {1}), Descriptor(0x69, {1, 2, 3}), Descriptor(0x6A, {0x00})}));
    ASSERT_EQ(kinds.size(), 3u);
    EXPECT_EQ(kinds[1]->GetTag(), CTagOnlyDescriptor::kTagPDC);
    EXPECT_EQ(kinds[1]->GetLength(), 3);
    EXPECT_NE(FindDescriptor(kinds, CTagOnlyDescriptor::kTagAC3), nullptr);
}
