// The block in which a viewer hands its command line to the running one: every argument after
// the program name as UTF-16 text with its terminating NUL, in order, and nothing after the last.
#pragma once

#include <string>
#include <vector>

namespace viewer {

// argv as the platform splits the command line. The program name is left out, except when the
// first word is the recording switch itself: a scheduler that starts the job without the
// program name must not lose "/rec". No arguments give an empty block; an empty argument still
// counts its NUL.
std::u16string PackArguments(const std::vector<std::u16string>& argv);

} // namespace viewer
