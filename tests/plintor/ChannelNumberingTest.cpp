// Moving and renumbering the rows of the channel pages, read back by the independent channel file
// reader: numbers stay 0..n-1 without duplicates after removals, moves and favourite toggles.
#include <gtest/gtest.h>

#include <memory>

#include "ChannelFileWriter.h"
#include "plintor/ChannelNumbering.h"

namespace {

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;
using plintor::NumberKind;
using test::Record;

class ChannelNumberingTest : public ::testing::Test {
protected:
    // Six TV channels numbered 0..5 and two radio channels; favourites as given per TV channel.
    std::unique_ptr<CServices> Load(std::vector<int32_t> favourites)
    {
        m_records.clear();
        for (uint16_t i = 0; i < 6; ++i) {
            m_records.push_back(Record(1, i + 1, 1, i, "tv" + std::to_string(i)));
            m_records.back().favourite = i < favourites.size() ? favourites[i] : -1;
        }
        m_records.push_back(Record(2, 1, 2, 0, "r0"));
        m_records.push_back(Record(2, 2, 2, 1, "r1"));
        EXPECT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(m_records), File()));
        return std::make_unique<CServices>(nullptr, m_folder.Path16());
    }
    static CServices::ServiceArray TV(CServices& services)
    {
        CServices::ServiceArray rows;
        uint64_t version = 0;
        services.GetTVServices(rows, false, version);
        return rows;
    }
    static std::vector<std::string> Names(const CServices::ServiceArray& rows)
    {
        std::vector<std::string> names;
        for (CQORService* row : rows) {
            const std::u16string name = row->GetName();
            names.emplace_back(name.begin(), name.end());
        }
        return names;
    }
    int Check() { return test::RunChannelFileScript("check", test::DescriptionJson(m_records), File()); }
    std::string File() const { return m_folder.File("channels.dat"); }

    test::CTemporaryFolder m_folder;
    std::vector<test::CRecordDescription> m_records;
};

TEST_F(ChannelNumberingTest, RunsAnchoredAtTheEndStayAndTheRestMoveOnePlace)
{
    auto services = Load({});
    CServices::ServiceArray rows = TV(*services);
    std::vector<bool> selected = {true, true, false, true, false, true};
    EXPECT_EQ(2u, plintor::MoveSelectedRows(rows, selected, -1, NumberKind::kChannel));
    EXPECT_EQ((std::vector<std::string>{"tv0", "tv1", "tv3", "tv2", "tv5", "tv4"}), Names(rows));
    EXPECT_EQ((std::vector<bool>{true, true, true, false, true, false}), selected);
    for (int32_t i = 0; i < 6; ++i)
        EXPECT_EQ(i, rows[i]->GetChannelNumber()) << i;

    services->RebuildLists();
    rows = TV(*services); // sorted again by the swapped numbers
    EXPECT_EQ((std::vector<std::string>{"tv0", "tv1", "tv3", "tv2", "tv5", "tv4"}), Names(rows));
    selected = {true, false, true, false, false, true};
    EXPECT_EQ(2u, plintor::MoveSelectedRows(rows, selected, +1, NumberKind::kChannel));
    EXPECT_EQ((std::vector<std::string>{"tv1", "tv0", "tv2", "tv3", "tv5", "tv4"}), Names(rows));
    EXPECT_EQ((std::vector<bool>{false, true, false, true, false, true}), selected);

    // Nothing to move: everything selected, or a selection that does not fit the rows.
    selected.assign(6, true);
    EXPECT_EQ(0u, plintor::MoveSelectedRows(rows, selected, -1, NumberKind::kChannel));
    selected.assign(5, true);
    EXPECT_EQ(0u, plintor::MoveSelectedRows(rows, selected, +1, NumberKind::kChannel));
}

TEST_F(ChannelNumberingTest, RemovalLeavesNoGapForUpAndDown)
{
    auto services = Load({});
    CServices::ServiceArray rows = TV(*services);
    // Two channels removed (as when the second removal's recording question is answered No, the
    // first still went): the rest is numbered again before anything moves.
    for (CQORService* gone : {rows[1], rows[3]}) {
        ASSERT_EQ(S_OK, services->RemoveService(gone));
        delete gone;
    }
    rows = TV(*services);
    plintor::Renumber(rows, NumberKind::kChannel);
    services->RebuildLists();
    rows = TV(*services);
    std::vector<bool> selected = {false, true, false, false};
    plintor::MoveSelectedRows(rows, selected, -1, NumberKind::kChannel);
    services->RebuildLists();
    ASSERT_EQ(S_OK, services->SaveChannels());

    m_records.erase(m_records.begin() + 3);
    m_records.erase(m_records.begin() + 1);
    const int32_t expected[] = {1, 0, 2, 3}; // tv0 tv2 tv4 tv5, tv2 moved up
    for (size_t i = 0; i < 4; ++i)
        m_records[i].channel = expected[i];
    EXPECT_EQ(0, Check());
}

TEST_F(ChannelNumberingTest, FavouritesAreNumberedAgainAfterEveryRemoval)
{
    auto services = Load({0, 1, 2, 3});
    CServices::ServiceArray rows = TV(*services);
    plintor::SetFavourite(*services, rows[1], false); // switched off in the editor's column
    plintor::SetFavourite(*services, rows[4], true);  // the number of favourites before it: 3
    plintor::SetFavourite(*services, rows[4], true);  // already one: unchanged
    ASSERT_EQ(S_OK, services->RemoveService(rows[2])); // a favourite channel removed
    delete rows[2];
    plintor::RenumberFavourites(*services);

    CServices::ServiceArray favourites;
    uint64_t version = 0;
    services->GetFavouriteServices(favourites, false, version);
    EXPECT_EQ((std::vector<std::string>{"tv0", "tv3", "tv4"}), Names(favourites));
    ASSERT_EQ(S_OK, services->SaveChannels());
    m_records.erase(m_records.begin() + 2);
    const int32_t expected[] = {0, -1, 1, 2, -1};
    for (size_t i = 0; i < 5; ++i)
        m_records[i].favourite = expected[i];
    EXPECT_EQ(0, Check());
}

} // namespace
