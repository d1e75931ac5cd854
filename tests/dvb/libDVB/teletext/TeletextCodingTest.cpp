#include <gtest/gtest.h>

#include "dvb/libDVB/teletext/TeletextCharacterTable.h"
#include "dvb/libDVB/teletext/TeletextCoding.h"
#include "support/TeletextBuilder.h"

using namespace libDVB;

TEST(TeletextCoding, HammingDecodesEveryCodewordAndCorrectsEverySingleBitError)
{
    for (unsigned d = 0; d < 16; ++d) {
        const uint8_t code = test::Hamming84(d);
        EXPECT_EQ(TeletextHamming84(code), d);
        for (int b = 0; b < 8; ++b)
            EXPECT_EQ(TeletextHamming84(static_cast<uint8_t>(code ^ (1 << b))), d) << "nibble " << d << " bit " << b;
    }
}

TEST(TeletextCoding, HammingRefusesDoubleErrors)
{
    // Two wrong bits are detected, never mistaken for another nibble.
    for (unsigned d = 0; d < 16; ++d)
        for (int b1 = 0; b1 < 8; ++b1)
            for (int b2 = b1 + 1; b2 < 8; ++b2)
                EXPECT_EQ(TeletextHamming84(static_cast<uint8_t>(test::Hamming84(d) ^ (1 << b1) ^ (1 << b2))), 15)
                    << "nibble " << d;
}

TEST(TeletextCoding, BitReversalAndParity)
{
    EXPECT_EQ(TeletextReverseBits(0x01), 0x80);
    EXPECT_EQ(TeletextReverseBits(0xE4), 0x27);
    for (unsigned v = 0; v < 256; ++v)
        EXPECT_EQ(TeletextReverseBits(TeletextReverseBits(static_cast<uint8_t>(v))), v);
    EXPECT_TRUE(TeletextOddParity(test::WithOddParity('A')));
    EXPECT_TRUE(TeletextOddParity(test::WithOddParity(' ')));
    EXPECT_FALSE(TeletextOddParity(test::WithOddParity('A') ^ 0x04));
}

TEST(TeletextCharacterTable, PlainSetAndNationalSubsets)
{
    char16_t table[kTeletextCharacterCount];
    BuildTeletextCharacterTable(0, table);
    EXPECT_EQ(table[0], u' ');
    EXPECT_EQ(table[0x23 - 0x20], u'#');
    EXPECT_EQ(table[0x41 - 0x20], u'A');
    EXPECT_EQ(table[0x7F - 0x20], u'\u25A0');

    BuildTeletextCharacterTable(9, table); // English
    EXPECT_EQ(table[0x23 - 0x20], u'\u00A3');
    EXPECT_EQ(table[0x5F - 0x20], u'#');
    EXPECT_EQ(table[0x5B - 0x20], u'\u2190');
    EXPECT_EQ(table[0x7C - 0x20], u'\u2551');
    EXPECT_EQ(table[0x41 - 0x20], u'A');

    BuildTeletextCharacterTable(7, table); // German
    EXPECT_EQ(table[0x40 - 0x20], u'\u00A7');
    EXPECT_EQ(table[0x7E - 0x20], u'\u00DF');

    // Czech and Slovak share one sub-set; so do Serbian, Croatian and Slovenian (31770 included).
    char16_t other[kTeletextCharacterCount];
    BuildTeletextCharacterTable(5, table);
    BuildTeletextCharacterTable(27, other);
    EXPECT_EQ(std::u16string(table, 96), std::u16string(other, 96));
    EXPECT_EQ(table[0x24 - 0x20], u'\u016F');
    BuildTeletextCharacterTable(31770, table);
    EXPECT_EQ(table[0x40 - 0x20], u'\u010C');
    BuildTeletextCharacterTable(21, table); // Polish
    EXPECT_EQ(table[0x5B - 0x20], u'\u017B');
    EXPECT_EQ(table[0x7E - 0x20], u'\u017A');

    // A number with no sub-set keeps the plain table.
    char16_t plain[kTeletextCharacterCount];
    BuildTeletextCharacterTable(0, plain);
    BuildTeletextCharacterTable(25, table);
    EXPECT_EQ(std::u16string(table, 96), std::u16string(plain, 96));
}
