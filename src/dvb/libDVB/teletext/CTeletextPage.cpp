#include "dvb/libDVB/teletext/CTeletextPage.h"

#include <cstring>

namespace libDVB {

void CTeletextPage::Clear() { std::memset(cells, 0, sizeof cells); }

} // namespace libDVB
