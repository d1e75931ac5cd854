// The time the process's MPEG-2 video decoders spend decoding pictures and converting them into
// output samples, measured on the decoding thread itself and summed over every decoder: its CPU time
// (GetThreadTimes, which Wine counts in 10-ms ticks: right over many pictures, not for one) and the
// wall-clock time of the same stretches (an upper bound that a loaded machine inflates). Off unless
// switched on: the clocks are read a few times per picture only while a benchmark asks for the
// figure it sets beside the whole process's time.
#pragma once

#include <cstdint>

namespace mpeg2videofilter {

// 100-ns units.
struct DecoderTime {
    int64_t cpu = 0, wall = 0;
    DecoderTime operator-(const DecoderTime& other) const { return {cpu - other.cpu, wall - other.wall}; }
    DecoderTime& operator+=(const DecoderTime& other)
    {
        cpu += other.cpu;
        wall += other.wall;
        return *this;
    }
};

struct DecoderCpuTimes {
    DecoderTime decode;  // in the decoder's input call, less conversion and delivery
    DecoderTime convert; // colour conversion and logo blending into output samples
    DecoderTime deliver; // delivery, that is the renderer's work on the decoding thread
    int64_t samples = 0; // output samples converted
};

class CDecoderCpuAccount {
public:
    static void Enable(bool on);
    static bool Enabled();
    static DecoderCpuTimes Totals();
    // The calling thread's user and kernel time, and the wall clock.
    static DecoderTime Now();
    static void Add(const DecoderCpuTimes& times);
};

} // namespace mpeg2videofilter
