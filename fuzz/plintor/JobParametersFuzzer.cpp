// Arbitrary parameter lines (UTF-16LE) of scheduled-recording jobs through the command-line
// splitting and the recording reader. A recording read from a line comes back unchanged when it
// is written as a job's line again and read once more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "plintor/JobParameters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string line;
    for (size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    for (const std::u16string& argument : plintor::SplitCommandLine(line)) {
        // Separators only survive inside quotes.
        if ((argument.find(u' ') != std::u16string::npos || argument.find(u'\t') != std::u16string::npos) &&
            line.find(u'"') == std::u16string::npos)
            std::abort();
    }
    DVBPlaybackCore::CRecordingCommand command;
    if (plintor::ParseJobParameters(line, &command) != S_OK)
        return 0;
    // Paths with quotes or tabs, or with blanks at their ends, are not what the format writes.
    const std::u16string& path = command.path;
    if (path.find_first_of(u"\"\t") != std::u16string::npos || (!path.empty() && (path.front() == u' ' || path.back() == u' ')))
        return 0;
    const std::u16string again = DVBPlaybackCore::FormatRecordingCommand(
        command.transportStreamId, command.serviceId, command.minutes, command.closeAfter, path);
    DVBPlaybackCore::CRecordingCommand back;
    if (plintor::ParseJobParameters(again, &back) != S_OK || back.transportStreamId != command.transportStreamId ||
        back.serviceId != command.serviceId || back.minutes != command.minutes || back.closeAfter != command.closeAfter ||
        back.path != path)
        std::abort();
    return 0;
}
