// The decoder's input-format check on format blocks built around sequence headers of ffmpeg's
// streams, and the time list that puts presentation times back into display order.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "media/filters/mpeg2video/CTimeList.h"
#include "media/filters/mpeg2video/InputFormat.h"
#include "support/TestMedia.h"

namespace {

using mpeg2videofilter::InputFormat;
using mpeg2videofilter::ParseInputFormat;

// The stream's first sequence header with its extensions: up to the first GOP or picture start code.
std::vector<uint8_t> SequenceHeaderOf(const char* name)
{
    const auto es = test::ReadFileBytes(test::MediaPath(std::string("mpeg2video/") + name + ".m2v"));
    for (size_t i = 4; i + 4 <= es.size(); ++i)
        if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1 && (es[i + 3] == 0xB8 || es[i + 3] == 0x00))
            return std::vector<uint8_t>(es.begin(), es.begin() + i);
    return {};
}

std::vector<uint8_t> Block(const std::vector<uint8_t>& header, uint32_t profile, uint32_t claimed)
{
    std::vector<uint8_t> block(132 + header.size(), 0);
    std::memcpy(&block[116], &claimed, 4);
    std::memcpy(&block[120], &profile, 4);
    if (!header.empty())
        std::memcpy(&block[132], header.data(), header.size());
    return block;
}

TEST(InputFormat, TakesMainProfileHeadersAndRefusesTheRest)
{
    const auto header = SequenceHeaderOf("options");
    ASSERT_GT(header.size(), 12u);
    InputFormat f;
    auto block = Block(header, 0, uint32_t(header.size()));
    ASSERT_EQ(0, ParseInputFormat(block.data(), block.size(), &f));
    EXPECT_EQ(352u, f.width);
    EXPECT_EQ(288u, f.height);
    EXPECT_DOUBLE_EQ(25.0, f.frameRate);
    EXPECT_NE(0u, f.aspectRatioInformation);
    EXPECT_EQ(header.size(), f.sequenceHeaderBytes);
    EXPECT_EQ(block.data() + 132, f.sequenceHeader);

    // dwProfile 3 or above is refused whatever the header says.
    block = Block(header, 3, uint32_t(header.size()));
    EXPECT_EQ(-1, ParseInputFormat(block.data(), block.size(), &f));
    // A cbSequenceHeader that runs past the block.
    block = Block(header, 0, uint32_t(header.size()) + 1);
    EXPECT_EQ(-1, ParseInputFormat(block.data(), block.size(), &f));
    block = Block(header, 0, 0xFFFFFFFFu);
    EXPECT_EQ(-1, ParseInputFormat(block.data(), block.size(), &f));
    // A 4:2:2 profile stream.
    const auto highProfile = SequenceHeaderOf("chroma422");
    block = Block(highProfile, 0, uint32_t(highProfile.size()));
    EXPECT_EQ(-1, ParseInputFormat(block.data(), block.size(), &f));
    // Shorter than the fixed part.
    EXPECT_EQ(-1, ParseInputFormat(block.data(), 131, &f));
    // Garbage instead of a header.
    std::vector<uint8_t> junk(40, 0x5A);
    block = Block(junk, 0, 40);
    EXPECT_EQ(-1, ParseInputFormat(block.data(), block.size(), &f));
}

TEST(InputFormat, WithoutSequenceHeaderTakesStandardDefinitionDefaults)
{
    const auto block = Block({}, 0, 0);
    InputFormat f;
    f.width = 1;
    ASSERT_EQ(0, ParseInputFormat(block.data(), block.size(), &f));
    EXPECT_EQ(720u, f.width);
    EXPECT_EQ(576u, f.height);
    EXPECT_DOUBLE_EQ(25.0, f.frameRate);
    EXPECT_DOUBLE_EQ(1000000.0, f.bitRate);
    EXPECT_EQ(0u, f.sequenceHeaderBytes);
}

TEST(TimeList, KeepsTimesAscendingEqualOnesFirstAndStaysBounded)
{
    mpeg2videofilter::CTimeList list;
    for (int64_t t : {1200, 0, 400, 800, 400})
        list.Insert(t);
    int64_t t = -1;
    for (int64_t want : {0, 400, 400, 800, 1200}) {
        ASSERT_TRUE(list.PopFront(&t));
        EXPECT_EQ(want, t);
    }
    EXPECT_FALSE(list.PopFront(&t));
    // Times of pictures that never leave the decoder do not pile up: the earliest go.
    for (int64_t i = 0; i < 1000; ++i)
        list.Insert(i);
    EXPECT_EQ(mpeg2videofilter::CTimeList::kMaxEntries, list.Size());
    ASSERT_TRUE(list.PopFront(&t));
    EXPECT_EQ(1000 - int64_t(mpeg2videofilter::CTimeList::kMaxEntries), t);
}

} // namespace
