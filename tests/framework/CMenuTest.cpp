// CMenu on real menu handles: building by position, item data kept raw, check states.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "TestResources.h"

namespace {

CString ItemText(CMenu& menu, UINT position)
{
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION); // counted in characters
    return CString(text);
}

TEST(CMenuTest, BuildsPopupsByPosition)
{
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(IDR_TEST_FRAME));
    EXPECT_EQ(2, bar.GetMenuItemCount());
    CMenu* file = bar.GetSubMenu(0);
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(file, CMenu::FromHandle(file->m_hMenu)); // one wrapper per handle
    EXPECT_EQ(nullptr, bar.GetSubMenu(5));
    EXPECT_EQ(4, file->GetMenuItemCount());

    // Position 3 ("Exit") becomes a popup of recorded shows, as the File menu does it.
    CMenu shows;
    ASSERT_TRUE(shows.CreatePopupMenu());
    EXPECT_TRUE(shows.AppendMenu(MF_STRING, 40000, L"News.mpg"));
    EXPECT_TRUE(shows.AppendMenu(MF_STRING | MF_GRAYED, 0, L"none"));
    EXPECT_TRUE(file->RemoveMenu(3, MF_BYPOSITION));
    EXPECT_TRUE(file->InsertMenu(3, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(shows.Detach()),
                                 L"Recorded shows"));
    EXPECT_EQ(nullptr, shows.m_hMenu);
    EXPECT_EQ(static_cast<UINT>(-1), file->GetMenuItemID(3));
    EXPECT_EQ(CString(L"Recorded shows"), ItemText(*file, 3));
    EXPECT_EQ(2, file->GetSubMenu(3)->GetMenuItemCount());
    EXPECT_EQ(CString(L"News.mpg"), ItemText(*file->GetSubMenu(3), 0));
    EXPECT_NE(0u, file->GetSubMenu(3)->GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(file->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR));
    EXPECT_TRUE(file->DeleteMenu(0, MF_BYPOSITION));
    EXPECT_EQ(CString(L"Open file..."), ItemText(*file, 0));

    EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), file->CheckMenuItem(ID_FILE_CLOSE_MEDIA, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), file->CheckMenuItem(ID_FILE_CLOSE_MEDIA, MF_BYCOMMAND | MF_UNCHECKED));
    EXPECT_EQ(static_cast<UINT>(-1), file->CheckMenuItem(12345, MF_BYCOMMAND | MF_CHECKED));
    CMenu::DeleteTempMap();
}

TEST(CMenuTest, ItemDataStaysRaw)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 100, L"ČT1"));
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    info.dwItemData = static_cast<ULONG_PTR>(0x123456789ABCDEF0ull); // a pointer-sized value survives
    ASSERT_TRUE(::SetMenuItemInfoW(menu, 100, FALSE, &info));
    MENUITEMINFOW read = {};
    read.cbSize = sizeof(read);
    read.fMask = MIIM_DATA;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, 100, FALSE, &read));
    EXPECT_EQ(info.dwItemData, read.dwItemData);

    HMENU handle = menu.Detach();
    EXPECT_FALSE(menu.DestroyMenu());
    CMenu other;
    EXPECT_TRUE(other.Attach(handle));
    EXPECT_FALSE(other.Attach(handle)); // already holds one
    EXPECT_TRUE(other.DestroyMenu());
    EXPECT_FALSE(::IsMenu(handle));
}

} // namespace
