#include "viewer/ViewerGlobals.h"

CString g_appFolder;
WORD g_uiLanguage = 1033;
CMainFrame* g_mainFrame = nullptr;
BYTE g_doubleFrameRate = 1;
