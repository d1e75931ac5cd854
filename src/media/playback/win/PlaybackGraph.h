// What the live and the file playback graphs share: the builder hooks that create and configure
// the system's own filters, the running object table entry, the renderers' part in a Direct3D
// device reset and teardown, and bounded state waits.
#pragma once

#include "dshow/CComPtr.h"
#include "media/filters/videorenderer/win/CAllocPresenter.h"
#include "media/playback/win/CPlaybackHost.h"
#include "media/playback/win/GraphBuilder.h"

namespace playback {

// The own renderer's class id.
HRESULT GetRendererClassId(GUID* classId);
// The own renderer, audio decoder and MPEG-2 video decoder (with the host's "DoubleFramerate"),
// any other class id through CoCreateInstance.
HRESULT CreateFilter(GUID classId, IBaseFilter** filter);
// Hands an own renderer the host's Direct3D objects and the presenter and turns its frame
// delivery on; another maker's renderer is left alone. E_FAIL for a null filter.
HRESULT ConfigureRendererWith(IBaseFilter* filter, CPlaybackHost* host, videorenderer::IHVRAllocPresenter* presenter);

// Installs the hooks for a graph of this host; `configure` is the playback object's own.
void InstallBuilderHooks(CPlaybackHost* host, void (*configure)(IGraphBuilder*, IBaseFilter*));
// The host of the graph whose hooks are installed (the hooks run on the user-interface thread).
CPlaybackHost* HookHost();

// "FilterGraph %08x pid %08x" in the running object table, kept alive by the registration.
HRESULT AddGraphToRot(IUnknown* graph, DWORD* cookie);
void RemoveGraphFromRot(DWORD cookie);

// Every own renderer of the graph: frame delivery off, no presenter (before teardown).
void DetachRenderers(IGraphBuilder* graph);
// Before a device reset: every own renderer drops its device objects and forgets the device (under
// the device lock); the presenter's slot and texture go.
void ReleaseRendererDevices(IGraphBuilder* graph, CPlaybackHost* host, videorenderer::CAllocPresenter* presenter);
// After the reset: the new device objects and the presenter again, then DeviceRestored.
void RestoreRendererDevices(IGraphBuilder* graph, CPlaybackHost* host, videorenderer::CAllocPresenter* presenter);

// Waits at most `milliseconds` for a state change to complete; one still under way counts as its
// target state (a transition that never completes must not freeze the user-interface thread).
// Stopped without a graph or when the state cannot be read.
OAFilterState GraphState(IMediaControl* control, DWORD milliseconds);
constexpr DWORD kStateWait = 2000;

} // namespace playback
