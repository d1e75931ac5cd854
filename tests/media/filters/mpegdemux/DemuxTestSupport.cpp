#include "media/filters/mpegdemux/DemuxTestSupport.h"

#include <fstream>

#include <gtest/gtest.h>

#include "support/TestMedia.h"

namespace test {

std::vector<uint8_t> DemuxRun::Concatenated(int pin) const
{
    std::vector<uint8_t> all;
    for (const auto& unit : units[pin])
        all.insert(all.end(), unit.data.begin(), unit.data.end());
    return all;
}

void DemuxRun::MakeRelative()
{
    for (auto& pin : units)
        for (auto& unit : pin)
            if (unit.start != mpegdemux::CDataPacket::kNoTime)
                unit.start -= timeBase;
}

void CollectEvents(mpegdemux::CMpegDemuxCore::CEvents& events, DemuxRun& run)
{
    using Event = mpegdemux::CMpegDemuxCore::CEvent;
    for (auto& event : events) {
        switch (event.type) {
        case Event::kTimeBase:
            run.timeBase = event.timeBase;
            ++run.timeBaseEvents;
            break;
        case Event::kAudioKindChanged:
            run.audioKindChanges.push_back(event.pin);
            break;
        case Event::kPayload: {
            // Units wait for the base, as in the output queues; the base comes off in Relative.
            const auto& p = *event.packet;
            if (run.timeBase < 0)
                ++run.unitsBeforeTimeBase[event.pin];
            run.units[event.pin].push_back(
                {std::vector<uint8_t>(p.Data(), p.Data() + p.Size()), p.StartTime(), p.Pts()});
            break;
        }
        }
    }
    events.clear();
}

DemuxRun DemuxFile(const std::string& path, uint16_t videoPid, uint16_t audioPid, unsigned connected, bool damaged)
{
    const auto bytes = ReadFileBytes(path);
    mpegdemux::CMpegDemuxCore core;
    core.SetPIDs(videoPid, audioPid);
    DemuxRun run;
    mpegdemux::CMpegDemuxCore::CEvents events;
    for (size_t offset = 0; offset + 188 <= bytes.size(); offset += 188) {
        const HRESULT hr = core.PushPacket(bytes.data() + offset, 188, connected, events);
        EXPECT_TRUE(hr == S_OK || hr == S_FALSE || (damaged && hr == E_FAIL)) << "packet at " << offset;
        CollectEvents(events, run);
    }
    run.MakeRelative();
    return run;
}

std::vector<ProbedPacket> ReadProbedPackets(const std::string& path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<ProbedPacket> packets;
    ProbedPacket p;
    while (in >> p.pid >> p.pts >> p.size)
        packets.push_back(p);
    return packets;
}

} // namespace test
