// The block in which a viewer hands its command line to the running one: every argument after
// the program name as UTF-16 text with its terminating NUL, in order, and nothing after the last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace viewer {

// argv as the platform splits the command line. The program name is left out, except when the
// first word is the recording switch itself: a scheduler that starts the job without the
// program name must not lose "/rec". No arguments give an empty block; an empty argument still
// counts its NUL.
std::u16string PackArguments(const std::vector<std::u16string>& argv);

// The arguments of a received block of `units` UTF-16 units: the NUL-terminated strings in order;
// a last string without its NUL ends at the block's end.
std::vector<std::u16string> UnpackArguments(const char16_t* data, size_t units);

// The arguments from `first` on joined with single spaces: an unquoted path reaches a program
// split at its blanks. Empty when there are none.
std::u16string JoinArguments(const std::vector<std::u16string>& arguments, size_t first);

// The "/rec" command of a scheduled recording: /rec tsid sid minutes close [path].
struct RecordCommand {
    uint16_t transportStreamId = 0;
    uint16_t serviceId = 0;
    uint32_t minutes = 0;
    bool closeAfter = false;
    std::u16string path; // empty: the generated name
};

// The longest duration whose milliseconds fit the timer's 32 bits, and the path field's size.
constexpr uint32_t kMaxRecordMinutes = 71582;
constexpr size_t kRecordPathField = 260;

// True and `command` filled for "/rec" (case-sensitive) with at least four values after it; false
// for any other first argument, too few values, an id outside 16 bits, a duration outside
// 1..kMaxRecordMinutes or a path that does not fit its field with its NUL. The arguments after the
// fourth value are joined with single spaces into the path.
bool ParseRecordCommand(const std::vector<std::u16string>& arguments, RecordCommand& command);

} // namespace viewer
