#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "base/Trace.h"
#include "media/mpeg2video/BitReader.h"
#include "media/mpeg2video/Headers.h"
#include "media/mpeg2video/PictureBuffers.h"
#include "media/mpeg2video/VlcTables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mpeg2video {

namespace {

void FreeTables(Mpeg2VideoDecoderCore* c)
{
    delete[] c->pixelClampStorage;
    delete[] c->saturationStorage;
    std::free(c->blockStorage);
    delete[] c->input;
}

} // namespace

int CreateDecoder(Mpeg2VideoDecoderCore** out)
{
    if (!out)
        return -1;
    *out = nullptr;
    Mpeg2VideoDecoderCore* c = new (std::nothrow) Mpeg2VideoDecoderCore();
    if (!c)
        return -1;
    DetectProcessor(&c->processor);
    c->vlc = &GetVlcTables();
    c->capacity = kInputCapacity;
    c->input = new (std::nothrow) uint8_t[kInputCapacity + kInputPadding];
    c->pixelClampStorage = new (std::nothrow) uint8_t[65536];
    c->saturationStorage = new (std::nothrow) int16_t[65536];
    c->blockStorage = std::calloc(1, 12 * 64 * sizeof(int16_t) + 16);
    if (!c->input || !c->pixelClampStorage || !c->saturationStorage || !c->blockStorage) {
        FreeTables(c);
        delete c;
        return -1;
    }
    std::memset(c->input, 0, kInputCapacity + kInputPadding);
    ResetInput(c);
    ClearOutputQueue(c);
    c->lastOutputKey = 0;
    c->drain = 0;
    c->sequenceReady = 0;
    c->nonMainProfile = 1;
    c->pixelClamp = c->pixelClampStorage + 32768;
    c->saturation = c->saturationStorage + 32768;
    for (int i = -32768; i < 32768; ++i) {
        c->pixelClamp[i] = uint8_t(i < 0 ? 0 : i > 255 ? 255 : i);
        c->saturation[i] = int16_t(i < -2048 ? -2048 : i > 2047 ? 2047 : i);
    }
    c->blocks = reinterpret_cast<int16_t*>((reinterpret_cast<uintptr_t>(c->blockStorage) + 15) & ~uintptr_t(15));
    SelectInverseTransform(c);
    SelectBlockWriters(c);
    SelectPredictionRoutines(c);
    c->skipLevel = 10;
    *out = c;
    return 0;
}

int DestroyDecoder(Mpeg2VideoDecoderCore* c)
{
    if (!c)
        return 0;
    FreePictureBuffers(c);
    FreeTables(c);
    delete c;
    return 0;
}

void ResetInput(Mpeg2VideoDecoderCore* c)
{
    c->endPos = 0;
    std::memset(c->input, 0, kInputPadding);
    SeekReader(c, 0);
    c->drain = 0;
    c->firstFieldPending = 0;
    c->pictureScanned = 0;
}

void SetDrain(Mpeg2VideoDecoderCore* c) { c->drain = 1; }

size_t BufferedBytes(const Mpeg2VideoDecoderCore* c)
{
    const uint64_t pos = BitPosition(c) >> 3;
    return pos >= c->endPos ? 0 : size_t(c->endPos - pos);
}

namespace {

constexpr size_t kCompactAfter = 262144;

} // namespace

int AppendInput(Mpeg2VideoDecoderCore* c, const uint8_t* bytes, size_t length)
{
    if (length == 0)
        return 0;
    if (!bytes || length > c->capacity)
        return -1;
    // A chunk of exactly the free space does not fit either (the buffer never becomes completely
    // full): compact for it too, rather than drop it while the buffer is mostly consumed. The
    // buffer is also compacted whenever the consumed bytes are many and the unread ones fewer:
    // then its bytes in use stay in the cache, where each chunk written to the next megabytes
    // of the buffer would first fetch their lines from memory.
    const size_t consumed = size_t(BitPosition(c) >> 3);
    if (c->capacity - c->endPos <= length ||
        (consumed >= kCompactAfter && consumed < c->endPos && c->endPos - consumed <= consumed)) {
        // Move the unread bytes to the start; the reader keeps its bit offset within them.
        const uint64_t bit = BitPosition(c);
        size_t from = size_t(bit >> 3);
        unsigned offset = unsigned(bit & 7);
        if (from >= c->endPos) {
            from = c->endPos;
            offset = 0;
        }
        const size_t keep = c->endPos - from;
        std::memmove(c->input, c->input + from, keep);
        c->endPos = keep;
        std::memset(c->input + c->endPos, 0, kInputPadding);
        SeekReader(c, 0);
        if (offset)
            ConsumeBits(c, offset);
    }
    if (length >= c->capacity - c->endPos)
        return -1;
    const uint64_t bit = BitPosition(c);
    std::memcpy(c->input + c->endPos, bytes, length);
    c->endPos += length;
    std::memset(c->input + c->endPos, 0, kInputPadding);
    // The window may have loaded zeros from behind the old end: load it again.
    const size_t byte = size_t(bit >> 3);
    SeekReader(c, byte);
    if (bit & 7)
        ConsumeBits(c, unsigned(bit & 7));
    return 0;
}

