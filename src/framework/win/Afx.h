// The framework in one include for the programs' user-interface code.
#pragma once

#include <windows.h>

#include "framework/CArray.h"
#include "framework/CList.h"
#include "framework/CString.h"
#include "framework/win/CCmdTarget.h"
#include "framework/win/CCmdUI.h"
#include "framework/win/CFrameWnd.h"
#include "framework/win/CMenu.h"
#include "framework/win/CPoint.h"
#include "framework/win/CRect.h"
#include "framework/win/CSize.h"
#include "framework/win/CWinApp.h"
#include "framework/win/CWnd.h"
