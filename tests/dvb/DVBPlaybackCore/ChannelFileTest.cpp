// The channel file against an independent reader and writer (channel_file.py, written from the
// layout tables): every kind of tune info, every stored field, byte-exact both ways; duplicates,
// numbering, and damaged files that keep the sound records before the damage.
#include <gtest/gtest.h>

#include <algorithm>

#include "ChannelFileWriter.h"
#include "base/TraceCapture.h"
#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"
#include "dvb/DVBPlaybackCore/CServices.h"

using DVBPlaybackCore::CBDATuneInfo;
using DVBPlaybackCore::CETHTuneInfo;
using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;
using test::CRecordDescription;
using test::CTuneDescription;
using test::Bda;
using test::Eth;
using test::Record;

namespace {

// One record of each reception kind, in key order (the order the list writes them).
std::vector<CRecordDescription> EveryKind()
{
    CRecordDescription t = Record(0x0401, 0x0101, 1, 1, "\xC5\xA0port 1 HD",
                                  {Bda(1, 0, "Tuner A", {506000, 8}), Eth("239.1.2.3", 1234)});
    t.onid = 0x20FA;
    t.reserved = 0xBEEF;
    t.favourite = 2;
    t.dvbType = 0x19;
    t.provider = "STV";
    t.scrambled = 1;
    t.teletext = 1;
    t.epg = 1;
    t.audio = 1;
    t.logo = "C:\\Program Files\\T.v1\\Resources\\tv_logos\\\xC5\xA1port 1 hd.png";
    const uint16_t pids[5] = {0x1FFF, 256, 257, 0, 259};
    std::copy(pids, pids + 5, t.pids);
    CRecordDescription c = Record(0x0402, 0x0102, 2, 1, "Radio C", {Bda(2, 0, "Cable", {346000, 6900})});
    c.subtitles = 1;
    CRecordDescription s = Record(0x0403, 0x0103, 1, 2, "Sat",
                                  {Bda(3, 2, "Sat tuner", {11778000, 27500, 1}), Bda(7, 5, "Odd", {})});
    CRecordDescription a = Record(0x0404, 0x0104, 1, 3, "ATSC", {Bda(4, 0, "VSB", {-1, 36})});
    CRecordDescription m = Record(0x0405, 0x0105, 1, 4, "Net", {Eth("", 5000)});
    CRecordDescription e; // every string empty, no tune infos
    e.tsid = 0x0406;
    e.favourite = 0;
    e.channel = 0;
    return {t, c, s, a, m, e};
}

// Offsets of the records of a file our writer made: each length counts exactly what follows it.
std::vector<size_t> RecordStarts(const std::vector<uint8_t>& file)
{
    std::vector<size_t> starts;
    size_t at = 4;
    while (at + 4 <= file.size()) {
        starts.push_back(at);
        at += 4 + (file[at] | file[at + 1] << 8 | file[at + 2] << 16 | size_t(file[at + 3]) << 24);
    }
    starts.push_back(at);
    return starts;
}

class ChannelFileTest : public ::testing::Test {
protected:
    std::vector<uint8_t> Write(const std::vector<CRecordDescription>& records, int64_t count = -1)
    {
        const std::string path = m_folder.File("channels.dat");
        EXPECT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(records, count), path));
        return test::ReadBytes(path);
    }
    size_t LoadedCount(const std::vector<uint8_t>& bytes)
    {
        test::WriteBytes(m_folder.File("channels.dat"), bytes);
        CServices list(nullptr, m_folder.Path16());
        CServices::ServiceArray all;
        list.GetAllServices(all);
        return all.size();
    }

    test::CTemporaryFolder m_folder;
};

