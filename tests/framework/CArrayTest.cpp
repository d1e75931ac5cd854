// CArray: growth, insertion and removal keep the order and the elements.
#include <gtest/gtest.h>

#include "framework/CArray.h"
#include "framework/CString.h"
#include "CStringPrinter.h"

namespace {

TEST(CArrayTest, GrowsAndRemoves)
{
    CArray<CString> files;
    EXPECT_EQ(0, files.GetSize());
    EXPECT_EQ(nullptr, files.GetData());
    for (int i = 0; i < 1000; ++i) {
        CString name;
        name.Format(L"show%d.mpg", i);
        EXPECT_EQ(i, files.Add(name));
    }
    EXPECT_EQ(1000, files.GetCount());
    EXPECT_EQ(999, files.GetUpperBound());
    EXPECT_EQ(CString(L"show0.mpg"), files[0]);
    EXPECT_EQ(CString(L"show999.mpg"), files.GetData()[999]);

    files.RemoveAt(0);
    files.RemoveAt(500, 10);
    files.RemoveAt(files.GetUpperBound());
    EXPECT_EQ(988, files.GetSize());
    EXPECT_EQ(CString(L"show1.mpg"), files[0]);
    EXPECT_EQ(CString(L"show500.mpg"), files[499]);
    EXPECT_EQ(CString(L"show511.mpg"), files[500]);
    EXPECT_EQ(CString(L"show998.mpg"), files[987]);

    files.InsertAt(0, CString(L"first"));
    files.InsertAt(1, files[0], 2); // an element of the array itself
    files.InsertAt(files.GetSize(), CString(L"last"));
    EXPECT_EQ(992, files.GetSize());
    EXPECT_EQ(CString(L"first"), files[2]);
    EXPECT_EQ(CString(L"show1.mpg"), files[3]);
    EXPECT_EQ(CString(L"last"), files[991]);

    files.RemoveAll();
    EXPECT_EQ(0, files.GetSize());
}

TEST(CArrayTest, SetSizeAndInsertBeyondTheEnd)
{
    CArray<int> values;
    values.SetSize(3);
    EXPECT_EQ(0, values[2]);
    values[1] = 5;
    values.InsertAt(6, 9); // grows with zeros up to index 6
    EXPECT_EQ(7, values.GetSize());
    EXPECT_EQ(5, values[1]);
    EXPECT_EQ(0, values[5]);
    EXPECT_EQ(9, values[6]);
    values.SetSize(2);
    EXPECT_EQ(2, values.GetSize());
    values.SetSize(-1);
    EXPECT_TRUE(values.IsEmpty());
}

TEST(CArrayDeathTest, OutOfRangeAborts)
{
    CArray<int> values;
    values.Add(1);
    EXPECT_DEATH(values[1] = 0, "");
    EXPECT_DEATH(values.RemoveAt(0, 2), "");
}

} // namespace
