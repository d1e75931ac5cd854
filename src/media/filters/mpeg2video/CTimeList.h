// The start times of input samples, kept ascending, that the decoder filter hands out one per
// picture leaving the decoder core: input arrives in decoding order with presentation times,
// pictures leave in display order, and the sorted list puts the times back in that order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace mpeg2videofilter {

class CTimeList {
public:
    // Bounded: times for pictures that never come (damaged input) must not pile up.
    static constexpr size_t kMaxEntries = 64;

    // Inserts after the last entry smaller than the time (equal times go before existing ones);
    // when full the earliest entry goes.
    void Insert(int64_t time);
    // Removes and returns the earliest time; false when empty.
    bool PopFront(int64_t* time);
    void Clear() { m_times.clear(); }
    size_t Size() const { return m_times.size(); }
    bool Empty() const { return m_times.empty(); }

private:
    std::deque<int64_t> m_times;
};

} // namespace mpeg2videofilter
