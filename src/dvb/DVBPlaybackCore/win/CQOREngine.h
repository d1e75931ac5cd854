// The channel engine of the viewer: owns the channel list, the device engines that deliver
// transport streams (BDA tuner, multicast group, file), the EPG store and the teletext and subtitle
// renderers, and plays one service at a time through its user-interface callback.
//
// Threads: every public operation comes from the user-interface thread (the thread that
// constructed the engine), with none of the frame's locks held. Packets and subtitle bitmaps are
// passed on directly on the device threads. A change a service reports on a device thread is
// reported while that service holds its lock; its mask is posted (never a pointer) to the engine's
// own hidden window and handled on the user-interface thread with no service lock held, so the
// frame's callbacks, which take the frame's locks, never run under a service lock. A channel whose
// programme leaves the PAT while it plays leaves the slot; when a later PAT brings it back and the
// user has chosen no other, it plays again.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dvb/DVBPlaybackCore/CServices.h"
#include "dvb/libBDA/CBDADeviceEntry.h"
#include "dvb/libDVB/engine/CTSEngine.h"
#include "dvb/libDVB/epg/CEPGStore.h"
#include "dvb/libDVB/subtitle/CSubtitleRenderer.h"
#include "dvb/libDVB/teletext/CTeletextRenderer.h"

