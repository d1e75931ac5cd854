// What the recording dialog derives from its fields: the duration of a start and end time of
// day, the description taken from the target file's name, and a job name no other recording has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plintor {

// Seconds from the start to the end time of day (seconds since midnight, whole minutes): an end
// at or before the start ends the next day, so equal times give 24 hours.
int64_t RecordingDuration(int32_t startOfDay, int32_t endOfDay);

// The file name of a path without its folder and extension: the text after the last '\' up to
// the last '.' of that name. A name without '.' is kept whole, also under a dotted folder.
std::u16string DescriptionFromPath(const std::u16string& path);

// "QORSR_%d" of `ticks` (as a signed number), counting on from it while the name is taken by a
// record or a job (compared without case, as the scheduler's file names are).
std::u16string FreeJobName(uint32_t ticks, const std::vector<std::u16string>& taken);

} // namespace plintor
