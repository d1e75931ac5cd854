// The viewer's scheduled-recording command line: "/rec <transport_stream_id> <service_id>
// <minutes> <1|0 close after> <path>", written into the Task Scheduler job and read back when the
// job starts the viewer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace DVBPlaybackCore {

struct CRecordingCommand {
    uint16_t transportStreamId = 0;
    uint16_t serviceId = 0;
    int64_t minutes = 0;
    bool closeAfter = false;
    std::u16string path; // empty: the viewer names the file
};

constexpr size_t kMaxRecordingPath = 259; // MAX_PATH without its terminating NUL

// The parameter line. A path holding a blank is quoted, so that it reaches the viewer as one
// argument (the default recordings folder has spaces in its name).
std::u16string FormatRecordingCommand(uint16_t transportStreamId, uint16_t serviceId, int64_t minutes, bool closeAfter,
                                      const std::u16string& path);

// Reads the command from the viewer's arguments. Some starters put the program first, others
// (the Task Scheduler service) pass the parameters alone: "/rec" is looked for in the first and
// the second argument. 1 when the arguments are no recording command; E_FAIL for a malformed
// number; E_INVALIDARG for a path longer than 259 characters. Arguments after the path are the
// pieces of an unquoted path with blanks, written by older versions, and are joined with one
// blank each.
HRESULT ParseRecordingCommand(const std::vector<std::u16string>& arguments, CRecordingCommand* out);

} // namespace DVBPlaybackCore
