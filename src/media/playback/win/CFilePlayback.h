// Media-file playback: a graph the graph builder assembles from the built-in playback settings
// (source and splitter by the file's extension, decoders by media type, the own renderer with the
// file presenter), and a 500 ms tick on a hidden window that shows the position in the viewer's
// information panel. Everything runs on the user-interface thread.
#pragma once

#include "dvb/libDVB_EthernetDevice/win/CMessageWindow.h"
#include "framework/CString.h"
#include "media/filters/videorenderer/win/CFileAllocPresenter.h"
#include "media/playback/win/CPlaybackHost.h"

namespace playback {

class CFilePlayback : public libDVB_EthernetDevice::CMessageWindow {
public:
    static constexpr UINT_PTR kPositionTimer = 0;
    static constexpr UINT kPositionPeriod = 500;

    // Fills the process-wide built-in playback settings (their only writer).
    explicit CFilePlayback(CPlaybackHost* host = nullptr);
    ~CFilePlayback() override;

    void SetHost(CPlaybackHost* host) { m_host = host; }

    // Closes what is open, builds the graph for the file and runs it. Fails (with nothing left
    // open) when the file cannot be opened or none of its streams could be rendered; a failed Run
    // is reported. *hasVideo: a stream offers a video type.
    HRESULT Open(const CString& path, bool* hasVideo);
    HRESULT Close();
    // To a fraction (clamped to 0..1) of the duration; a graph with video is sought in the stopped
    // state and then goes back to running or paused as it was.
    void Seek(double fraction);
    void SetVolume(int percent);
    void Stop();
    // A graph with video pauses; a sound-only graph that is stopped stays stopped (see there).
    void Pause();
    void TogglePause();
    BOOL IsRunning();
    void ReleaseDevice();
    void RestoreDevice();
    // The position the tick shows for the graph's: after a seek the sought place while the graph
    // does not run, then for a few ticks until its clock has it; never outside 0..duration.
    double ShownPosition(double graphPosition, bool running);
    // The position tick: file name, "position / duration" and the played fraction to the host.
    LRESULT OnTimer(UINT_PTR id) override;

    // The builder hook that configures the own renderer with the file presenter.
    static void ConfigureRenderer(IGraphBuilder* graph, IBaseFilter* filter);

    IGraphBuilder* Graph() const { return m_graph; }
    double Duration() const { return m_duration; }
    const CString& FileName() const { return m_fileName; }

private:
    // IMediaControl::Stop, for a sound-only graph after its renderers and its parser (see there).
    void StopGraph();

    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_mediaControl = nullptr;
    IMediaSeeking* m_seeking = nullptr;
    IMediaEventEx* m_events = nullptr;
    IBasicAudio* m_basicAudio = nullptr;
    IBaseFilter* m_parser = nullptr; // the filter whose output pins carry the file's streams
    DWORD m_rotCookie = 0;
    videorenderer::CFileAllocPresenter* m_presenter = nullptr;
    CString m_fileName;
    double m_duration = 0.0;
    bool m_hasVideo = false;
    // After a seek: the place (seconds) and how many more ticks show it while the clock is elsewhere.
    static constexpr int kSoughtTicks = 4;
    static constexpr double kSoughtSettle = 1.0;
    double m_sought = 0.0;
    int m_soughtTicks = 0;
    CPlaybackHost* m_host;
};

} // namespace playback
