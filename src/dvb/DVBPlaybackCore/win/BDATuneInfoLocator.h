// Between a BDA tune info's stored values and the system's locator objects: the locator a tuner is
// tuned with, the values of a locator a scan found, and the device list entry of the tuner.
#pragma once

#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/libBDA/CBDADeviceEntry.h"

namespace DVBPlaybackCore {

// A new locator (one reference for the caller) of the tune info's type with its values; null for a
// type outside 1 to 4 or when the system cannot create one.
ILocator* CreateLocator(const CBDATuneInfo& tuneInfo);
// Reads the values of the tune info's type from `locator`; E_POINTER for null, E_INVALIDARG when
// the locator is not of that type (the tune info is then unchanged).
HRESULT ReadLocator(CBDATuneInfo& tuneInfo, ILocator* locator);
// The entry of the device list whose friendly name is the tuner name and whose network type is the
// tuning type; null when that tuner is not in this machine.
libBDA::CBDADeviceEntry* FindTuner(const CBDATuneInfo& tuneInfo);

} // namespace DVBPlaybackCore
