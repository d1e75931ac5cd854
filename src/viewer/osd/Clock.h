// The OSD's one clock: a 32-bit millisecond tick count that wraps every 49.7 days, as transitions
// and auto-hide use it. Tests install their own source.
#pragma once

#include <cstdint>

namespace OnScreenDisplay {

using TickSource = uint32_t (*)();

uint32_t Now();
// Installs a tick source; null restores the system's.
void SetTickSource(TickSource source);

} // namespace OnScreenDisplay
