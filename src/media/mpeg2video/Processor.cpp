// Processor detection and the choice of routines. On x86-64 SSE2 is always present; the MMX and
// MMX-extension forms of the routines are carried out with SSE2 instructions there, so the MMX,
// SSE and SSE2 bits all select the SSE2 routines of this build.
#include <cstring>

#include "media/mpeg2video/Routines.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define MPEG2VIDEO_CPUID 1
#endif

namespace mpeg2video {

bool HaveSse2Routines()
{
#ifdef MPEG2VIDEO_SSE2
    return true;
#else
    return false;
#endif
}

void DetectProcessor(ProcessorRecord* record)
{
    *record = ProcessorRecord();
#ifdef MPEG2VIDEO_CPUID
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(0, &a, &b, &c, &d))
        return;
    std::memcpy(record->vendor + 0, &b, 4);
    std::memcpy(record->vendor + 4, &d, 4);
    std::memcpy(record->vendor + 8, &c, 4);
    unsigned edx1 = 0;
    if (__get_cpuid(1, &a, &b, &c, &d))
        edx1 = d;
    unsigned edxExt = 0;
    if (__get_cpuid(0x80000000u, &a, &b, &c, &d) && a > 0x80000000u && __get_cpuid(0x80000001u, &a, &b, &c, &d))
        edxExt = d;
    record->capabilities = (edx1 & (kCpuMmx | kCpuSse | kCpuSse2)) | (edxExt & 0xC0000000u);
#endif
}

void SelectInverseTransform(Mpeg2VideoDecoderCore* core)
{
    core->inverseTransform = InverseTransformPortable;
    core->inverseTransformDc = InverseTransformPortable;
#ifdef MPEG2VIDEO_SSE2
    if (core->processor.capabilities & (kCpuMmx | kCpuSse)) {
        core->inverseTransform = InverseTransformAp922Sse2;
        core->inverseTransformDc = InverseTransformAp922DcSse2;
    }
#endif
}

void SelectBlockWriters(Mpeg2VideoDecoderCore* core)
{
    core->putBlock = PutBlockPortable;
    core->addBlock = AddBlockPortable;
#ifdef MPEG2VIDEO_SSE2
    if (core->processor.capabilities & (kCpuMmx | kCpuSse2)) {
        core->putBlock = PutBlockSse2;
        core->addBlock = AddBlockSse2;
    }
#endif
}

void SelectPredictionRoutines(Mpeg2VideoDecoderCore* core)
{
    const PredictionRoutine* set = kPortablePrediction;
#ifdef MPEG2VIDEO_SSE2
    if (core->processor.capabilities & (kCpuMmx | kCpuSse2))
        set = kSse2Prediction;
#endif
    for (int i = 0; i < kPredictionSlots; ++i)
        core->predict[i] = set[i];
}

void SelectRoutines(Mpeg2VideoDecoderCore* core, uint32_t capabilities)
{
    core->processor.capabilities = capabilities;
    SelectInverseTransform(core);
    SelectBlockWriters(core);
    SelectPredictionRoutines(core);
}

} // namespace mpeg2video
