// The little-endian writer of our files: widths and byte order, strings, a patched length; and the
// file stamp that tells one version of a file from the next.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/File.h"
#include "base/Utf16.h"

TEST(ByteWriter, WritesLittleEndianAndPatchesALength)
{
    std::vector<uint8_t> out;
    base::CByteWriter writer(out);
    writer.U32LE(0);
    writer.U8(0xAB);
    writer.U16LE(0x1234);
    writer.U32LE(0xCAFEBABE);
    EXPECT_EQ(4u + 2 * 3, writer.Utf16String(u"\u0160ab"));
    EXPECT_EQ(4u, writer.Utf16String(u""));
    writer.PatchU32LE(0, static_cast<uint32_t>(out.size() - 4));
    const std::vector<uint8_t> expected = {21, 0, 0, 0, 0xAB, 0x34, 0x12, 0xBE, 0xBA, 0xFE, 0xCA,
                                           6, 0, 0, 0, 0x60, 0x01, 'a', 0, 'b', 0, 0, 0, 0, 0};
    EXPECT_EQ(expected, out);
    base::CByteReader reader(out.data(), out.size());
    EXPECT_EQ(21u, reader.U32LE());
    reader.Skip(1);
    EXPECT_EQ(0x1234, reader.U16LE());
    EXPECT_EQ(0xCAFEBABEu, reader.U32LE());
}

TEST(FileStamp, ChangesWithTheFileAndSaysWhenItIsAbsent)
{
    const std::string name = "tolvik-stamp-" + std::to_string(reinterpret_cast<uintptr_t>(&name)) + ".bin";
    const std::u16string path = base::Utf8ToUtf16(name);
    EXPECT_FALSE(base::GetFileStamp(path).exists);
    ASSERT_TRUE(base::WriteFileReplacing(path, {1, 2, 3}));
    const base::CFileStamp first = base::GetFileStamp(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(3u, first.size);
    EXPECT_EQ(first, base::GetFileStamp(path));
    ASSERT_TRUE(base::WriteFileReplacing(path, {1, 2, 3, 4}));
    EXPECT_NE(first, base::GetFileStamp(path));
    EXPECT_TRUE(base::DeleteFileAt(path));
    EXPECT_FALSE(base::GetFileStamp(path).exists);
}
