// winsock2.h before any windows.h, which would bring the old winsock.h.
#include <winsock2.h>

#include "framework/win/AfxSocketInit.h"

#include <cstdlib>

namespace {

void CleanUp() { ::WSACleanup(); }

} // namespace

BOOL AfxSocketInit()
{
    static bool started = false;
    if (started)
        return TRUE;
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return FALSE;
    started = true;
    std::atexit(CleanUp);
    return TRUE;
}
