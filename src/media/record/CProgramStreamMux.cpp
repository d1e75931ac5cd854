#include "media/record/CProgramStreamMux.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace record {

namespace {

constexpr int64_t kWrap = int64_t(1) << 33;
constexpr int64_t kPending = std::numeric_limits<int64_t>::max();
// An SCR step per byte is 90000 / (50 x rate) = 1800 / rate ticks.
constexpr double kTicksPerByteAtUnitRate = 1800.0;
constexpr size_t kCompactAt = 1 << 20;

} // namespace

CProgramStreamMux::CProgramStreamMux(Writer writer) : m_writer(std::move(writer)), m_clock(90000) {}

void CProgramStreamMux::SetStreams(bool video, bool audio)
{
    if (m_started)
        return;
    m_queues[kVideo].present = video;
    m_queues[kAudio].present = audio;
}

void CProgramStreamMux::SetAudioId(uint8_t id)
{
    if (!m_started)
        m_queues[kAudio].id = id;
}

void CProgramStreamMux::Add(Stream stream, const uint8_t* head, int headLength, const uint8_t* data, int length,
                            bool timestamped, uint64_t time)
{
    if (m_ended)
        return;
    CQueue& queue = m_queues[stream];
    CUnit unit{headLength + length, queue.seen ? queue.lastDeadline : m_clock, timestamped};
    if (timestamped) {
        // The 33-bit time nearest the last one: recordings run across the clock's wrap.
        unit.deadline = m_clock + ((static_cast<int64_t>(time) - m_clock + kWrap / 2) % kWrap + kWrap) % kWrap - kWrap / 2;
        m_clock = unit.deadline;
    }
    queue.seen = true;
    queue.lastDeadline = unit.deadline;
    queue.largest = std::max(queue.largest, unit.size);
    if (queue.read >= kCompactAt && queue.read * 2 >= queue.bytes.size()) {
        queue.bytes.erase(queue.bytes.begin(), queue.bytes.begin() + static_cast<ptrdiff_t>(queue.read));
        queue.read = 0;
    }
    queue.bytes.insert(queue.bytes.end(), head, head + headLength);
    queue.bytes.insert(queue.bytes.end(), data, data + length);
    queue.units.push_back(unit);
    Schedule(false);
}

void CProgramStreamMux::End()
{
    if (m_ended)
        return;
    Schedule(true);
    m_ended = true;
    if (m_position > 0) {
        // ISO/IEC 13818-1, 2.5.3.1: MPEG_program_end_code.
        const uint8_t end[4] = {0, 0, 1, 0xB9};
        Emit(end, sizeof(end));
    }
}

double CProgramStreamMux::Now() const
{
    return static_cast<double>(m_scr) +
           static_cast<double>(m_position - m_scrAt) * kTicksPerByteAtUnitRate / static_cast<double>(m_rate);
}

bool CProgramStreamMux::Begin(bool final)
{
    if (m_started)
        return true;
    CQueue& video = m_queues[kVideo];
    CQueue& audio = m_queues[kAudio];
    if (video.units.empty() && audio.units.empty())
        return false;
    // Every system header names the audio as it is: the first pack waits for its kind.
    if (audio.present && audio.id == 0 && !final && !HeldTooLong(video))
        return false;
    if (audio.id == 0)
        audio.id = 0xC0;
    video.id = 0xE0;
    m_rate = video.present && m_highDefinition ? kHighRate : kStandardRate;
    video.bound = m_highDefinition ? kHighVideoBound : kStandardVideoBound;
    // The buffer holds the PES being decoded, the next and the one arriving.
    audio.bound = std::max<uint32_t>(kAudioBound, static_cast<uint32_t>(3 * audio.largest + 1023) / 1024 * 1024);
    int64_t first = kPending;
    for (const CQueue& q : m_queues)
        if (!q.units.empty())
            first = std::min(first, q.units.front().deadline);
    m_scr = std::max<int64_t>(0, first - kStartLead);
    m_scrAt = m_position;
    m_started = true;
    return true;
}

bool CProgramStreamMux::HeldTooLong(const CQueue& queue)
{
    return !queue.units.empty() && (queue.lastDeadline - queue.units.front().deadline > kHoldLimit ||
                                    queue.bytes.size() - queue.read > kHoldBytes);
}

double CProgramStreamMux::FitTime(CQueue& queue, const CUnit& unit) const
{
    const double now = Now();
    queue.held.erase(std::remove_if(queue.held.begin(), queue.held.end(),
                                    [now](const CHeld& held) { return static_cast<double>(held.removal) <= now; }),
                     queue.held.end());
    int64_t total = unit.size;
    for (const CHeld& held : queue.held)
        total += held.size;
    double fit = now;
    for (const CHeld& held : queue.held) {
        if (total <= static_cast<int64_t>(queue.bound))
            break;
        // An audio PES leaves the buffer at the latest when the next one's first frame is due.
        const int64_t removal = held.removal == kPending && unit.timestamped ? unit.deadline : held.removal;
        if (removal == kPending)
            break;
        fit = std::max(fit, static_cast<double>(removal));
        total -= held.size;
    }
    // Waiting past the time the PES is due helps nothing (a damaged timestamp, a buffer too small).
    const double latest = static_cast<double>(unit.deadline) - (unit.size + 32) * kTicksPerByteAtUnitRate / m_rate;
    return std::max(now, std::min(fit, latest));
}

