// The string of the channel file: a u32 byte count and that many bytes of UTF-16LE text without
// terminator.
#pragma once

#include <string>

#include "base/ByteReader.h"

namespace DVBPlaybackCore {

// False, with `text` unchanged, when the count is odd or longer than what is left.
bool ReadFileString(base::CByteReader& file, std::u16string& text);

} // namespace DVBPlaybackCore
