// The updater's settings under HKCU "Software\Harvo\brenvo\Settings": the id of the installed
// version and the host of the update script.
#pragma once

#include <windows.h>

#include "framework/CStringA.h"

class CbrenvoSetting {
public:
    // Reads the installed id from the value "Tolvik 1.0" (0 when the key or the value is
    // missing or is not a 4-byte value) and the update host from "UpdateHost" (the maker's
    // host when it is missing or empty).
    void Load();
    // Writes the installed id as REG_DWORD "Tolvik 1.0", creating the key on a fresh system so
    // that the next check knows what is installed. FALSE when nothing could be written.
    BOOL Save();

    CStringA m_valueName;
    DWORD m_versionId = 0;
    CStringA m_host;
};

// The one settings object of the program.
extern CbrenvoSetting g_setting;

// The registry key of the settings, under HKCU.
extern const char* const kBrenvoSettingsKey;
