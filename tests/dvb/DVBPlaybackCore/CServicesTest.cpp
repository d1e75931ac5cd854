// The channel list's behaviour: stepping through the lists with wrap and empty lists, change
// tracking per caller, records found and lost by devices, saving only what changed and never over
// another program's newer file, logos and sorting.
#include <gtest/gtest.h>

#include <filesystem>

#include "ChannelFileWriter.h"
#include "base/Utf16.h"
#include "dvb/DVBPlaybackCore/CServices.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;
using test::Record;

namespace {

class CServicesTest : public ::testing::Test {
protected:
    void Write(std::vector<test::CRecordDescription> records)
    {
        ASSERT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(records), File()));
    }
    std::string File() const { return m_folder.File("channels.dat"); }
    CQORService* At(CServices& list, uint16_t tsid, uint16_t sid) { return list.FindService(CServices::KeyOf(tsid, sid)); }

    test::CTemporaryFolder m_folder;
};

// Favourites f0..f2 (on TV records), TV t1..t4, radio r1, r2.
std::vector<test::CRecordDescription> Lists()
{
    std::vector<test::CRecordDescription> records;
    for (uint16_t i = 1; i <= 4; ++i) {
        records.push_back(Record(1, i, 1, i, "t" + std::to_string(i)));
        if (i <= 3)
            records.back().favourite = 3 - i; // favourites in the reverse order of the TV list
    }
    records.push_back(Record(2, 1, 2, 1, "r1"));
    records.push_back(Record(2, 2, 2, 2, "r2"));
    return records;
}

TEST_F(CServicesTest, SteppingWrapsWithinEachList)
{
    Write(Lists());
    CServices list(nullptr, m_folder.Path16());
    int32_t position = 0;
    // No current record: the first of the first non-empty list.
    CQORService* first = list.GetNextService(nullptr, position);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(u"t3", first->GetName());
    EXPECT_EQ(1, position);
    position = 0;
    EXPECT_EQ(first, list.GetPreviousService(nullptr, position));
    EXPECT_EQ(1, position);

    auto step = [&](bool next, int32_t from, const char16_t* name, int32_t to) {
        CQORService* current = list.GetNextService(nullptr, position);
        current->SetListPosition(from);
        position = -7;
        CQORService* got = next ? list.GetNextService(current, position) : list.GetPreviousService(current, position);
        current->SetListPosition(0);
        if (!name) {
            EXPECT_EQ(nullptr, got) << from;
            return;
        }
        ASSERT_NE(nullptr, got) << from;
        EXPECT_EQ(name, got->GetName()) << from;
        EXPECT_EQ(to, position) << from;
    };
    step(true, 1, u"t2", 2);
    step(true, 3, u"t3", 1);      // the last favourite wraps to the first
    step(true, 0, u"t3", 1);
    step(false, 1, u"t1", 3);
    step(false, 4, u"t1", 3);     // just past the favourites
    step(true, 1003, u"t4", 1004);
    step(true, 1004, u"t1", 1001);
    step(false, 1001, u"t4", 1004); // the first TV record back to the last
    step(true, 5002, u"r1", 5001);
    step(false, 5001, u"r2", 5002);
    step(true, 5003, nullptr, 0);
    step(true, -1, nullptr, 0);
    step(true, 2000, nullptr, 0);
}

TEST_F(CServicesTest, SteppingWithEmptyLists)
{
    Write({Record(2, 1, 2, 1, "r1"), Record(2, 2, 2, 2, "r2")});
    CServices list(nullptr, m_folder.Path16());
    int32_t position = 0;
    CQORService* r1 = list.GetNextService(nullptr, position);
    ASSERT_NE(nullptr, r1);
    EXPECT_EQ(5001, position);
    r1->SetListPosition(position);
    CQORService* r2 = list.GetNextService(r1, position);
    ASSERT_NE(nullptr, r2);
    EXPECT_EQ(u"r2", r2->GetName());
    EXPECT_EQ(5002, position);
    r1->SetListPosition(1001); // a TV position while the TV list is empty
    EXPECT_EQ(nullptr, list.GetNextService(r1, position));

    test::CTemporaryFolder empty;
    CServices none(nullptr, empty.Path16());
    EXPECT_EQ(nullptr, none.GetNextService(nullptr, position));
    EXPECT_EQ(nullptr, none.GetPreviousService(nullptr, position));
}

