#include "media/playback/win/PlaybackGraph.h"

#include <atomic>
#include <cstdint>
#include <cwchar>
#include <new>

#include "dshow/CAutoLock.h"
#include "media/filters/audiodecoder/win/CHarvoAudioDecoder.h"
#include "media/filters/mpeg2video/win/CMpeg2VideoDecoder.h"
#include "media/filters/videorenderer/win/CHarvoVR.h"
#include "media/filters/videorenderer/win/IHVRConfig.h"

using dshow::CComPtr;
using videorenderer::IHVRConfig;

namespace playback {

namespace {

std::atomic<CPlaybackHost*> g_hookHost{nullptr};

HRESULT Hand(dshow::CUnknown* object, IBaseFilter* filter, HRESULT created, IBaseFilter** out)
{
    if (!object)
        return E_OUTOFMEMORY;
    if (FAILED(created)) {
        delete object;
        return created;
    }
    HRESULT hr = filter->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(out));
    if (FAILED(hr))
        delete object;
    return hr;
}

template <class F>
void ForEachOwnRenderer(IGraphBuilder* graph, F use)
{
    if (!graph)
        return;
    CFilterList filters;
    ListGraphFilters(graph, filters);
    for (ptrdiff_t i = 0; i < filters.GetSize(); ++i) {
        CComPtr<IHVRConfig> config;
        if (SUCCEEDED(filters[i]->QueryInterface(videorenderer::IID_IHVRConfig, reinterpret_cast<void**>(&config))) &&
            config)
            use(config.Get());
    }
}

} // namespace

HRESULT GetRendererClassId(GUID* classId)
{
    if (!classId)
        return E_POINTER;
    *classId = videorenderer::CLSID_HarvoVideoRenderer;
    return S_OK;
}

HRESULT CreateFilter(GUID classId, IBaseFilter** filter)
{
    if (!filter)
        return E_POINTER;
    *filter = nullptr;
    if (classId == videorenderer::CLSID_HarvoVideoRenderer) {
        HRESULT hr = S_OK;
        auto* renderer = new (std::nothrow) videorenderer::CHarvoVR(nullptr, &hr);
        return Hand(renderer, renderer, hr, filter);
    }
    if (classId == audiofilter::CLSID_HarvoAudioDecoder) {
        HRESULT hr = S_OK;
        auto* decoder = new (std::nothrow) audiofilter::CHarvoAudioDecoder(nullptr, &hr);
        return Hand(decoder, decoder, hr, filter);
    }
    if (classId == mpeg2videofilter::CLSID_Mpeg2VideoDecoder) {
        auto* decoder = new (std::nothrow) mpeg2videofilter::CMpeg2VideoDecoder();
        if (decoder) {
            CPlaybackHost* host = g_hookHost;
            decoder->SetDoubleRateAllowed(host ? host->DoubleFrameRateAllowed() : true);
        }
        return Hand(decoder, decoder, S_OK, filter);
    }
    return CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

HRESULT ConfigureRendererWith(IBaseFilter* filter, CPlaybackHost* host, videorenderer::IHVRAllocPresenter* presenter)
{
    if (!filter)
        return E_FAIL;
    CComPtr<IHVRConfig> config;
    if (FAILED(filter->QueryInterface(videorenderer::IID_IHVRConfig, reinterpret_cast<void**>(&config))) || !config)
        return S_OK;
    config->SetDirect3D(host ? host->Direct3D() : nullptr);
    config->SetDevice(host ? host->Device() : nullptr);
    config->SetAllocPresenter(presenter);
    config->Reserved(0);
    config->SetStreamingEvent(TRUE);
    return S_OK;
}

void InstallBuilderHooks(CPlaybackHost* host, void (*configure)(IGraphBuilder*, IBaseFilter*))
{
    g_hookHost = host;
    VideoRendererClassIdHook = &GetRendererClassId;
    CreateFilterHook = &CreateFilter;
    ConfigureRendererHook = configure;
}

CPlaybackHost* HookHost() { return g_hookHost; }

HRESULT AddGraphToRot(IUnknown* graph, DWORD* cookie)
{
    if (!graph || !cookie)
        return E_POINTER;
    CComPtr<IRunningObjectTable> table;
    if (FAILED(GetRunningObjectTable(0, &table)) || !table)
        return E_FAIL;
    // The name holds the low 32 bits of the pointer, passed as such through the varargs.
    wchar_t name[64];
    swprintf(name, 64, L"FilterGraph %08x pid %08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(graph)),
             static_cast<unsigned>(GetCurrentProcessId()));
    CComPtr<IMoniker> moniker;
    HRESULT hr = CreateItemMoniker(L"!", name, &moniker);
    if (FAILED(hr))
        return hr;
    return table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph, moniker, cookie);
}

void RemoveGraphFromRot(DWORD cookie)
{
    if (!cookie)
        return;
    CComPtr<IRunningObjectTable> table;
    if (SUCCEEDED(GetRunningObjectTable(0, &table)) && table)
        table->Revoke(cookie);
}

void DetachRenderers(IGraphBuilder* graph)
{
    ForEachOwnRenderer(graph, [](IHVRConfig* config) {
        config->SetStreamingEvent(FALSE);
        config->SetAllocPresenter(nullptr);
    });
}

void ReleaseRendererDevices(IGraphBuilder* graph, CPlaybackHost* host, videorenderer::CAllocPresenter* presenter)
{
    if (!host)
        return;
    ForEachOwnRenderer(graph, [host](IHVRConfig* config) {
        host->LockDevice();
        config->ReleaseDeviceObjects();
        config->SetDirect3D(nullptr);
        config->SetDevice(nullptr);
        config->SetAllocPresenter(nullptr);
        host->UnlockDevice();
    });
    if (presenter)
        presenter->ReleaseTexture();
}

void RestoreRendererDevices(IGraphBuilder* graph, CPlaybackHost* host, videorenderer::CAllocPresenter* presenter)
{
    if (!host)
        return;
    ForEachOwnRenderer(graph, [host, presenter](IHVRConfig* config) {
        host->LockDevice();
        config->SetDirect3D(host->Direct3D());
        config->SetDevice(host->Device());
        config->SetAllocPresenter(presenter);
        config->DeviceRestored();
        host->UnlockDevice();
    });
}

OAFilterState GraphState(IMediaControl* control, DWORD milliseconds)
{
    // While a transition is under way the graph reports the state it is going to.
    OAFilterState state = State_Stopped;
    if (!control || FAILED(control->GetState(static_cast<LONG>(milliseconds), &state)))
        return State_Stopped;
    return state;
}

} // namespace playback
