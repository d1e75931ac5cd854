// SAP messages (RFC 2974) with SDP descriptions (RFC 4566): captured from real announcers and made
// by hand for every malformed shape, with the clock driven by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dvb/libDVB_EthernetDevice/CAnnouncementMap.h"
#include "support/TestMedia.h"

using libDVB_EthernetDevice::CAnnouncementMap;
using libDVB_EthernetDevice::CSAPcallback;

namespace {

struct Changes : CSAPcallback {
    int count = 0;
    void OnAnnouncementsChanged() override { ++count; }
};

std::vector<uint8_t> Sap(uint8_t flags, uint16_t id, const std::string& sdp, std::vector<uint8_t> authentication = {},
                         const std::string& payloadType = std::string("application/sdp\0", 16))
{
    std::vector<uint8_t> d = {flags, static_cast<uint8_t>(authentication.size() / 4), static_cast<uint8_t>(id >> 8),
                              static_cast<uint8_t>(id), 10, 0, 0, 1};
    d.insert(d.end(), authentication.begin(), authentication.end());
    d.insert(d.end(), payloadType.begin(), payloadType.end());
    d.insert(d.end(), sdp.begin(), sdp.end());
    return d;
}

const std::string kSdp = "v=0\r\no=- 1 1 IN IP4 10.0.0.1\r\ns=News\r\nc=IN IP4 239.1.2.3/16\r\nt=0 0\r\n"
                         "a=x-plgroup:Local:Town\r\nm=video 5004 RTP/AVP 33\r\n";

HRESULT Parse(CAnnouncementMap& map, const std::vector<uint8_t>& d, uint32_t now = 1000)
{
    // An exact-size heap copy, so that ASan sees any read past the datagram.
    const std::vector<uint8_t> copy(d);
    return map.ParseAnnouncement(copy.data(), copy.size(), now);
}

std::vector<uint8_t> Captured(const std::string& name)
{
    return test::ReadFileBytes(test::SourcePath("tests/fixtures/sap/" + name));
}

} // namespace

TEST(AnnouncementMap, ReadsEveryFieldOfADescription)
{
    Changes changes;
    CAnnouncementMap map(&changes);
    ASSERT_EQ(Parse(map, Sap(0x20, 0xBEEF, kSdp), 777), S_OK);
    auto a = map.GetAnnouncement(0xBEEF);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->name, u"News");
    EXPECT_EQ(a->groupName, u"Local:Town");
    EXPECT_EQ(a->address, 0xEF010203u);
    EXPECT_EQ(a->port, 5004);
    EXPECT_EQ(a->start, 0u);
    EXPECT_EQ(a->stop, 0u);
    EXPECT_EQ(a->lastHeard, 777u);
    EXPECT_EQ(a->id, 0xBEEFu);
    EXPECT_EQ(changes.count, 1);
    // The copy belongs to the caller.
    a->name = u"changed";
    EXPECT_EQ(map.GetAnnouncement(0xBEEF)->name, u"News");
    EXPECT_EQ(map.GetAnnouncementIds(), std::vector<uint16_t>{0xBEEF});
    EXPECT_EQ(map.RemoveAnnouncement(0xBEEF), S_OK);
    EXPECT_EQ(map.RemoveAnnouncement(0xBEEF), S_FALSE);
    EXPECT_EQ(map.GetAnnouncement(0xBEEF), nullptr);
}

TEST(AnnouncementMap, CapturedAnnouncersAreUnderstood)
{
    Changes changes;
    CAnnouncementMap map(&changes);
    ASSERT_EQ(Parse(map, Captured("vlc_announcement.bin")), S_OK);
    ASSERT_EQ(map.GetCount(), 1u);
    auto vlc = map.GetAnnouncement(map.GetAnnouncementIds()[0]);
    EXPECT_EQ(vlc->name, u"Zpr\u00E1vy \u00DCn\u00EF");
    EXPECT_EQ(vlc->address, 0xEFFF0101u);
    EXPECT_EQ(vlc->port, 1234);

    const auto announcement = Captured("ffmpeg_announcement.bin");
    ASSERT_EQ(Parse(map, announcement), S_OK);
    const uint16_t id = static_cast<uint16_t>(announcement[2] << 8 | announcement[3]);
    auto ffmpeg = map.GetAnnouncement(id);
    ASSERT_NE(ffmpeg, nullptr);
    EXPECT_EQ(ffmpeg->name, u"No Name");
    EXPECT_EQ(ffmpeg->address, 0xEF010203u);
    EXPECT_EQ(ffmpeg->port, 5010); // the last of its four m= lines
    EXPECT_EQ(changes.count, 2);
    // Its deletion (flags 0x24) withdraws it and tells the callback.
    ASSERT_EQ(Parse(map, Captured("ffmpeg_deletion.bin")), S_OK);
    EXPECT_EQ(map.GetAnnouncement(id), nullptr);
    EXPECT_EQ(changes.count, 3);
}