size_t FindStartCode(const Mpeg2VideoDecoderCore* c, size_t from)
{
    const uint8_t* d = c->input;
    const size_t end = c->endPos;
    size_t p = from;
#if defined(__SSE2__)
    // Sixteen positions at a time: a prefix at k has zeros at k and k + 1 and a one at k + 2. Each
    // picture's data is searched whole for its end, so this runs over every byte of the stream.
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi8(1);
    auto load = [d](size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + at)); };
    while (p + 18 <= end) {
        const __m128i zeros = _mm_and_si128(_mm_cmpeq_epi8(load(p), zero), _mm_cmpeq_epi8(load(p + 1), zero));
        const __m128i hits = _mm_and_si128(zeros, _mm_cmpeq_epi8(load(p + 2), one));
        if (const int mask = _mm_movemask_epi8(hits)) {
            const size_t at = p + size_t(__builtin_ctz(unsigned(mask)));
            return at + 4 <= end ? at : end;
        }
        p += 16;
    }
#endif
    while (p + 4 <= end) {
        const uint8_t b = d[p + 2];
        if (b > 1)
            p += 3;
        else if (b == 0)
            p += 1;
        else if (d[p] == 0 && d[p + 1] == 0)
            return p;
        else
            p += 3;
    }
    return end;
}

bool NextStartCode(Mpeg2VideoDecoderCore* c)
{
    size_t from = AlignedBytePosition(c);
    if (from > c->endPos)
        from = c->endPos;
    const size_t p = FindStartCode(c, from);
    if (p != c->endPos) {
        SeekReader(c, p);
        return true;
    }
    size_t keep = c->endPos >= 3 ? c->endPos - 3 : 0;
    if (keep < from)
        keep = from;
    SeekReader(c, keep);
    return false;
}

namespace {

// Whether the picture whose start code stands at `at` has arrived whole: its end is the next start
// code that is not one of its slices, extensions or user data. The declared VBV buffer size cannot
// tell, since encoders exceed it. The search resumes where the last call left off; a picture
// larger than half the input buffer is taken as it is, since the buffer could not hold more.
bool PictureComplete(Mpeg2VideoDecoderCore* c, size_t at)
{
    size_t p = at + 4 + c->pictureScanned;
    for (;;) {
        p = FindStartCode(c, p);
        if (p == c->endPos)
            break;
        const uint8_t code = c->input[p + 3];
        if (code == 0x00 || code == 0xB3 || code == 0xB7 || code == 0xB8 || code >= 0xB9)
            return true;
        p += 4;
    }
    // A start code prefix may begin in the last three bytes.
    const size_t resume = c->endPos >= 3 ? c->endPos - 3 : 0;
    c->pictureScanned = resume > at + 4 ? resume - at - 4 : 0;
    return c->pictureScanned >= c->capacity / 2;
}

} // namespace

int DecodeStep(Mpeg2VideoDecoderCore* c)
{
    if (BufferedBytes(c) <= 4)
        return kStepEmpty;
    if (!NextStartCode(c)) {
        // No start code among the buffered bytes: the rest is skipped.
        return kStepWait;
    }
    const size_t at = AlignedBytePosition(c);
    const uint8_t code = c->input[at + 3];
    int result;
    switch (code) {
    case 0x00: // picture_start_code
        if (!c->drain && !PictureComplete(c, at))
            return kStepWait;
        c->pictureScanned = 0;
        if (!c->sequenceReady) {
            base::TraceRefused("MPEG-2 picture", "no sequence header before it");
            SeekReader(c, at + 4);
            result = kStepNotReady;
        } else if (!ParseHeaderUnit(c, at + 4, ParsePictureHeader)) {
            return kStepWait;
        } else {
            result = kStepPicture;
        }
        break;
    case 0xB3: // sequence_header_code
        if (!ParseHeaderUnit(c, at + 4, ParseSequenceHeader))
            return kStepWait;
        result = kStepSequenceHeader;
        break;
    case 0xB7: // sequence_end_code
        SeekReader(c, at + 4);
        result = c->sequenceReady ? kStepSequenceEnd : kStepNotReady;
        break;
    case 0xB8: // group_start_code
        if (!c->sequenceReady) {
            SeekReader(c, at + 4);
            result = kStepNotReady;
        } else if (!ParseHeaderUnit(c, at + 4, ParseGOPHeader)) {
            return kStepWait;
        } else {
            result = kStepGroupOfPictures;
        }
        break;
    default:
        SeekReader(c, at + 4);
        if (!c->sequenceReady)
            result = kStepNotReady;
        else
            return kStepOther;
        break;
    }
    return result;
}

} // namespace mpeg2video
