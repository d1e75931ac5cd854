// Helpers of the BDA tests that run against the virtual tuner: running-object-table entries of
// this process, and the device list entries by tuner model.
#pragma once

#include <string>
#include <vector>

#include "dvb/libBDA/CBDADeviceList.h"

namespace test {

// Display names of the running-object-table entries whose name carries this process id.
std::vector<std::wstring> OurGraphsInRunningObjectTable();
// The display name a tuner of the virtual server has in the system device enumerator.
std::wstring VirtualTunerDeviceName(REFCLSID tuner);
// The entry of a tuner model and network type in the global list; null when absent.
libBDA::CBDADeviceEntry* EntryOf(REFCLSID tuner, uint32_t type);

} // namespace test
