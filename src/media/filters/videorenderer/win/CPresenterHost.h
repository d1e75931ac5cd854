// What the allocator-presenters need of the viewer: its window, its video-stream table, the
// Direct3D device with its lock and render event, and where to report the video format. The main
// frame implements it; tests implement it with a device of their own.
#pragma once

#include <d3d9.h>

namespace videorenderer {

class CVideoStreamTable;

class CPresenterHost {
public:
    virtual ~CPresenterHost() = default;
    // False while the frame window does not exist: textures are then made but not placed.
    virtual bool HasWindow() = 0;
    virtual CVideoStreamTable* VideoStreamTable() = 0;
    // The device, without a reference; null when there is none.
    virtual IDirect3DDevice9* Device() = 0;
    virtual void LockDevice() = 0;
    virtual void UnlockDevice() = 0;
    // Wakes the render thread: a frame is ready.
    virtual void SignalRender() = 0;
    // Called with the device lock held: the frame keeps the values under its own lock and applies
    // them on its own thread (the on-screen display's lock comes before the device lock).
    virtual void SetVideoFormat(int width, int height, double aspect) = 0;
};

} // namespace videorenderer
