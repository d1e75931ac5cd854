#include "media/playback/win/CDVBPlayback.h"

#include <new>

#include "dshow/CAutoLock.h"
#include "media/playback/PlaybackArithmetic.h"
#include "media/playback/PlaybackSettings.h"
#include "media/playback/win/PlaybackGraph.h"

namespace playback {

namespace {
// Packets still in the demultiplexer when the graph goes have stopped pins under them and end
// quickly; this only bounds the wait should one not.
constexpr DWORD kDeliveryWait = 5000;
} // namespace

CDVBPlayback::CDVBPlayback(CPlaybackHost* host)
    : m_host(host), m_ownerThread(GetCurrentThreadId()), m_window(new CStreamWindow(this))
{
    m_deliveriesDone.Set();
}

CDVBPlayback::~CDVBPlayback()
{
    DestroyGraph();
    m_window.reset();
}

LRESULT CDVBPlayback::CStreamWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kApplyStreamsMessage) {
        m_owner->m_applyPosted = false;
        m_owner->ApplyStreams();
        return 0;
    }
    return CMessageWindow::WindowProc(window, message, wParam, lParam);
}

HRESULT CDVBPlayback::GetRendererClassId(GUID* classId) { return playback::GetRendererClassId(classId); }

HRESULT CDVBPlayback::CreateFilter(GUID classId, IBaseFilter** filter) { return playback::CreateFilter(classId, filter); }

void CDVBPlayback::ConfigureRenderer(IGraphBuilder*, IBaseFilter* filter)
{
    ConfigureRendererWith(filter, HookHost(), videorenderer::CDVBAllocPresenter::Current());
}

void CDVBPlayback::InstallHooks() { InstallBuilderHooks(m_host, &CDVBPlayback::ConfigureRenderer); }

HRESULT CDVBPlayback::BuildGraph()
{
    if (m_graph)
        return S_FALSE;
    InstallHooks();
    // No filter is chained in front of the video renderer of a graph this object builds.
    VideoFilterChain.RemoveAll();
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                  reinterpret_cast<void**>(&m_graph));
    if (FAILED(hr) || !m_graph) {
        m_graph = nullptr;
        DestroyGraph();
        return FAILED(hr) ? hr : E_FAIL;
    }
    AddGraphToRot(m_graph, &m_rotCookie);
    m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_mediaControl));
    m_graph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_basicAudio));

    m_presenter = new (std::nothrow) videorenderer::CDVBAllocPresenter(this, m_host);
    if (!m_presenter) {
        DestroyGraph();
        return E_OUTOFMEMORY;
    }
    m_presenter->NonDelegatingAddRef();

    // Each pin allocates its assembly buffer: the result tells whether both exist.
    HRESULT created = S_OK;
    auto* demux = new (std::nothrow) mpegdemux::CMPEGDemux(nullptr, &created, kQueueLimit);
    if (!demux) {
        DestroyGraph();
        return E_OUTOFMEMORY;
    }
    demux->NonDelegatingAddRef();
    if (FAILED(created)) {
        demux->NonDelegatingRelease();
        DestroyGraph();
        return created;
    }
    demux->m_referenceCallback = this;
    {
        dshow::CAutoLock lock(&m_demuxLock);
        m_demux = demux;
    }
    hr = m_graph->AddFilter(static_cast<IBaseFilter*>(demux), L"Harvo MPEG2 Demux");
    if (FAILED(hr)) {
        DestroyGraph();
        return hr;
    }
    CPinList pins;
    CollectPins(demux, PINDIR_OUTPUT, pins);
    // A pin that cannot be rendered stays unconnected; the graph runs with the other.
    for (ptrdiff_t i = 0; i < pins.GetSize() && i < 2; ++i)
        RenderPin(m_graph, pins[i]);
    return S_OK;
}

HRESULT CDVBPlayback::DestroyGraph()
{
    // Stopping first wakes a producer that waits for room in a full output queue.
    if (m_mediaControl)
        m_mediaControl->Stop();
    RemoveGraphFromRot(m_rotCookie);
    m_rotCookie = 0;
    if (m_basicAudio) {
        m_basicAudio->Release();
        m_basicAudio = nullptr;
    }
    mpegdemux::CMPEGDemux* demux;
    bool delivering;
    {
        dshow::CAutoLock lock(&m_demuxLock);
        demux = m_demux;
        m_demux = nullptr;
        delivering = m_deliveries > 0;
        if (delivering)
            m_deliveriesDone.Reset();
    }
    // No packet is in the demultiplexer after this, so no time base reaches this object later.
    if (delivering)
        m_deliveriesDone.Wait(kDeliveryWait);
    if (demux)
        demux->NonDelegatingRelease();
    DetachRenderers(m_graph);
    if (m_presenter) {
        // Its slot leaves the table and its default-pool texture the device.
        if (m_host)
            m_presenter->ReleaseTexture();
        m_presenter->NonDelegatingRelease();
        m_presenter = nullptr;
    }
    if (m_graph) {
        m_graph->Release();
        m_graph = nullptr;
    }
    if (m_mediaControl) {
        m_mediaControl->Release();
        m_mediaControl = nullptr;
    }
    return S_OK;
}

