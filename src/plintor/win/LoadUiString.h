// Every text the configurator shows comes from its string tables in the interface language the
// General page chose; a string that language lacks comes in the system's default choice.
#pragma once

#include <windows.h>

#include "framework/CString.h"

CString LoadUiString(UINT id);
void SetUiLanguage(LANGID language);
LANGID GetUiLanguage();
