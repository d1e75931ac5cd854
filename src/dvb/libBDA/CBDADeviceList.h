// Every BDA tuner of the machine, one entry per tuner and network type it can demodulate, made
// once when the program starts and read-only afterwards. Entries with equal friendly names get
// " (1)", " (2)", ... appended, in list order.
#pragma once

#include <string>
#include <vector>

#include "dvb/libBDA/CBDADeviceEntry.h"

namespace libBDA {

class CBDADeviceList {
public:
    CBDADeviceList();
    ~CBDADeviceList();
    CBDADeviceList(const CBDADeviceList&) = delete;
    CBDADeviceList& operator=(const CBDADeviceList&) = delete;

    size_t GetCount() const { return m_entries.size(); }
    CBDADeviceEntry* GetEntry(size_t index) const { return index < m_entries.size() ? m_entries[index] : nullptr; }
    // The first entry whose device name is `name`; null when none.
    CBDADeviceEntry* Find(const std::wstring& name) const;

    // The renaming step on its own: equal names become "Name (1)", "Name (2)", ...
    static void MakeNamesUnique(std::vector<std::wstring>& names);

private:
    void Enumerate();

    std::vector<CBDADeviceEntry*> m_entries; // owned
    bool m_comInitialised = false;
};

// The process-wide list, built during static initialisation.
CBDADeviceList& GetBDADeviceList();
CBDADeviceEntry* FindBDADevice(const std::wstring& name);

} // namespace libBDA
