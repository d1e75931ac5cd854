#include "media/record/win/RecorderFactory.h"

#include <new>

#include "media/record/win/CFileSink.h"
#include "media/record/win/CVolumeFreeSpace.h"

namespace record {

CMPEG2Recorder* CreateFileRecorder(const std::wstring& path, int freeSpacePercent, const std::wstring& folder,
                                   CMPEG2Recorder::CRecCallback* callback, HRESULT* result)
{
    HRESULT hr = S_OK;
    auto* sink = new (std::nothrow) CFileSink(path, &hr);
    if (!sink || FAILED(hr)) {
        delete sink;
        if (result)
            *result = sink ? hr : E_OUTOFMEMORY;
        return nullptr;
    }
    auto* recorder =
        new (std::nothrow) CMPEG2Recorder(sink, freeSpacePercent, new (std::nothrow) CVolumeFreeSpace(folder), callback);
    if (!recorder)
        delete sink;
    if (result)
        *result = recorder ? S_OK : E_OUTOFMEMORY;
    return recorder;
}

} // namespace record
