// Damaged and hostile input: nothing may be written outside a picture or read beside a table
// (ASan watches), positions outside the picture are refused, and decoding resumes at the next
// slice. Also the skip level and the edge rules of motion compensation.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/TraceCapture.h"
#include "media/mpeg2video/BitWriter.h"
#include "media/mpeg2video/MotionCompensation.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "media/mpeg2video/StreamDecoder.h"
#include "support/TestMedia.h"

namespace {

using namespace mpeg2video;
using test::CBitWriter;
using test::SequenceParameters;

std::vector<uint8_t> Media(const std::string& name)
{
    return test::ReadFileBytes(test::MediaPath("mpeg2video/" + name + ".m2v"));
}

TEST(DamagedStreams, CorruptedStreamsDecodeWithoutFault)
{
    for (const char* name : {"options", "mpeg1", "chroma422", "field_pictures", "dc10"}) {
        const std::vector<uint8_t> clean = Media(name);
        ASSERT_FALSE(clean.empty());
        test::CTestRandom rnd(uint64_t(std::strlen(name)) * 977);
        for (int variant = 0; variant < 12; ++variant) {
            std::vector<uint8_t> s = clean;
            const int kind = variant % 4;
            if (kind == 0) { // scattered bit errors
                for (int i = 0; i < 40; ++i)
                    s[rnd.Below(uint32_t(s.size()))] ^= uint8_t(1u << rnd.Below(8));
            } else if (kind == 1) { // bursts of garbage
                for (int i = 0; i < 4; ++i) {
                    const size_t at = rnd.Below(uint32_t(s.size() - 200));
                    for (size_t j = 0; j < 200; ++j)
                        s[at + j] = uint8_t(rnd.Below(256));
                }
            } else if (kind == 2) { // lost chunks, as from a lossy transport
                for (int i = 0; i < 6; ++i) {
                    const size_t at = rnd.Below(uint32_t(s.size() - 1000));
                    s.erase(s.begin() + long(at), s.begin() + long(at + rnd.Below(1000)));
                }
            } else { // start codes planted at random places
                for (int i = 0; i < 30; ++i) {
                    const size_t at = rnd.Below(uint32_t(s.size() - 4));
                    const uint8_t codes[] = {0x00, 0x01, 0x20, 0xAF, 0xB3, 0xB5, 0xB8, 0xB7};
                    s[at] = 0;
                    s[at + 1] = 0;
                    s[at + 2] = 1;
                    s[at + 3] = codes[rnd.Below(8)];
                }
            }
            test::DecodeOptions o;
            o.chunk = 1000 + rnd.Below(30000);
            o.portable = variant & 1;
            const test::DecodedStream out = test::DecodeWholeStream(s, o);
            EXPECT_LE(out.frames.size(), size_t(out.pictures) + 2) << name << " variant " << variant;
        }
    }
}

// An interlaced 64 x 48 sequence (two macroblock rows per field) of field pictures: the top field
// flat 60, the bottom field flat 200. Extra slices address rows that exist in the frame but not in
// a field (rows 2 and 3) or in neither (row 9).
TEST(DamagedStreams, SlicesBeyondAFieldAreRefused)
{
    SequenceParameters p;
    p.progressive = false;
    CBitWriter w;
    test::WriteSequence(w, p);
    for (unsigned structure : {1u, 2u}) {
        const int value = structure == 1 ? 60 : 200;
        test::WriteIntraPicture(w, 0, structure);
        for (unsigned row : {0u, 1u, 2u, 3u, 9u})
            test::WriteFlatIntraSlice(w, row, 4, row < 2 ? value : 10, 1, true);
    }
    // A frame picture whose slices are valid except one far below the picture.
    test::WriteIntraPicture(w, 1, 3);
    for (unsigned row : {0u, 1u, 2u, 40u})
        test::WriteFlatIntraSlice(w, row, 4, row < 3 ? 90 : 10, 1, true);
    w.StartCode(0xB7);
    const test::DecodedStream out = test::DecodeWholeStream(w.Bytes());
    ASSERT_EQ(out.pictures, 3);
    ASSERT_EQ(out.frames.size(), 2u);
    const auto& f = out.frames[0].planes;
    for (unsigned y = 0; y < 48; ++y)
        for (unsigned x = 0; x < 64; ++x)
            ASSERT_EQ(f[y * 64 + x], (y & 1) ? 200 : 60) << "line " << y << " column " << x;
    for (size_t i = 64 * 48; i < f.size(); ++i)
        ASSERT_EQ(f[i], 128) << "chroma sample " << i - 64 * 48;
    const auto& g = out.frames[1].planes;
    for (size_t i = 0; i < 64 * 48; ++i)
        ASSERT_EQ(g[i], 90) << "luma sample " << i;
}

// A damaged identifier nibble turns an extension into a sequence extension (identifier 1) behind
// a second extension, a group of pictures or a picture: its chroma format and size bits must not
// reach the picture geometry, since the buffers were made for the sequence header's.
TEST(DamagedStreams, MisplacedSequenceExtensionsLeaveTheGeometry)
{
    for (unsigned where = 0; where < 3; ++where)
        for (unsigned chroma = 0; chroma < 4; ++chroma)
            for (unsigned sizeBits : {0u, 1u, 3u}) {
                SequenceParameters damaged;
                damaged.chromaFormat = chroma;
                damaged.width = 64 | (sizeBits << 12);
                damaged.height = 48 | (sizeBits << 12);
                damaged.progressive = sizeBits != 1;
                CBitWriter w;
                test::WriteSequence(w, SequenceParameters());
                if (where == 0)
                    test::WriteSequenceExtension(w, damaged);
                test::WriteGop(w);
                if (where == 1)
                    test::WriteSequenceExtension(w, damaged);
                for (unsigned tr = 0; tr < 2; ++tr) {
                    test::WriteIntraPicture(w, tr);
                    if (where == 2)
                        test::WriteSequenceExtension(w, damaged);
                    for (unsigned row = 0; row < 3; ++row)
                        test::WriteFlatIntraSlice(w, row, 4, 70 + 20 * int(tr));
                }
                w.StartCode(0xB7);
                const test::DecodedStream out = test::DecodeWholeStream(w.Bytes());
                const std::string name = "after header " + std::to_string(where) + ", chroma_format " +
                                         std::to_string(chroma) + ", size bits " + std::to_string(sizeBits);
                ASSERT_EQ(out.frames.size(), 2u) << name;
                for (unsigned f = 0; f < 2; ++f) {
                    const auto& planes = out.frames[f].planes;
                    ASSERT_EQ(planes.size(), 64u * 48 * 3 / 2) << name;
                    for (size_t i = 0; i < planes.size(); ++i)
                        ASSERT_EQ(planes[i], i < 64 * 48 ? 70 + 20 * f : 128) << name << " frame " << f;
                }
            }
}

// A caller that does not remake the buffers after a new sequence header: the picture layer does it
// before the first picture of the new geometry, whether the size, the chroma format or the
// macroblock rows (progressive_sequence) changed.
TEST(DamagedStreams, NewGeometryRemakesTheBuffersBeforeThePicture)
{
    SequenceParameters wide422;
    wide422.width = 96;
    wide422.height = 64;
    wide422.chromaFormat = 2;
    SequenceParameters interlaced;
    interlaced.height = 40;
    interlaced.progressive = false;
    SequenceParameters progressive = interlaced;
    progressive.progressive = true;
    const SequenceParameters* sequences[][2] = {{&progressive, &wide422}, {&progressive, &interlaced}};
    for (const auto& pair : sequences) {
        CBitWriter w;
        for (unsigned i = 0; i < 2; ++i) {
            const SequenceParameters& p = *pair[i];
            test::WriteSequence(w, p);
            test::WriteIntraPicture(w, 0);
            const unsigned rows = p.progressive ? (p.height + 15) / 16 : 2 * ((p.height + 31) / 32);
            for (unsigned row = 0; row < rows; ++row)
                test::WriteFlatIntraSlice(w, row, p.width / 16, 50 + 100 * int(i), p.chromaFormat);
        }
        w.StartCode(0xB7);
        test::DecodeOptions o;
        o.callerRemakesBuffers = false;
        const test::DecodedStream out = test::DecodeWholeStream(w.Bytes(), o);
        ASSERT_FALSE(out.frames.empty());
        const SequenceParameters& last = *pair[1];
        const auto& planes = out.frames.back().planes;
        const size_t luma = size_t(last.width) * last.height;
        ASSERT_EQ(planes.size(), last.chromaFormat == 2 ? 2 * luma : luma * 3 / 2);
        for (size_t i = 0; i < planes.size(); ++i)
            ASSERT_EQ(planes[i], i < luma ? 150 : 128) << "sample " << i;
    }
}

TEST(DamagedStreams, MacroblocksPastTheRowEndStopTheSlice)
{
    // Two slices on row 0: the second begins at macroblock 2 and claims 10 macroblocks of a
    // 4-macroblock-wide picture: those beyond the picture's last macroblock are not decoded, and
    // the next slice decodes normally.
    SequenceParameters p;
    CBitWriter w;
    test::WriteSequence(w, p);
    test::WriteIntraPicture(w, 0, 3);
    test::WriteFlatIntraSlice(w, 0, 4, 30);
    test::WriteFlatIntraSlice(w, 1, 4, 40);
    test::WriteFlatIntraSlice(w, 2, 9, 50); // row 2 is the last one; 5 too many
    w.StartCode(0xB7);
    const test::DecodedStream out = test::DecodeWholeStream(w.Bytes());
    ASSERT_EQ(out.frames.size(), 1u);
    const auto& f = out.frames[0].planes;
    EXPECT_EQ(f[0], 30);
    EXPECT_EQ(f[16 * 64], 40);
    EXPECT_EQ(f[47 * 64 + 63], 50);
    EXPECT_EQ(f[64 * 48], 128);
    EXPECT_EQ(f.back(), 128);
}

TEST(DamagedStreams, RefusedPicturesAndSlicesTellTheTraceWhy)
{
    base::CTraceCapture trace;
    SequenceParameters p;
    CBitWriter w;
    test::WriteIntraPicture(w, 0, 3); // before any sequence header
    test::WriteFlatIntraSlice(w, 0, 4, 30);
    test::WriteSequence(w, p);
    test::WriteIntraPicture(w, 1, 3);
    for (unsigned row : {0u, 1u, 2u, 40u})
        test::WriteFlatIntraSlice(w, row, 4, 90);
    w.StartCode(0xB7);
    test::DecodeWholeStream(w.Bytes());
    EXPECT_TRUE(trace.Has("MPEG-2 picture", "no sequence header before it"));
    EXPECT_TRUE(trace.Has("MPEG-2 slice", "slice_vertical_position past the picture"));
    EXPECT_EQ(trace.Lines().size(), 2u);
}

TEST(DamagedStreams, SkipLevelReadsButDoesNotReconstruct)
{
    const std::vector<uint8_t> s = Media("options");
    const test::DecodedStream all = test::DecodeWholeStream(s);
    test::DecodeOptions o;
    o.skipLevel = 2;
    const test::DecodedStream noB = test::DecodeWholeStream(s, o);
    o.skipLevel = 1;
    const test::DecodedStream onlyI = test::DecodeWholeStream(s, o);
    ASSERT_EQ(all.frames.size(), noB.frames.size());
    ASSERT_EQ(all.frames.size(), onlyI.frames.size());
    int b = 0, pCount = 0;
    for (size_t i = 0; i < all.frames.size(); ++i) {
        const uint8_t type = all.frames[i].codingType;
        if (type <= 2) {
            EXPECT_EQ(all.frames[i].planes, noB.frames[i].planes) << "frame " << i;
        }
        if (type == 1) {
            EXPECT_EQ(all.frames[i].planes, onlyI.frames[i].planes) << "frame " << i;
        }
        if (type == 3 && all.frames[i].planes != noB.frames[i].planes)
            ++b;
        if (type == 2 && all.frames[i].planes != onlyI.frames[i].planes)
            ++pCount;
    }
    EXPECT_GT(b, 0) << "B pictures were reconstructed at skip level 2";
    EXPECT_GT(pCount, 0) << "P pictures were reconstructed at skip level 1";
}

// Motion compensation at the picture's edges, on a 64 x 48 progressive sequence.
class EdgePrediction : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CreateDecoder(&c), 0);
        SelectRoutines(c, 0);
        CBitWriter w;
        test::WriteSequence(w, SequenceParameters());
        w.StartCode(0xB7);
        const std::vector<uint8_t> s = w.Bytes();
        SetDrain(c);
        ASSERT_EQ(AppendInput(c, s.data(), s.size()), 0);
        ASSERT_EQ(DecodeStep(c), kStepSequenceHeader);
        ASSERT_TRUE(AllocatePictureBuffers(c));
        ref = c->forwardReference;
        cur = c->backwardReference;
        c->current = cur;
        for (uint32_t y = 0; y < 48 + 16; ++y)
            for (uint32_t x = 0; x < 64; ++x)
                ref->luma[y * 64 + x] = uint8_t(y * 4 + (x & 3));
        std::memset(cur->luma, 7, 64 * 48);
    }
    void TearDown() override { DestroyDecoder(c); }

    void Predict(int x, int y, int dx, int dy)
    {
        PredictBlockFromReference(c, ref->luma, ref->end, cur->luma, 64, 64, 16, 16, x, y, dx, dy, false, 64, 48);
    }

    Mpeg2VideoDecoderCore* c = nullptr;
    PictureBuffer* ref = nullptr;
    PictureBuffer* cur = nullptr;
};