TEST_F(CServicesTest, EveryCallerSeesEachChangeOfAList)
{
    Write(Lists());
    CServices list(nullptr, m_folder.Path16());
    CServices::ServiceArray menu, guide;
    uint64_t menuVersion = 0, guideVersion = 0;
    EXPECT_EQ(S_OK, list.GetFavouriteServices(menu, true, menuVersion));
    ASSERT_EQ(3u, menu.size());
    EXPECT_EQ(u"t3", menu[0]->GetName());
    EXPECT_EQ(S_FALSE, list.GetFavouriteServices(menu, true, menuVersion));
    EXPECT_EQ(S_OK, list.GetFavouriteServices(guide, true, guideVersion));
    menu.clear();
    EXPECT_EQ(S_OK, list.GetFavouriteServices(menu, false, menuVersion)); // a copy whenever asked
    EXPECT_EQ(3u, menu.size());

    list.SetFavourite(At(list, 1, 4), 9);
    EXPECT_EQ(S_OK, list.GetFavouriteServices(menu, true, menuVersion));
    EXPECT_EQ(4u, menu.size());
    // The menu's copy did not take the change from the guide.
    EXPECT_EQ(S_OK, list.GetFavouriteServices(guide, true, guideVersion));
    EXPECT_EQ(menu, guide);

    CServices::ServiceArray radio;
    uint64_t radioVersion = 0;
    EXPECT_EQ(S_OK, list.GetRadioServices(radio, true, radioVersion));
    CQORService* r1 = At(list, 2, 1);
    EXPECT_EQ(S_OK, list.RemoveService(r1));
    EXPECT_EQ(nullptr, At(list, 2, 1));
    EXPECT_EQ(S_OK, list.GetRadioServices(radio, true, radioVersion));
    EXPECT_EQ(1u, radio.size());
    delete r1;

    CQORService invalid(nullptr, nullptr, 9, 9, u"x");
    invalid.SetValid(false);
    EXPECT_EQ(E_FAIL, list.AddService(&invalid));
    EXPECT_EQ(E_FAIL, list.AddService(nullptr));
}

TEST_F(CServicesTest, DevicesAddAndRemoveTemporaryRecords)
{
    Write({Record(0, 5, 1, 1, "Known")});
    CServices list(nullptr, m_folder.Path16());
    const std::vector<uint8_t> saved = list.SerialiseChannels();
    libDVB::CServiceManager bda(nullptr, &list, u"BDA");
    libDVB::CServiceManager multicast(nullptr, &list, u"MULTICAST");
    libDVB::CServiceManager file(nullptr, &list, u"FILE");
    libDVB::CServiceManager otherFile(nullptr, &list, u"FILE");

    libDVB::CService* out = nullptr;
    ASSERT_EQ(S_OK, list.OnServiceAdded(&multicast, 5, &out));
    CQORService* known = At(list, 0, 5);
    EXPECT_EQ(known, out);
    EXPECT_EQ(1u, known->GetNetwork());
    ASSERT_EQ(S_OK, list.OnServiceAdded(&bda, 5, &out));
    EXPECT_EQ(0u, known->GetNetwork());
    EXPECT_EQ(S_FALSE, list.OnServiceRemoved(&bda, 5, known)); // a record of the file stays
    EXPECT_EQ(known, At(list, 0, 5));

    ASSERT_EQ(S_OK, list.OnServiceAdded(&bda, 6, &out));
    auto* found = static_cast<CQORService*>(out);
    EXPECT_EQ(u"Program 6", found->GetName());
    EXPECT_EQ(1u, found->GetNotSaved());
    EXPECT_EQ(found, At(list, 0, 6));
    EXPECT_EQ(saved, list.SerialiseChannels()); // never written

    ASSERT_EQ(S_OK, list.OnServiceAdded(&file, 5, &out));
    auto* fromFile = static_cast<CQORService*>(out);
    EXPECT_EQ(0xFFFF, fromFile->GetTransportStreamId());
    EXPECT_EQ(1u, fromFile->GetNetwork());
    // A second device playing a file with the same program gets the record already there.
    ASSERT_EQ(S_OK, list.OnServiceAdded(&otherFile, 5, &out));
    EXPECT_EQ(fromFile, out);
    EXPECT_EQ(E_POINTER, list.OnServiceAdded(&bda, 7, nullptr));

    EXPECT_EQ(S_OK, list.OnServiceRemoved(&bda, 6, found));
    EXPECT_EQ(nullptr, At(list, 0, 6));
    EXPECT_EQ(S_FALSE, list.OnServiceRemoved(&bda, 6, found)); // its entry went with it
    EXPECT_EQ(S_OK, list.OnServiceRemoved(&file, 5, fromFile));
    EXPECT_EQ(fromFile, At(list, 0xFFFF, 5)); // the other device still feeds it
    EXPECT_EQ(S_OK, list.OnServiceRemoved(&otherFile, 5, fromFile));
    EXPECT_EQ(nullptr, At(list, 0xFFFF, 5));
    EXPECT_EQ(u"Program 5", fromFile->GetName()); // alive until the owner releases what left
    list.ReleaseRetiredServices();
    EXPECT_EQ(saved, list.SerialiseChannels());
}

