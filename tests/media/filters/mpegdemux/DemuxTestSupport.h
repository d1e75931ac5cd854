// Runs the demultiplexer core over a transport-stream file and collects what each output gets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/filters/mpegdemux/CMpegDemuxCore.h"

namespace test {

struct DemuxedUnit {
    std::vector<uint8_t> data;
    int64_t start; // relative to the time base once the run is over; CDataPacket::kNoTime without a time
    int64_t pts;
};

struct DemuxRun {
    std::vector<DemuxedUnit> units[2];
    int64_t timeBase = -1;
    int timeBaseEvents = 0;
    std::vector<int> audioKindChanges;
    size_t unitsBeforeTimeBase[2] = {}; // units that had to wait for the base

    std::vector<uint8_t> Concatenated(int pin) const;
    // Takes the base off every start time.
    void MakeRelative();
};

// Moves `events` into `run` as the filter's queues would take them.
void CollectEvents(mpegdemux::CMpegDemuxCore::CEvents& events, DemuxRun& run);
// Malformed packets are an error unless `damaged` says the stream holds some.
DemuxRun DemuxFile(const std::string& path, uint16_t videoPid, uint16_t audioPid, unsigned connected = 3,
                   bool damaged = false);

// "pid pts size" lines that the media fixture wrote with ffprobe.
struct ProbedPacket {
    uint16_t pid;
    int64_t pts;
    uint32_t size;
};
std::vector<ProbedPacket> ReadProbedPackets(const std::string& path);

} // namespace test
