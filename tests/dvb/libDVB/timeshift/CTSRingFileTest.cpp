#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "dvb/libDVB/timeshift/CTSRingFile.h"

using libDVB::CTSRingFile;

namespace {

// Storage in memory that checks every access against its length.
struct MemoryStorage : CTSRingFile::CStorage {
    explicit MemoryStorage(uint64_t length) : bytes(length, 0) {}
    bool ReadAt(uint64_t offset, uint8_t* buffer, uint32_t length) override
    {
        if (offset + length > bytes.size())
            return false;
        std::memcpy(buffer, bytes.data() + offset, length);
        return true;
    }
    bool WriteAt(uint64_t offset, const uint8_t* data, uint32_t length) override
    {
        if (offset + length > bytes.size())
            return false;
        std::memcpy(bytes.data() + offset, data, length);
        return true;
    }
    bool SetLength(uint64_t length) override
    {
        if (refuseGrowth)
            return false;
        ++growths;
        bytes.resize(length);
        return true;
    }
    std::vector<uint8_t> bytes;
    int growths = 0;
    bool refuseGrowth = false;
};

constexpr uint32_t kChunk = 1000;
constexpr uint64_t kStep = 4 * kChunk;

std::vector<uint8_t> Chunk(uint32_t number)
{
    std::vector<uint8_t> c(kChunk);
    for (uint32_t i = 0; i < kChunk; ++i)
        c[i] = static_cast<uint8_t>(number * 31 + i);
    return c;
}

uint32_t ReadChunk(CTSRingFile& ring, std::vector<uint8_t>& out)
{
    out.assign(kChunk, 0);
    return ring.Read(out.data(), kChunk);
}

} // namespace

TEST(TSRingFile, AnEmptyRingIsNotAFullOne)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, 0);
    std::vector<uint8_t> out;
    EXPECT_EQ(ReadChunk(ring, out), 0u); // nothing written: nothing to read
    for (uint32_t n = 0; n < 4; ++n)
        ASSERT_EQ(ring.Write(Chunk(n).data(), kChunk), kChunk);
    // Full: both positions are equal, and every byte is still there.
    EXPECT_EQ(ring.GetReadPosition(), ring.GetWritePosition());
    EXPECT_EQ(ring.GetUsed(), kStep);
    for (uint32_t n = 0; n < 4; ++n) {
        ASSERT_EQ(ReadChunk(ring, out), kChunk);
        EXPECT_EQ(out, Chunk(n));
    }
    // Read to the end: equal positions again, now empty.
    EXPECT_EQ(ring.GetReadPosition(), ring.GetWritePosition());
    EXPECT_EQ(ReadChunk(ring, out), 0u);
}

TEST(TSRingFile, WrapsAndGivesUpTheOldestBytesWhenItMayNotGrow)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, kStep * 2); // size + step is not below the maximum
    std::vector<uint8_t> out;
    for (uint32_t n = 0; n < 3; ++n)
        ring.Write(Chunk(n).data(), kChunk);
    ASSERT_EQ(ReadChunk(ring, out), kChunk);
    EXPECT_EQ(out, Chunk(0));
    for (uint32_t n = 3; n < 10; ++n)
        ASSERT_EQ(ring.Write(Chunk(n).data(), kChunk), kChunk);
    EXPECT_EQ(storage.growths, 0);
    EXPECT_EQ(ring.GetSize(), kStep);
    // The ring holds the newest four chunks, oldest first.
    for (uint32_t n = 6; n < 10; ++n) {
        ASSERT_EQ(ReadChunk(ring, out), kChunk);
        EXPECT_EQ(out, Chunk(n)) << n;
    }
    EXPECT_EQ(ReadChunk(ring, out), 0u);
}

TEST(TSRingFile, ReadsAcrossTheWrapInOneCall)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, 0);
    std::vector<uint8_t> out;
    for (uint32_t n = 0; n < 3; ++n)
        ring.Write(Chunk(n).data(), kChunk);
    ReadChunk(ring, out);
    ReadChunk(ring, out);
    // A write of 1.5 chunks splits at the end of the ring.
    std::vector<uint8_t> big(kChunk * 3 / 2);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(ring.Write(big.data(), static_cast<uint32_t>(big.size())), big.size());
    std::vector<uint8_t> all(kChunk * 3);
    ASSERT_EQ(ring.Read(all.data(), static_cast<uint32_t>(all.size())), kChunk + big.size());
    EXPECT_TRUE(std::equal(all.begin(), all.begin() + kChunk, Chunk(2).begin()));
    EXPECT_TRUE(std::equal(big.begin(), big.end(), all.begin() + kChunk));
}

TEST(TSRingFile, GrowsWhenTheWriterReachesTheEndAndMayGrow)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, kStep * 3 + 1); // room for two growths
    std::vector<uint8_t> out;
    for (uint32_t n = 0; n < 14; ++n)
        ASSERT_EQ(ring.Write(Chunk(n).data(), kChunk), kChunk);
    EXPECT_EQ(storage.growths, 2);
    EXPECT_EQ(ring.GetSize(), kStep * 3);
    EXPECT_EQ(storage.bytes.size(), kStep * 3);
    // Twelve chunks fit; the two oldest were given up after the last growth.
    for (uint32_t n = 2; n < 14; ++n) {
        ASSERT_EQ(ReadChunk(ring, out), kChunk);
        EXPECT_EQ(out, Chunk(n)) << n;
    }
}

TEST(TSRingFile, GrowsWhileTheReaderIsBehind)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, kStep * 10);
    std::vector<uint8_t> out;
    for (uint32_t n = 0; n < 4; ++n)
        ring.Write(Chunk(n).data(), kChunk);
    // The reader is behind: the ring grows and the data stay in order.
    ReadChunk(ring, out);
    ring.Write(Chunk(4).data(), kChunk);
    EXPECT_EQ(ring.GetSize(), kStep * 2);
    for (uint32_t n = 1; n < 5; ++n) {
        ASSERT_EQ(ReadChunk(ring, out), kChunk);
        EXPECT_EQ(out, Chunk(n));
    }
}

TEST(TSRingFile, DoesNotGrowWhileItsBytesWrap)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, kStep * 10);
    std::vector<uint8_t> out;
    for (uint32_t n = 0; n < 4; ++n)
        ring.Write(Chunk(n).data(), kChunk);
    ReadChunk(ring, out);
    storage.refuseGrowth = true; // the drive is full for a moment: the writer wraps
    ring.Write(Chunk(4).data(), kChunk);
    storage.refuseGrowth = false;
    // Growing now would open a gap inside the ring's bytes; it overwrites the oldest instead.
    ring.Write(Chunk(5).data(), kChunk);
    EXPECT_EQ(ring.GetSize(), kStep);
    EXPECT_EQ(storage.growths, 0);
    for (uint32_t n = 2; n < 6; ++n) {
        ASSERT_EQ(ReadChunk(ring, out), kChunk);
        EXPECT_EQ(out, Chunk(n));
    }
    EXPECT_EQ(ReadChunk(ring, out), 0u);
}

TEST(TSRingFile, RefusesWritesLargerThanTheRing)
{
    MemoryStorage storage(kStep);
    CTSRingFile ring(&storage, kStep, 0);
    std::vector<uint8_t> big(kStep + 1, 1);
    EXPECT_EQ(ring.Write(big.data(), static_cast<uint32_t>(big.size())), 0u);
    EXPECT_EQ(ring.GetUsed(), 0u);
    EXPECT_EQ(CTSRingFile::kStep, 67379200u);
}
