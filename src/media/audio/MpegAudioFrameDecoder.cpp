#include "media/audio/MpegAudioFrameDecoder.h"

#include <cmath>
#include <cstring>

#include "base/ByteReader.h"
#include "base/Trace.h"
#include "media/audio/InputByteBuffer.h"
#include "media/audio/MpegAudioTables.h"

namespace audio {

namespace {

// Tells the trace why a frame was refused and passes on how many bytes to step over.
int32_t Refused(const char* why, int32_t consumed)
{
    base::TraceRefused("MPEG audio frame", why);
    return consumed;
}

constexpr uint32_t kPlaneSamples = 2048;

inline float Level(uint32_t code, uint32_t levels)
{
    // ISO/IEC 11172-3 requantisation, C x (s''' + D), written for a code counted from 0.
    return float(int32_t(2 * code) - int32_t(levels - 1)) / float(levels);
}

struct LayerTables {
    float scalefactor[64];
    // Grouped codes of the 3-, 5- and 9-level classes split into three requantised samples;
    // codes beyond the valid range (27, 125, 729 and up) give silence rather than a stray index.
    float group3[32][3];
    float group5[128][3];
    float group9[1024][3];

    LayerTables() : scalefactor(), group3(), group5(), group9()
    {
        for (int i = 0; i < 63; ++i)
            scalefactor[i] = static_cast<float>(2.0 * std::pow(2.0, -i / 3.0));
        scalefactor[63] = 1e-20f;
        auto split = [](float (*table)[3], uint32_t levels) {
            const uint32_t valid = levels * levels * levels;
            for (uint32_t code = 0; code < valid; ++code) {
                table[code][0] = Level(code % levels, levels);
                table[code][1] = Level((code / levels) % levels, levels);
                table[code][2] = Level(code / (levels * levels), levels);
            }
        };
        split(group3, 3);
        split(group5, 5);
        split(group9, 9);
    }
};

const LayerTables& Tables()
{
    static const LayerTables tables;
    return tables;
}

} // namespace

MpegAudioFrameDecoder::MpegAudioFrameDecoder() : AudioFrameDecoder(kTagMpeg)
{
    Tables();
}

MpegAudioFrameDecoder::~MpegAudioFrameDecoder()
{
    m_frame.Free();
}

void MpegAudioFrameDecoder::Reset()
{
    m_synthesis[0].Reset();
    m_synthesis[1].Reset();
    m_frameReady = false;
}

int32_t MpegAudioFrameDecoder::SamplesPerFrame() const
{
    return m_layer == 0 ? 384 : m_layer == 1 ? 1152 : 0;
}

bool MpegAudioFrameDecoder::ParseHeader(const uint8_t* bytes, Header& out)
{
    // ISO/IEC 11172-3, 2.4.1.3
    base::CByteReader h(bytes, 4);
    if (h.Bits(12) != 0xFFF)
        return false;
    if (!h.Bit()) // ID 0: the lower sampling frequencies of MPEG-2
        return false;
    const uint32_t layerBits = h.Bits(2);
    const bool protection = !h.Bit();
    const uint32_t bitrateIndex = h.Bits(4);
    const uint32_t rateIndex = h.Bits(2);
    const uint32_t padding = h.Bits(1);
    h.Bits(1); // private_bit
    const uint32_t mode = h.Bits(2);
    const uint32_t extension = h.Bits(2);
    if (layerBits == 0 || rateIndex == 3 || bitrateIndex == 0 || bitrateIndex == 15 || h.Overrun())
        return false;
    const int layer = 3 - static_cast<int>(layerBits);

    out.layer = layer;
    out.sampleRate = mpa::kSampleRates[rateIndex];
    out.bitRate = mpa::kBitRates[layer][bitrateIndex] * 1000u;
    out.channels = mode == 3 ? 1 : 2;
    out.headerBytes = protection ? 6 : 4;
    if (layer == 0)
        out.frameBytes = static_cast<int32_t>((12 * out.bitRate / out.sampleRate + padding) * 4);
    else
        out.frameBytes = static_cast<int32_t>(144 * out.bitRate / out.sampleRate + padding);
    if (out.frameBytes > 4096 || out.frameBytes < out.headerBytes)
        return false;

    out.table = 0;
    out.sblimit = 32;
    if (layer == 1) {
        const uint32_t perChannel = out.bitRate / 1000 / out.channels;
        if (perChannel <= 48)
            out.table = out.sampleRate == 32000 ? 3 : 2;
        else if (out.sampleRate == 48000 || perChannel <= 80)
            out.table = 0;
        else
            out.table = 1; // 44.1 and 32 kHz from 96 kbit/s per channel up
        out.sblimit = mpa::kSubbandLimit[out.table];
    }
    out.bound = out.sblimit;
    if (mode == 1) {
        const int bound = 4 * (static_cast<int>(extension) + 1);
        out.bound = bound < out.sblimit ? bound : out.sblimit;
    }
    if (out.channels == 1)
        out.bound = out.sblimit;
    return true;
}

int32_t MpegAudioFrameDecoder::DecodeFrame(const InputByteBuffer& buffer)
{
    m_frameReady = false;
    const uint8_t* data = buffer.ReadPointer();
    const int32_t unread = buffer.Unread();
    if (unread <= 0 || !data)
        return 0;
    int32_t offset = -1;
    for (int32_t i = 0; i + 1 < unread; ++i) {
        if (data[i] == 0xFF && (data[i + 1] & 0xF0) == 0xF0) {
            offset = i;
            break;
        }
    }
    if (offset < 0)
        return unread - 1;
    if (offset > 0)
        Reset(); // bytes before the sync word: the synthesis starts afresh
    if (unread - offset < 6)
        return offset;
    Header header;
    if (!ParseHeader(data + offset, header))
        return Refused("bad header", offset + 2);
    if (unread - offset < header.frameBytes)
        return offset; // wait for the rest of the frame

    m_header = header;
    m_layer = header.layer;
    m_streamInfo.tag = kTagMpeg;
    m_streamInfo.sampleRate = header.sampleRate;
    m_streamInfo.channels = header.channels;
    if (header.layer == 2)
        return offset + header.frameBytes; // layer III: kept in step, not decoded
    if (!m_frame.Resize(header.channels, kPlaneSamples))
        return Refused("no memory for its channels", offset + 1);
    m_frame.presence = PlanarSampleBuffer::kFront;

    const uint8_t* frame = data + offset;
    AudioBitReader bits(base::CByteReader(frame + header.headerBytes,
                                          static_cast<size_t>(header.frameBytes - header.headerBytes)));
    const bool ok = header.layer == 0 ? DecodeLayer1(bits) : DecodeLayer2(bits);
    if (!ok || bits.Overrun())
        return Refused(ok ? "audio data past the frame" : "damaged audio data", offset + 1);
    m_frameReady = true;
    return offset + header.frameBytes;
}

int32_t MpegAudioFrameDecoder::OutputFrame(void* destination)
{
    if (!m_frameReady || !destination)
        return 0;
    int32_t count = 0;
    Mix(m_outputFormat, m_frame, destination, count);
    return count;
}

bool MpegAudioFrameDecoder::DecodeLayer1(AudioBitReader& bits)
{
    const LayerTables& t = Tables();
    const int channels = static_cast<int>(m_header.channels);
    const int bound = m_header.bound;
    uint8_t allocation[2][32] = {};
    float scale[2][32] = {};
    for (int sb = 0; sb < 32; ++sb) {
        for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
            const uint8_t a = static_cast<uint8_t>(bits.Bits(4));
            if (a == 15)
                return false;
            allocation[ch][sb] = a;
            if (sb >= bound)
                allocation[1][sb] = a;
        }
    }
    for (int sb = 0; sb < 32; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (allocation[ch][sb])
                scale[ch][sb] = t.scalefactor[bits.Bits(6)];
    for (int s = 0; s < 12; ++s) {
        float samples[2][32] = {};
        for (int sb = 0; sb < 32; ++sb) {
            for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
                const uint32_t nb = allocation[ch][sb];
                if (!nb)
                    continue;
                const uint32_t bitsPerSample = nb + 1;
                const float v = Level(bits.Bits(bitsPerSample), (1u << bitsPerSample) - 1);
                if (sb < bound) {
                    samples[ch][sb] = v * scale[ch][sb];
                } else {
                    for (int c = 0; c < channels; ++c)
                        samples[c][sb] = v * scale[c][sb];
                }
            }
        }
        for (int ch = 0; ch < channels; ++ch)
            m_synthesis[ch].Run(samples[ch], m_frame.planes[ch] + 32 * s);
    }
    return true;
}

