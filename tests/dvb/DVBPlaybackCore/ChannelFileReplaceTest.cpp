// Saving the channel file on Windows: only a changed list is written, by replacing the file, and
// a file another program wrote since it was read is taken up instead of overwritten.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/File.h"
#include "dvb/DVBPlaybackCore/CServices.h"
#include "support/TestMedia.h"

using DVBPlaybackCore::CServices;

namespace {

TEST(ChannelFileReplace, WritesChangesOnlyAndTakesUpANewerFile)
{
    wchar_t temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
    const std::wstring folder = std::wstring(temp) + L"tolvik-channels-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::u16string folder16(folder.begin(), folder.end());
    const std::u16string path = folder16 + u"\\channels.dat";
    const std::vector<uint8_t> original = test::ReadFileBytes(test::MediaPath("channels_vt/channels.dat"));
    ASSERT_TRUE(base::WriteFileReplacing(path, original));
    {
        CServices list(nullptr, folder16);
        EXPECT_EQ(S_FALSE, list.SaveChannels());
        DVBPlaybackCore::CQORService* one = list.FindService(CServices::KeyOf(1110, 257));
        ASSERT_NE(nullptr, one);
        list.SetFavourite(one, 0);
        EXPECT_EQ(S_OK, list.SaveChannels());
        std::vector<uint8_t> saved;
        ASSERT_TRUE(base::ReadWholeFile(path, saved));
        EXPECT_EQ(list.SerialiseChannels(), saved);
        EXPECT_NE(original, saved);

        // The other program's file: the favourite it does not have is gone, nothing is written.
        // Same size as the save above: the write time alone tells them apart, so rewrite until the
        // clock has moved on (at once where it counts finer than a write takes).
        const base::CFileStamp ours = base::GetFileStamp(path);
        for (int i = 0; i < 1000 && base::GetFileStamp(path) == ours; ++i) {
            ASSERT_TRUE(base::WriteFileReplacing(path, original));
            if (base::GetFileStamp(path) == ours)
                Sleep(1);
        }
        ASSERT_NE(ours, base::GetFileStamp(path));
        EXPECT_EQ(S_FALSE, list.SaveChannels());
        EXPECT_EQ(-1, one->GetFavouriteNumber());
        EXPECT_EQ(original, list.SerialiseChannels());
        std::vector<uint8_t> kept;
        ASSERT_TRUE(base::ReadWholeFile(path, kept));
        EXPECT_EQ(original, kept);
    }
    EXPECT_TRUE(base::DeleteFileAt(path));
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str()));
}

} // namespace
