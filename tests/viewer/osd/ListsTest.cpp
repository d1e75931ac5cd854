#include <gtest/gtest.h>

#include "support/FakeGlyphs.h"
#include "support/FakeSkinTexture.h"
#include "support/RecordingSurface.h"
#include "viewer/osd/CheckListBox.h"
#include "viewer/osd/ListBox.h"

using namespace OnScreenDisplay;

namespace {

class ListDisplay : public Display {
public:
    void OnStreamMenu(int code) override { menus.push_back(code); }
    void OnListSelect(int list, int value, int value2) override { selects.push_back({list, value, value2}); }
    std::vector<int> menus;
    std::vector<std::vector<int>> selects;
};

class Lists : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetScale(1.0f);
        root.Create(&surface);
        root.SetSize(800, 600);
    }
    void TearDown() override { root.DeleteChildren(); }
    ListBox* TenItems(bool rowMajor)
    {
        auto* list = new ListBox();
        list->SetRect(0, 0, 400, 200);
        list->SetParent(&root);
        list->SetFont(&font);
        list->m_rowMajor = rowMajor;
        for (int i = 0; i < 10; ++i)
            list->AddItem(u"", u"item", i, 100 + i);
        return list;
    }

    RecordingSurface surface;
    RecordingFont font;
    ListDisplay root;
};

} // namespace

TEST_F(Lists, RowMajorGeometryKeyboardAndWheel)
{
    ListBox* list = TenItems(true);
    EXPECT_EQ(list->VisibleRows(), 4); // floor((200 - 40) / 34)
    EXPECT_EQ(list->m_selection, 0);
    list->m_selection = 7;
    list->EnsureSelectionVisible();
    EXPECT_EQ(list->m_top, 4);
    list->m_selection = 2;
    list->EnsureSelectionVisible();
    EXPECT_EQ(list->m_top, 2);

    list->m_top = 0;
    EXPECT_TRUE(list->OnMouseWheel(0, -120, 10, 30));
    EXPECT_EQ(list->m_top, 1);
    for (int i = 0; i < 10; ++i)
        list->OnMouseWheel(0, -120, 10, 30);
    EXPECT_EQ(list->m_top, 6); // 10 items - 4 rows

    // The first row starts at the margin: y 19 selects nothing, y 20 the top item.
    EXPECT_FALSE(list->OnMouseMove(0, 10, 19));
    EXPECT_TRUE(list->OnMouseMove(0, 10, 20));
    EXPECT_EQ(list->m_selection, 6);
    EXPECT_TRUE(list->OnLButtonDown(1, 10, 60));
    ASSERT_EQ(root.selects.size(), 1u);
    EXPECT_EQ(root.selects[0], (std::vector<int>{0, 7, 107}));

    // The more-after arrow shows while items remain below, in one call with the more-before one.
    FakeSkinTexture arrows(20, 20, 2);
    list->SetArrowTexture(&arrows);
    list->m_top = 2;
    surface.draws.clear();
    root.Render(1.0f);
    ASSERT_FALSE(surface.draws.empty());
    EXPECT_EQ(surface.draws[0].vertices.size(), 12u);
    list->Clear();
    for (int i = 0; i < 4; ++i)
        list->AddItem(u"", u"x", i, i);
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty() || surface.draws[0].vertices.size() != 12u);
    list->SetArrowTexture(nullptr);
}

TEST_F(Lists, ColumnMajorScrollsByWholeColumns)
{
    ListBox* list = TenItems(false);
    EXPECT_EQ(list->VisibleRows(), 5); // floor((200 - 20) / 34)
    EXPECT_TRUE(list->OnMouseMove(0, 10, 0)); // rows start at 0
    EXPECT_EQ(list->m_selection, 0);
    list->OnMouseWheel(0, -120, 10, 0);
    EXPECT_EQ(list->m_top, 5);
    list->m_columns = 2;
    list->m_top = 0;
    list->m_selection = 9;
    list->EnsureSelectionVisible();
    EXPECT_EQ(list->m_top, 0);

    // A list shorter than its margin plus a row has no rows: nothing moves, nothing divides by 0.
    list->SetRect(0, 0, 400, 30);
    list->m_selection = 9;
    list->EnsureSelectionVisible();
    EXPECT_EQ(list->m_top, 0);
    EXPECT_FALSE(list->OnMouseMove(0, 10, 5));
    root.Render(1.0f);
}

TEST_F(Lists, CheckListReportsAndChecksOnlyTheChosenItem)
{
    auto* list = new CheckListBox();
    list->SetRect(0, 0, 400, 200);
    list->SetParent(&root);
    list->AddString(u"lost", 1, 0); // no font yet: nothing added
    EXPECT_EQ(list->GetCount(), 0);
    list->SetFont(&font);
    list->AddString(u"English", 0x10001, 0);
    list->AddString(u"Deutsch", 0x10002, 0);
    list->AddString(u"Francais", 0x10003, 1);
    list->OnItemActivated(2); // already checked: still reported
    list->OnItemActivated(1);
    EXPECT_EQ(root.menus, (std::vector<int>{0x10003, 0x10002}));
    EXPECT_EQ(list->GetItem(0).checked + list->GetItem(1).checked + list->GetItem(2).checked, 1);
    EXPECT_EQ(list->GetItem(1).checked, 1);
    list->OnItemActivated(7); // outside the items: nothing
    EXPECT_EQ(root.menus.size(), 2u);

    // Items draw their text through the label, each with the text colour and the opacity.
    font.draws.clear();
    root.Render(0.5f);
    ASSERT_EQ(font.draws.size(), 3u);
    EXPECT_EQ(font.draws[1].text, u"Deutsch");
    EXPECT_EQ(font.draws[1].style.colour, 0x7FFFFFFFu);
}