TEST_F(CServicesTest, SavesOnlyChangesAndNeverOverANewerFile)
{
    Write({Record(1, 1, 1, 1, "one"), Record(1, 2, 1, 2, "two")});
    CServices list(nullptr, m_folder.Path16());
    const auto before = std::filesystem::last_write_time(File());
    EXPECT_EQ(S_FALSE, list.SaveChannels()); // nothing changed: not written
    EXPECT_EQ(before, std::filesystem::last_write_time(File()));

    CQORService* two = At(list, 1, 2);
    list.SetFavourite(two, 0);
    EXPECT_EQ(S_OK, list.SaveChannels());
    std::vector<test::CRecordDescription> expected = {Record(1, 1, 1, 1, "one"), Record(1, 2, 1, 2, "two")};
    expected[1].favourite = 0;
    EXPECT_EQ(0, test::RunChannelFileScript("check", test::DescriptionJson(expected), File()));
    EXPECT_EQ(S_FALSE, list.SaveChannels());

    // Another program (the configurator) writes its list: this copy takes it up and writes nothing.
    std::vector<test::CRecordDescription> edited = {Record(1, 2, 1, 1, "Two renamed"), Record(1, 3, 2, 1, "three")};
    Write(edited);
    const std::vector<uint8_t> theirs = test::ReadBytes(File());
    EXPECT_EQ(S_FALSE, list.SaveChannels());
    EXPECT_EQ(theirs, test::ReadBytes(File()));
    EXPECT_EQ(two, At(list, 1, 2)); // the same record, with the other program's fields
    EXPECT_EQ(u"Two renamed", two->GetName());
    EXPECT_EQ(-1, two->GetFavouriteNumber());
    EXPECT_EQ(nullptr, At(list, 1, 1));
    ASSERT_NE(nullptr, At(list, 1, 3));
    CServices::ServiceArray favourites;
    uint64_t version = 0;
    list.GetFavouriteServices(favourites, false, version);
    EXPECT_TRUE(favourites.empty());
    EXPECT_EQ(theirs, list.SerialiseChannels());

    // A save that cannot be written says so and leaves nothing behind.
    CServices lost(nullptr, m_folder.Path16() + u"/missing");
    EXPECT_EQ(E_FAIL, lost.SaveChannels());
    EXPECT_FALSE(std::filesystem::exists(m_folder.Path() + "/missing"));
}

TEST_F(CServicesTest, FindLogoMatchesTheFileNameNotTheFolder)
{
    // Tiny PNG files named after services, in a folder whose name holds a dot.
    const std::string folder = m_folder.Path() + "/tv.logos";
    std::filesystem::create_directory(folder);
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R',
                                      0, 0, 0, 1, 0, 0, 0, 1, 8, 6, 0, 0, 0, 0x1F, 0x15, 0xC4, 0x89};
    std::vector<std::u16string> logos;
    for (const char* name : {"channel.png", "channel one.png", "channel one hd.png", "\xC5\xA1port.png"}) {
        test::WriteBytes(folder + "/" + name, png);
        logos.push_back(base::Utf8ToUtf16(folder + "/" + name));
    }
    auto logoOf = [&](const std::u16string& name, const std::vector<std::u16string>& list) {
        CQORService service(nullptr, nullptr, 1, 1, name);
        service.FindLogo(list);
        const std::u16string path = service.GetLogoPath();
        return path.empty() ? std::u16string() : path.substr(path.find_last_of(u'/') + 1);
    };
    EXPECT_EQ(u"channel one hd.png", logoOf(u"Channel One HD", logos));
    EXPECT_EQ(u"channel one.png", logoOf(u"\"Channel One\" +1", {logos[1], logos[2], logos[0]}));
    EXPECT_EQ(u"channel.png", logoOf(u"\"Channel One\" +1", logos)); // the first candidate in list order
    EXPECT_EQ(u"channel one.png", logoOf(u"Channel One HD", {logos[1]}));
    EXPECT_EQ(u"", logoOf(u"channelone", logos));
    EXPECT_EQ(u"channel.png", logoOf(u"Channel: news", logos));
    EXPECT_EQ(u"\u0161port.png", logoOf(u"\u0160PORT", logos));
    // A file without extension: the dot of the folder is no extension.
    EXPECT_EQ(u"", logoOf(u"tv", {base::Utf8ToUtf16(folder + "/other")}));
    EXPECT_EQ(u"", logoOf(u"tv", {u"C:\\tv.logos\\other"}));
}

TEST_F(CServicesTest, SortByNameFoldsCase)
{
    Write({Record(1, 1, 1, 1, "beta"), Record(1, 2, 1, 2, "Alpha"), Record(1, 3, 1, 3, "\xC4\x8C" "ierna"),
           Record(1, 4, 1, 4, "\xC4\x8D" "a"), Record(1, 5, 1, 5, "alpha2")});
    CServices list(nullptr, m_folder.Path16());
    CServices::ServiceArray all;
    list.GetAllServices(all);
    CServices::SortServicesByName(all);
    std::vector<std::u16string> names;
    for (CQORService* s : all)
        names.push_back(s->GetName());
    EXPECT_EQ((std::vector<std::u16string>{u"Alpha", u"alpha2", u"beta", u"\u010Da", u"\u010Cierna"}), names);
}

} // namespace
