// The parameter line of a scheduled-recording job, read back into the recording it starts.
#pragma once

#include <string>
#include <vector>

#include "base/Result.h"
#include "dvb/DVBPlaybackCore/RecordingCommand.h"

namespace plintor {

// Splits a line into arguments by the platform's command-line rules: blanks and tabs separate,
// double quotes group (a pair inside quotes is one quote), 2n backslashes before a quote are n
// backslashes and the quote still groups, 2n + 1 are n and a literal quote; other backslashes
// are literal.
std::vector<std::u16string> SplitCommandLine(const std::u16string& line);

// The recording of a job's parameters ("/rec ..."): the line split as above and read by
// ParseRecordingCommand, whose result it returns (1 when the line is no recording command).
HRESULT ParseJobParameters(const std::u16string& line, DVBPlaybackCore::CRecordingCommand* out);

} // namespace plintor