TEST_F(EdgePrediction, AboveThePictureNothingIsPredicted)
{
    Predict(16, 0, 0, -2);
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(cur->luma[y * 64 + 16], 7);
}

TEST_F(EdgePrediction, BeyondRightAndBottomIsClampedToTheLastFittingPosition)
{
    Predict(16, 16, 200, 300); // far right and below: the block at column 48, row 32
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(cur->luma[(16 + y) * 64 + 16 + x], ref->luma[(32 + y) * 64 + 48 + x]);
}

TEST_F(EdgePrediction, ChromaVectorsHalveTowardZero)
{
    // Luma -3 half samples: chroma -1 half sample in 4:2:0, i.e. the average of a chroma sample
    // and its left neighbour.
    for (uint32_t y = 0; y < 24; ++y)
        for (uint32_t x = 0; x < 32; ++x)
            ref->cb[y * 64 + x] = uint8_t(x * 8);
    PredictPlanes(c, ref, 0, cur, 0, 64, 64, 16, 16, 16, 16, -3, 0, false, 48);
    // Chroma block at (8, 8): source column 8 + (-1 >> 1) = 7 with the half-sample flag.
    EXPECT_EQ(cur->cb[8 * 64 + 8], (7 * 8 + 8 * 8 + 1) / 2);
    // Luma: column 16 + (-3 >> 1) = 14, half sample.
    EXPECT_EQ(cur->luma[16 * 64 + 16], (ref->luma[16 * 64 + 14] + ref->luma[16 * 64 + 15] + 1) / 2);
}

