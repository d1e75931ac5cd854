#include <gtest/gtest.h>

#include <vector>

#include "dvb/libDVB/service/CServiceStreams.h"

using namespace libDVB;

namespace {

// A stream table whose updates are recorded as a service would report them.
class RecordingStreams : public CServiceStreams {
public:
    void BeginUpdate() override
    {
        if (++m_depth == 1)
            m_pending = 0;
    }
    void EndUpdate(uint32_t mask) override
    {
        m_pending |= mask;
        if (--m_depth == 0 && m_pending)
            reports.push_back(m_pending);
    }
    void OnTeletextSelected(uint16_t page, uint16_t languageId) override
    {
        teletextPage = page;
        teletextLanguage = languageId;
    }
    void OnSubtitlesOff() override { ++subtitlesOff; }

    std::vector<uint32_t> reports;
    uint16_t teletextPage = 0, teletextLanguage = 0;
    int subtitlesOff = 0;

private:
    int m_depth = 0;
    uint32_t m_pending = 0;
};

CAudioStream* Audio(uint16_t pid, const char* lang)
{
    auto* a = new CAudioStream(pid);
    for (int i = 0; i < 3; ++i)
        a->language[i] = static_cast<uint8_t>(lang[i]);
    return a;
}

} // namespace

TEST(ServiceStreams, FirstStreamsWinAndVideoCarriesThePcr)
{
    RecordingStreams s;
    s.AddStream(new CStream(CStream::kVideo, 0x100), false);
    s.AddStream(Audio(0x101, "eng"), false);
    s.AddStream(Audio(0x102, "deu"), false);
    s.AddStream(new CSubtitleStream(0x103), false);
    ASSERT_NE(s.GetVideoStream(), nullptr);
    EXPECT_EQ(s.GetVideoStream()->pid, 0x100);
    EXPECT_EQ(s.GetPCRStream()->pid, 0x100);
    EXPECT_EQ(s.GetAudioStream()->pid, 0x101);
    EXPECT_EQ(s.GetSubtitleStream(), nullptr); // subtitles stay off
    EXPECT_EQ(s.reports, (std::vector<uint32_t>{4, 4, 4, 4}));
}

TEST(ServiceStreams, PreferredPidsNameTheStreamsToChoose)
{
    RecordingStreams s;
    const uint16_t preferred[] = {0, 0, 0x102, 0x103, 0};
    s.SetPreferredPids(preferred);
    s.AddStream(Audio(0x101, "eng"), false);
    s.AddStream(Audio(0x102, "deu"), false);
    s.AddStream(new CSubtitleStream(0x103), false);
    s.AddStream(new CStream(CStream::kVideo, 0x100), false);
    s.AddStream(new CStream(CStream::kAudio, 0x1FF), true); // explicit PCR PID
    EXPECT_EQ(s.GetAudioStream()->pid, 0x102);
    EXPECT_EQ(s.GetSubtitleStream()->pid, 0x103);
    EXPECT_EQ(s.GetPCRStream()->pid, 0x1FF);
}

TEST(ServiceStreams, SelectingReportsOnlyRealChanges)
{
    RecordingStreams s;
    s.AddStream(Audio(0x101, "eng"), false);
    s.AddStream(Audio(0x102, "deu"), false);
    s.reports.clear();

    CAudioStream copy(0x101);
    EXPECT_EQ(s.SelectAudioStream(copy), S_FALSE);
    EXPECT_TRUE(s.reports.empty());
    CAudioStream unknown(0x1AB);
    EXPECT_EQ(s.SelectAudioStream(unknown), E_FAIL);
    EXPECT_EQ(s.GetAudioStream()->pid, 0x101);
    EXPECT_TRUE(s.reports.empty());

    std::vector<CAudioStream> list;
    s.GetAudioStreams(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(s.SelectAudioStream(list[1]), S_OK);
    EXPECT_EQ(s.GetAudioStream()->pid, 0x102);
    EXPECT_EQ(s.reports, std::vector<uint32_t>{4});
    uint16_t pids[5];
    s.GetPreferredPids(pids);
    EXPECT_EQ(pids[CServiceStreams::kAudioPid], 0x102);
    uint32_t flags[4];
    s.TakeChangeFlags(flags);
    EXPECT_EQ(flags[CServiceStreams::kAudioChanged], 1u);
    EXPECT_EQ(flags[CServiceStreams::kVideoChanged], 0u);
    s.TakeChangeFlags(flags);
    EXPECT_EQ(flags[CServiceStreams::kAudioChanged], 0u);
}

TEST(ServiceStreams, NoSubtitlesIsAChoiceToo)
{
    RecordingStreams s;
    s.AddStream(new CSubtitleStream(0x103), false);
    EXPECT_EQ(s.SelectSubtitleStream(CSubtitleStream(0x103)), S_OK);
    ASSERT_NE(s.GetSubtitleStream(), nullptr);
    s.reports.clear();
    EXPECT_EQ(s.SelectSubtitleStream(CSubtitleStream(0)), S_OK);
    EXPECT_EQ(s.GetSubtitleStream(), nullptr);
    EXPECT_EQ(s.subtitlesOff, 1);
    EXPECT_EQ(s.reports, std::vector<uint32_t>{4});
    uint16_t pids[5];
    s.GetPreferredPids(pids);
    EXPECT_EQ(pids[CServiceStreams::kSubtitlePid], 0);
    uint32_t flags[4];
    s.TakeChangeFlags(flags);
    EXPECT_EQ(flags[CServiceStreams::kSubtitleChanged], 1u); // from the first choice only
}

TEST(ServiceStreams, TeletextChoiceTellsTheDecoderItsPageAndLanguage)
{
    RecordingStreams s;
    auto* first = new CTeletextStream(0x200);
    auto* second = new CTeletextStream(0x201);
    second->entries[CTeletextStream::kInitialPage].page = 888;
    second->entries[CTeletextStream::kInitialPage].language[0] = 'S';
    second->entries[CTeletextStream::kInitialPage].language[1] = 'L';
    second->entries[CTeletextStream::kInitialPage].language[2] = 'K';
    s.AddStream(first, false);
    s.AddStream(second, false);
    EXPECT_EQ(s.GetTeletextStream()->pid, 0x200);
    EXPECT_EQ(s.GetTeletextStream()->InitialPage(), 100);
    EXPECT_EQ(s.SelectTeletextStream(CStream(CStream::kTeletext, 0x201)), S_OK);
    EXPECT_EQ(s.teletextPage, 888);
    EXPECT_EQ(s.teletextLanguage, 27);
}

TEST(ServiceStreams, ClearingDropsEveryStreamAndChoice)
{
    RecordingStreams s;
    s.AddStream(new CStream(CStream::kVideo, 0x100), false);
    s.AddStream(Audio(0x101, "eng"), true);
    s.ClearStreams();
    EXPECT_EQ(s.GetStreamCount(), 0u);
    EXPECT_EQ(s.GetVideoStream(), nullptr);
    EXPECT_EQ(s.GetAudioStream(), nullptr);
    EXPECT_EQ(s.GetPCRStream(), nullptr);
    EXPECT_EQ(s.FindStream(0x100, CStream::kVideo), nullptr);
}