bool MpegAudioFrameDecoder::DecodeLayer2(AudioBitReader& bits)
{
    const LayerTables& t = Tables();
    const int channels = static_cast<int>(m_header.channels);
    const int bound = m_header.bound;
    const int sblimit = m_header.sblimit;
    int8_t cls[2][32];
    std::memset(cls, -1, sizeof cls);
    for (int sb = 0; sb < sblimit; ++sb) {
        const mpa::AllocationRow row = mpa::AllocationFor(m_header.table, sb);
        for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
            const uint32_t code = bits.Bits(row.bits);
            const int8_t c = code ? static_cast<int8_t>(row.classes[code - 1]) : -1;
            cls[ch][sb] = c;
            if (sb >= bound)
                cls[1][sb] = c;
        }
    }
    uint8_t scfsi[2][32] = {};
    for (int sb = 0; sb < sblimit; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (cls[ch][sb] >= 0)
                scfsi[ch][sb] = static_cast<uint8_t>(bits.Bits(2));
    float scale[2][3][32] = {};
    for (int sb = 0; sb < sblimit; ++sb) {
        for (int ch = 0; ch < channels; ++ch) {
            if (cls[ch][sb] < 0)
                continue;
            float* s = &scale[ch][0][sb];
            const float a = t.scalefactor[bits.Bits(6)];
            switch (scfsi[ch][sb]) {
            case 0:
                s[0] = a;
                s[32] = t.scalefactor[bits.Bits(6)];
                s[64] = t.scalefactor[bits.Bits(6)];
                break;
            case 1:
                s[0] = s[32] = a;
                s[64] = t.scalefactor[bits.Bits(6)];
                break;
            case 2:
                s[0] = s[32] = s[64] = a;
                break;
            default:
                s[0] = a;
                s[32] = s[64] = t.scalefactor[bits.Bits(6)];
                break;
            }
        }
    }
    for (int granule = 0; granule < 12; ++granule) {
        const int part = granule >> 2;
        float samples[3][2][32] = {};
        for (int sb = 0; sb < sblimit; ++sb) {
            for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch) {
                const int c = cls[ch][sb];
                if (c < 0)
                    continue;
                const mpa::QuantClass& q = mpa::kClasses[c];
                float v[3];
                if (q.grouped) {
                    const uint32_t code = bits.Bits(q.bits);
                    const float* g = q.levels == 3 ? t.group3[code] : q.levels == 5 ? t.group5[code] : t.group9[code];
                    v[0] = g[0];
                    v[1] = g[1];
                    v[2] = g[2];
                } else {
                    for (float& x : v)
                        x = Level(bits.Bits(q.bits), q.levels);
                }
                for (int c2 = (sb < bound ? ch : 0); c2 < (sb < bound ? ch + 1 : channels); ++c2)
                    for (int k = 0; k < 3; ++k)
                        samples[k][c2][sb] = v[k] * scale[c2][part][sb];
            }
        }
        for (int k = 0; k < 3; ++k)
            for (int ch = 0; ch < channels; ++ch)
                m_synthesis[ch].Run(samples[k][ch], m_frame.planes[ch] + 96 * granule + 32 * k);
    }
    return true;
}

} // namespace audio