TEST_F(ChannelFileTest, EveryKindOfRecordReadsAndWritesByteExact)
{
    const std::vector<CRecordDescription> records = EveryKind();
    const std::vector<uint8_t> file = Write(records);
    CServices list(nullptr, m_folder.Path16());
    CServices::ServiceArray all;
    list.GetAllServices(all);
    ASSERT_EQ(6u, all.size());

    const CQORService& t = *all[0];
    EXPECT_EQ(0x0101, t.GetServiceId());
    EXPECT_EQ(0x0401, t.GetTransportStreamId());
    EXPECT_EQ(0x20FA, t.GetOriginalNetworkId());
    EXPECT_EQ(2, t.GetFavouriteNumber());
    EXPECT_EQ(1, t.GetChannelNumber());
    EXPECT_EQ(0x19u, t.GetDVBServiceType());
    EXPECT_EQ(1u, t.GetServiceType());
    EXPECT_EQ(u"\u0160port 1 HD", t.GetName());
    EXPECT_EQ(u"STV", t.GetProvider());
    EXPECT_EQ(1, t.IsScrambled());
    EXPECT_EQ(1, t.HasTeletext());
    EXPECT_EQ(0, t.HasSubtitles());
    EXPECT_EQ(1, t.HasEPG());
    EXPECT_EQ(1, t.HasSeveralAudioStreams());
    EXPECT_EQ(u"C:\\Program Files\\T.v1\\Resources\\tv_logos\\\u0161port 1 hd.png", t.GetLogoPath());
    uint16_t pids[5];
    const_cast<CQORService&>(t).GetPreferredPids(pids);
    EXPECT_EQ(0x1FFF, pids[0]);
    EXPECT_EQ(259, pids[4]);
    EXPECT_EQ(0u, t.GetNotSaved());
    EXPECT_TRUE(t.IsValid());
    ASSERT_EQ(2u, t.GetTuneInfoCount());
    const auto* dvbt = dynamic_cast<const CBDATuneInfo*>(t.GetTuneInfo(0));
    ASSERT_NE(nullptr, dvbt);
    EXPECT_EQ(u"Tuner A", dvbt->GetTunerName());
    EXPECT_EQ(506000, dvbt->GetCarrierFrequency());
    EXPECT_EQ(8, dvbt->GetBandwidth());
    const auto* eth = dynamic_cast<const CETHTuneInfo*>(t.GetTuneInfo(1));
    ASSERT_NE(nullptr, eth);
    EXPECT_EQ(u"239.1.2.3", eth->GetAddress());
    EXPECT_EQ(1234u, eth->GetPort());

    const auto* dvbs = dynamic_cast<const CBDATuneInfo*>(all[2]->GetTuneInfo(0));
    ASSERT_NE(nullptr, dvbs);
    EXPECT_EQ(3u, dvbs->GetTuningType());
    EXPECT_EQ(2u, dvbs->GetDiSEqCPort());
    EXPECT_EQ(11778000, dvbs->GetCarrierFrequency());
    EXPECT_EQ(27500, dvbs->GetSymbolRate());
    EXPECT_EQ(1, dvbs->GetPolarisation());
    const auto* odd = dynamic_cast<const CBDATuneInfo*>(all[2]->GetTuneInfo(1));
    ASSERT_NE(nullptr, odd);
    EXPECT_FALSE(odd->HasLocator());
    EXPECT_EQ(5u, odd->GetDiSEqCPort());
    const auto* atsc = dynamic_cast<const CBDATuneInfo*>(all[3]->GetTuneInfo(0));
    ASSERT_NE(nullptr, atsc);
    EXPECT_EQ(-1, atsc->GetCarrierFrequency());
    EXPECT_EQ(36, atsc->GetPhysicalChannel());

    // What the list writes is the file the independent writer made, byte for byte.
    EXPECT_EQ(file, list.SerialiseChannels());
    const std::vector<size_t> starts = RecordStarts(file);
    ASSERT_EQ(7u, starts.size());
    EXPECT_EQ(file.size(), starts.back());
    EXPECT_EQ(55u, starts[6] - starts[5] - 4); // the empty record
    const uint8_t guid[8] = {0x00, 0xC8, 0xEC, 0x2C, 0x86, 0xDA, 0xF1, 0x4A};
    EXPECT_TRUE(std::equal(guid, guid + 8, file.begin() + starts[0] + 4 + 24 + 4 + 22 + 4 + 6 + 5 +
                                                4 + static_cast<long>(records[0].logo.size() - 2) * 2 + 10 + 4));

    // Saved by a list that did not load it, the independent reader reads back every field.
    test::CTemporaryFolder other;
    CServices target(nullptr, other.Path16());
    for (CQORService* service : all) {
        ASSERT_EQ(S_OK, list.RemoveService(service));
        ASSERT_EQ(S_OK, target.AddService(service));
    }
    ASSERT_EQ(S_OK, target.SaveChannels());
    EXPECT_EQ(file, test::ReadBytes(other.File("channels.dat")));
    EXPECT_EQ(0, test::RunChannelFileScript("check", test::DescriptionJson(records), other.File("channels.dat")));
}