void CProgramStreamMux::Schedule(bool final)
{
    if (!Begin(final))
        return;
    for (;;) {
        int best = -1;
        double bestTime = 0;
        for (int s = 0; s < 2; ++s) {
            CQueue& queue = m_queues[s];
            const CQueue& other = m_queues[1 - s];
            if (queue.units.empty())
                continue;
            const CUnit& unit = queue.units.front();
            // Written in decoding order: nothing of the other stream may still come before it.
            const bool known = final || !other.present || (other.seen && other.lastDeadline >= unit.deadline) ||
                               HeldTooLong(queue);
            if (!known)
                continue;
            const double time = FitTime(queue, unit);
            if (best < 0 || time < bestTime ||
                (time == bestTime && unit.deadline < m_queues[best].units.front().deadline)) {
                best = s;
                bestTime = time;
            }
        }
        if (best < 0)
            return;
        CQueue& queue = m_queues[best];
        const CUnit unit = queue.units.front();
        queue.units.pop_front();
        const uint8_t* bytes = queue.bytes.data() + queue.read;
        queue.read += static_cast<size_t>(unit.size);
        const bool systemHeader = unit.timestamped && (best == kVideo || !m_queues[kVideo].present);
        const double sendTime = (unit.size + 32) * kTicksPerByteAtUnitRate / static_cast<double>(m_rate);
        // Audio before the recording's start that could only arrive after its time is dropped.
        if (best == kVideo || m_audioWritten > 0 || static_cast<double>(unit.deadline) >= bestTime + sendTime) {
            if (best == kAudio)
                ++m_audioWritten;
            if (m_position == 0 || systemHeader || bestTime > Now())
                WritePack(bestTime, systemHeader);
            Emit(bytes, unit.size);
            if (best == kAudio && unit.timestamped)
                for (CHeld& held : queue.held)
                    if (held.removal == kPending)
                        held.removal = unit.deadline;
            queue.held.push_back({unit.size, best == kVideo ? unit.deadline : kPending});
        }
        if (queue.units.empty()) {
            queue.bytes.clear();
            queue.read = 0;
        }
    }
}

void CProgramStreamMux::WritePack(double time, bool systemHeader)
{
    // The SCR is the arrival of the pack's byte 8, which holds SCR_base's last bit; the pack
    // begins no earlier than the previous bytes have arrived.
    const double begin = std::max(time, Now());
    const int64_t scr = static_cast<int64_t>(std::ceil(begin + 8 * kTicksPerByteAtUnitRate / m_rate));
    const uint64_t base = static_cast<uint64_t>(scr) & (kWrap - 1);
    // ISO/IEC 13818-1, 2.5.3.3: pack header.
    uint8_t pack[14];
    pack[0] = 0;
    pack[1] = 0;
    pack[2] = 1;
    pack[3] = 0xBA;
    pack[4] = static_cast<uint8_t>(0x44 | ((base >> 27) & 0x38) | ((base >> 28) & 0x03));
    pack[5] = static_cast<uint8_t>(base >> 20);
    pack[6] = static_cast<uint8_t>(((base >> 12) & 0xF8) | 0x04 | ((base >> 13) & 0x03));
    pack[7] = static_cast<uint8_t>(base >> 5);
    pack[8] = static_cast<uint8_t>(((base << 3) & 0xF8) | 0x04); // SCR_extension 0
    pack[9] = 0x01;
    pack[10] = static_cast<uint8_t>(m_rate >> 14);
    pack[11] = static_cast<uint8_t>(m_rate >> 6);
    pack[12] = static_cast<uint8_t>(((m_rate << 2) & 0xFC) | 0x03);
    pack[13] = 0xF8; // no stuffing
    m_scr = scr;
    m_scrAt = m_position + 8;
    Emit(pack, sizeof(pack));
    if (!systemHeader)
        return;

    // ISO/IEC 13818-1, 2.5.3.5: system header, the same in every pack that has one.
    uint8_t system[18];
    const CQueue& video = m_queues[kVideo];
    const CQueue& audio = m_queues[kAudio];
    const int headerLength = 6 + 3 * (video.present ? 1 : 0) + 3 * (audio.present ? 1 : 0);
    system[0] = 0;
    system[1] = 0;
    system[2] = 1;
    system[3] = 0xBB;
    system[4] = static_cast<uint8_t>(headerLength >> 8);
    system[5] = static_cast<uint8_t>(headerLength);
    system[6] = static_cast<uint8_t>(0x80 | (m_rate >> 15));
    system[7] = static_cast<uint8_t>(m_rate >> 7);
    system[8] = static_cast<uint8_t>(((m_rate << 1) & 0xFE) | 0x01);
    system[9] = static_cast<uint8_t>((audio.present ? 1 : 0) << 2);  // audio_bound, fixed 0, CSPS 0
    system[10] = static_cast<uint8_t>(0x20 | (video.present ? 1 : 0)); // locks 0, marker, video_bound
    system[11] = 0xFF;                                                 // packet_rate_restriction, reserved
    int fill = 12;
    if (video.present) {
        // P-STD_buffer_bound_scale 1: units of 1024 bytes.
        const uint32_t units = video.bound / 1024;
        system[fill++] = video.id;
        system[fill++] = static_cast<uint8_t>(0xE0 | (units >> 8));
        system[fill++] = static_cast<uint8_t>(units);
    }
    if (audio.present) {
        // P-STD_buffer_bound_scale 0: units of 128 bytes.
        const uint32_t units = audio.bound / 128;
        system[fill++] = audio.id;
        system[fill++] = static_cast<uint8_t>(0xC0 | (units >> 8));
        system[fill++] = static_cast<uint8_t>(units);
    }
    Emit(system, fill);
}

void CProgramStreamMux::Emit(const uint8_t* data, int length)
{
    m_writer(data, length);
    m_position += static_cast<uint64_t>(length);
}

} // namespace record
