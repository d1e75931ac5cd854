// The live relay: what carries the transport stream and the graphs' state between the channel
// engine and the media library. It owns the live and the file playback objects and the recorder;
// the engine's packets reach the recorder and the live graph here, on the transport-stream thread,
// and the window hears only what the screen must show.
//
// Locks: m_dataLock guards the recorder pointer and is the only lock a packet takes; where the
// screen is told something under it, the user-interface lock comes second (data, then interface).
#pragma once

#include <atomic>
#include <cstdint>

#include "base/Lock.h"
#include "framework/CString.h"
#include "media/record/CMPEG2Recorder.h"
#include "viewer/CDVBPlayback.h"
#include "viewer/CFilePlayback.h"

namespace playback {
class CPlaybackHost;
}

class CLiveRelay : public record::CMPEG2Recorder::CRecCallback {
public:
    // What the relay asks of the window; both are called with the data lock held and take the
    // user-interface lock themselves.
    class CScreen {
    public:
        virtual ~CScreen() = default;
        // The service's streams changed: with video the picture shows, without it the background.
        virtual void ShowStreams(bool video) = 0;
        // The recorder is gone (its file written out and closed): the recording icon goes off.
        virtual void OnRecordingEnded() = 0;
    };
    // What a relay is built with: the graphs' host, the window's screen and its interface lock.
    struct Wiring {
        playback::CPlaybackHost& host;
        CScreen& screen;
        base::CCriticalSection& uiLock;
    };

    explicit CLiveRelay(const Wiring& wiring);
    ~CLiveRelay() override;
    CLiveRelay(const CLiveRelay&) = delete;
    CLiveRelay& operator=(const CLiveRelay&) = delete;

    // The engine's reports (the frame's engine interface forwards them). The recorder follows new
    // PIDs before the graph is re-rendered for them; a packet is stamped, recorded, then delivered.
    HRESULT OnStreamsChanged(int32_t slot, uint16_t videoPid, uint16_t audioPid, uint16_t pcrPid);
    HRESULT OnTransportPacket(int32_t slot, const uint8_t* packet, int32_t length);
    HRESULT StopPlayback() { return LiveStop(); }
    HRESULT RunPlayback() { return LiveRun(); }
    HRESULT PausePlayback() { return LivePause(); }
    HRESULT ResetDemux() { return LiveResetDemux(); }

    // The tick of the last packet, the no-data watchdog's reference; a tune sets it ahead as grace.
    uint32_t LastPacketTick() const { return m_lastPacketTick; }
    void SetLastPacketTick(uint32_t tick) { m_lastPacketTick = tick; }

    // The recorder. DataLock guards it; EndRecording wants the lock held, StopRecorder takes it.
    base::CCriticalSection& DataLock() { return m_dataLock; }
    bool IsRecording() const { return m_recorder != nullptr; }
    // A recorder of the two PIDs into `path`, keeping `freeDiskSpace` free on the drive of
    // `folder`; the caller holds the data lock. Fails, and records nothing, when the file cannot
    // be made or a recording runs already.
    HRESULT StartRecording(const CString& path, int freeDiskSpace, const CString& folder, uint16_t videoPid,
                           uint16_t audioPid);
    void EndRecording();
    // Ends a running recording; true when there was one.
    bool StopRecorder();
    // The recorder's last report (the drive's reserve is reached); the caller holds the data lock.
    void OnDiskFull() override;

    // The live and the file graph: each runs the playback object's operation of the same name.
    // Tests stand in for the graphs by overriding them.
    virtual HRESULT LiveBuildGraph();
    virtual void LiveDestroyGraph();
    virtual HRESULT LiveSetStreams(uint16_t videoPid, uint16_t audioPid, int unused, uint16_t pcrPid);
    virtual void LiveGetStreamPids(uint16_t& videoPid, uint16_t& audioPid);
    virtual HRESULT LiveDeliverPacket(const uint8_t* packet, int length);
    virtual HRESULT LiveStop();
    virtual HRESULT LiveRun();
    virtual HRESULT LivePause();
    virtual HRESULT LiveResetDemux();
    virtual void LiveSetVolume(int percent);
    virtual void LiveReleaseDevice();
    virtual void LiveRestoreDevice();
    virtual void FileClose();
    virtual bool FileIsRunning();
    virtual HRESULT FileSeek(double fraction);
    virtual void FileSetVolume(int percent);
    virtual void FileReleaseDevice();
    virtual void FileRestoreDevice();
    virtual HRESULT FileOpen(const CString& path, bool* hasVideo);
    virtual void FileTogglePause();
    virtual void FileStop();
    virtual void FilePause();
    virtual void FileSeekStart();

    // Both graphs at one volume.
    void SetVolume(int percent)
    {
        FileSetVolume(percent);
        LiveSetVolume(percent);
    }

private:
    CScreen& m_screen;
    base::CCriticalSection& m_uiLock;
    CFilePlayback m_filePlayback;
    CDVBPlayback m_dvbPlayback;
    base::CCriticalSection m_dataLock;
    record::CMPEG2Recorder* m_recorder = nullptr;
    std::atomic<uint32_t> m_lastPacketTick{0};
};
