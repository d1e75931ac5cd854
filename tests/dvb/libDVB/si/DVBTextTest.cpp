// DVB text: length bounds, the default table with its diacritical marks, the table selectors,
// control codes in each table's own coding, and the 8-bit fallback.
#include <gtest/gtest.h>

#include "SIBuilders.h"
#include "dvb/libDVB/si/AnsiCodePage.h"
#include "dvb/libDVB/si/DVBText.h"
#include "support/TestMedia.h"

using namespace libDVB;
using test::Bytes;

namespace {

std::u16string Convert(const Bytes& b) { return ConvertDVBText(b.data(), b.size()); }

// Installs a converter that records what reaches it, for one test.
struct CRecordingAnsi {
    static Bytes& Seen()
    {
        static Bytes seen;
        return seen;
    }
    static std::u16string Convert(const uint8_t* data, size_t length)
    {
        Seen().assign(data, data + length);
        return u"<ansi>";
    }
    CRecordingAnsi()
    {
        Seen().clear();
        SetAnsiConverter(&Convert);
    }
    ~CRecordingAnsi() { SetAnsiConverter(nullptr); }
};

} // namespace

TEST(DVBTextReading, TheLengthByteCountsTowardWhatRemains)
{
    // Length byte 5 but only 3 bytes follow inside the field: the text stops at the field's end.
    const Bytes field{0x05, 'A', 'B', 'C', 0xEE, 0xEE};
    base::CByteReader r(field.data(), 4);
    EXPECT_EQ(ReadDVBText(r), u"ABC");
    EXPECT_TRUE(r.Empty());
    EXPECT_FALSE(r.Overrun());

    // Exactly filled, followed by a second field.
    const Bytes two{0x02, 'H', 'i', 0x03, 'Y', 'o', 'u'};
    base::CByteReader r2(two.data(), two.size());
    EXPECT_EQ(ReadDVBText(r2), u"Hi");
    EXPECT_EQ(ReadDVBText(r2), u"You");
    EXPECT_TRUE(r2.Empty());
    EXPECT_EQ(ReadDVBText(r2), u""); // nothing left: empty, no overrun
    EXPECT_FALSE(r2.Overrun());

    const Bytes zero{0x00, 'X'};
    base::CByteReader r3(zero.data(), zero.size());
    EXPECT_EQ(ReadDVBText(r3), u"");
    EXPECT_EQ(r3.Remaining(), 1u); // only the length byte was consumed

    const Bytes raw{0x09, 'n', 'e', 't'};
    base::CByteReader r4(raw.data(), raw.size());
    EXPECT_EQ(ReadLengthPrefixedString(r4), "net");
    EXPECT_TRUE(r4.Empty());
}

TEST(DVBTextDefaultTable, MapsTheListedPositionsAndStopsAtNul)
{
    EXPECT_EQ(Convert(test::Str("Plain ASCII")), u"Plain ASCII");
    EXPECT_EQ(Convert({0xA9, 'q', 0xB9}), u"\u2018q\u2019");
    EXPECT_EQ(Convert({0xAC, 0xAD, 0xAE, 0xAF}), u"\u2190\u2191\u2192\u2193");
    EXPECT_EQ(Convert({0xD5, 0xE0, 0xE8, 0xF8, 0xFB, 0xFC}), u"\u266A\u2126\u0141\u0142\u00DF\u00FE");
    EXPECT_EQ(Convert({0xA8, 0xB4, 0xB8, 0xD0}), u"\u00A4\u00D7\u00F7\u2014");
    EXPECT_EQ(Convert({0xFF}), u"\u00AD");
    EXPECT_EQ(Convert({'a', 'b', 0x00, 'c'}), u"ab");
    EXPECT_EQ(Convert({0xA3, 0xA5, 0xB0}), u"\u00A3\u00A5\u00B0"); // identity positions
}

