// String tables per language compiled by windres, and the fallback the programs build on
// them: the chosen language first, then the loader's default order.
#include <gtest/gtest.h>

#include "TestApp.h"
#include "TestResources.h"

namespace {

const WORD kEnglish = 1033;
const WORD kSlovak = 1051;

// The programs' loader: the user-interface language, else language 0.
CString Localized(UINT id, WORD language)
{
    CString text;
    if (!text.LoadString(AfxGetResourceHandle(), id, language))
        text.LoadString(AfxGetResourceHandle(), id, 0);
    return text;
}

TEST(StringTableTest, EachLanguageHasItsOwnText)
{
    CString text;
    EXPECT_TRUE(text.LoadString(AfxGetResourceHandle(), IDS_GREETING, kEnglish));
    EXPECT_EQ(CString(L"Hello"), text);
    EXPECT_TRUE(text.LoadString(AfxGetResourceHandle(), IDS_GREETING, kSlovak));
    EXPECT_EQ(CString(L"Dobr\u00fd de\u0148"), text);
    EXPECT_TRUE(text.LoadString(AfxGetResourceHandle(), IDS_GREETING, 0));
    EXPECT_EQ(CString(L"Hello (neutral)"), text);
    EXPECT_TRUE(text.LoadString(IDS_APP_TITLE));
    EXPECT_EQ(CString(L"qor"), text);
}

TEST(StringTableTest, AStringMissingInSlovakFallsBackToNeutral)
{
    CString text;
    // Slovak has the block of these ids but not the strings themselves.
    EXPECT_FALSE(text.LoadString(AfxGetResourceHandle(), IDS_NOT_IN_SLOVAK, kSlovak));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(text.LoadString(AfxGetResourceHandle(), IDS_ONLY_NEUTRAL, kSlovak));
    EXPECT_EQ(CString(L"Not in Slovak (neutral)"), Localized(IDS_NOT_IN_SLOVAK, kSlovak));
    EXPECT_EQ(CString(L"Only neutral"), Localized(IDS_ONLY_NEUTRAL, kSlovak));
    EXPECT_EQ(CString(L"Not in Slovak"), Localized(IDS_NOT_IN_SLOVAK, kEnglish));
    EXPECT_EQ(CString(L"Dobr\u00fd de\u0148"), Localized(IDS_GREETING, kSlovak));
}

TEST(StringTableTest, MissingIdsGiveEmptyStrings)
{
    CString text(L"old");
    EXPECT_FALSE(text.LoadString(AfxGetResourceHandle(), IDS_DAMAGED, kEnglish));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(text.LoadString(AfxGetResourceHandle(), 70000, 0));
    EXPECT_EQ(CString(), Localized(999, kSlovak));
}

} // namespace
