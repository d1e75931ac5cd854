// CList: insertion and removal at head, middle and tail, walked with POSITION values.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/CList.h"
#include "framework/CString.h"
#include "CStringPrinter.h"

namespace {

// The elements in list order, from the head or from the tail.
template <class T>
std::vector<T> Walk(CList<T>& list, bool fromHead)
{
    std::vector<T> items;
    for (POSITION pos = fromHead ? list.GetHeadPosition() : list.GetTailPosition(); pos;)
        items.push_back(fromHead ? list.GetNext(pos) : list.GetPrev(pos));
    return items;
}

template <class T>
std::vector<T> Forward(CList<T>& list) { return Walk(list, true); }

template <class T>
std::vector<T> Backward(CList<T>& list) { return Walk(list, false); }

TEST(CListTest, InsertAndRemoveEverywhere)
{
    CList<int> list(3); // small blocks, so nodes come from several of them
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());

    POSITION two = list.AddTail(2);
    list.AddHead(1);
    POSITION four = list.AddTail(4);
    list.InsertBefore(four, 3);
    list.InsertAfter(four, 5);
    list.InsertBefore(list.GetHeadPosition(), 0);
    list.InsertAfter(list.GetTailPosition(), 6);
    EXPECT_EQ(7, list.GetCount());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6}), Forward(list));
    EXPECT_EQ((std::vector<int>{6, 5, 4, 3, 2, 1, 0}), Backward(list));
    EXPECT_EQ(2, list.GetAt(two));

    list.RemoveAt(two);                     // middle
    list.RemoveAt(list.GetHeadPosition());  // head
    list.RemoveAt(list.GetTailPosition());  // tail
    EXPECT_EQ((std::vector<int>{1, 3, 4, 5}), Forward(list));
    EXPECT_EQ((std::vector<int>{5, 4, 3, 1}), Backward(list));
    EXPECT_EQ(1, list.GetHead());
    EXPECT_EQ(5, list.GetTail());

    // Freed nodes are used again before a new block is taken.
    list.InsertAfter(list.GetHeadPosition(), 2);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), Forward(list));
    EXPECT_EQ(list.Find(4), [&] { POSITION p = list.GetTailPosition(); list.GetPrev(p); return p; }());
    EXPECT_EQ(nullptr, list.Find(9));

    EXPECT_EQ(1, list.RemoveHead());
    EXPECT_EQ(5, list.RemoveTail());
    list.SetAt(list.GetHeadPosition(), 20);
    EXPECT_EQ((std::vector<int>{20, 3, 4}), Forward(list));

    while (!list.IsEmpty())
        list.RemoveAt(list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail(7); // an emptied list gave its blocks back and takes a new one
    EXPECT_EQ((std::vector<int>{7}), Backward(list));
}

TEST(CListTest, ElementsAreConstructedAndDestroyedOnce)
{
    auto counter = std::make_shared<int>(0);
    {
        CList<std::shared_ptr<int>> list(2);
        for (int i = 0; i < 9; ++i)
            list.AddTail(counter);
        EXPECT_EQ(10, counter.use_count());
        list.RemoveAt(list.GetHeadPosition());
        list.RemoveTail();
        EXPECT_EQ(8, counter.use_count());
    }
    EXPECT_EQ(1, counter.use_count());

    CList<CString> names;
    POSITION pos = names.AddTail(CString(L"ČT1"));
    names.InsertBefore(pos, CString(L"Markíza"));
    names.RemoveAll();
    EXPECT_EQ(0, names.GetCount());
    names.AddHead(CString(L"Joj"));
    EXPECT_EQ(CString(L"Joj"), names.GetHead());
}

} // namespace
