#pragma once

#include <string>

#include "base/Utf16.h"
#include "dvb/libDVB/epg/CEPGStore.h"
#include "support/TestMedia.h"

namespace test {

inline libDVB::CEITEventUpdate Update(uint16_t eventId, int64_t start, int64_t duration, const char* name = "")
{
    libDVB::CEITEventUpdate u;
    u.original_network_id = 0x22;
    u.transport_stream_id = 0x33;
    u.service_id = 0x44;
    u.event_id = eventId;
    u.start = start;
    u.duration = duration;
    u.running_status = 4;
    if (*name)
        u.shortEvents.push_back({base::Utf8ToUtf16(name), u""});
    return u;
}

// A scratch file path unique to the running test, in the build's media folder.
inline std::u16string ScratchPath(const std::string& suffix)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return base::Utf8ToUtf16(MediaPath(std::string("scratch_") + info->test_suite_name() + "_" + info->name() + suffix));
}

} // namespace test
