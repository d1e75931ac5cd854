// The scan's results filed by provider as the progress step lists them, over records read back from
// a channel file the independent writer made: case-folded provider rows, the channels without a
// provider under "Unknown", free channels by name before scrambled ones, and the kind's group.
#include <gtest/gtest.h>

#include <memory>

#include "ChannelFileWriter.h"
#include "dvb/DVBPlaybackCore/CServices.h"
#include "plintor/ProviderGroups.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

TEST(ProviderGroups, RowsFoldCaseUnknownHoldsTheUnnamedScrambledLast)
{
    std::vector<test::CRecordDescription> records = {
        test::Record(1, 1, 1, 0, "Zeta"), test::Record(1, 2, 1, 1, "Alpha"), test::Record(1, 3, 2, 0, "Beta"),
        test::Record(1, 4, 1, 2, "Gamma"), test::Record(1, 5, 0x19, 3, "Delta")};
    const char* providers[] = {"Tolvik Demo", "TOLVIK DEMO", "tolvik demo", "", "Other"};
    for (size_t i = 0; i < records.size(); ++i)
        records[i].provider = providers[i];
    records[1].scrambled = 1;
    test::CTemporaryFolder folder;
    ASSERT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(records), folder.File("channels.dat")));
    CServices services(nullptr, folder.Path16());
    CServices::ServiceArray found;
    services.GetAllServices(found);
    ASSERT_EQ(found.size(), 5u);
    auto names = [](const CServices::ServiceArray& rows) {
        std::vector<std::u16string> out;
        for (CQORService* row : rows)
            out.push_back(row->GetName());
        return out;
    };
    auto byName = [&](const char16_t* name) {
        for (CQORService* row : found)
            if (row->GetName() == name)
                return row;
        return static_cast<CQORService*>(nullptr);
    };

    EXPECT_EQ(plintor::ProviderRowOf(*byName(u"Gamma"), u"Unknown"), u"Unknown");
    EXPECT_EQ(plintor::ProviderRowOf(*byName(u"Alpha"), u"Unknown"), u"TOLVIK DEMO");
    EXPECT_EQ(names(plintor::ChannelsOfProvider(found, u"Tolvik Demo", u"Unknown")),
              (std::vector<std::u16string>{u"Beta", u"Zeta", u"Alpha"}));
    EXPECT_EQ(names(plintor::ChannelsOfProvider(found, u"unknown", u"Unknown")), std::vector<std::u16string>{u"Gamma"});
    EXPECT_TRUE(plintor::ChannelsOfProvider(found, u"Nobody", u"Unknown").empty());
    EXPECT_EQ(plintor::GroupOf(byName(u"Zeta")->GetServiceType()), plintor::kGroupTV);
    EXPECT_EQ(plintor::GroupOf(byName(u"Beta")->GetServiceType()), plintor::kGroupRadio);
    EXPECT_EQ(plintor::GroupOf(byName(u"Delta")->GetServiceType()), plintor::kGroupOther);
}
