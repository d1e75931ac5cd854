#include "media/playback/SortMatchList.h"

#include <gtest/gtest.h>

#include "framework/CArray.h"

namespace {

struct Item {
    long m_count;
    int id;
};

TEST(SortMatchList, AscendingCountsBySelectionSwaps)
{
    CArray<Item> list;
    for (Item item : {Item{3, 0}, Item{1, 1}, Item{0, 2}, Item{1, 3}, Item{3, 4}, Item{0, 5}})
        list.Add(item);
    SortMatchList(list);
    // Equal counts keep the order the swaps leave, not their first order: position 1 takes item 5,
    // which sends item 1 to the end, so item 3 comes before it; item 0 went behind item 4 likewise.
    const int expected[] = {2, 5, 3, 1, 4, 0};
    ASSERT_EQ(list.GetSize(), 6);
    std::vector<int> ids;
    for (ptrdiff_t i = 0; i < list.GetSize(); ++i)
        ids.push_back(list[i].id);
    EXPECT_EQ(ids, std::vector<int>(std::begin(expected), std::end(expected)));
    CArray<Item> empty;
    SortMatchList(empty);
    EXPECT_TRUE(empty.IsEmpty());
}

} // namespace
