// The stream and header layer: DecodeStep's result codes, the input buffer, the header fields,
// the picture buffers and the output queue.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "media/mpeg2video/BitReader.h"
#include "media/mpeg2video/BitWriter.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"
#include "media/mpeg2video/StreamDecoder.h"
#include "support/TestMedia.h"

namespace {

using namespace mpeg2video;
using test::CBitWriter;
using test::SequenceParameters;

struct Core {
    Core() { EXPECT_EQ(CreateDecoder(&c), 0); }
    ~Core() { DestroyDecoder(c); }
    Mpeg2VideoDecoderCore* c = nullptr;
};

std::vector<uint8_t> OneIntraFrame(const SequenceParameters& p, int luma, unsigned tr = 0)
{
    CBitWriter w;
    test::WriteSequence(w, p);
    test::WriteGop(w);
    test::WriteIntraPicture(w, tr, 3, p.mpeg2);
    for (unsigned row = 0; row < (p.height + 15) / 16; ++row)
        test::WriteFlatIntraSlice(w, row, (p.width + 15) / 16, luma, p.chromaFormat);
    w.StartCode(0xB7);
    return w.Bytes();
}

TEST(HeaderLayer, StepResultsOfAWholeStream)
{
    Core k;
    SetDrain(k.c);
    std::vector<uint8_t> s = OneIntraFrame(SequenceParameters(), 100);
    // A picture and a GOP before any sequence header are skipped with 998.
    CBitWriter pre;
    test::WriteGop(pre);
    test::WriteIntraPicture(pre, 0);
    std::vector<uint8_t> bytes = pre.Bytes();
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.insert(bytes.end(), {0, 0, 1, 0xB2, 'u', 's', 'e', 'r'}); // stray user data: 1000
    bytes.insert(bytes.end(), {0, 0, 1, 0xB7, 0, 0, 0, 0});
    ASSERT_EQ(AppendInput(k.c, bytes.data(), bytes.size()), 0);
    std::vector<int> results;
    for (int r; (r = DecodeStep(k.c)) != kStepEmpty;) {
        results.push_back(r);
        if (r == kStepSequenceHeader) {
            EXPECT_TRUE(AllocatePictureBuffers(k.c));
        }
        if (r == kStepPicture)
            DecodeSlices(k.c);
        ASSERT_LT(results.size(), 20u);
    }
    const std::vector<int> expected = {998, 998, 998, 1, 3, 4, 2, 1000, 2};
    // The intra picture's extension start code is part of its header: the first three 998 are
    // the GOP, the picture and its extension start code.
    EXPECT_EQ(results, expected);
    EXPECT_EQ(k.c->time_code_hours, 1);
    EXPECT_EQ(k.c->time_code_minutes, 2);
    EXPECT_EQ(k.c->time_code_seconds, 3);
    EXPECT_EQ(k.c->time_code_pictures, 4);
    EXPECT_EQ(k.c->closed_gop, 1);
    PictureBuffer* p = PopOutputPicture(k.c);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->luma[0], 100);
    EXPECT_EQ(p->luma[63 + 47 * p->pitch], 100);
    EXPECT_EQ(p->cb[0], 128);
    EXPECT_EQ(p->pictureCodingType, 1);
}

