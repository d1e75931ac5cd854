#include <gtest/gtest.h>

#include "dvb/libDVB/service/LanguageTable.h"

using namespace libDVB;

namespace {
uint16_t Id(const char* code) { return LanguageIdFromCode(PackLanguageCode(reinterpret_cast<const uint8_t*>(code))); }
} // namespace

TEST(LanguageTable, PacksFoldedCodes)
{
    EXPECT_EQ(PackLanguageCode(reinterpret_cast<const uint8_t*>("ENG")), 0x656E67u);
    EXPECT_EQ(PackLanguageCode(reinterpret_cast<const uint8_t*>("eng")), 0x656E67u);
    EXPECT_EQ(Id("ENG"), 9);
    EXPECT_EQ(Id("eng"), 9);
}

TEST(LanguageTable, BothFormsOfACodeAndUnknownCodes)
{
    EXPECT_EQ(LanguageTableSize(), 142u);
    EXPECT_EQ(Id("ger"), 7);
    EXPECT_EQ(Id("deu"), 7);
    EXPECT_EQ(Id("slo"), 27);
    EXPECT_EQ(Id("slk"), 27);
    EXPECT_EQ(Id("plt"), 141); // the last row
    EXPECT_EQ(Id("ara"), 1);   // the first real row
    EXPECT_EQ(Id("xyz"), 0);
    EXPECT_EQ(LanguageIdFromCode(0), 0);
    EXPECT_EQ(Id("gsw"), 0x84);
}

// Breton, Maltese and Yakut carry the platform's primary language ids for them, not the ids of
// Belarusian, Malayalam and Alsatian.
TEST(LanguageTable, BretonMalteseAndYakutHaveTheirOwnIds)
{
    EXPECT_EQ(Id("bre"), 0x7E);
    EXPECT_EQ(Id("mlt"), 0x3A);
    EXPECT_EQ(Id("sah"), 0x85);
}
