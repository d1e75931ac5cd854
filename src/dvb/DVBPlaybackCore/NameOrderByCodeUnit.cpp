#include "dvb/DVBPlaybackCore/NameOrder.h"

namespace DVBPlaybackCore {

int CompareNames(const std::u16string& a, const std::u16string& b) { return a.compare(b); }

} // namespace DVBPlaybackCore
