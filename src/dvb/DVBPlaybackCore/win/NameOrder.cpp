#include "dvb/DVBPlaybackCore/NameOrder.h"

#include <windows.h>

namespace DVBPlaybackCore {

int CompareNames(const std::u16string& a, const std::u16string& b)
{
    return ::lstrcmpW(reinterpret_cast<LPCWSTR>(a.c_str()), reinterpret_cast<LPCWSTR>(b.c_str()));
}

} // namespace DVBPlaybackCore
