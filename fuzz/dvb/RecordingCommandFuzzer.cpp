// Arbitrary argument lists through the reader of the scheduled-recording command line, packed as
// the viewer receives them from another process: UTF-16 strings, each ended by a NUL. What the
// reader accepts must come back unchanged when written as arguments again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dvb/DVBPlaybackCore/RecordingCommand.h"

using DVBPlaybackCore::CRecordingCommand;

namespace {

std::u16string Decimal(int64_t value)
{
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::u16string> arguments(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (c == 0)
            arguments.emplace_back();
        else
            arguments.back() += c;
    }
    CRecordingCommand command;
    if (DVBPlaybackCore::ParseRecordingCommand(arguments, &command) != S_OK)
        return 0;
    if (command.path.size() > DVBPlaybackCore::kMaxRecordingPath || command.minutes < 0)
        std::abort();
    std::vector<std::u16string> again = {u"/rec", Decimal(command.transportStreamId), Decimal(command.serviceId),
                                         Decimal(command.minutes), command.closeAfter ? u"1" : u"0"};
    if (!command.path.empty())
        again.push_back(command.path);
    CRecordingCommand back;
    if (DVBPlaybackCore::ParseRecordingCommand(again, &back) != S_OK || back.transportStreamId != command.transportStreamId ||
        back.serviceId != command.serviceId || back.minutes != command.minutes || back.closeAfter != command.closeAfter ||
        back.path != command.path)
        std::abort();
    return 0;
}
