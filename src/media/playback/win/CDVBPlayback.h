// The live television graph: the own push demultiplexer, fed packet by packet from the
// transport-stream thread, the own MPEG-2 video and audio decoders, the own renderer with the live
// presenter and the system's audio renderer. The graph belongs to the user-interface thread; the
// transport-stream thread only delivers packets (under a counted reference to the demultiplexer)
// and a stream change reported on another thread is applied on the user-interface thread.
#pragma once

#include <atomic>
#include <memory>

#include "dshow/CAMEvent.h"
#include "dshow/CCritSec.h"
#include "dvb/libDVB_EthernetDevice/win/CMessageWindow.h"
#include "media/filters/mpegdemux/win/CMPEGDemux.h"
#include "media/filters/mpegdemux/win/CReferencePinCallback.h"
#include "media/filters/videorenderer/win/CDVBAllocPresenter.h"
#include "media/playback/win/CPlaybackHost.h"

namespace playback {

class CDVBPlayback : public mpegdemux::CReferencePinCallback, public videorenderer::CDVBAllocPresenter::COwner {
public:
    // WM_USER + 1005: a presented frame's 90 kHz time, low 32 bits in wParam, high in lParam.
    static constexpr UINT kPresentationTimeMessage = 2029;
    static constexpr LONG kQueueLimit = 10000;

    // Made on the user-interface thread, which then owns the graphs.
    explicit CDVBPlayback(CPlaybackHost* host = nullptr);
    ~CDVBPlayback() override;
    CDVBPlayback(const CDVBPlayback&) = delete;
    CDVBPlayback& operator=(const CDVBPlayback&) = delete;

    // The viewer's frame, given once before the first graph is built.
    void SetHost(CPlaybackHost* host) { m_host = host; }

    // 1 when a graph exists already; a failing step's result, leaving no graph behind.
    HRESULT BuildGraph();
    HRESULT DestroyGraph();
    // The demultiplexer's outputs are rendered again for the PIDs and the graph restarted on the
    // user-interface thread: right away when called there, else by a posted message. E_FAIL
    // without a demultiplexer.
    HRESULT SetStreams(WORD videoPid, WORD audioPid, WORD reserved, WORD pcrPid);
    // The PIDs last applied to the demultiplexer (a change still posted is not among them).
    void GetStreamPids(WORD* videoPid, WORD* audioPid);
    // One 188-byte packet (transport-stream thread): E_INVALIDARG for a shorter one, 1 without a
    // demultiplexer, else the demultiplexer's result.
    HRESULT DeliverPacket(const BYTE* packet, int length);
    HRESULT ResetDemux();
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();
    void SetVolume(int percent);
    void ReleaseDevice();
    void RestoreDevice();

    void OnReferenceTime(LONGLONG base) override;
    void PostPresentationTime(REFERENCE_TIME start) override;

    // The builder hooks of the live graph.
    static HRESULT GetRendererClassId(GUID* classId);
    static HRESULT CreateFilter(GUID classId, IBaseFilter** filter);
    static void ConfigureRenderer(IGraphBuilder* graph, IBaseFilter* filter);

    IGraphBuilder* Graph() const { return m_graph; }
    IBasicAudio* BasicAudio() const { return m_basicAudio; }
    int64_t ReferenceBase() const { return m_referenceBase; }

private:
    class CStreamWindow : public libDVB_EthernetDevice::CMessageWindow {
    public:
        explicit CStreamWindow(CDVBPlayback* owner) : m_owner(owner) {}
        LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CDVBPlayback* m_owner;
    };
    static constexpr UINT kApplyStreamsMessage = WM_APP + 19;

    HRESULT ApplyStreams();
    void InstallHooks();
    // The demultiplexer under a counted reference that DestroyGraph waits for (null without one),
    // and its return.
    mpegdemux::CMPEGDemux* TakeDemux();
    void ReturnDemux(mpegdemux::CMPEGDemux* demux);

    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_mediaControl = nullptr;
    IBasicAudio* m_basicAudio = nullptr;
    mpegdemux::CMPEGDemux* m_demux = nullptr; // swapped under m_demuxLock
    DWORD m_rotCookie = 0;
    videorenderer::CDVBAllocPresenter* m_presenter = nullptr;
    dshow::CCritSec m_pidLock;
    WORD m_videoPid = 0, m_audioPid = 0, m_pcrPid = 0; // applied, under m_pidLock
    WORD m_wanted[3] = {};                             // video, audio, PCR to apply, under m_pidLock
    std::atomic<int64_t> m_referenceBase{0};

    CPlaybackHost* m_host;
    dshow::CCritSec m_demuxLock;
    int m_deliveries = 0; // calls into the demultiplexer now, under m_demuxLock
    dshow::CAMEvent m_deliveriesDone{true};
    std::atomic<bool> m_applyPosted{false};
    DWORD m_ownerThread;
    std::unique_ptr<CStreamWindow> m_window;
};

} // namespace playback