TEST_F(ChannelFileTest, TuneInfoCountersAddWhatIsWritten)
{
    auto check = [](const DVBPlaybackCore::CTuneInfo& info, uint32_t expected) {
        std::vector<uint8_t> bytes;
        base::CByteWriter writer(bytes);
        uint32_t counter = 100;
        info.Save(writer, counter);
        EXPECT_EQ(expected, bytes.size());
        EXPECT_EQ(100 + expected, counter);
        // Read back after the GUID, it equals the original.
        auto copy = DVBPlaybackCore::CTuneInfo::Create(bytes.data());
        ASSERT_NE(nullptr, copy);
        base::CByteReader reader(bytes.data() + 16, bytes.size() - 16);
        EXPECT_TRUE(copy->Load(reader));
        EXPECT_TRUE(reader.Empty());
        EXPECT_TRUE(copy->Equals(info));
    };
    CBDATuneInfo sat;
    sat.SetTunerName(u"Sat");
    sat.SetTuningType(CBDATuneInfo::kDVBS);
    sat.SetCarrierFrequency(11778000);
    check(sat, 28 + 6 + 12);
    CBDATuneInfo terrestrial;
    terrestrial.SetTuningType(CBDATuneInfo::kDVBT);
    check(terrestrial, 28 + 8);
    CBDATuneInfo seventh;
    seventh.SetTuningType(7);
    seventh.SetTunerName(u"X");
    check(seventh, 28 + 2);
    CETHTuneInfo empty;
    check(empty, 24);
    CETHTuneInfo group;
    group.SetAddress(u"239.0.0.1");
    check(group, 24 + 18);
}

TEST_F(ChannelFileTest, TuneInfoEquality)
{
    CBDATuneInfo a, b;
    for (CBDATuneInfo* t : {&a, &b}) {
        t->SetTunerName(u"Tuner");
        t->SetTuningType(CBDATuneInfo::kDVBT);
        t->SetCarrierFrequency(506000);
    }
    b.SetSecondValue(7);
    EXPECT_TRUE(a.Equals(b)); // bandwidth is not compared
    b.SetCarrierFrequency(514000);
    EXPECT_FALSE(a.Equals(b));
    b.SetCarrierFrequency(506000);
    b.SetTunerName(u"Tuner (2)");
    EXPECT_FALSE(a.Equals(b));
    // Without a locator, tuner name and tuning type decide.
    CBDATuneInfo c, d;
    c.SetTuningType(9);
    d.SetTuningType(9);
    c.SetCarrierFrequency(1);
    EXPECT_TRUE(c.Equals(d));
    CETHTuneInfo e, f;
    e.SetAddress(u"239.1.1.1");
    f.SetAddress(u"239.1.1.1");
    e.SetPort(1234);
    f.SetPort(1234);
    EXPECT_TRUE(e.Equals(f));
    f.SetPort(1235);
    EXPECT_FALSE(e.Equals(f));
    EXPECT_FALSE(e.Equals(a));
    EXPECT_FALSE(a.Equals(e));
    EXPECT_EQ(nullptr, DVBPlaybackCore::CTuneInfo::Create(std::vector<uint8_t>(16, 0).data()));
}

TEST_F(ChannelFileTest, DuplicatesMergeIntoOneRecordWithTheUnionOfTuneInfos)
{
    std::vector<CRecordDescription> records = {
        Record(7, 1, 1, 1, "First", {Bda(1, 0, "T", {506000, 8}), Eth("239.1.1.1", 1000)}),
        Record(7, 1, 1, 9, "Second", {Bda(1, 0, "T", {506000, 7}), Bda(1, 0, "T", {514000, 8})})};
    Write(records);
    {
        CServices list(nullptr, m_folder.Path16());
        CServices::ServiceArray all;
        list.GetAllServices(all);
        ASSERT_EQ(1u, all.size());
        EXPECT_EQ(u"First", all[0]->GetName());
        EXPECT_EQ(3u, all[0]->GetTuneInfoCount());
        EXPECT_EQ(S_OK, list.SaveChannels());
    }
    records[0].tune.push_back(records[1].tune[1]);
    records.pop_back();
    EXPECT_EQ(0, test::RunChannelFileScript("check", test::DescriptionJson(records), m_folder.File("channels.dat")));
}

TEST_F(ChannelFileTest, UnnumberedChannelsTakeTheHighestNumberPlusOne)
{
    Write({Record(1, 1, 1, 5, "a"), Record(1, 2, 1, 7, "b"), Record(1, 3, 1, -1, "c"), Record(1, 4, 2, -1, "r1"),
           Record(1, 5, 2, -1, "r2"), Record(1, 6, 0, -1, "data")});
    CServices list(nullptr, m_folder.Path16());
    EXPECT_EQ(8, list.FindService(CServices::KeyOf(1, 3))->GetChannelNumber());
    EXPECT_EQ(1, list.FindService(CServices::KeyOf(1, 4))->GetChannelNumber());
    EXPECT_EQ(2, list.FindService(CServices::KeyOf(1, 5))->GetChannelNumber());
    EXPECT_EQ(-1, list.FindService(CServices::KeyOf(1, 6))->GetChannelNumber());
    CServices::ServiceArray tv;
    uint64_t version = 0;
    ASSERT_EQ(S_OK, list.GetTVServices(tv, false, version));
    ASSERT_EQ(3u, tv.size());
    EXPECT_EQ(u"a", tv[0]->GetName());
    EXPECT_EQ(u"c", tv[2]->GetName());
}