TEST(HeaderLayer, SequenceFields)
{
    Core k;
    SequenceParameters p;
    p.width = 720;
    p.height = 576;
    p.progressive = false;
    p.frameRateCode = 5;
    p.frameRateN = 0;
    p.frameRateD = 1;
    p.profileAndLevel = 0x85;
    std::vector<uint8_t> s = OneIntraFrame(p, 50);
    SetDrain(k.c);
    ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
    ASSERT_EQ(DecodeStep(k.c), kStepSequenceHeader);
    EXPECT_EQ(k.c->horizontal_size, 720);
    EXPECT_EQ(k.c->vertical_size, 576);
    EXPECT_DOUBLE_EQ(k.c->frameRate, 15.0);
    EXPECT_EQ(k.c->profile, 133u);
    EXPECT_EQ(k.c->level, 8u);
    EXPECT_EQ(k.c->nonMainProfile, 1);
    EXPECT_EQ(k.c->mpeg2, 1);
    EXPECT_DOUBLE_EQ(k.c->bitRate, 20000 * 400.0);
    EXPECT_EQ(k.c->vbv_buffer_size, 112u);
    EXPECT_TRUE(AllocatePictureBuffers(k.c));
    EXPECT_EQ(k.c->mbWidth, 45u);
    EXPECT_EQ(k.c->mbHeight, 36u);
    EXPECT_EQ(k.c->lumaWidth, 720u);
    EXPECT_EQ(k.c->lumaHeight, 576u);
    EXPECT_EQ(k.c->chromaWidth, 360u);
    EXPECT_EQ(k.c->chromaHeight, 288u);
    EXPECT_EQ(k.c->blocksPerMacroblock, 6u);
    // Main profile clears the flag; MPEG-1 has none.
    Core m;
    p.profileAndLevel = 0x48;
    s = OneIntraFrame(p, 50);
    ASSERT_EQ(AppendInput(m.c, s.data(), s.size()), 0);
    ASSERT_EQ(DecodeStep(m.c), kStepSequenceHeader);
    EXPECT_EQ(m.c->nonMainProfile, 0);
    EXPECT_EQ(m.c->profile, 4u);
    EXPECT_EQ(m.c->level, 8u);
}

TEST(HeaderLayer, InterlacedHeightRoundsToFieldMacroblockPairs)
{
    Core k;
    SequenceParameters p;
    p.width = 352;
    p.height = 240;
    p.progressive = false;
    std::vector<uint8_t> s = OneIntraFrame(p, 50);
    SetDrain(k.c);
    ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
    ASSERT_EQ(DecodeStep(k.c), kStepSequenceHeader);
    AllocatePictureBuffers(k.c);
    EXPECT_EQ(k.c->mbHeight, 16u); // 2 x ((240 + 31) / 32)
    EXPECT_EQ(k.c->lumaHeight, 256u);
}

TEST(HeaderLayer, SliceQuantiserScale)
{
    const struct {
        bool mpeg2;
        unsigned qScaleType, code, expected;
    } cases[] = {{true, 1, 31, 112}, {true, 0, 31, 62}, {true, 1, 9, 10}, {false, 0, 31, 31}};
    for (const auto& t : cases) {
        Core k;
        SequenceParameters p;
        p.mpeg2 = t.mpeg2;
        CBitWriter w;
        test::WriteSequence(w, p);
        test::WriteIntraPicture(w, 0, 3, t.mpeg2, t.qScaleType);
        w.StartCode(0x01);
        w.Put(t.code, 5);
        w.Put(1, 1); // intra_slice_flag
        w.Put(1, 1); // intra_slice
        w.Put(0, 7);
        w.Put(1, 1); // extra_bit_slice: one byte follows
        w.Put(0xAA, 8);
        w.Put(0, 1);
        w.Put(0xFFFFFF, 24);
        w.StartCode(0xB7);
        std::vector<uint8_t> s = w.Bytes();
        SetDrain(k.c);
        ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
        ASSERT_EQ(DecodeStep(k.c), kStepSequenceHeader);
        AllocatePictureBuffers(k.c);
        ASSERT_EQ(DecodeStep(k.c), kStepPicture);
        // The reader stands at the slice start code.
        const size_t at = k.c->endPos - BufferedBytes(k.c);
        ASSERT_EQ(k.c->input[at + 3], 0x01);
        k.c->ptr = k.c->input + at + 4;
        k.c->window = 0;
        k.c->count = 16;
        EXPECT_EQ(ParseSliceHeader(k.c), 0u);
        EXPECT_EQ(k.c->quantiser_scale, t.expected);
        EXPECT_EQ(k.c->intra_slice, 1);
        EXPECT_EQ(k.c->window >> 8, 0xFFFFFFu) << "extra_information_slice not skipped";
    }
}

