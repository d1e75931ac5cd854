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

    // Sync and bit-stream information of the current frame.
    uint32_t m_fscod = 0;
    uint32_t m_shift = 0; // sample-rate shift from bsid
    uint32_t m_acmod = 0;
    bool m_lfeon = false;
    uint32_t m_nfchans = 0;

    // Audio-block state carried from block to block as A/52 allows reuse.
    bool m_blksw[5] = {};
    bool m_dithflag[5] = {};
    bool m_cplinu = false;
    bool m_chincpl[5] = {};
    bool m_phsflginu = false;
    int m_cplBegin = 0, m_cplEnd = 0; // coupling mantissas [begin, end)
    int m_cplBands = 0;
    int m_cplBandEnd[18] = {};        // end mantissa of each coupling band
    float m_cplco[5][18] = {};
    bool m_phsflg[18] = {};
    uint8_t m_rematflg = 0;
    int m_expstr[kSlots] = {};
    int m_endMantissa[kSlots] = {};
    uint8_t m_exponents[kSlots][256] = {};
    uint8_t m_bap[kSlots][256] = {};
    int m_sdecay = 0, m_fdecay = 0, m_sgain = 0, m_dbknee = 0, m_floor = 0;
    int m_snrOffset[kSlots] = {};
    int m_fastGain[kSlots] = {};
    int m_cplFastLeak = 0, m_cplSlowLeak = 0;
    int m_deltbae[kSlots] = {};
    int16_t m_delta[kSlots][50] = {};
    uint32_t m_reallocate = 0;

    uint16_t m_ditherState = 1;

    // The frame being decoded, copied so that the mantissa reading may load eight bytes at any
    // position it reaches before it checks for an overrun (at most a block's channel past the end).
    static constexpr int kMaxFrameBytes = 3840; // 640 kbit/s at 32 kHz
    uint8_t m_bytes[kMaxFrameBytes + 1024] = {};

    float m_cplCoefficients[256] = {};
    // Grouped mantissas waiting to be used (A/52 section 7.3.5).
    int m_groupCount[3] = {};
    float m_groupLevels[3][3] = {};
};

} // namespace audio
