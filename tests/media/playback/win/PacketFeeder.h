// Pushes a transport stream into the live graph from its own thread, as the device engines do:
// packet by packet, paced to the stream's duration or as fast as the graph takes them, once or
// looping.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "media/playback/win/CDVBPlayback.h"

namespace test {

class CPacketFeeder {
public:
    // seconds: the stream's duration, which pacing spreads its packets over (0: not paced).
    CPacketFeeder(playback::CDVBPlayback* playback, const std::vector<uint8_t>* stream, double seconds, bool loop)
        : m_thread([=] { Run(playback, stream, seconds, loop); })
    {
    }
    ~CPacketFeeder() { Join(); }
    void Join()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    bool Finished() const { return m_finished; }
    size_t Delivered() const { return m_delivered; }
    // Laps of the stream begun so far (its time stamps start over with each).
    int Laps() const { return m_laps; }

private:
    void Run(playback::CDVBPlayback* playback, const std::vector<uint8_t>* stream, double seconds, bool loop)
    {
        const size_t packets = stream->size() / 188;
        do {
            const DWORD start = GetTickCount();
            ++m_laps;
            for (size_t i = 0; i < packets && !m_stop; ++i) {
                if (seconds > 0 && i % 64 == 0) {
                    const DWORD due = DWORD(double(i) * seconds * 1000.0 / double(packets));
                    const DWORD now = GetTickCount() - start;
                    if (due > now)
                        Sleep(due - now);
                }
                playback->DeliverPacket(stream->data() + i * 188, 188);
                ++m_delivered;
            }
        } while (loop && !m_stop);
        m_finished = true;
    }

    std::atomic<bool> m_stop{false}, m_finished{false};
    std::atomic<size_t> m_delivered{0};
    std::atomic<int> m_laps{0};
    std::thread m_thread;
};

} // namespace test