TEST(HeaderLayer, AppendInputLimits)
{
    Core k;
    std::vector<uint8_t> big(kInputCapacity + 1, 0);
    EXPECT_EQ(AppendInput(k.c, big.data(), big.size()), -1);
    EXPECT_EQ(AppendInput(k.c, big.data(), 0), 0);
    // Exactly the free space never fits: the buffer is never completely full.
    EXPECT_EQ(AppendInput(k.c, big.data(), kInputCapacity), -1);
    EXPECT_EQ(AppendInput(k.c, big.data(), kInputCapacity - 1), 0);
    EXPECT_EQ(AppendInput(k.c, big.data(), 1), -1);
    ResetInput(k.c);
    EXPECT_EQ(BufferedBytes(k.c), 0u);
    EXPECT_EQ(AppendInput(k.c, big.data(), 1000), 0);
    EXPECT_EQ(BufferedBytes(k.c), 1000u);
}

TEST(HeaderLayer, ChunkOfExactlyTheFreeSpaceIsTakenAfterCompaction)
{
    Core k;
    std::vector<uint8_t> junk(kInputCapacity - 1000, 0x55);
    ASSERT_EQ(AppendInput(k.c, junk.data(), junk.size()), 0);
    EXPECT_EQ(DecodeStep(k.c), kStepWait); // no start code: all but the last three bytes consumed
    EXPECT_EQ(BufferedBytes(k.c), 3u);
    std::vector<uint8_t> more(1000, 0x66);
    EXPECT_EQ(AppendInput(k.c, more.data(), more.size()), 0);
    EXPECT_EQ(BufferedBytes(k.c), 1003u);
}

TEST(HeaderLayer, CompactionKeepsUnreadBytesAndSplitStartCodes)
{
    // A stream fed in chunks of every awkward size, across many compactions, decodes exactly as a
    // whole; start codes split between chunks are not lost.
    SequenceParameters p;
    p.width = 176;
    p.height = 144;
    std::vector<uint8_t> stream;
    for (int i = 0; i < 40; ++i) {
        std::vector<uint8_t> f = OneIntraFrame(p, 16 + 5 * i, 0);
        stream.insert(stream.end(), f.begin(), f.end() - 4); // without the sequence end
    }
    const test::DecodedStream whole = test::DecodeWholeStream(stream);
    ASSERT_EQ(whole.frames.size(), 40u);
    for (size_t chunk : {1u, 2u, 3u, 5u, 7u, 4096u}) {
        test::DecodeOptions o;
        o.chunk = chunk;
        const test::DecodedStream s = test::DecodeWholeStream(stream, o);
        ASSERT_EQ(s.frames.size(), 40u) << "chunk " << chunk;
        for (size_t i = 0; i < 40; ++i)
            ASSERT_EQ(s.frames[i].planes, whole.frames[i].planes) << "chunk " << chunk << " frame " << i;
    }
    EXPECT_EQ(whole.frames[39].planes[0], 16 + 5 * 39);
}

TEST(HeaderLayer, PictureWaitsForItsEndUnlessDraining)
{
    std::vector<uint8_t> s = OneIntraFrame(SequenceParameters(), 80);
    s.resize(s.size() - 4); // no sequence_end_code yet: the picture's end is unknown
    for (const bool drain : {false, true}) {
        Core k;
        ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
        ASSERT_EQ(DecodeStep(k.c), kStepSequenceHeader);
        AllocatePictureBuffers(k.c);
        EXPECT_EQ(DecodeStep(k.c), kStepGroupOfPictures);
        EXPECT_EQ(DecodeStep(k.c), kStepWait);
        const size_t before = BufferedBytes(k.c);
        EXPECT_EQ(DecodeStep(k.c), kStepWait);
        EXPECT_EQ(DecodeStep(k.c), kStepWait);
        EXPECT_EQ(BufferedBytes(k.c), before);
        // The end of the stream, or the start code behind the picture, completes it.
        if (drain) {
            SetDrain(k.c);
        } else {
            const uint8_t end[] = {0, 0, 1};
            ASSERT_EQ(AppendInput(k.c, end, 3), 0);
            EXPECT_EQ(DecodeStep(k.c), kStepWait); // the code's last byte is still missing
            const uint8_t code = 0xB7;
            ASSERT_EQ(AppendInput(k.c, &code, 1), 0);
        }
        EXPECT_EQ(DecodeStep(k.c), kStepPicture);
        DecodeSlices(k.c);
        PictureBuffer* p = PopOutputPicture(k.c);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->luma[0], 80);
        EXPECT_EQ(p->luma[47 * 64 + 63], 80);
    }
}

