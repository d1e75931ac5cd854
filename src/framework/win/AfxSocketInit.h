// Windows Sockets for the program (WSAStartup 2.2), released at its end.
#pragma once

#include <windows.h>

BOOL AfxSocketInit();
