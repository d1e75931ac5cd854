// The engine's user interface as the viewer's frame implements it, reduced to what the tests look
// at: packets go under the data lock, stream reports take the data lock and then the user-interface
// lock, everything shown takes the user-interface lock, and service updates read the service's
// getters first. Every lock is taken with a bound: a wait that runs out is counted, so a lock-order
// fault shows as a failed expectation instead of a hung test.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "dvb/DVBPlaybackCore/win/CQOREngine.h"

namespace test {

// Runs the user-interface thread's messages until `done` or the bound.
template <typename Done>
bool PumpUntil(Done done, uint32_t ms = 20000)
{
    const ULONGLONG until = GetTickCount64() + ms;
    while (!done()) {
        if (GetTickCount64() > until)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// A left click at `at` (client coordinates) sent to `window`. The release is queued before the
// press is sent: the frame takes a click that no control takes as the start of a window move, and
// the platform's move loop then waits for a release in the queue; one sent after the press would
// never come, and the test would hang there.
inline void ClickClient(HWND window, LPARAM at)
{
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
}

class CTestEngineUserInterface : public DVBPlaybackCore::CQOREngine::CQOREngineUserInterface {
public:
    struct Streams {
        uint16_t video = 0, audio = 0, pcr = 0;
    };

    // Held by the test's user-interface thread around frame work that does not call the engine.
    class CHold {
    public:
        explicit CHold(std::timed_mutex& lock, std::atomic<uint32_t>& timeouts) : m_lock(lock)
        {
            m_held = m_lock.try_lock_for(std::chrono::seconds(5));
            if (!m_held)
                ++timeouts;
        }
        ~CHold()
        {
            if (m_held)
                m_lock.unlock();
        }
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;

    private:
        std::timed_mutex& m_lock;
        bool m_held = false;
    };
    CHold DataLock() { return CHold(m_dataLock, timeouts); }
    CHold UILock() { return CHold(m_uiLock, timeouts); }

    HRESULT Reserved(uint32_t, uint32_t) override { return S_OK; }
    HRESULT OnStreamsChanged(int32_t, uint16_t video, uint16_t audio, uint16_t pcr) override
    {
        CHold data = DataLock();
        CHold ui = UILock();
        streams = {video, audio, pcr};
        ++streamReports;
        log.push_back("streams");
        return S_OK;
    }
    HRESULT OnTransportPacket(int32_t, const uint8_t* packet, int32_t length) override
    {
        CHold data = DataLock();
        if (length >= 3)
            ++packets[(packet[1] & 0x1F) << 8 | packet[2]];
        return S_OK;
    }
    HRESULT StopPlayback() override { return Note("stop"); }
    HRESULT RunPlayback() override
    {
        if (onRun)
            onRun();
        return Note("run");
    }
    HRESULT PausePlayback() override { return Note("pause"); }
    HRESULT ResetDemux() override { return Note("reset"); }
    HRESULT ShowInfoText(std::u16string left, std::u16string right, float fraction) override
    {
        CHold ui = UILock();
        infoLeft = left, infoRight = right, infoFraction = fraction;
        log.push_back("info");
        return S_OK;
    }
    HRESULT OnServiceUpdated(DVBPlaybackCore::CQORService* service) override
    {
        const std::u16string name = service ? service->GetName() : u"";
        CHold ui = UILock();
        updatedName = name;
        log.push_back("updated");
        return S_OK;
    }
    HRESULT ShowInfoCaptions(std::u16string, std::u16string) override { return S_OK; }
    HRESULT StopRecording() override { return Note("stoprecording"); }
    HRESULT BeginEPGUpdate() override { return Note("beginepg"); }
    HRESULT AddEPGChannel(const std::u16string*, uint32_t, uint32_t, EPGChannel* channel) override
    {
        if (channel)
            *channel = nullptr;
        return Note("epgchannel");
    }
    struct GuideEvent {
        std::u16string name, description;
        uint32_t keyLow, keyHigh;
        int64_t start;
        int32_t minutes;
    };
    HRESULT AddEPGEvent(EPGChannel, const std::u16string* name, uint32_t keyLow, uint32_t keyHigh, int64_t start,
                        int32_t minutes, uint32_t, const std::u16string*, const std::u16string* description,
                        uintptr_t) override
    {
        CHold ui = UILock();
        guideEvents.push_back({*name, *description, keyLow, keyHigh, start, minutes});
        log.push_back("epgevent");
        return S_OK;
    }
    HRESULT CommitEPGUpdate() override { return Note("commitepg"); }
    HRESULT SetEPGWindowStart(int64_t start) override
    {
        gridStart = start;
        return Note("epgstart");
    }
    HRESULT ShowTeletextPage(void*, int32_t, int32_t, int32_t, int32_t, int32_t) override { return Note("page"); }
    HRESULT SetPageEntryText(std::u16string) override { return Note("entry"); }
    HRESULT ShowOverlayBitmap(void* bitmap, int32_t, int32_t, int32_t, int32_t) override
    {
        // The bitmap stays the renderer's: the frame copies its pixels during the call.
        BITMAP info = {};
        uint32_t lit = 0;
        if (bitmap && GetObjectW(static_cast<HBITMAP>(bitmap), sizeof info, &info) == sizeof info && info.bmBits) {
            const auto* bytes = static_cast<const uint8_t*>(info.bmBits);
            const std::vector<uint8_t> copy(bytes, bytes + static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
            for (uint8_t byte : copy)
                lit += byte != 0;
            overlayWidth = info.bmWidth;
        }
        overlayLit = lit;
        ++overlays;
        return S_OK;
    }
    HRESULT SetPanelShown(bool shown) override { return Note(shown ? "panel1" : "panel0"); }
    HRESULT SetLiveFlag(uint8_t value) override
    {
        live = value;
        return Note(value ? "live1" : "live0");
    }

    // Read by the test's thread while no report can come.
    std::vector<std::string> TakeLog()
    {
        CHold ui = UILock();
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
    // The log without the reports a device thread's changes bring in at any time.
    std::vector<std::string> TakeCommands()
    {
        std::vector<std::string> commands;
        for (std::string& entry : TakeLog())
            if (entry != "updated" && entry != "streams" && entry != "info")
                commands.push_back(std::move(entry));
        return commands;
    }
    uint32_t Packets(uint16_t pid)
    {
        CHold data = DataLock();
        auto found = packets.find(pid);
        return found == packets.end() ? 0 : found->second;
    }
    void ClearPackets()
    {
        CHold data = DataLock();
        packets.clear();
    }

    // Called by RunPlayback on the user-interface thread: a frame whose graph takes its time.
    std::function<void()> onRun;
    std::atomic<uint32_t> timeouts{0};
    std::atomic<uint32_t> overlays{0};
    std::atomic<int32_t> overlayWidth{0}; // of the last overlay bitmap
    std::atomic<uint32_t> overlayLit{0};  // its bytes that are not 0
    std::atomic<int> live{-1};
    // Under the data lock.
    Streams streams;
    uint32_t streamReports = 0;
    std::map<uint16_t, uint32_t> packets;
    // Under the user-interface lock.
    std::vector<std::string> log;
    std::u16string infoLeft, infoRight, updatedName;
    float infoFraction = -1;
    std::vector<GuideEvent> guideEvents;
    std::atomic<int64_t> gridStart{0};

private:
    HRESULT Note(const char* what)
    {
        CHold ui = UILock();
        log.push_back(what);
        return S_OK;
    }

    std::timed_mutex m_dataLock;
    std::timed_mutex m_uiLock;
};

} // namespace test