TEST(HeaderLayer, PicturesLargerThanTheVbvBufferDecodeAlikeInAnyPieces)
{
    // The encoder declares a VBV buffer far smaller than its pictures.
    const std::vector<uint8_t> s =
        test::ReadFileBytes(test::MediaPath("mpeg2video/large_pictures.m2v"));
    ASSERT_GT(s.size(), 100000u);
    test::DecodeOptions whole;
    whole.chunk = s.size();
    const test::DecodedStream reference = test::DecodeWholeStream(s, whole);
    ASSERT_EQ(reference.frames.size(), 14u);
    test::DecodeOptions byPicture;
    byPicture.cuts = test::PictureStarts(s);
    ASSERT_EQ(byPicture.cuts.size(), 14u);
    test::DecodeOptions small, large;
    small.chunk = 4096;
    large.chunk = 65536;
    for (const test::DecodeOptions* o : {&byPicture, &small, &large}) {
        const test::DecodedStream out = test::DecodeWholeStream(s, *o);
        ASSERT_EQ(out.frames.size(), reference.frames.size()) << "chunk " << o->chunk;
        for (size_t i = 0; i < out.frames.size(); ++i)
            EXPECT_TRUE(out.frames[i].planes == reference.frames[i].planes) << "chunk " << o->chunk << " frame " << i;
    }
}

TEST(HeaderLayer, HugeVbvBufferSizeDoesNotStallTheDecoder)
{
    // vbv_buffer_size 0x3FFFF x 2 KiB is far beyond the input buffer: pictures are still decoded as
    // their ends come in, never held back for the declared buffer.
    Core k;
    SequenceParameters p;
    p.width = 720;
    p.height = 576;
    p.vbvBufferSize = 1023;
    p.vbvExtension = 255;
    std::vector<uint8_t> stream;
    for (int i = 0; i < 600; ++i) {
        std::vector<uint8_t> f = OneIntraFrame(p, 60, 0);
        stream.insert(stream.end(), f.begin(), f.end() - 4);
    }
    test::DecodedStream out;
    size_t pos = 0;
    while (pos < stream.size()) {
        const size_t n = std::min<size_t>(100000, stream.size() - pos);
        ASSERT_EQ(AppendInput(k.c, stream.data() + pos, n), 0) << "input dropped at " << pos;
        pos += n;
        test::RunSteps(k.c, out);
    }
    EXPECT_GT(out.frames.size(), 20u);
}

TEST(HeaderLayer, NewSequenceHeaderKeepsOrRemakesBuffers)
{
    SequenceParameters a;
    SequenceParameters sameSizeOtherRate = a;
    sameSizeOtherRate.frameRateCode = 4;
    SequenceParameters other422 = a;
    other422.chromaFormat = 2;
    SequenceParameters bigger = a;
    bigger.width = 96;
    std::vector<uint8_t> s;
    for (auto& f : {OneIntraFrame(a, 40, 0), OneIntraFrame(sameSizeOtherRate, 50, 0), OneIntraFrame(other422, 60, 0),
                    OneIntraFrame(bigger, 70, 0)})
        s.insert(s.end(), f.begin(), f.end());
    const test::DecodedStream out = test::DecodeWholeStream(s);
    EXPECT_EQ(out.sequenceHeaders, 4);
    // Made for the first, kept for a mere frame-rate change, remade for the chroma format and
    // for the size.
    EXPECT_EQ(out.buffersMade, 3);
    ASSERT_EQ(out.frames.size(), 4u);
    EXPECT_EQ(out.frames[0].planes[0], 40);
    EXPECT_EQ(out.frames[1].planes[0], 50);
    EXPECT_EQ(out.frames[2].planes[0], 60);
    // The 4:2:2 picture has full-height chroma planes, all neutral.
    ASSERT_EQ(out.frames[2].planes.size(), 64u * 48 + 2 * 32 * 48);
    EXPECT_EQ(out.frames[2].planes.back(), 128);
    EXPECT_EQ(out.frames[3].planes.size(), 96u * 48 * 3 / 2);
    EXPECT_EQ(out.frames[3].planes[95], 70);
}

