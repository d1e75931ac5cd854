// The channel menu tree and the tune list's numbers from a channel file written by the
// independent Python writer; the list keys; the forwarded "/rec" command.
#include <gtest/gtest.h>

#include "ChannelFileWriter.h"
#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/DVBPlaybackCore/CServices.h"
#include "viewer/CChannelNode.h"
#include "viewer/CommandLineBlock.h"

using DVBPlaybackCore::CServices;
using test::Record;

namespace {

std::wstring Names(const CChannelNode& node)
{
    std::wstring out;
    for (POSITION p = node.GetHeadPosition(); p;) {
        const CChannelNode* child = node.GetNext(p);
        if (!out.empty())
            out += L"|";
        out += static_cast<const wchar_t*>(child->m_name);
    }
    return out;
}

const viewer::ChannelGroupNames kNames{L"TV channels", L"Radio stations", L"Network channels"};

class ChannelMenuTest : public ::testing::Test {
protected:
    void Write(const std::vector<test::CRecordDescription>& records)
    {
        ASSERT_EQ(0, test::RunChannelFileScript("write", test::DescriptionJson(records), m_folder.File("channels.dat")));
    }
    test::CTemporaryFolder m_folder;
};

TEST_F(ChannelMenuTest, LettersInNameOrderNumbersAndFavourites)
{
    std::vector<test::CRecordDescription> records = {
        Record(1, 1, 1, 3, "arte"), Record(1, 2, 1, 5, "ARD"), Record(1, 3, 1, 7, "Zdf"),
        Record(2, 1, 2, 3, "radio one"), Record(1, 4, 7, 9, "data service"),
    };
    records[2].favourite = 0;
    Write(records);
    CServices services(nullptr, m_folder.Path16());
    CChannelNode root;
    viewer::BuildChannelTree(root, true, services, kNames);
    EXPECT_EQ(L"TV channels|Radio stations|Network channels|-|Zdf 01", Names(root));
    const CChannelNode* tv = root.GetChild(0);
    ASSERT_NE(nullptr, tv);
    EXPECT_EQ(L"A|Z", Names(*tv)); // letter groups in the order of the sorted names
    EXPECT_EQ(L"ARD 1005|arte 1003", Names(*tv->GetChild(0)));
    EXPECT_EQ(L"R", Names(*root.GetChild(1)));
    EXPECT_EQ(L"radio one 5003", Names(*root.GetChild(1)->GetChild(0)));
    EXPECT_TRUE(root.GetChild(2)->IsEmpty()) << "nothing is received, so no network channel";
    const CChannelNode* favourite = root.GetChild(4);
    EXPECT_EQ(1, favourite->m_flag);
    EXPECT_EQ(1, favourite->m_transportStreamId);
    EXPECT_EQ(3, favourite->m_serviceId);
    // Each entry plays with its place in its list, which the next and previous channel step from:
    // TV by channel number (arte 3, ARD 5, Zdf 7), radio, favourites.
    EXPECT_EQ(1u, favourite->m_number);
    EXPECT_EQ(1002u, tv->GetChild(0)->GetChild(0)->m_number); // ARD
    EXPECT_EQ(1001u, tv->GetChild(0)->GetChild(1)->m_number); // arte
    EXPECT_EQ(1003u, tv->GetChild(1)->GetChild(0)->m_number); // Zdf
    EXPECT_EQ(5001u, root.GetChild(1)->GetChild(0)->GetChild(0)->m_number);

    // A partial build keeps the groups and refills only the network group.
    viewer::BuildChannelTree(root, false, services, kNames);
    EXPECT_EQ(5, root.GetCount());
    EXPECT_EQ(L"A|Z", Names(*root.GetChild(0)));
    CChannelNode empty;
    viewer::BuildChannelTree(empty, false, services, kNames);
    EXPECT_TRUE(empty.IsEmpty()) << "a partial build needs the full one first";
}

TEST_F(ChannelMenuTest, WithoutFavouritesThreeGroupsAndTheSeparator)
{
    Write({Record(1, 1, 1, 1, "one")});
    CServices services(nullptr, m_folder.Path16());
    CChannelNode root;
    viewer::BuildChannelTree(root, true, services, kNames);
    EXPECT_EQ(L"TV channels|Radio stations|Network channels|-", Names(root)); // the menu drops the 4th
}

TEST(ChannelNumbers, TypedDigitsMatchTheBeginning)
{
    EXPECT_TRUE(viewer::NumberBeginsWith(1003, 1));
    EXPECT_TRUE(viewer::NumberBeginsWith(10, 1));
    EXPECT_FALSE(viewer::NumberBeginsWith(5003, 1));
    EXPECT_TRUE(viewer::NumberBeginsWith(5003, 5));
    EXPECT_TRUE(viewer::NumberBeginsWith(5, 5));
    EXPECT_FALSE(viewer::NumberBeginsWith(1005, 5));
    EXPECT_TRUE(viewer::NumberBeginsWith(7, 0));
    EXPECT_FALSE(viewer::NumberBeginsWith(1, 10));
}

TEST(ListKeys, GridAndColumnMovesClampAndScroll)
{
    viewer::ListKeyState grid{10, 3, 2, false, 0, 0};
    viewer::ListKeyMove(grid, 40); // down one row
    EXPECT_EQ(3, grid.selection);
    viewer::ListKeyMove(grid, 40);
    EXPECT_EQ(6, grid.selection);
    EXPECT_EQ(3, grid.first) << "the page ends at the selection's row";
    viewer::ListKeyMove(grid, 40);
    viewer::ListKeyMove(grid, 40);
    EXPECT_EQ(9, grid.selection) << "clamped to the last item";
    viewer::ListKeyMove(grid, 38);
    viewer::ListKeyMove(grid, 38);
    viewer::ListKeyMove(grid, 38);
    EXPECT_EQ(0, grid.selection);
    EXPECT_EQ(0, grid.first);
    EXPECT_TRUE(viewer::ListKeyMove(grid, 13));

    viewer::ListKeyState column{10, 1, 4, true, 0, 0};
    viewer::ListKeyMove(column, 39); // right: a page down
    EXPECT_EQ(4, column.selection);
    EXPECT_EQ(1, column.first);
    viewer::ListKeyMove(column, 38);
    EXPECT_EQ(3, column.selection);

    // An item height of 0 (no rows per page) divides nothing; an empty list keeps selection -1.
    viewer::ListKeyState flat{5, 1, 0, true, 0, 0};
    viewer::ListKeyMove(flat, 40);
    EXPECT_EQ(1, flat.selection);
    viewer::ListKeyState empty{0, 1, 4, false, -1, 0};
    viewer::ListKeyMove(empty, 40);
    EXPECT_EQ(-1, empty.selection);
    EXPECT_FALSE(viewer::ListKeyMove(empty, 13));
    viewer::ListKeyState other{3, 1, 4, false, 1, 0};
    EXPECT_FALSE(viewer::ListKeyMove(other, 65));
    EXPECT_EQ(1, other.selection);
}

TEST(RecordCommand, ForwardedBlockAndItsFields)
{
    static const char16_t kBlock[] = u"/rec\0" u"4097\0" u"28106\0" u"90\0" u"1\0" u"  C:\\rec\\film.mpg \0";
    const std::u16string block(kBlock, sizeof(kBlock) / sizeof(char16_t) - 1); // without the literal's own NUL
    const std::vector<std::u16string> arguments = viewer::UnpackArguments(block.data(), block.size());
    ASSERT_EQ(6u, arguments.size());
    viewer::RecordCommand command;
    ASSERT_TRUE(viewer::ParseRecordCommand(arguments, command));
    EXPECT_EQ(4097, command.transportStreamId);
    EXPECT_EQ(28106, command.serviceId);
    EXPECT_EQ(90u, command.minutes);
    EXPECT_EQ(5400000u, command.minutes * 60000u);
    EXPECT_TRUE(command.closeAfter);
    EXPECT_EQ(u"C:\\rec\\film.mpg", command.path);

    ASSERT_TRUE(viewer::ParseRecordCommand({u"/rec", u"4097", u"28106", u"90", u"0"}, command));
    EXPECT_FALSE(command.closeAfter);
    EXPECT_TRUE(command.path.empty());
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"3"}, command)) << "three values";
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/REC", u"1", u"2", u"3", u"1"}, command)) << "case-sensitive";
    EXPECT_TRUE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"71582", u"1"}, command));
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"71583", u"1"}, command)) << "32-bit ms";
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"-5", u"1"}, command));
    EXPECT_TRUE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"3", u"1", std::u16string(259, u'a')}, command));
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"3", u"1", std::u16string(260, u'a')}, command));

    // A last string without its NUL still counts; an empty block has none.
    EXPECT_EQ(2u, viewer::UnpackArguments(u"ab\0cd", 5).size());
    EXPECT_TRUE(viewer::UnpackArguments(u"", 0).empty());
    EXPECT_EQ(1u, viewer::UnpackArguments(u"\0", 1).size()); // one empty argument
}

} // namespace

