#include "media/playback/PlaybackSettings.h"

#include <cstdint>
#include <initializer_list>

CSourceSettings SourceSettings;
CMediaTypeGroups MediaTypeGroups;
CFilterItem VideoRendererFilter;
CFilterItem AudioRendererFilter;
CFilterItem TextRendererFilter;
CFilterItemList AudioFilterChain;
CFilterItemList VideoFilterChain;

const GUID CLSID_HarvoAudioDecoderInternal = {0xB61A5F38, 0x7A19, 0x4b34, {0xA6, 0xA0, 0x19, 0x49, 0x91, 0xDE, 0x67, 0x09}};
const GUID CLSID_HarvoMpeg2DecoderInternal = {0x049BDE11, 0x1E69, 0x4953, {0xB2, 0x0E, 0xBD, 0x28, 0xA5, 0xDD, 0x7F, 0x0D}};

namespace {

constexpr GUID kMediaTypeVideo = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID kMediaTypeAudio = {0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID kMediaTypeMpeg2Pes = {0xE06D8020, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr GUID kMediaTypeLine21 = {0x670AEA80, 0x3A82, 0x11D0, {0xB7, 0x9B, 0x00, 0xAA, 0x00, 0x37, 0x67, 0xA7}};
constexpr GUID kSubtypeMpeg2Video = {0xE06D8026, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr GUID kSubtypeMpeg2Audio = {0xE06D802B, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr GUID kSubtypeDolbyAc3 = {0xE06D802C, 0xDB46, 0x11CF, {0xB4, 0xD1, 0x00, 0x80, 0x5F, 0x6C, 0xBB, 0xEA}};
constexpr GUID kSubtypeMpeg1Packet = {0xE436EB80, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr GUID kSubtypeMpeg1Payload = {0xE436EB81, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr GUID kSubtypeLine21BytePair = {0x6E8D4A22, 0x310C, 0x11D0, {0xB7, 0x9A, 0x00, 0xAA, 0x00, 0x37, 0x67, 0xA7}};
constexpr GUID kSubtypeLine21GopPacket = {0x6E8D4A23, 0x310C, 0x11D0, {0xB7, 0x9A, 0x00, 0xAA, 0x00, 0x37, 0x67, 0xA7}};
constexpr GUID kSubtypeVorbis1 = {0xCDDCA2D5, 0x6D75, 0x4F98, {0x84, 0x0E, 0x73, 0x7B, 0xED, 0xD5, 0xC6, 0x3B}};
constexpr GUID kSubtypeVorbis2 = {0x8D2FD10B, 0x5841, 0x4A6B, {0x89, 0x05, 0x58, 0x8F, 0xEC, 0x1A, 0xDE, 0xD9}};

// The subtype of a four-character code: its bytes as a little-endian first group.
GUID FourCC(const char (&code)[5])
{
    GUID guid = kMediaTypeVideo;
    guid.Data1 = static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
                 static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
                 static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
                 static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
    return guid;
}

// The subtype of a wave format tag: the tag widened to the first group.
GUID WaveFormat(uint16_t tag)
{
    GUID guid = kMediaTypeVideo;
    guid.Data1 = tag;
    return guid;
}

const wchar_t kAuto[] = L"Auto|{00000000-0000-0000-0000-000000000000}";
const wchar_t kHarvoAudio[] = L"Harvo Audio Decoder Internal|{B61A5F38-7A19-4b34-A6A0-194991DE6709}";
const wchar_t kHarvoMpeg2[] = L"Harvo MPEG-2 Decoder Internal|{049BDE11-1E69-4953-B20E-BD28A5DD7F0D}";
const wchar_t kFfdshow[] = L"ffdshow MPEG-4 Video Decoder|{04FE9017-F873-410E-871E-AB91661A4EF7}";

CSimpleGroup Simple(const GUID& majorType, std::initializer_list<GUID> subtypes)
{
    CSimpleGroup group(majorType);
    for (const GUID& subtype : subtypes)
        group.m_subtypes.Add(subtype);
    return group;
}

void AddGroup(const wchar_t* name, const wchar_t* decoder, std::initializer_list<CSimpleGroup> simpleGroups)
{
    CMediaTypeGroup group(name, decoder);
    for (const CSimpleGroup& simple : simpleGroups)
        group.m_simpleGroups.Add(simple);
    MediaTypeGroups.Add(group);
}

CString Lower(CString text)
{
    text.MakeLower();
    return text;
}

} // namespace

void BuildPlaybackSettings()
{
    SourceSettings.RemoveAll();
    AudioFilterChain.RemoveAll();
    VideoFilterChain.RemoveAll();
    MediaTypeGroups.RemoveAll();

    SourceSettings.Add(CSourceFileType(L"AVI Files", L".avi",
                                       L"File Source (Async.)|{E436EBB5-524F-11CE-9F53-0020AF0BA770}",
                                       L"AVI Splitter|{1B544C20-FD0B-11CE-8C63-00AA0044B51E}", true));

    VideoRendererFilter = L"Video Mixing Renderer 7|{B87BEB7B-8D29-423F-AE4D-6582C10175AC}";
    AudioRendererFilter = L"Default DirectSound Device|{79376820-07D0-11CF-A24D-0020AFD79767}";
    TextRendererFilter = L"RadLight Subtitle Dumper|{86C11AB9-012D-4036-93AC-BC5B1B1E5B9A}";

    AddGroup(L"AAC Audio", L"CoreAAC Audio Decoder|{6AC7C19E-8CA0-4E3D-9A9F-2881DE29E0AC}",
             {Simple(kMediaTypeAudio, {WaveFormat(0x00FF)})});
    AddGroup(L"Dolby AC3 Audio", kHarvoAudio,
             {Simple(kMediaTypeAudio, {WaveFormat(0x2000), kSubtypeDolbyAc3}),
              Simple(kMediaTypeMpeg2Pes, {kSubtypeDolbyAc3})});
    AddGroup(L"MPEG Layer III Audio", L"MPEG Layer-3 Decoder|{38BE3000-DBF4-11D0-860E-00A024CFEF6D}",
             {Simple(kMediaTypeAudio, {WaveFormat(0x0055), WaveFormat(0x0050)})});
    AddGroup(L"Vorbis Audio", L"RadLight Vorbis Decoder|{21336D1A-35E8-4169-A2EF-5D0AC2A37A97}",
             {Simple(kMediaTypeAudio, {kSubtypeVorbis1, kSubtypeVorbis2})});
    AddGroup(L"DivX 3 Video", kFfdshow, {Simple(kMediaTypeVideo, {FourCC("div3"), FourCC("DIV3")})});
    AddGroup(L"DivX 4 Video", kFfdshow, {Simple(kMediaTypeVideo, {FourCC("div4"), FourCC("DIV4")})});
    AddGroup(L"DivX 5 Video", kFfdshow,
             {Simple(kMediaTypeVideo, {FourCC("div5"), FourCC("DIV5"), FourCC("div6"), FourCC("DIV6"), FourCC("divx"),
                                       FourCC("DIVX"), FourCC("dx50"), FourCC("DX50"), FourCC("dvx1"), FourCC("DVX1")})});
    AddGroup(L"XviD Video", kFfdshow, {Simple(kMediaTypeVideo, {FourCC("xvid"), FourCC("XVID")})});
    AddGroup(L"MPEG 1 Video", kAuto, {Simple(kMediaTypeVideo, {kSubtypeMpeg1Payload, kSubtypeMpeg1Packet})});
    AddGroup(L"MPEG 2 Video", kHarvoMpeg2,
             {Simple(kMediaTypeVideo, {kSubtypeMpeg2Video}), Simple(kMediaTypeMpeg2Pes, {kSubtypeMpeg2Video})});
    AddGroup(L"Real Video", kAuto, {Simple(kMediaTypeVideo, {FourCC("RV40")})});
    AddGroup(L"Show Video", kAuto, {Simple(kMediaTypeVideo, {FourCC("snow"), FourCC("SNOW")})});
    AddGroup(L"AVC H.264 Video", kAuto, {Simple(kMediaTypeVideo, {FourCC("h264"), FourCC("H264")})});
    AddGroup(L"VP6 Video", kAuto, {Simple(kMediaTypeVideo, {FourCC("VP62")})});
    AddGroup(L"MPEG Audio", kHarvoAudio, {Simple(kMediaTypeAudio, {kSubtypeMpeg1Payload, kSubtypeMpeg2Audio})});
    AddGroup(L"Dummy", L"|", {Simple(kMediaTypeLine21, {kSubtypeLine21BytePair, kSubtypeLine21GopPacket})});
}

CString GetFileExtension(const CString& path)
{
    const int dot = path.ReverseFind(L'.');
    return dot < 0 ? CString() : path.Mid(dot);
}

bool FindSourceFileType(const CString& path, CSourceFileType& out)
{
    const CString extension = Lower(GetFileExtension(path));
    if (extension.IsEmpty())
        return false;
    for (ptrdiff_t i = 0; i < SourceSettings.GetSize(); ++i) {
        if (Lower(SourceSettings[i].m_extensions).Find(extension.GetString()) >= 0) {
            out = SourceSettings[i];
            return true;
        }
    }
    return false;
}

bool FindDecoderReference(const GUID& majorType, const GUID& subtype, CFilterItem& out)
{
    for (ptrdiff_t g = 0; g < MediaTypeGroups.GetSize(); ++g) {
        const CMediaTypeGroup& group = MediaTypeGroups[g];
        for (ptrdiff_t s = 0; s < group.m_simpleGroups.GetSize(); ++s) {
            const CSimpleGroup& simple = group.m_simpleGroups[s];
            if (!(simple.m_majorType == majorType))
                continue;
            for (ptrdiff_t t = 0; t < simple.m_subtypes.GetSize(); ++t) {
                if (simple.m_subtypes[t] == subtype) {
                    out = group.m_decoder;
                    return true;
                }
            }
        }
    }
    return false;
}