TEST(HeaderLayer, SameSequenceAgainKeepsQueuedPictures)
{
    Core k;
    SetDrain(k.c);
    std::vector<uint8_t> s = OneIntraFrame(SequenceParameters(), 90, 5);
    s.resize(s.size() - 4);
    std::vector<uint8_t> again = OneIntraFrame(SequenceParameters(), 0);
    CBitWriter w;
    test::WriteSequence(w, SequenceParameters());
    const std::vector<uint8_t> header = w.Bytes();
    s.insert(s.end(), header.begin(), header.end());
    s.insert(s.end(), {0, 0, 1, 0xB7});
    ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
    ASSERT_EQ(DecodeStep(k.c), kStepSequenceHeader);
    EXPECT_TRUE(AllocatePictureBuffers(k.c));
    EXPECT_EQ(DecodeStep(k.c), kStepGroupOfPictures);
    EXPECT_EQ(DecodeStep(k.c), kStepPicture);
    DecodeSlices(k.c);
    EXPECT_EQ(k.c->outputCount, 1);
    ASSERT_EQ(DecodeStep(k.c), kStepSequenceHeader);
    EXPECT_FALSE(AllocatePictureBuffers(k.c));
    EXPECT_EQ(k.c->outputCount, 1);
    EXPECT_EQ(k.c->outputQueue[1].key, -2);
    EXPECT_EQ(k.c->lastOutputKey, 0);
    PictureBuffer* p = PopOutputPicture(k.c);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->luma[0], 90);
}

TEST(HeaderLayer, Mpeg1DPicture)
{
    // ISO/IEC 11172-2 D pictures: one bit of macroblock_type, DC coefficients only (no
    // end_of_block) and an end_of_macroblock bit.
    SequenceParameters p;
    p.mpeg2 = false;
    CBitWriter w;
    test::WriteSequence(w, p);
    w.StartCode(0x00);
    w.Put(0, 10);
    w.Put(4, 3); // D picture
    w.Put(0xFFFF, 16);
    w.Put(0, 1);
    for (unsigned row = 0; row < 3; ++row) {
        w.StartCode(uint8_t(row + 1));
        w.Put(8, 5);
        w.Put(0, 1);
        int first = 1;
        for (unsigned m = 0; m < 4; ++m) {
            w.Code("1"); // address increment
            w.Code("1"); // macroblock_type: intra
            for (int b = 0; b < 6; ++b) {
                // Luma 128 + 64 = 192: difference 64 once per slice, then 0 (luma) ; chroma 0.
                if (b < 4 && first) {
                    w.Code("111110"); // size 7
                    w.Put(64, 7);
                    first = 0;
                } else {
                    w.Code(b < 4 ? "100" : "00"); // size 0
                }
            }
            w.Code("1"); // end_of_macroblock
        }
    }
    w.StartCode(0xB7);
    const test::DecodedStream out = test::DecodeWholeStream(w.Bytes());
    ASSERT_EQ(out.frames.size(), 1u);
    EXPECT_EQ(out.frames[0].codingType, 4);
    for (size_t i = 0; i < 64 * 48; ++i)
        ASSERT_EQ(out.frames[0].planes[i], 192) << "luma sample " << i;
    EXPECT_EQ(out.frames[0].planes.back(), 128);
}

