// The folder of the running program (where "\channels.dat", "\epg.dat" and the resources lie),
// without a trailing backslash.
#pragma once

#include <windows.h>

#include <string>

#include "base/Result.h"

namespace DVBPlaybackCore {

// The module's file name up to its last '\'; empty when the system cannot tell it. `module` null
// is the program itself.
std::u16string ProgramFolder(HMODULE module = nullptr);

} // namespace DVBPlaybackCore
