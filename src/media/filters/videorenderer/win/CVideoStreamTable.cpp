#include "media/filters/videorenderer/win/CVideoStreamTable.h"

#include <new>

#include "dshow/CAutoLock.h"

namespace videorenderer {

using dshow::CAutoLock;

CVideoStreamTable::CVideoStreamTable() = default;

CVideoStreamTable::~CVideoStreamTable()
{
    for (CVideoStream*& stream : m_slots) {
        if (stream) {
            stream->Detach();
            delete stream;
            stream = nullptr;
        }
    }
}

HRESULT CVideoStreamTable::AddStream(IDirect3DTexture9* texture, const TextureRect& rect, double aspect, int* index)
{
    if (index)
        *index = -1;
    CAutoLock lock(&m_lock);
    for (int i = 0; i < kSlots; ++i) {
        if (m_slots[i])
            continue;
        auto* stream = new (std::nothrow) CVideoStream();
        if (!stream)
            return E_OUTOFMEMORY;
        const HRESULT hr = stream->Attach(texture, rect, aspect);
        if (FAILED(hr)) {
            // A stream that never attached would hold its slot for good.
            delete stream;
            return hr;
        }
        m_slots[i] = stream;
        if (index)
            *index = i;
        return hr;
    }
    return E_FAIL;
}

HRESULT CVideoStreamTable::UpdateStream(IDirect3DTexture9* texture, const TextureRect& rect, double aspect, int index)
{
    if (index < 0 || index >= kSlots)
        return E_INVALIDARG;
    CAutoLock lock(&m_lock);
    if (!m_slots[index])
        return E_FAIL;
    return m_slots[index]->Update(texture, rect, aspect);
}

HRESULT CVideoStreamTable::RemoveStream(int index)
{
    if (index < 0 || index >= kSlots)
        return E_INVALIDARG;
    CAutoLock lock(&m_lock);
    CVideoStream* stream = m_slots[index];
    if (!stream)
        return S_FALSE;
    const HRESULT hr = stream->Detach();
    {
        // The drawing code may be reading the stream: wait until it lets go.
        CAutoLock streamLock(stream->Lock());
    }
    delete stream;
    m_slots[index] = nullptr;
    return hr;
}

CVideoStream* CVideoStreamTable::Stream(int index)
{
    if (index < 0 || index >= kSlots)
        return nullptr;
    CAutoLock lock(&m_lock);
    return m_slots[index];
}

} // namespace videorenderer