TEST(HeaderLayer, OutputQueueOrder)
{
    Core k;
    PictureBuffer a, b, c;
    k.c->outputCount = 0;
    k.c->current = &a;
    k.c->temporal_reference = 2;
    QueueOutputPicture(k.c);
    EXPECT_EQ(PopOutputPictureWhenFull(k.c), nullptr);
    k.c->current = &b;
    k.c->temporal_reference = 0; // a B picture before the I picture
    QueueOutputPicture(k.c);
    k.c->current = &c;
    k.c->temporal_reference = 9;
    QueueOutputPicture(k.c); // queue full: not shown
    EXPECT_EQ(PopOutputPictureWhenFull(k.c), &b);
    EXPECT_EQ(k.c->lastOutputKey, 0);
    EXPECT_EQ(PopOutputPictureWhenFull(k.c), nullptr);
    EXPECT_EQ(PopOutputPicture(k.c), &a);
    EXPECT_EQ(PopOutputPicture(k.c), nullptr);
    k.c->current = &c;
    QueueOutputPicture(k.c);
    ClearOutputQueue(k.c);
    EXPECT_EQ(PopOutputPicture(k.c), nullptr);
}

TEST(HeaderLayer, IncompleteHeaderWaitsAndLeavesStateUntouched)
{
    Core k;
    SequenceParameters p;
    p.width = 320;
    std::vector<uint8_t> s = OneIntraFrame(p, 30);
    // Sequence header and extension cut in the middle of the extension.
    ASSERT_EQ(AppendInput(k.c, s.data(), 16), 0);
    EXPECT_EQ(DecodeStep(k.c), kStepWait);
    EXPECT_EQ(k.c->horizontal_size, 0);
    ASSERT_EQ(AppendInput(k.c, s.data() + 16, s.size() - 16), 0);
    EXPECT_EQ(DecodeStep(k.c), kStepSequenceHeader);
    EXPECT_EQ(k.c->horizontal_size, 320);
    EXPECT_EQ(k.c->mpeg2, 1);
}

TEST(HeaderLayer, HeaderCutShortByTheNextStartCodeIsPassedOverNotWaitedFor)
{
    Core k;
    SequenceParameters p;
    p.width = 320;
    const std::vector<uint8_t> frame = OneIntraFrame(p, 30);
    // A group header of two bytes where it needs four (as a 40-byte header block ends), then the
    // stream goes on: more input can never complete it.
    std::vector<uint8_t> s = frame;
    const uint8_t cut[] = {0x00, 0x00, 0x01, 0xB8, 0x39, 0x6E};
    s.insert(s.end(), cut, cut + sizeof cut);
    s.insert(s.end(), frame.begin(), frame.end());
    ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
    int pictures = 0;
    for (int step = 0; step < 64 && pictures < 2; ++step) {
        const int result = DecodeStep(k.c);
        if (result == kStepSequenceHeader)
            AllocatePictureBuffers(k.c);
        if (result == kStepPicture) {
            DecodeSlices(k.c);
            ++pictures;
        }
    }
    EXPECT_EQ(2, pictures);
}

TEST(HeaderLayer, StartCodeSearchFindsTheFirstPrefixFromAnyPosition)
{
    // Bytes that are mostly 0 and 1 put prefixes, near misses and prefixes cut by the end of data
    // at every offset of the sixteen-byte search and its scalar tail.
    Core k;
    test::CTestRandom rnd(3);
    std::vector<uint8_t> s(700);
    for (uint8_t& b : s)
        b = uint8_t(rnd.Below(8) < 5 ? 0 : rnd.Below(8) < 6 ? 1 : rnd.Below(256));
    ASSERT_EQ(AppendInput(k.c, s.data(), s.size()), 0);
    for (size_t from = 0; from <= s.size(); ++from) {
        size_t expected = s.size();
        for (size_t p = from; p + 4 <= s.size(); ++p)
            if (s[p] == 0 && s[p + 1] == 0 && s[p + 2] == 1) {
                expected = p;
                break;
            }
        ASSERT_EQ(FindStartCode(k.c, from), expected) << "from " << from;
    }
}

} // namespace