TEST(AnnouncementMap, KnownIdIsOnlyRefreshedAndDeletionsNeedAKnownId)
{
    Changes changes;
    CAnnouncementMap map(&changes);
    EXPECT_EQ(Parse(map, Sap(0x24, 7, kSdp)), E_FAIL);
    ASSERT_EQ(Parse(map, Sap(0x20, 7, kSdp), 100), S_OK);
    std::string other = kSdp;
    other.replace(other.find("News"), 4, "Else");
    ASSERT_EQ(Parse(map, Sap(0x20, 7, other), 200), S_OK);
    auto a = map.GetAnnouncement(7);
    EXPECT_EQ(a->name, u"News");
    EXPECT_EQ(a->lastHeard, 200u);
    EXPECT_EQ(changes.count, 1);
    ASSERT_EQ(Parse(map, Sap(0x24, 7, "")), S_OK);
    EXPECT_EQ(map.GetCount(), 0u);
    EXPECT_EQ(changes.count, 2);
}

TEST(AnnouncementMap, SilenceExpiresInTickArithmeticAndStopTimesEnd)
{
    Changes changes;
    CAnnouncementMap map(&changes);
    // t=0 0 stays while it is repeated within 15 s, across the 32-bit tick wrap.
    uint32_t tick = 0xFFFF0000u;
    ASSERT_EQ(Parse(map, Sap(0x20, 1, kSdp), tick), S_OK);
    for (int i = 0; i < 10; ++i) {
        tick += 14000;
        EXPECT_EQ(map.Expire(tick, 1700000000), 0u);
        ASSERT_EQ(Parse(map, Sap(0x20, 1, kSdp), tick), S_OK);
    }
    EXPECT_LT(tick, 0xFFFF0000u);
    EXPECT_EQ(map.Expire(tick + 15000, 1700000000), 0u);
    EXPECT_EQ(map.Expire(tick + 15001, 1700000000), 1u);
    EXPECT_EQ(map.GetCount(), 0u);

    // NTP times beyond 2^31 and 2^32 seconds: stop 2036-02-07 06:28:16 UTC + 1000 s.
    const std::string timed = "s=Timed\nc=IN IP4 239.0.0.1\nm=video 1 udp mpeg\nt=3913056000 4294968296\n";
    ASSERT_EQ(Parse(map, Sap(0x20, 2, timed), 0), S_OK);
    auto a = map.GetAnnouncement(2);
    EXPECT_EQ(a->start, 3913056000ull - 2208988800ull);
    EXPECT_EQ(a->stop, 4294968296ull - 2208988800ull);
    EXPECT_EQ(map.Expire(10, static_cast<int64_t>(a->stop)), 0u);
    EXPECT_EQ(map.Expire(10, static_cast<int64_t>(a->stop) + 1), 1u);
    EXPECT_EQ(changes.count, 2); // expiry is not reported
}

