// The registry text of a class id: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case digits.
#pragma once

#include "framework/CString.h"
#include "media/playback/Guid.h"

CString GuidToString(const GUID& guid);

// The null class id for any text that is not exactly 38 characters of that form (either case
// of hexadecimal digits is read).
GUID StringToGuid(const CString& text);
