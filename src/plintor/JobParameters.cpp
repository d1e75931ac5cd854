#include "plintor/JobParameters.h"

namespace plintor {

std::vector<std::u16string> SplitCommandLine(const std::u16string& line)
{
    std::vector<std::u16string> arguments;
    size_t i = 0;
    const size_t n = line.size();
    for (;;) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        if (i >= n)
            break;
        std::u16string argument;
        bool quoted = false;
        while (i < n && (quoted || (line[i] != u' ' && line[i] != u'\t'))) {
            if (line[i] == u'\\') {
                size_t slashes = 0;
                while (i < n && line[i] == u'\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == u'"') {
                    argument.append(slashes / 2, u'\\');
                    if (slashes % 2 == 1) {
                        argument += u'"';
                        ++i;
                    }
                } else {
                    argument.append(slashes, u'\\');
                }
            } else if (line[i] == u'"') {
                if (quoted && i + 1 < n && line[i + 1] == u'"') {
                    argument += u'"'; // "" inside quotes
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

HRESULT ParseJobParameters(const std::u16string& line, DVBPlaybackCore::CRecordingCommand* out)
{
    return DVBPlaybackCore::ParseRecordingCommand(SplitCommandLine(line), out);
}

} // namespace plintor
