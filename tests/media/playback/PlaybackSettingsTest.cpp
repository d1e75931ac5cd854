#include "media/playback/GuidText.h"
#include "media/playback/PlaybackSettings.h"

#include <gtest/gtest.h>

namespace {

constexpr GUID kNull{};
const GUID kAudio = StringToGuid(L"{73647561-0000-0010-8000-00AA00389B71}");
const GUID kVideo = StringToGuid(L"{73646976-0000-0010-8000-00AA00389B71}");
const GUID kPes = StringToGuid(L"{E06D8020-DB46-11CF-B4D1-00805F6CBBEA}");
const GUID kLine21 = StringToGuid(L"{670AEA80-3A82-11D0-B79B-00AA003767A7}");
const GUID kAc3 = StringToGuid(L"{E06D802C-DB46-11CF-B4D1-00805F6CBBEA}");
const GUID kMpeg2Video = StringToGuid(L"{E06D8026-DB46-11CF-B4D1-00805F6CBBEA}");
const GUID kMpeg1Payload = StringToGuid(L"{E436EB81-524F-11CE-9F53-0020AF0BA770}");
const GUID kH264 = StringToGuid(L"{34363248-0000-0010-8000-00AA00389B71}");
const GUID kDivx = StringToGuid(L"{58564944-0000-0010-8000-00AA00389B71}");
const GUID kWave0050 = StringToGuid(L"{00000050-0000-0010-8000-00AA00389B71}");
const GUID kWave2000 = StringToGuid(L"{00002000-0000-0010-8000-00AA00389B71}");
const GUID kBytePair = StringToGuid(L"{6E8D4A22-310C-11D0-B79A-00AA003767A7}");

const wchar_t kOwnAudio[] = L"Harvo Audio Decoder Internal|{B61A5F38-7A19-4B34-A6A0-194991DE6709}";
const wchar_t kOwnVideo[] = L"Harvo MPEG-2 Decoder Internal|{049BDE11-1E69-4953-B20E-BD28A5DD7F0D}";
const wchar_t kAuto[] = L"Auto|{00000000-0000-0000-0000-000000000000}";

class PlaybackSettings : public ::testing::Test {
protected:
    void SetUp() override { BuildPlaybackSettings(); }

