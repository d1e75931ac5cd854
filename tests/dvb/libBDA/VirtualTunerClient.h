// Access from a test to the virtual tuner server COM loaded into this process: the same module,
// found through its registration, and its steering functions.
#pragma once

#include <cstdint>
#include <string>

#include "VirtualTuner.h"

namespace test {

class CVirtualTunerClient {
public:
    CVirtualTunerClient();
    ~CVirtualTunerClient();
    bool IsLoaded() const { return m_module != nullptr; }

    void MapFrequency(LONG frequency, const std::wstring& path) { m_map(frequency, path.c_str()); }
    uint32_t DiSEqCCount() { return m_diseqc(0, nullptr, 0); }
    void DiSEqC(uint32_t index, uint8_t (&buffer)[188]) { m_diseqc(index, buffer, 188); }
    LONG Registrations() { return m_registrations(); }
    virtualtuner::VirtualTuneRecord LastTune()
    {
        virtualtuner::VirtualTuneRecord record = {};
        m_lastTune(&record);
        return record;
    }
    void Reset() { m_reset(); }

private:
    HMODULE m_module = nullptr;
    virtualtuner::MapFrequencyFn m_map = nullptr;
    virtualtuner::GetDiSEqCFn m_diseqc = nullptr;
    virtualtuner::GetRegistrationsFn m_registrations = nullptr;
    virtualtuner::GetLastTuneFn m_lastTune = nullptr;
    virtualtuner::ResetFn m_reset = nullptr;
};

// A Windows path for a file the media fixtures made.
std::wstring WidePath(const std::string& path);

} // namespace test
