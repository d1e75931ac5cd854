// Programme-guide genres of an EIT content value (content_nibble_level_1 << 4 | level_2, ETSI
// EN 300 468 content descriptor): a short genre name, a category the guide tells genres apart by,
// and a text joining the name with the standard's description of the content byte.
#pragma once

#include <cstdint>
#include <string>

namespace DVBPlaybackCore {

// Writes the category (0 to 15) when `category` is not null.
std::u16string GetGenreText(uint32_t value, int* category);

} // namespace DVBPlaybackCore
