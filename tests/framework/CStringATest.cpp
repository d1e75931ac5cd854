// The 8-bit string: tokens (runs of delimiters count as one), trimming and formatting.
#include <gtest/gtest.h>

#include "framework/CStringA.h"

namespace {

TEST(CStringA, TokenizeSkipsRunsOfDelimiters)
{
    const CStringA line(",12,,2007-2-1, x ,");
    std::vector<std::string> tokens;
    int start = 0;
    for (CStringA token = line.Tokenize(",", start); start != -1; token = line.Tokenize(",", start))
        tokens.push_back(token.Str());
    EXPECT_EQ(tokens, (std::vector<std::string>{"12", "2007-2-1", " x "}));
    start = 0;
    EXPECT_EQ(CStringA("").Tokenize(",", start).Str(), "");
    EXPECT_EQ(start, -1);
}

TEST(CStringA, TrimFormatAndSlices)
{
    CStringA text(" \t a b \r\n");
    EXPECT_EQ(text.Trim().Str(), "a b");
    CStringA blank(" \n ");
    EXPECT_TRUE(blank.Trim().IsEmpty());
    CStringA formatted;
    formatted.Format("%s=%d,%02x,%s", "id", -12, 10, std::string(300, 'z').c_str());
    EXPECT_EQ(formatted.Str(), "id=-12,0a," + std::string(300, 'z'));
    const CStringA word("abcdef");
    EXPECT_EQ(word.Mid(2, 2).Str(), "cd");
    EXPECT_EQ(word.Mid(4, 10).Str(), "ef");
    EXPECT_EQ(word.Left(-1).Str(), "");
    EXPECT_EQ(word.Find('d'), 3);
    EXPECT_EQ(word.Find('d', 4), -1);
    EXPECT_TRUE(CStringA("a") + "b" == "ab");
}

} // namespace
