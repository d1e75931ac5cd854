// The viewer's 32 video-stream slots that presenters fill and the render thread draws. Every slot
// change takes the table lock (re-entrant, so callers may hold it already); lock order: the
// Direct3D device lock, then the table lock, then a stream's lock.
#pragma once

#include "dshow/CCritSec.h"
#include "media/filters/videorenderer/win/CVideoStream.h"

namespace videorenderer {

class CVideoStreamTable {
public:
    static constexpr int kSlots = 32;

    CVideoStreamTable();
    ~CVideoStreamTable();
    CVideoStreamTable(const CVideoStreamTable&) = delete;
    CVideoStreamTable& operator=(const CVideoStreamTable&) = delete;

    // The lowest free slot gets a new stream attached to the texture; its number goes to *index.
    // E_FAIL (index -1) when all slots are taken; when the attach fails the slot is freed again,
    // *index is -1 and the attach's failure is returned.
    HRESULT AddStream(IDirect3DTexture9* texture, const TextureRect& rect, double aspect, int* index);
    // E_INVALIDARG outside 0..31, E_FAIL for a free slot, else the stream's Update.
    HRESULT UpdateStream(IDirect3DTexture9* texture, const TextureRect& rect, double aspect, int index);
    // E_INVALIDARG outside 0..31, S_FALSE for a free slot, else detaches and frees the slot.
    HRESULT RemoveStream(int index);

    dshow::CCritSec* Lock() { return &m_lock; }
    // The stream in a slot, null when free (callers hold the table lock while they use it).
    CVideoStream* Stream(int index);

private:
    CVideoStream* m_slots[kSlots] = {};
    dshow::CCritSec m_lock;
};

} // namespace videorenderer