TEST_F(ChannelFileTest, DamagedFilesKeepTheSoundRecordsBeforeTheDamage)
{
    const std::vector<CRecordDescription> records = {
        Record(1, 1, 1, 1, "one", {Eth("239.1.1.1", 1)}),
        Record(1, 2, 1, 2, "two", {Bda(3, 1, "S", {11000000, 27500, 0}), Eth("239.1.1.2", 2)}),
        Record(1, 3, 2, 1, "three")};
    const std::vector<uint8_t> file = Write(records);
    const std::vector<size_t> starts = RecordStarts(file);
    ASSERT_EQ(4u, starts.size());
    EXPECT_EQ(3u, LoadedCount(file));

    // Cut inside every field: the records wholly before the cut load.
    for (size_t cut = 0; cut < file.size(); ++cut) {
        const size_t complete = std::count_if(starts.begin() + 1, starts.end(), [cut](size_t s) { return s <= cut; });
        ASSERT_EQ(complete, LoadedCount(std::vector<uint8_t>(file.begin(), file.begin() + cut))) << "cut at " << cut;
    }

    std::vector<uint8_t> huge = file;
    std::fill(huge.begin(), huge.begin() + 4, 0xFF); // a count of 4 billion
    EXPECT_EQ(3u, LoadedCount(huge));

    std::vector<uint8_t> odd = file;
    odd[starts[1] + 4 + 24] = 5; // the name of the second record: an odd byte count
    EXPECT_EQ(1u, LoadedCount(odd));
    std::vector<uint8_t> beyond = file;
    beyond[starts[1] + 4 + 24 + 3] = 0x7F; // longer than the file
    EXPECT_EQ(1u, LoadedCount(beyond));
    std::vector<uint8_t> tuneCount = file;
    // The tune-info count of record one (it holds one multicast tune info of 24 + 18 bytes).
    const size_t oneCount = starts[1] - (24 + 18) - 4;
    ASSERT_EQ(1, tuneCount[oneCount]);
    std::fill(tuneCount.begin() + oneCount, tuneCount.begin() + oneCount + 4, 0xFF);
    EXPECT_EQ(0u, LoadedCount(tuneCount));
}

TEST_F(ChannelFileTest, RefusalsTellTheTraceWhy)
{
    base::CTraceCapture trace;
    const std::vector<uint8_t> file = Write({Record(1, 1, 1, 1, "one"), Record(1, 2, 1, 2, "two")});
    const std::vector<size_t> starts = RecordStarts(file);
    EXPECT_EQ(2u, LoadedCount(file));
    EXPECT_TRUE(trace.Lines().empty()) << "a sound file is not traced";

    std::vector<uint8_t> odd = file;
    odd[starts[1] + 4 + 24] = 5; // the second record's name: an odd byte count
    EXPECT_EQ(1u, LoadedCount(odd));
    EXPECT_TRUE(trace.Has("channel file", "unreadable channel record"));
    std::vector<uint8_t> huge = file;
    std::fill(huge.begin(), huge.begin() + 4, 0xFF);
    EXPECT_EQ(2u, LoadedCount(huge));
    EXPECT_TRUE(trace.Has("channel file", "fewer records than its count"));
}

TEST_F(ChannelFileTest, AnUnknownTuneInfoIsSteppedOverByTheRecordLength)
{
    CTuneDescription unknown;
    unknown.kind = "raw";
    unknown.guidHex = "00112233445566778899aabbccddeeff";
    unknown.bodyHex = "0102030405060708090a0b0c";
    Write({Record(1, 1, 1, 1, "one", {Eth("239.1.1.1", 1)}),
           Record(1, 2, 1, 2, "two", {Eth("239.1.1.2", 2), unknown, Bda(1, 0, "T", {506000, 8})}),
           Record(1, 3, 1, 3, "three", {Eth("239.1.1.3", 3)})});
    CServices list(nullptr, m_folder.Path16());
    CServices::ServiceArray all;
    list.GetAllServices(all);
    ASSERT_EQ(3u, all.size());
    EXPECT_EQ(1u, all[1]->GetTuneInfoCount());
    EXPECT_EQ(u"three", all[2]->GetName());
    ASSERT_EQ(1u, all[2]->GetTuneInfoCount());
    EXPECT_EQ(u"239.1.1.3", all[2]->GetTuneInfo(0)->GetText());
}

} // namespace
