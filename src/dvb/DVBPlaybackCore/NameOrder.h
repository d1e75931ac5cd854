// The order of channel names in the lists sorted by name.
#pragma once

#include <string>

namespace DVBPlaybackCore {

// Compares two names already lower-cased: negative, 0 or positive. On Windows it is the system's
// language-aware comparison (lstrcmpW), so that a Slovak "šport" sorts beside "sport" and not after
// "z"; elsewhere the names are compared by UTF-16 code unit.
int CompareNames(const std::u16string& a, const std::u16string& b);

} // namespace DVBPlaybackCore
