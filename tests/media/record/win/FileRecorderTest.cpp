// The recorder's Windows layer: the buffered file sink writes exactly what the recorder produced,
// a file that cannot be created makes no recorder, and the free space is asked of the volume.
#include <gtest/gtest.h>

#include <string>

#include "media/record/RecorderTestSupport.h"
#include "media/record/win/CFileSink.h"
#include "media/record/win/CVolumeFreeSpace.h"
#include "media/record/win/RecorderFactory.h"
#include "support/TestMedia.h"

using namespace test;

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void Feed(record::CMPEG2Recorder* recorder, const std::vector<uint8_t>& ts)
{
    recorder->SetPids(256, 257);
    for (size_t offset = 0; offset + 188 <= ts.size(); offset += 188)
        recorder->OnPacket(ts.data() + offset, 188);
}

TEST(FileRecorderTest, FileHoldsExactlyWhatTheRecorderWrote)
{
    const auto ts = ReadFileBytes(MediaPath("services.ts"));
    std::vector<uint8_t> expected;
    uint64_t free = uint64_t(1) << 40;
    bool fails = false;
    CDeletingCallback memoryCallback;
    auto* memory = new record::CMPEG2Recorder(new CMemorySink(expected), 80, new CScriptedFreeSpace(free, fails),
                                              &memoryCallback);
    Feed(memory, ts);
    delete memory;
    ASSERT_GT(expected.size(), 3u * record::CFileSink::kBufferSize);

    const std::string path = MediaPath("rec_win.mpg");
    CDeletingCallback callback;
    HRESULT hr = E_FAIL;
    auto* recorder = record::CreateFileRecorder(Wide(path), 100, Wide(MediaPath("")), &callback, &hr);
    ASSERT_EQ(S_OK, hr);
    ASSERT_NE(nullptr, recorder);
    EXPECT_EQ(0u, recorder->Reserve());
    Feed(recorder, ts);
    delete recorder;
    EXPECT_EQ(0, callback.calls);
    EXPECT_EQ(expected, ReadFileBytes(path));
}

TEST(FileRecorderTest, FileThatCannotBeCreatedMakesNoRecorder)
{
    CDeletingCallback callback;
    HRESULT hr = S_OK;
    EXPECT_EQ(nullptr, record::CreateFileRecorder(L"C:\\no such folder\\at all\\rec.mpg", 80, L"C:\\", &callback, &hr));
    EXPECT_TRUE(FAILED(hr));
    HRESULT sinkResult = S_OK;
    record::CFileSink sink(L"C:\\no such folder\\rec.mpg", &sinkResult);
    EXPECT_EQ(E_FAIL, sinkResult);
    const uint8_t byte = 0;
    EXPECT_EQ(E_FAIL, sink.Write(&byte, 1));
}

TEST(FileRecorderTest, FreeSpaceIsAskedOfTheVolumeRoot)
{
    record::CVolumeFreeSpace drive(L"C:\\users\\Public");
    EXPECT_EQ(L"C:\\", drive.Root());
    uint64_t bytes = 0;
    EXPECT_TRUE(drive.FreeBytes(&bytes));
    EXPECT_GT(bytes, 0u);
    // The media folder lives on the Unix side of the Z: drive.
    record::CVolumeFreeSpace media(Wide(MediaPath("")));
    EXPECT_EQ(L'\\', media.Root().back());
    EXPECT_EQ(0, Wide(MediaPath("")).compare(0, media.Root().size(), media.Root()));
    EXPECT_TRUE(media.FreeBytes(&bytes));
    // A drive that does not exist cannot be asked.
    record::CVolumeFreeSpace missing(L"Q:\\nowhere");
    EXPECT_FALSE(missing.FreeBytes(&bytes));
    EXPECT_EQ(0u, bytes);
}

} // namespace
