// A hidden (message-only) window of its own class, carrying a pointer to its object in the
// user data: the way socket readiness and timers reach an object on the thread that created it.
#pragma once

#include <windows.h>

#include "base/Result.h"

namespace libDVB_EthernetDevice {

// Registers the class (once per process; later calls find it registered) and creates the window
// titled like its class; null when the window could not be made.
HWND CreateHiddenWindow(const wchar_t* className, WNDPROC procedure, void* object);
// Clears the object pointer first, so that messages sent during destruction reach no object.
void DestroyHiddenWindow(HWND window);

} // namespace libDVB_EthernetDevice
