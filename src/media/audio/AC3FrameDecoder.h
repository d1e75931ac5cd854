// AC-3 (ATSC A/52) frame decoder: finds one sync frame in the filter's byte buffer, decodes its six
// audio blocks into one float plane per coded channel (bit-stream order, LFE last) and hands the
// 1,536 samples per plane to the mixer.
#pragma once

#include <cstdint>

#include "media/audio/Ac3Transform.h"
#include "media/audio/AudioBitReader.h"
#include "media/audio/AudioFrameDecoder.h"
#include "media/audio/PlanarMixer.h"
#include "media/audio/PlanarSampleBuffer.h"

namespace audio {

class AC3FrameDecoder : public AudioFrameDecoder, public PlanarMixer {
public:
    AC3FrameDecoder();
    ~AC3FrameDecoder() override;

    int32_t DecodeFrame(const InputByteBuffer& buffer) override;
    int32_t OutputFrame(void* destination) override;
    void Reset() override { m_frameReady = false; }
    int32_t SamplesPerFrame() const override { return 1536; }

    // The decoded frame (planes of 1,536 samples, valid while FrameReady()).
    const PlanarSampleBuffer& Frame() const { return m_frame; }

    // Channel slots of the block state: 0..4 full-bandwidth, 5 LFE, 6 coupling.
    static constexpr int kLfe = 5;
    static constexpr int kCoupling = 6;
    static constexpr int kSlots = 7;

private:
    bool DecodeBlock(AudioBitReader& bits, int block);
    bool ParseCoupling(AudioBitReader& bits);
    bool ParseExponents(AudioBitReader& bits, int slot, int strategy, int start, int end, int absolute);
    bool ParseBitAllocation(AudioBitReader& bits, int block);
    void ParseDelta(AudioBitReader& bits, int slot);
    void AllocateBits(int slot, int start, int end, int fastGain, int snrOffset, int fastLeak, int slowLeak);
    void ReadMantissas(AudioBitReader& bits, int slot, int start, int end, float* out, bool dither);
    float Dither();

    PlanarSampleBuffer m_frame;
    PlanarSampleBuffer m_overlap;
    Ac3Transform m_transform;

    // The decoder's state is named for what it means, in m_camelCase; the A/52 syntax element
    // each field holds or follows is named beside it.
    // Sync and bit-stream information of the current frame.
    uint32_t m_sampleRateCode = 0; // fscod
    uint32_t m_shift = 0;          // sample-rate shift from bsid
    uint32_t m_channelMode = 0;    // acmod
    bool m_lfeOn = false;          // lfeon
    uint32_t m_fullChannels = 0;   // nfchans

    // Audio-block state carried from block to block as A/52 allows reuse.
    bool m_blockSwitch[5] = {};            // blksw
    bool m_ditherOn[5] = {};               // dithflag
    bool m_couplingOn = false;             // cplinu
    bool m_channelCoupled[5] = {};         // chincpl
    bool m_phaseFlagsOn = false;           // phsflginu
    int m_couplingBegin = 0, m_couplingEnd = 0; // coupling mantissas [begin, end)
    int m_couplingBands = 0;               // ncplbnd
    int m_couplingBandEnd[18] = {};        // end mantissa of each coupling band
    float m_couplingCoordinates[5][18] = {}; // cplco
    bool m_phaseFlags[18] = {};            // phsflg
    uint8_t m_rematrixBands = 0;           // rematflg, one bit a band
    int m_exponentStrategy[kSlots] = {};   // chexpstr, cplexpstr, lfeexpstr
    int m_endMantissa[kSlots] = {};
    uint8_t m_exponents[kSlots][256] = {};
    uint8_t m_allocationPointers[kSlots][256] = {}; // bap
    // sdecay, fdecay, sgain, dbknee, floor
    int m_slowDecay = 0, m_fastDecay = 0, m_slowGain = 0, m_dbKnee = 0, m_floor = 0;
    int m_snrOffset[kSlots] = {};          // csnroffst + fsnroffst
    int m_fastGain[kSlots] = {};           // fgain
    int m_couplingFastLeak = 0, m_couplingSlowLeak = 0; // cplfleak, cplsleak
    int m_deltaMode[kSlots] = {};          // deltbae
    int16_t m_deltaAllocation[kSlots][50] = {}; // deltba per band
    uint32_t m_reallocateSlots = 0;        // one bit a slot whose allocation must be made again

    uint16_t m_ditherState = 1;

    // The frame being decoded, copied so that the mantissa reading may load eight bytes at any
    // position it reaches before it checks for an overrun (at most a block's channel past the end).
    static constexpr int kMaxFrameBytes = 3840; // 640 kbit/s at 32 kHz
    uint8_t m_bytes[kMaxFrameBytes + 1024] = {};

    float m_couplingCoefficients[256] = {};
    // Grouped mantissas waiting to be used (A/52 section 7.3.5).
    int m_groupCount[3] = {};
    float m_groupLevels[3][3] = {};
};

} // namespace audio
