// The video-stream table as the Video widget sees it. Lock order: the render thread already holds
// the device lock; then the table's lock, then the stream's.
#pragma once

#include "viewer/osd/DrawingSurface.h"
#include "viewer/osd/TextureLayout.h"

namespace OnScreenDisplay {

class VideoSource {
public:
    virtual ~VideoSource() = default;
    virtual void LockTable() = 0;
    virtual void UnlockTable() = 0;
    // With the table locked: locks the stream of a slot and tells its texture and rectangle;
    // false for an empty slot (nothing is then locked).
    virtual bool LockStream(int slot, SurfaceTexture** texture, FrameRect* rect) = 0;
    virtual void UnlockStream(int slot) = 0;
};

} // namespace OnScreenDisplay