TEST(RecordCommand, SplitPathJoinedIdsAndDurationBounded)
{
    // A job written with an unquoted path arrives split at its spaces.
    viewer::RecordCommand command;
    ASSERT_TRUE(viewer::ParseRecordCommand(
        {u"/rec", u"2571", u"257", u"1", u"1", u"C:\\users\\me\\My", u"Videos\\a", u"b.mpg"}, command));
    EXPECT_EQ(u"C:\\users\\me\\My Videos\\a b.mpg", command.path);
    EXPECT_EQ(2571, command.transportStreamId);
    EXPECT_EQ(257, command.serviceId);
    // The joined path is bounded as a whole.
    EXPECT_FALSE(viewer::ParseRecordCommand(
        {u"/rec", u"1", u"2", u"3", u"1", std::u16string(200, u'a'), std::u16string(59, u'b')}, command));
    EXPECT_TRUE(viewer::ParseRecordCommand(
        {u"/rec", u"1", u"2", u"3", u"1", std::u16string(200, u'a'), std::u16string(58, u'b')}, command));
    EXPECT_EQ(259u, command.path.size());
    // Ids that do not fit 16 bits would name another service.
    EXPECT_TRUE(viewer::ParseRecordCommand({u"/rec", u"65535", u"65535", u"3", u"1"}, command));
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"65536", u"2", u"3", u"1"}, command));
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"1", u"65793", u"3", u"1"}, command));
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"-1", u"2", u"3", u"1"}, command));
    // No time: the timer would fire at once and end the recording as it starts.
    EXPECT_FALSE(viewer::ParseRecordCommand({u"/rec", u"1", u"2", u"0", u"1"}, command));
}
