// Every user-visible string of the viewer comes from its string tables, in the user-interface
// language; a string that language lacks comes in English, then in whatever the module has.
#pragma once

#include <windows.h>

#include <string>

// The language LoadLocalizedString asks for first (the "Language" setting; 1033 until set).
void SetUiLanguage(LANGID language);
LANGID GetUiLanguage();

std::wstring LoadLocalizedString(UINT id);
// The string of one language only; empty when that language has none.
std::wstring LoadStringInLanguage(HMODULE module, UINT id, LANGID language);