HRESULT CDVBPlayback::SetStreams(WORD videoPid, WORD audioPid, WORD, WORD pcrPid)
{
    {
        dshow::CAutoLock lock(&m_demuxLock);
        if (!m_demux)
            return E_FAIL;
    }
    {
        dshow::CAutoLock lock(&m_pidLock);
        m_wanted[0] = videoPid;
        m_wanted[1] = audioPid;
        m_wanted[2] = pcrPid;
    }
    if (GetCurrentThreadId() == m_ownerThread)
        return ApplyStreams();
    // Several changes before the user-interface thread comes to it make one re-render.
    if (m_applyPosted.exchange(true))
        return S_OK;
    if (!m_window || !PostMessageW(m_window->GetWindow(), kApplyStreamsMessage, 0, 0)) {
        m_applyPosted = false;
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CDVBPlayback::ApplyStreams()
{
    if (!m_demux || !m_graph)
        return E_FAIL;
    WORD video, audio, pcr;
    {
        dshow::CAutoLock lock(&m_pidLock);
        video = m_wanted[0];
        audio = m_wanted[1];
        pcr = m_wanted[2];
    }
    if (m_mediaControl) {
        m_mediaControl->Stop();
        GraphState(m_mediaControl, kStateWait);
    }
    InstallHooks();
    CPinList pins;
    CollectPins(m_demux, PINDIR_OUTPUT, pins);
    const WORD pids[2] = {video, audio};
    for (ptrdiff_t i = 0; i < pins.GetSize() && i < 2; ++i) {
        if (pids[i])
            RenderPin(m_graph, pins[i]);
        else
            RemoveDownstream(m_graph, pins[i]);
    }
    {
        // What GetStreamPids reports: the PIDs the demultiplexer was given.
        dshow::CAutoLock lock(&m_pidLock);
        m_videoPid = video;
        m_audioPid = audio;
        m_pcrPid = pcr;
    }
    const HRESULT hr = m_demux->SetPIDs(video, audio, pcr);
    if (m_mediaControl)
        m_mediaControl->Run();
    return hr;
}

void CDVBPlayback::GetStreamPids(WORD* videoPid, WORD* audioPid)
{
    dshow::CAutoLock lock(&m_pidLock);
    if (videoPid)
        *videoPid = m_videoPid;
    if (audioPid)
        *audioPid = m_audioPid;
}

mpegdemux::CMPEGDemux* CDVBPlayback::TakeDemux()
{
    dshow::CAutoLock lock(&m_demuxLock);
    if (m_demux) {
        m_demux->NonDelegatingAddRef();
        ++m_deliveries;
    }
    return m_demux;
}

void CDVBPlayback::ReturnDemux(mpegdemux::CMPEGDemux* demux)
{
    {
        dshow::CAutoLock lock(&m_demuxLock);
        if (--m_deliveries == 0)
            m_deliveriesDone.Set();
    }
    // The last reference when the graph went meanwhile.
    demux->NonDelegatingRelease();
}

HRESULT CDVBPlayback::DeliverPacket(const BYTE* packet, int length)
{
    if (!packet || length < 188)
        return E_INVALIDARG;
    mpegdemux::CMPEGDemux* demux = TakeDemux();
    if (!demux)
        return S_FALSE;
    const HRESULT hr = demux->PushPacket(packet, 188);
    ReturnDemux(demux);
    return hr;
}

HRESULT CDVBPlayback::ResetDemux()
{
    // The user-interface thread changes the demultiplexer pointer; this may come from another.
    mpegdemux::CMPEGDemux* demux = TakeDemux();
    if (!demux)
        return S_FALSE;
    const HRESULT hr = demux->Reset();
    ReturnDemux(demux);
    return hr;
}

HRESULT CDVBPlayback::Run() { return m_mediaControl ? m_mediaControl->Run() : S_OK; }

HRESULT CDVBPlayback::Pause() { return m_mediaControl ? m_mediaControl->Pause() : S_OK; }

HRESULT CDVBPlayback::Stop() { return m_mediaControl ? m_mediaControl->Stop() : S_OK; }

void CDVBPlayback::SetVolume(int percent)
{
    if (m_basicAudio)
        m_basicAudio->put_Volume(VolumeLevel(percent));
}

void CDVBPlayback::ReleaseDevice()
{
    ReleaseRendererDevices(m_graph, m_host, m_presenter);
}

void CDVBPlayback::RestoreDevice()
{
    RestoreRendererDevices(m_graph, m_host, videorenderer::CDVBAllocPresenter::Current());
}

void CDVBPlayback::OnReferenceTime(LONGLONG base) { m_referenceBase = base; }

void CDVBPlayback::PostPresentationTime(REFERENCE_TIME start)
{
    const int64_t value = PresentationTime(start, m_referenceBase);
    HWND window = m_host ? m_host->Window() : nullptr;
    if (window)
        PostMessageW(window, kPresentationTimeMessage, WPARAM(uint32_t(uint64_t(value))),
                     LPARAM(uint32_t(uint64_t(value) >> 32)));
}

} // namespace playback