namespace DVBPlaybackCore {

class CQOREngine : public CServices,
                   public libDVB::CService::CServiceCallback,
                   public libDVB::CTSEngine::CTSEngineCallback,
                   public libDVB::CSubtitleRenderer::CSubtitleCallback,
                   public libDVB::CTeletextRenderer::CTeletextRendererCallback {
public:
    // What the engine drives in the viewer. Results are ignored except OnTransportPacket's, which
    // goes back to the service. Bitmaps handed over stay the renderers', which redraw them on other
    // threads: the receiver copies the pixels during the call.
    class CQOREngineUserInterface {
    public:
        // An opaque row handle of the programme guide, chosen by the implementation.
        using EPGChannel = void*;

        virtual HRESULT Reserved(uint32_t first, uint32_t second) = 0;
        // Device thread or user-interface thread; each PID 0 when the stream is absent.
        virtual HRESULT OnStreamsChanged(int32_t slot, uint16_t videoPid, uint16_t audioPid, uint16_t pcrPid) = 0;
        // Device or timeshift thread, once per video or audio packet of the playing service.
        virtual HRESULT OnTransportPacket(int32_t slot, const uint8_t* packet, int32_t length) = 0;
        virtual HRESULT StopPlayback() = 0;
        virtual HRESULT RunPlayback() = 0;
        virtual HRESULT PausePlayback() = 0;
        virtual HRESULT ResetDemux() = 0;
        virtual HRESULT ShowInfoText(std::u16string left, std::u16string right, float fraction) = 0;
        virtual HRESULT OnServiceUpdated(CQORService* service) = 0;
        virtual HRESULT ShowInfoCaptions(std::u16string left, std::u16string right) = 0;
        virtual HRESULT StopRecording() = 0;
        virtual HRESULT BeginEPGUpdate() = 0;
        virtual HRESULT AddEPGChannel(const std::u16string* name, uint32_t keyLow, uint32_t keyHigh,
                                      EPGChannel* channel) = 0;
        // start: seconds since 1970, UTC.
        virtual HRESULT AddEPGEvent(EPGChannel channel, const std::u16string* name, uint32_t keyLow,
                                    uint32_t keyHigh, int64_t start, int32_t durationMinutes, uint32_t genre,
                                    const std::u16string* genreText, const std::u16string* description,
                                    uintptr_t reserved) = 0;
        virtual HRESULT CommitEPGUpdate() = 0;
        virtual HRESULT SetEPGWindowStart(int64_t start) = 0;
        virtual HRESULT ShowTeletextPage(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                         int32_t page) = 0;
        virtual HRESULT SetPageEntryText(std::u16string text) = 0;
        virtual HRESULT ShowOverlayBitmap(void* bitmap, int32_t left, int32_t top, int32_t right,
                                          int32_t bottom) = 0;
        virtual HRESULT SetPanelShown(bool shown) = 0;
        virtual HRESULT SetLiveFlag(uint8_t live) = 0;

    protected:
        ~CQOREngineUserInterface() = default;
    };

    struct ENGINE {
        std::u16string name;
        std::unique_ptr<libDVB::CTSEngine> device;
    };

    // The teletext page message posted to the frame: wParam the decoder, lParam the page key.
    static constexpr UINT kTeletextPageMessage = 2037;

    // `frame` receives the teletext page messages; the channel file is read from `channelFolder`,
    // "\epg.dat" and the logo folder from `dataFolder`.
    CQOREngine(CQOREngineUserInterface* ui, const std::u16string& dataFolder, HWND frame,
               const std::u16string& channelFolder);
    ~CQOREngine() override;

    virtual HRESULT ReservedForward(uint32_t first, uint32_t second);

    // The engine owns every device; the out pointers are borrowed.
    HRESULT AddDevice(libDVB::CTSEngine* device, int32_t* id, const std::u16string& name);
    HRESULT CreateBDADevice(const std::u16string& tunerName, libDVB::CTSEngine** device, int32_t* id);
    HRESULT CreateMulticastDevice(const std::u16string& groupAddress, int32_t port, libDVB::CTSEngine** device,
                                  int32_t* id);
    HRESULT CreateFileDevice(const std::u16string& path, libDVB::CTSEngine** device, int32_t* id);
    HRESULT RemoveDevice(int32_t id);
    HRESULT CloseAllDevices();
    HRESULT FindOrCreateDevice(CQORService* service, libDVB::CTSEngine** device);

    HRESULT PlayService(CQORService* service, int32_t listPosition, int32_t slot);
    HRESULT PlayServiceById(uint16_t serviceId, uint16_t transportStreamId, int32_t listPosition, int32_t slot);
    HRESULT PlayNextService();
    HRESULT PlayPreviousService();
    HRESULT StopService(CQORService* service);
    HRESULT GetCurrentService(CQORService** out);

    HRESULT StartTimeshift();
    HRESULT StopTimeshift(bool* restart);
    // The playing service's timeshift buffer: paused (between pause and resume) and created (from
    // the pause until it goes live again). S_FALSE when nothing plays.
    HRESULT GetTimeshiftState(uint8_t* paused, uint8_t* created);

    HRESULT Shutdown();

    // Programme guide. One refresh of the guide's rows: 0 refreshed, 1 nothing done (only when
    // signalled and no new event came). listKind: 0 favourites, 1 TV, 2 radio, 3 network channels.
    // Events and the grid start are UTC instants; `currentRow` gets the playing channel's row.
    HRESULT UpdateEPGView(bool onlyWhenSignalled, int32_t listKind, int32_t* currentRow);
    // The wall clock of the guide (seconds since 1970, UTC); tests set their own.
    void SetClock(std::function<int64_t()> clock) { m_clock = std::move(clock); }
    // The event of the 64-bit event key keyHigh << 32 | keyLow.
    HRESULT GetEvent(uint32_t keyLow, uint32_t keyHigh, libDVB::CEITEvent* out);

    // Teletext, on the user-interface thread.
    HRESULT ShowTeletext(bool show, int32_t page, bool subtitleMode);
    HRESULT TeletextHitTest(float x, float y);
    HRESULT TeletextClick(float x, float y, bool* followed);
    // 0 back, 1 previous page, 2 next page.
    HRESULT TeletextNavigate(int32_t how);
    HRESULT TeletextKeyDown(int32_t virtualKey);
    HRESULT RelayDisplayFlag(bool shown);
    // Subtitles: the renderer draws the newest display set due at the video clock's `pts` (90 kHz).
    HRESULT DrawSubtitles(uint64_t pts);

    // Callbacks from services, devices and renderers.
    HRESULT OnServicePacket(libDVB::CService* service, uint16_t pid, const uint8_t* packet, uint32_t length,
                            uint32_t flag) override;
    HRESULT OnServiceChanged(libDVB::CService* service, uint32_t mask, uint32_t state, uint32_t value) override;
    HRESULT OnTeletextPage(libDVB::CTeletextDecoder* decoder, uint32_t pageKey, bool post, bool drop) override;
    HRESULT OnEITTable(libDVB::CTSEngine* engine, const uint8_t* section, uint32_t length,
                       libDVB::CEITTable* table) override;
    HRESULT OnSubtitleRendered(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    HRESULT OnPageRendered(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t page,
                           bool transparent) override;
    HRESULT OnServiceRemoved(libDVB::CServiceManager* manager, uint16_t serviceId,
                             libDVB::CService* service) override;

    // The device map's entries, in id order (for the frame and for tests).
    std::vector<std::pair<int32_t, std::u16string>> GetDevices() const;
    libDVB::CEPGStore& GetEPGStore() { return m_epg; }
    libDVB::CTeletextRenderer& GetTeletextRenderer() { return m_teletext; }
    const std::vector<std::u16string>& GetLogos() const { return m_logos; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The report of a change, on the user-interface thread.
    void HandleServiceChanged(CQORService* service, uint32_t mask, uint32_t state);
    // Puts the service into the slot and lets it play: renderers, info text, streams, run.
    void StartPlaying(CQORService* service, int32_t listPosition);
    // The channel of `key` came back into the multiplex (user-interface thread).
    void ResumeService(uint32_t key);
    // True when a device of the map is running and its service manager carries the service.
    bool IsCarriedByRunningDevice(CQORService* service);
    HRESULT CreateBDADevice(libBDA::CBDADeviceEntry* entry, const std::u16string& tunerName,
                            libDVB::CTSEngine** device, int32_t* id);
    HRESULT TuneBDADevice(libDVB::CTSEngine* device, const class CBDATuneInfo& info);
    // Base of the record's own list plus its index there; 0 for a record in neither list.
    int32_t OwnListPosition(CQORService* service) const;
    libDVB::CTSEngine* FirstDevice();
    void ListLogos();

    libDVB::CTeletextRenderer m_teletext;
    CQOREngineUserInterface* m_ui;
    std::u16string m_dataFolder;
    HWND m_frame;
    HWND m_window = nullptr;
    std::atomic<CQORService*> m_current{nullptr};
    std::atomic<uint32_t> m_pendingMask{0}; // change reports posted and not yet handled
    // The channel whose programme left the PAT while it played: key << 32 | list position; 0 none.
    std::atomic<uint64_t> m_awaited{0};
    std::map<int32_t, ENGINE> m_devices;
    int32_t m_nextDeviceId = 1;
    libDVB::CEPGStore m_epg;
    libDVB::CSubtitleRenderer m_subtitles;
    std::vector<std::u16string> m_logos;
    uint16_t m_reportedPids[3] = {}; // video, audio, PCR as last reported
    uint16_t m_shownSubtitles = 0;   // the subtitle PID the panel was last shown for
    std::function<int64_t()> m_clock;
    int64_t m_gridStart = 0; // the grid start last sent to the guide
    bool m_timeshifting = false;
    bool m_liveFlagPending = false;
};

} // namespace DVBPlaybackCore
