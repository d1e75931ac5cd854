// A label or picture of a dialog.
#pragma once

#include "framework/win/CWnd.h"

class CStatic : public CWnd {
};