TEST(AnnouncementMap, MalformedMessagesAreDroppedWithoutATrace)
{
    CAnnouncementMap map;
    const std::vector<std::vector<uint8_t>> dropped = {
        {0x20, 0, 0, 1, 0, 0, 0},                                   // shorter than the SAP header
        Sap(0x30, 1, kSdp),                                         // IPv6 origin
        Sap(0x22, 1, kSdp),                                         // encrypted
        Sap(0x21, 1, kSdp),                                         // compressed
        Sap(0x20, 1, kSdp, {}, "application/sdp"),                  // payload type without its NUL
        Sap(0x20, 1, "v=0\r\ns\r\n"),                               // a line of one character
        Sap(0x20, 1, "v=0\r\n\r\ns=x\r\n"),                          // an empty line
        Sap(0x20, 1, "v=0\nsx=1\n"),                                // no '=' as second character
        Sap(0x20, 1, "c=IN IP6 ff02::1\n"),                         // not IPv4
        Sap(0x20, 1, "c=IN IP4 239.1.2\n"),                         // three octets
        Sap(0x20, 1, "c=IN IP4 239.1.x.3\n"),                       // a non-numeric octet
        Sap(0x20, 1, "c=IN IP4\n"),                                 // no address at all
        Sap(0x20, 1, "c=IN IP4 239.1.2.300\n"),                     // an octet above 255
        Sap(0x20, 1, "c=IN IP4 495.1.2.3/1/2\n"),
        Sap(0x20, 1, "c=IN IP4 239.1.2/255\n"),                     // a missing octet
        Sap(0x20, 1, "c=IN IP4 239.1..3\n"),
        Sap(0x20, 1, "c=IN IP4 239.1.2.3.4\n"),                     // five octets
        Sap(0x20, 1, "m=video\n"),                                  // no port
        Sap(0x20, 1, "m=video 0 udp mpeg\n"),                       // port outside 1..65535
        Sap(0x20, 1, "m=video 65536 udp mpeg\n"),
        Sap(0x20, 1, "m=video 99999999999999999999999 udp mpeg\n"),
        Sap(0x20, 1, "m=video port udp mpeg\n"),
        Sap(0x20, 1, "t=3913056000\n"),                             // no stop time
        Sap(0x20, 1, "t=99999999999999999999 0\n"),                 // beyond 64 bits
    };
    for (size_t i = 0; i < dropped.size(); ++i)
        EXPECT_EQ(Parse(map, dropped[i]), E_FAIL) << "case " << i;
    EXPECT_EQ(map.GetCount(), 0u);
}

TEST(AnnouncementMap, AuthenticationDataAndUnfinishedLinesAreSkipped)
{
    CAnnouncementMap map;
    // Two words of authentication data (one of them a NUL) between origin and payload type.
    ASSERT_EQ(Parse(map, Sap(0x20, 3, kSdp, {0, 'x', 'y', 'z', 1, 2, 3, 4})), S_OK);
    EXPECT_EQ(map.GetAnnouncement(3)->name, u"News");
    // An authentication length reaching past the end.
    auto overlong = Sap(0x20, 4, kSdp);
    overlong[1] = 200;
    EXPECT_EQ(Parse(map, overlong), E_FAIL);
    // The last line lacks its newline: it is not read, whatever it holds.
    ASSERT_EQ(Parse(map, Sap(0x20, 5, "s=Kept\nm=video 1 udp mpeg\ns=Lost")), S_OK);
    EXPECT_EQ(map.GetAnnouncement(5)->name, u"Kept");
    EXPECT_EQ(Parse(map, Sap(0x20, 8, "s=Kept\nc=garbage")), S_OK);
    // c= with a TTL and a count keeps the address; m= with a port count keeps the port.
    ASSERT_EQ(Parse(map, Sap(0x20, 6, "c=IN IP4 239.1.2.3/1/2\nm=audio 1234/2 RTP/AVP 14\n")), S_OK);
    EXPECT_EQ(map.GetAnnouncement(6)->address, 0xEF010203u);
    EXPECT_EQ(map.GetAnnouncement(6)->port, 1234);
}

TEST(AnnouncementMap, TextsAreUtf8WithAnAnsiFallback)
{
    CAnnouncementMap map;
    ASSERT_EQ(Parse(map, Sap(0x20, 1, "s=\xC4\x8C" "T1 \xF0\x9F\x93\xBA\na=x-plgroup:\xC3\xA9t\xC3\xA9\n")), S_OK);
    auto a = map.GetAnnouncement(1);
    EXPECT_EQ(a->name, u"\u010CT1 \U0001F4FA");
    EXPECT_EQ(a->groupName, u"\u00E9t\u00E9");
    // Windows-1252 bytes, overlong and surrogate forms are not UTF-8: the ANSI page decodes them.
    ASSERT_EQ(Parse(map, Sap(0x20, 2, "s=\xE9t\xE9 \x80\na=x-plgroup:\xC0\xAF\n")), S_OK);
    a = map.GetAnnouncement(2);
    EXPECT_EQ(a->name, u"\u00E9t\u00E9 \u20AC");
    EXPECT_EQ(a->groupName, u"\u00C0\u00AF");
    ASSERT_EQ(Parse(map, Sap(0x20, 3, "s=\xED\xA0\x80\n")), S_OK);
    EXPECT_EQ(map.GetAnnouncement(3)->name, u"\u00ED\u00A0\u20AC");
}

TEST(AnnouncementMap, NullCallbackIsSkipped)
{
    CAnnouncementMap map(nullptr);
    ASSERT_EQ(Parse(map, Sap(0x20, 9, kSdp)), S_OK);
    ASSERT_EQ(Parse(map, Sap(0x24, 9, kSdp)), S_OK);
    EXPECT_EQ(map.GetCount(), 0u);
}
