// The audio decoder filter's sample path over arbitrary input: the first byte picks the stream
// kind and the sample sizes, the rest arrives in samples as from a demultiplexer; every frame is
// mixed into an output buffer of the size the filter's allocator gives, and timed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/filters/audiodecoder/AudioFramePump.h"
#include "media/filters/audiodecoder/AudioTimeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    using audiofilter::StreamKind;
    static audiofilter::AudioFramePump pump;
    pump.SetStreamKind((data[0] & 1) ? StreamKind::kAc3 : StreamKind::kMpeg);
    audiofilter::AudioTimeline timeline;
    timeline.Restart();
    const size_t chunk = 1 + (data[1] << 4);
    std::vector<uint8_t> output(65536);
    int64_t position = 0;
    for (size_t at = 2; at < size; at += chunk) {
        const size_t n = chunk < size - at ? chunk : size - at;
        timeline.OnInput(data[at] == 0x47, true, true, static_cast<int64_t>(at) * 1000);
        pump.Append(data + at, static_cast<int32_t>(n));
        while (pump.DecodeNext()) {
            const int32_t count = pump.OutputFrame(output.data(), output.size());
            if (count < 0 || static_cast<size_t>(count) * 4 > output.size())
                std::abort();
            int64_t start = 0, stop = 0;
            timeline.Advance(count, pump.Decoder()->GetStreamInfo()->sampleRate, start, stop);
            if (stop < start)
                std::abort();
            position = stop;
        }
    }
    (void)position;
    return 0;
}
