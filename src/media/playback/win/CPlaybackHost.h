// What the playback objects need of the viewer besides what the presenters need: the window that
// receives the frame times, the Direct3D object the renderers are given, the information panel of
// the file position, and the "DoubleFramerate" setting. The main frame implements it; tests
// implement it with a window and device of their own.
#pragma once

#include "dshow/DShow.h"

#include <d3d9.h>

#include "framework/CString.h"
#include "media/filters/videorenderer/win/CPresenterHost.h"

namespace playback {

class CPlaybackHost : public videorenderer::CPresenterHost {
public:
    // The main frame's window (message 2029 goes there); null while it does not exist.
    virtual HWND Window() = 0;
    // The Direct3D object, without a reference; null when there is none.
    virtual IDirect3D9* Direct3D() = 0;
    // The information panel's two texts and its progress value (kept within 0..1 by the panel).
    virtual void SetInfoText(const CString& left, const CString& right, float value) = 0;
    // Whether new MPEG-2 video decoders may show every field as a frame.
    virtual bool DoubleFrameRateAllowed() = 0;
};

} // namespace playback
