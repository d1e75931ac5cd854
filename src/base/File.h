// Whole-file reads and crash-safe replacement of the program's data files. Paths are UTF-16, as
// the program folder may hold any character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace base {

bool ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes);
// Writes to a temporary file beside `path` and then replaces `path` with it, so a failed save
// never destroys the previous file.
bool WriteFileReplacing(const std::u16string& path, const std::vector<uint8_t>& bytes);
bool DeleteFileAt(const std::u16string& path);

} // namespace base