    static std::wstring Decoder(const GUID& major, const GUID& subtype)
    {
        CFilterItem item(L"untouched|");
        if (!FindDecoderReference(major, subtype, item))
            return L"none";
        return item.ToString().GetString();
    }
    static std::wstring FileType(const wchar_t* path)
    {
        CSourceFileType type;
        type.m_name = L"untouched";
        const bool found = FindSourceFileType(path, type);
        return std::wstring(found ? L"" : L"none:") + type.m_name.GetString();
    }
};

TEST(GuidText, UpperCaseRegistryFormAndStrictReading)
{
    const GUID id = {0x049BDE11, 0x1E69, 0x4953, {0xB2, 0x0E, 0xBD, 0x28, 0xA5, 0xDD, 0x7F, 0x0D}};
    EXPECT_EQ(std::wstring(GuidToString(id).GetString()), L"{049BDE11-1E69-4953-B20E-BD28A5DD7F0D}");
    EXPECT_EQ(StringToGuid(L"{049bde11-1e69-4953-b20e-bd28a5dd7f0d}"), id);
    EXPECT_EQ(std::wstring(GuidToString(kNull).GetString()), L"{00000000-0000-0000-0000-000000000000}");
    // Anything not exactly of the registry form is the null class id.
    for (const wchar_t* bad : {L"", L"{049BDE11-1E69-4953-B20E-BD28A5DD7F0D", L"049BDE11-1E69-4953-B20E-BD28A5DD7F0D}}",
                               L"{049BDE11-1E69-4953-B20E-BD28A5DD7F0DA}", L"{049BDE11+1E69-4953-B20E-BD28A5DD7F0D}",
                               L"{049BDE1G-1E69-4953-B20E-BD28A5DD7F0D}", L"{ 49BDE11-1E69-4953-B20E-BD28A5DD7F0D}"})
        EXPECT_EQ(StringToGuid(bad), kNull) << std::wstring(bad).size();
}

TEST(FilterItem, ReferenceTextsReadAndWrite)
{
    CFilterItem automatic(kAuto);
    EXPECT_EQ(std::wstring(automatic.m_name.GetString()), L"Auto");
    EXPECT_EQ(automatic.m_classId, kNull);
    EXPECT_TRUE(automatic.IsEqualText(kAuto));
    EXPECT_FALSE(automatic.IsEqualText(L"auto|{00000000-0000-0000-0000-000000000000}"));

    // The empty reference writes the bar with the null class id, never the bare bar.
    CFilterItem empty(L"|");
    EXPECT_TRUE(empty.m_name.IsEmpty());
    EXPECT_EQ(std::wstring(empty.ToString().GetString()), L"|{00000000-0000-0000-0000-000000000000}");
    EXPECT_TRUE(CFilterItem().IsEqualText(L"|{00000000-0000-0000-0000-000000000000}"));

    // Lower-case digits read; writing gives the upper-case form.
    CFilterItem own(L"Harvo Audio Decoder Internal|{B61A5F38-7A19-4b34-A6A0-194991DE6709}");
    EXPECT_EQ(own.m_classId, CLSID_HarvoAudioDecoderInternal);
    EXPECT_EQ(std::wstring(own.ToString().GetString()), kOwnAudio);

    // Without a bar the whole text is the class id; only the first bar divides.
    CFilterItem bare(L"{B61A5F38-7A19-4B34-A6A0-194991DE6709}");
    EXPECT_TRUE(bare.m_name.IsEmpty());
    EXPECT_EQ(bare.m_classId, CLSID_HarvoAudioDecoderInternal);
    CFilterItem twoBars(L"a|b|{B61A5F38-7A19-4B34-A6A0-194991DE6709}");
    EXPECT_EQ(std::wstring(twoBars.m_name.GetString()), L"a");
    EXPECT_EQ(twoBars.m_classId, kNull);
}

TEST_F(PlaybackSettings, TableContentAndRebuildGivesTheSame)
{
    ASSERT_EQ(SourceSettings.GetSize(), 1);
    EXPECT_TRUE(SourceSettings[0].m_useSplitter);
    EXPECT_TRUE(SourceSettings[0].m_sourceFilter.IsEqualText(L"File Source (Async.)|{E436EBB5-524F-11CE-9F53-0020AF0BA770}"));
    EXPECT_TRUE(SourceSettings[0].m_splitterFilter.IsEqualText(L"AVI Splitter|{1B544C20-FD0B-11CE-8C63-00AA0044B51E}"));
    EXPECT_TRUE(VideoRendererFilter.IsEqualText(L"Video Mixing Renderer 7|{B87BEB7B-8D29-423F-AE4D-6582C10175AC}"));
    EXPECT_TRUE(AudioRendererFilter.IsEqualText(L"Default DirectSound Device|{79376820-07D0-11CF-A24D-0020AFD79767}"));
    EXPECT_TRUE(TextRendererFilter.IsEqualText(L"RadLight Subtitle Dumper|{86C11AB9-012D-4036-93AC-BC5B1B1E5B9A}"));
    EXPECT_TRUE(AudioFilterChain.IsEmpty());
    ASSERT_EQ(MediaTypeGroups.GetSize(), 16);
    EXPECT_EQ(std::wstring(MediaTypeGroups[9].m_name.GetString()), L"MPEG 2 Video");
    EXPECT_EQ(MediaTypeGroups[9].m_decoder.m_classId, CLSID_HarvoMpeg2DecoderInternal);
    ASSERT_EQ(MediaTypeGroups[6].m_simpleGroups[0].m_subtypes.GetSize(), 10);

    VideoFilterChain.Add(CFilterItem(kAuto));
    BuildPlaybackSettings();
    EXPECT_EQ(SourceSettings.GetSize(), 1);
    EXPECT_EQ(MediaTypeGroups.GetSize(), 16);
    EXPECT_TRUE(VideoFilterChain.IsEmpty());

    // Copies of a group are deep: changing the copy leaves the table as it was.
    CMediaTypeGroup copy = MediaTypeGroups[1];
    copy.m_simpleGroups[0].m_subtypes.RemoveAll();
    EXPECT_EQ(MediaTypeGroups[1].m_simpleGroups[0].m_subtypes.GetSize(), 2);
    EXPECT_EQ(copy.m_simpleGroups.GetSize(), 2);
}

TEST_F(PlaybackSettings, FileTypeByExtensionInLowerCaseAsSubstring)
{
    EXPECT_EQ(FileType(L"C:\\media\\clip.AVI"), L"AVI Files");
    EXPECT_EQ(FileType(L"clip.avi"), L"AVI Files");
    EXPECT_EQ(FileType(L"clip.av"), L"AVI Files");
    EXPECT_EQ(FileType(L"clip.a"), L"AVI Files");
    EXPECT_EQ(FileType(L"clip.mpg"), L"none:untouched");
    EXPECT_EQ(FileType(L"C:\\media\\clip"), L"none:untouched");
    EXPECT_EQ(FileType(L"C:\\my.dir\\clip"), L"none:untouched");
    EXPECT_EQ(std::wstring(GetFileExtension(L"C:\\my.dir\\clip").GetString()), L".dir\\clip");
    EXPECT_TRUE(GetFileExtension(L"clip").IsEmpty());
}

TEST_F(PlaybackSettings, DecoderByMajorTypeAndSubtypeFirstMatchWins)
{
    EXPECT_EQ(Decoder(kAudio, kWave0050), L"MPEG Layer-3 Decoder|{38BE3000-DBF4-11D0-860E-00A024CFEF6D}");
    EXPECT_EQ(Decoder(kAudio, kMpeg1Payload), kOwnAudio);
    EXPECT_EQ(Decoder(kAudio, kWave2000), kOwnAudio);
    EXPECT_EQ(Decoder(kAudio, kAc3), kOwnAudio);
    EXPECT_EQ(Decoder(kPes, kAc3), kOwnAudio);
    EXPECT_EQ(Decoder(kPes, kMpeg2Video), kOwnVideo);
    EXPECT_EQ(Decoder(kVideo, kMpeg2Video), kOwnVideo);
    EXPECT_EQ(Decoder(kVideo, kDivx), L"ffdshow MPEG-4 Video Decoder|{04FE9017-F873-410E-871E-AB91661A4EF7}");
    EXPECT_EQ(Decoder(kVideo, kH264), kAuto);
    EXPECT_EQ(Decoder(kVideo, kMpeg1Payload), kAuto);
    EXPECT_EQ(Decoder(kLine21, kBytePair), L"|{00000000-0000-0000-0000-000000000000}");
    // A subtype under another major type, and an unknown type, find nothing and leave out alone.
    EXPECT_EQ(Decoder(kAudio, kMpeg2Video), L"none");
    EXPECT_EQ(Decoder(kNull, kNull), L"none");
    EXPECT_EQ(Decoder(kVideo, StringToGuid(L"{34363268-0000-0010-8000-00AA00389B70}")), L"none");
}

} // namespace