TEST(DVBTextDefaultTable, DiacriticalMarksComposeWithTheFollowingLetter)
{
    EXPECT_EQ(Convert({0xC2, 'e', 't', 0xC2, 'E'}), u"\u00E9t\u00C9");
    EXPECT_EQ(Convert({'Z', 0xC8, 'u', 'r', 'i', 'c', 'h'}), u"Z\u00FCrich");
    EXPECT_EQ(Convert({0xCF, 'S', 'k', 'o', 'd', 0xCF, 'a'}), u"\u0160kod\u01CE");
    EXPECT_EQ(Convert({0xCB, 'c', 0xCE, 'a', 0xCA, 'a', 0xCD, 'o', 0xC3, 'o', 0xC4, 'n'}),
              u"\u00E7\u0105\u00E5\u0151\u00F4\u00F1");
    // No composition for the pair: the base character alone.
    EXPECT_EQ(Convert({0xC2, '1', 'x'}), u"1x");
    // A lone mark at the end adds nothing; a mark before a mark is replaced by the second one.
    EXPECT_EQ(Convert({'a', 'b', 0xC2}), u"ab");
    EXPECT_EQ(Convert({0xC1, 0xC2, 'a'}), u"\u00E1");
    // A control code between mark and letter is transparent.
    EXPECT_EQ(Convert({0xC2, 0x86, 'a'}), u"\u00E1");
}

TEST(DVBTextControlCodes, OneByteControlsAreRemovedAndTextIsTrimmed)
{
    EXPECT_EQ(Convert({0x86, 'B', 'o', 'l', 'd', 0x87}), u"Bold");
    EXPECT_EQ(Convert({' ', ' ', 'x', ' ', '\t'}), u"x");
    EXPECT_EQ(Convert({0x80, 0x9F}), u"");
    EXPECT_EQ(Convert({}), u"");
}

// EN 300 468 annex A: 0x8A (U+E08A in the two-byte table and UTF-8) is CR/LF.
TEST(DVBTextControlCodes, LineBreakCodeBecomesALineBreak)
{
    EXPECT_EQ(Convert({'L', 'i', 'n', 'e', ' ', 'o', 'n', 'e', 0x8A, 'L', 'i', 'n', 'e', ' ', 't', 'w', 'o'}),
              u"Line one\r\nLine two");
    EXPECT_EQ(Convert({'a', 0x8A, 0x8A, 'b', 0x8A}), u"a\r\n\r\nb"); // trailing break trimmed
    EXPECT_EQ(Convert({0x10, 0x00, 0x03, 'a', 0x8A, 0xA5, 'b'}), u"a\r\nb");
    EXPECT_EQ(Convert({0x15, 'a', 0xEE, 0x82, 0x8A, 'b'}), u"a\r\nb");
    EXPECT_EQ(Convert({0x11, 0x00, 'A', 0xE0, 0x8A, 0x00, 'B'}), u"A\r\nB");
    // The text of an extended event part is kept as broadcast, white space included.
    const uint8_t part[] = {' ', 'x', 0x8A};
    EXPECT_EQ(ConvertDVBText(part, 3, false), u" x\r\n");
}

TEST(DVBTextSelectors, Iso8859PartsByOneAndThreeByteSelectors)
{
    EXPECT_EQ(Convert({0x01, 0xB0, 0xD0}), u"\u0410\u0430");          // 8859-5 Cyrillic
    EXPECT_EQ(Convert({0x03, 0xE1, 0xC1}), u"\u03B1\u0391");          // 8859-7 Greek
    EXPECT_EQ(Convert({0x05, 'A', 'B'}), u"AB");                      // 8859-9
    EXPECT_EQ(Convert({0x05, 0xF0, 0xDD}), u"\u011F\u0130");          // 8859-9 Turkish
    EXPECT_EQ(Convert({0x0B, 0xA4, 0xBC}), u"\u20AC\u0152");          // 8859-15
    EXPECT_EQ(Convert({0x10, 0x00, 0x02, 0xB1, 0xA9}), u"\u0105\u0160"); // 8859-2
    EXPECT_EQ(Convert({0x10, 0x00, 0x01, 0xE9}), u"\u00E9");          // 8859-1
    EXPECT_EQ(Convert({0x10, 0x00}), u"");                            // selector cut short
    // Control codes in a one-byte table; an undefined position adds nothing (8859-3 0xA5).
    EXPECT_EQ(Convert({0x10, 0x00, 0x03, 'a', 0x86, 0xA5, 'b'}), u"ab");
}