TEST(DualPrime, DerivedVectors)
{
    Mpeg2VideoDecoderCore c;
    int out[2][2];
    const int dmv[2] = {1, -1};
    c.picture_structure = 1; // top field: the opposite (bottom) field lies half a line lower
    DeriveDualPrimeVectors(&c, out, dmv, 5, -3);
    EXPECT_EQ(out[0][0], 3 + 1);
    EXPECT_EQ(out[0][1], -2 - 1 - 1); // -3 >> 1 = -2
    c.picture_structure = 2;
    DeriveDualPrimeVectors(&c, out, dmv, 5, -3);
    EXPECT_EQ(out[0][1], -2 - 1 + 1);
    c.picture_structure = 3;
    c.top_field_first = 1;
    DeriveDualPrimeVectors(&c, out, dmv, 5, -3);
    EXPECT_EQ(out[0][0], 4);           // (5 + 1) >> 1, plus 1
    EXPECT_EQ(out[1][0], 8 + 1);       // (15 + 1) >> 1, plus 1
    EXPECT_EQ(out[1][1], -5 - 1 + 1);  // -9 >> 1 = -5
    c.top_field_first = 0;
    DeriveDualPrimeVectors(&c, out, dmv, 5, -3);
    EXPECT_EQ(out[0][0], 9);
    EXPECT_EQ(out[1][0], 4);
}

} // namespace
