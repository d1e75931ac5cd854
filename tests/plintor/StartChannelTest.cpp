// The default start channel from channel files made by the independent writer: favourites before
// TV before radio, with the number the viewer shows; none for an empty list or a zero key.
#include <gtest/gtest.h>

#include "ChannelFileWriter.h"
#include "plintor/DefaultStartChannel.h"

namespace {

using test::Record;

class StartChannelTest : public ::testing::Test {
protected:
    bool Choose(std::vector<test::CRecordDescription> records, plintor::CStartChannel* start)
    {
        EXPECT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(records), m_folder.File("channels.dat")));
        DVBPlaybackCore::CServices services(nullptr, m_folder.Path16());
        return plintor::ChooseStartChannel(services, start);
    }
    test::CTemporaryFolder m_folder;
};

TEST_F(StartChannelTest, FavouritesThenTelevisionThenRadio)
{
    plintor::CStartChannel start;
    auto favourite = Record(1, 3, 1, 3, "t3");
    favourite.favourite = 0;
    ASSERT_TRUE(Choose({ Record(1, 1, 1, 1, "t1"), favourite, Record(2, 1, 2, 1, "r1") }, &start));
    EXPECT_EQ((1u << 16) | 3, start.key);
    EXPECT_EQ(1u, start.index);

    ASSERT_TRUE(Choose({ Record(1, 2, 1, 7, "t7"), Record(1, 1, 1, 4, "t4"), Record(2, 1, 2, 1, "r1") }, &start));
    EXPECT_EQ((1u << 16) | 1, start.key);
    EXPECT_EQ(1004u, start.index);

    ASSERT_TRUE(Choose({ Record(2, 9, 2, 2, "r2") }, &start));
    EXPECT_EQ((2u << 16) | 9, start.key);
    EXPECT_EQ(5002u, start.index);
}

TEST_F(StartChannelTest, NoneForAnEmptyListOrAZeroKey)
{
    plintor::CStartChannel start;
    start.key = 77;
    EXPECT_FALSE(Choose({}, &start));
    EXPECT_FALSE(Choose({ Record(0, 0, 1, 1, "zero") }, &start));
    EXPECT_EQ(77u, start.key); // untouched
}

} // namespace