TEST(DVBTextSelectors, Utf8KeepsBytesInTheControlRangeThatBelongToCharacters)
{
    // U+0101 is C4 81 and U+0160 is C5 A0: their second bytes lie in 0x80-0x9F.
    EXPECT_EQ(Convert({0x15, 0xC4, 0x81, 0xC5, 0xA0, 'x'}), u"\u0101\u0160x");
    EXPECT_EQ(Convert({0x15, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x93, 0xBA}), u"\u20AC\U0001F4FA");
    // Control codes are U+E080-U+E09F (EE 82 86 = emphasis on) and are taken out.
    EXPECT_EQ(Convert({0x15, 'a', 0xEE, 0x82, 0x86, 'b'}), u"ab");
    // Broken sequences become U+FFFD, never a read past the text.
    EXPECT_EQ(Convert({0x15, 'a', 0xC4}), u"a\uFFFD");
    EXPECT_EQ(Convert({0x15, 0xC0, 0xAF, 'z'}), u"\uFFFD\uFFFDz"); // overlong: two stray bytes
    EXPECT_EQ(Convert({0x15, 0xED, 0xA0, 0x80}), u"\uFFFD"); // an encoded surrogate
}

TEST(DVBTextSelectors, TwoByteTableKeepsCharactersWhoseBytesLookLikeControls)
{
    // U+8A9E and U+0480 hold bytes 0x8A, 0x9E and 0x80.
    EXPECT_EQ(Convert({0x11, 0x4E, 0x2D, 0x8A, 0x9E, 0x04, 0x80}), u"\u4E2D\u8A9E\u0480");
    EXPECT_EQ(Convert({0x11, 0x00, 'A', 0xE0, 0x87, 0x00, 'B'}), u"AB"); // U+E087 control
    EXPECT_EQ(Convert({0x11, 0x00, 'A', 0x00, 0x00, 0x00, 'B'}), u"A");  // U+0000 ends the text
    EXPECT_EQ(Convert({0x11, 0x00, 'A', 0x01}), u"A");                    // odd byte ignored
    EXPECT_EQ(Convert({0x11, 0xD8, 0x3D}), u"\uFFFD");
}

TEST(DVBTextSelectors, TablesWithoutAMappingGoThroughTheProgramsConverter)
{
    {
        CRecordingAnsi ansi;
        // KS X 1001 in EUC form, a double-byte coding: every byte reaches the converter.
        EXPECT_EQ(Convert({0x12, 0xB0, 0x81, 0xC7, 0x9F}), u"<ansi>");
        EXPECT_EQ(CRecordingAnsi::Seen(), (Bytes{0xB0, 0x81, 0xC7, 0x9F}));
        // A reserved one-byte selector: controls first taken out.
        EXPECT_EQ(Convert({0x0C, 'a', 0x86, 'b'}), u"<ansi><ansi>");
        EXPECT_EQ(CRecordingAnsi::Seen(), (Bytes{'b'}));
        EXPECT_EQ(Convert({0x10, 0x00, 0x0C, 'q'}), u"<ansi>"); // 8859-12 was never published
        EXPECT_EQ(CRecordingAnsi::Seen(), (Bytes{'q'}));
    }
    // Without an owner's converter the fixed Windows-1252 table is used.
    EXPECT_EQ(GetAnsiConverter(), &FixedAnsiToUtf16);
    EXPECT_EQ(Convert({0x13, 0x80, 'A', 0x9F, 0xE9}), u"\u20ACA\u0178\u00E9");
    const uint8_t undefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    EXPECT_EQ(FixedAnsiToUtf16(undefined, 5), u"\u0081\u008D\u008F\u0090\u009D");
}

// The ISO 8859 tables against python3's codecs, generated at test time.
TEST(DVBTextSelectors, EveryIso8859PositionAgreesWithAnIndependentCodec)
{
    const auto expected = test::ReadFileBytes(test::MediaPath("iso8859_upper.bin"));
    ASSERT_EQ(expected.size(), 14u * 96 * 2 + 14);
    size_t offset = 0;
    while (offset < expected.size()) {
        const uint8_t part = expected[offset++];
        for (unsigned i = 0; i < 96; ++i, offset += 2) {
            const char16_t want = static_cast<char16_t>(expected[offset] | (expected[offset + 1] << 8));
            const Bytes text{0x10, 0x00, part, static_cast<uint8_t>(0xA0 + i)};
            const std::u16string got = Convert(text);
            if (want == 0 || want == 0xA0) // undefined, or no-break space (kept, but trimmed here)
                EXPECT_TRUE(got.empty() || got == u"\u00A0") << "part " << int(part) << " byte " << 0xA0 + i;
            else
                EXPECT_EQ(got, std::u16string(1, want)) << "part " << int(part) << " byte " << 0xA0 + i;
        }
    }
}
