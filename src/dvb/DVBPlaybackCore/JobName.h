// Names of scheduled-recording jobs: "QORSR_%d" of a tick count, counted on until the name is
// free. Both the configurator and the viewer's guide write such jobs into one scheduler folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace DVBPlaybackCore {

// "QORSR_%d" of `ticks` (as a signed number), counting on from it while `isTaken` says the name is
// in use. Empty only when every one of the 2^32 names is taken.
std::u16string FreeJobNameWhere(uint32_t ticks, const std::function<bool(const std::u16string&)>& isTaken);

// The same against a list of names in use, compared without case as the scheduler's file names are.
std::u16string FreeJobName(uint32_t ticks, const std::vector<std::u16string>& taken);

} // namespace DVBPlaybackCore
