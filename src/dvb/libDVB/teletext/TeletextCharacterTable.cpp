#include "dvb/libDVB/teletext/TeletextCharacterTable.h"

namespace libDVB {

namespace {

// The 13 national positions in the order below.
const uint8_t kNationalCodes[13] = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

struct CSubset {
    uint32_t languages[3]; // 0 ends the list
    const char16_t* characters;
};

const CSubset kSubsets[] = {
    {{3, 10, 22}, u"ç$¡áéíóú¿üñèà"},    // Spanish/Portuguese
    {{5, 27, 0}, u"#ůčťžýířéáěúš"},     // Czech/Slovak
    {{7, 0, 0}, u"#$§ÄÖÜ^_°äöüß"},      // German
    {{9, 0, 0}, u"£$@←½→↑#-¼║¾÷"},      // English
    {{11, 14, 29}, u"#¤ÉÄÖÅÜ_éäöåü"},   // Swedish/Finnish/Hungarian
    {{12, 0, 0}, u"éïàëêùî#èâôûç"},     // French
    {{16, 0, 0}, u"£$é°ç→↑#ùàòèì"},     // Italian
    {{21, 0, 0}, u"#ńąŻŚŁćóężśłź"},     // Polish
    {{23, 0, 0}, u"#¤ŢÂŞǍÎıţâşǎî"},     // Romanian
    {{26, 36, 31770}, u"#ËČĆŽĐŠëčćžđš"}, // Serbian/Croatian/Slovenian
    {{31, 0, 0}, u"#ğİŞÖÇÜĞışöçü"},     // Turkish
    {{37, 0, 0}, u"#õŠÄÖŽÜÕšäöžü"},     // Estonian
    {{38, 39, 0}, u"#$ŠėęŽčūšąųžį"},    // Lettish/Lithuanian
};

} // namespace

void BuildTeletextCharacterTable(uint32_t languageNumber, char16_t table[kTeletextCharacterCount])
{
    for (unsigned i = 0; i < kTeletextCharacterCount; ++i)
        table[i] = static_cast<char16_t>(0x20 + i);
    table[0x7F - 0x20] = u'\u25A0';
    for (const CSubset& subset : kSubsets) {
        bool match = false;
        for (uint32_t language : subset.languages)
            match = match || (language != 0 && language == languageNumber);
        if (!match)
            continue;
        for (unsigned i = 0; i < 13; ++i)
            table[kNationalCodes[i] - 0x20] = subset.characters[i];
        return;
    }
}

} // namespace libDVB
