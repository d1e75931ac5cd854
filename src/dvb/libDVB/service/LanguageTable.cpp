#include "dvb/libDVB/service/LanguageTable.h"

namespace libDVB {

namespace {

struct LanguageRow {
    uint16_t languageId;
    char code[4];
};

// ISO 639-2 codes (bibliographic and terminology forms) to Windows primary language ids.
const LanguageRow kLanguages[] = {
    {0, ""},
    {1, "ara"}, {2, "bul"}, {3, "cat"}, {4, "chi"}, {4, "zho"}, {5, "ces"}, {5, "cze"}, {6, "dan"},
    {7, "deu"}, {7, "ger"}, {8, "ell"}, {8, "gre"}, {9, "eng"}, {10, "esl"}, {10, "spa"}, {11, "fin"},
    {12, "fra"}, {12, "fre"}, {13, "heb"}, {14, "hun"}, {15, "isl"}, {15, "ice"}, {16, "ita"},
    {17, "jpn"}, {18, "kor"}, {19, "nla"}, {19, "dut"}, {20, "nor"}, {21, "pol"}, {22, "por"},
    {23, "roh"}, {24, "ron"}, {24, "rum"}, {25, "rus"}, {26, "cro"}, {27, "slk"}, {27, "slo"},
    {28, "sqi"}, {28, "alb"}, {29, "sve"}, {29, "swe"}, {30, "tha"}, {31, "tur"}, {32, "urd"},
    {33, "ind"}, {34, "ukr"}, {36, "slv"}, {37, "est"}, {38, "lav"}, {39, "lit"},
    {40, "tgk"}, {41, "fas"}, {41, "per"}, {42, "vie"}, {43, "hye"}, {43, "arm"}, {44, "aze"},
    {45, "eus"}, {45, "baq"}, {46, "wen"}, {46, "wee"}, {47, "mak"}, {47, "mac"}, {49, "tso"},
    {50, "tsn"}, {51, "ven"}, {52, "xho"}, {53, "zul"}, {54, "afr"}, {55, "kat"}, {55, "geo"},
    {56, "fao"}, {57, "hin"}, {58, "mlt"}, {60, "gai"}, {60, "iri"}, {61, "yid"}, {62, "msa"}, {62, "may"},
    {63, "kaz"}, {64, "kir"}, {65, "swa"}, {66, "tuk"}, {67, "uzb"}, {68, "tat"}, {69, "ben"},
    {70, "pan"}, {71, "guj"}, {72, "ori"}, {73, "tam"}, {74, "tel"}, {75, "kan"}, {77, "asm"}, {78, "mar"}, {79, "san"}, {80, "mon"}, {81, "bod"}, {81, "tib"}, {82, "cym"},
    {82, "wel"}, {84, "lao"}, {85, "mya"}, {85, "bur"}, {86, "glg"}, {87, "kok"}, {90, "syr"},
    {91, "sin"}, {92, "chr"}, {93, "iku"}, {94, "amh"}, {95, "ber"}, {96, "kas"}, {97, "nep"},
    {98, "fry"}, {99, "pus"}, {101, "div"}, {102, "bin"}, {105, "nic"}, {106, "yor"}, {107, "quz"},
    {114, "orm"}, {116, "grn"}, {117, "haw"}, {118, "lat"}, {119, "som"}, {121, "pap"}, {122, "arn"},
    {124, "moh"}, {126, "bre"}, {128, "uig"}, {129, "mri"}, {129, "mao"}, {130, "oci"}, {131, "cos"}, {132, "gsw"},
    {133, "sah"}, {134, "gut"}, {135, "kin"}, {136, "wol"}, {140, "gbz"}, {141, "plt"},};

} // namespace

uint32_t PackLanguageCode(const uint8_t code[3])
{
    uint32_t packed = 0;
    for (int i = 0; i < 3; ++i) {
        uint8_t c = code[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<uint8_t>(c - 'A' + 'a');
        packed = packed << 8 | c;
    }
    return packed;
}

uint16_t LanguageIdFromCode(uint32_t packedCode)
{
    for (const LanguageRow& row : kLanguages) {
        const uint8_t* c = reinterpret_cast<const uint8_t*>(row.code);
        const uint32_t packed = row.code[0] ? PackLanguageCode(c) : 0;
        if (packed == packedCode)
            return row.languageId;
    }
    return 0;
}

size_t LanguageTableSize() { return sizeof kLanguages / sizeof kLanguages[0]; }

} // namespace libDVB
