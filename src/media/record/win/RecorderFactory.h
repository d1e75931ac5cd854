// Starting a recording into a file: the sink must have created its file, or there is no recorder.
#pragma once

#include <string>

#include "media/record/CMPEG2Recorder.h"

namespace record {

// A recorder writing `path`, watching the volume of `folder`; null (and *result a failure) when the
// file cannot be created.
CMPEG2Recorder* CreateFileRecorder(const std::wstring& path, int freeSpacePercent, const std::wstring& folder,
                                   CMPEG2Recorder::CRecCallback* callback, HRESULT* result);

} // namespace record
