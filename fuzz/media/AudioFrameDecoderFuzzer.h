// Shared body of the audio frame decoder fuzzers: the input arrives in chunks whose sizes come
// from the input itself, through the filter's byte buffer and decode loop, with every frame mixed
// to PCM and the decoder reset now and then, as discontinuities do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/audio/InputByteBuffer.h"

template <class Decoder>
int FuzzAudioDecoder(const uint8_t* data, size_t size)
{
    static Decoder* decoder = new Decoder; // kept across inputs, so state carries over as in a stream
    static audio::InputByteBuffer* buffer = [] {
        auto* b = new audio::InputByteBuffer;
        b->Allocate(0x20000);
        return b;
    }();
    buffer->Empty();
    std::vector<int16_t> pcm(2 * 2048);
    size_t position = 0;
    while (position < size) {
        const size_t chunk = 1 + (data[position] % 97) * 31;
        const size_t n = chunk < size - position ? chunk : size - position;
        buffer->Append(data + position, static_cast<int32_t>(n));
        position += n;
        for (int guard = 0; guard < 100000; ++guard) {
            const int32_t consumed = decoder->DecodeFrame(*buffer);
            if (consumed < 1)
                break;
            if (consumed > buffer->Unread())
                __builtin_trap();
            buffer->Consume(consumed);
            const int32_t samples = decoder->OutputFrame(pcm.data());
            if (samples < 0 || samples > 1536)
                __builtin_trap();
        }
        if ((data[position - 1] & 0x3F) == 0x3F)
            decoder->Reset();
    }
    return 0;
}
