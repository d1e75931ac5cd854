// Where the configurator keeps what it sets: the viewer's profile values and the autostart entry.
#pragma once

#include <windows.h>

#include "framework/CString.h"

extern const wchar_t kViewerKey[];   // HKCU, the root of the viewer's values
extern const wchar_t kSettingsKey[]; // HKCU, the viewer's profile ("qor")
extern const wchar_t kRunKey[];      // HKCU, the programs started at log-on
extern const wchar_t kRunValue[];

// A REG_DWORD value; false when it is missing or of another type.
bool ReadDword(HKEY key, LPCWSTR name, DWORD* value);
void WriteDword(HKEY key, LPCWSTR name, DWORD value);
// A REG_SZ or REG_EXPAND_SZ value of at most 260 characters with its terminating NUL; false
// when it is missing, of another type or unterminated.
bool ReadString(HKEY key, LPCWSTR name, CString* value);
// The value with its terminating NUL.
void WriteString(HKEY key, LPCWSTR name, const CString& value);
// The folder of this program with its trailing '\'.
CString ProgramFolderWithSlash();
