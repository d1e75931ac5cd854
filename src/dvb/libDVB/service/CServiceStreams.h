// The stream table of a service: every elementary stream of its PMT, the one currently chosen of
// each kind, the user's preferred PIDs and the change flags the player polls.
#pragma once

#include <memory>
#include <vector>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/service/CStream.h"

namespace libDVB {

class CServiceStreams {
public:
    // Change-mask bits reported when an update ends.
    enum ChangeMask : uint32_t {
        kDescriptionChanged = 0x01,
        kStreamsChanged = 0x04,
        kReceptionChanged = 0x10,
        kEventsChanged = 0x20,
    };
    enum PreferredPid { kReservedPid, kVideoPid, kAudioPid, kSubtitlePid, kTeletextPid, kPreferredPidCount };
    enum ChangeFlag { kVideoChanged, kAudioChanged, kSubtitleChanged, kTeletextChanged, kChangeFlagCount };

    // Holds the service lock and an open update for its lifetime; the accumulated mask is
    // reported when it ends (outermost scope only).
    class CUpdateScope {
    public:
        explicit CUpdateScope(CServiceStreams& streams) : m_streams(streams), m_lock(streams.m_lock)
        {
            m_streams.BeginUpdate();
        }
        ~CUpdateScope() { m_streams.EndUpdate(mask); }
        CUpdateScope(const CUpdateScope&) = delete;
        CUpdateScope& operator=(const CUpdateScope&) = delete;
        uint32_t mask = 0;

    private:
        CServiceStreams& m_streams;
        base::CScopedLock m_lock;
    };

    CServiceStreams() = default;
    virtual ~CServiceStreams() = default;
    CServiceStreams(const CServiceStreams&) = delete;
    CServiceStreams& operator=(const CServiceStreams&) = delete;

    // Takes ownership of the stream.
    HRESULT AddStream(CStream* stream, bool isPCR);
    void ClearStreams();
    CStream* FindStream(uint16_t pid, uint32_t kind);

    HRESULT SelectVideoStream(const CStream& stream);
    HRESULT SelectAudioStream(const CStream& stream);
    HRESULT SelectSubtitleStream(const CStream& stream); // PID 0 switches subtitles off
    HRESULT SelectTeletextStream(const CStream& stream);

    CStream* GetVideoStream();
    CAudioStream* GetAudioStream();
    CSubtitleStream* GetSubtitleStream();
    CTeletextStream* GetTeletextStream();
    CStream* GetPCRStream();
    void GetAudioStreams(std::vector<CAudioStream>& out);
    void GetSubtitleStreams(std::vector<CSubtitleStream>& out);
    size_t GetStreamCount();

    void SetPreferredPids(const uint16_t pids[kPreferredPidCount]);
    void GetPreferredPids(uint16_t pids[kPreferredPidCount]);
    // Returns the four change flags (video, audio, subtitle, teletext) and clears them.
    void TakeChangeFlags(uint32_t flags[kChangeFlagCount]);

    virtual void BeginUpdate() = 0;
    virtual void EndUpdate(uint32_t mask) = 0;

    // The service lock: guards the stream table and every field of the service; re-entrant, so a
    // change made inside an update may call getters.
    base::CCriticalSection& Lock() const { return m_lock; }

protected:
    // The chosen teletext stream's initial page and language go to the service's decoder.
    virtual void OnTeletextSelected(uint16_t page, uint16_t languageId) {}
    virtual void OnSubtitlesOff() {}

    mutable base::CCriticalSection m_lock;

private:
    HRESULT Select(uint32_t kind, const CStream& stream);
    CStream*& Current(uint32_t kind);

    std::vector<std::unique_ptr<CStream>> m_streams; // PMT order
    CStream* m_pcr = nullptr;
    CStream* m_video = nullptr;
    CStream* m_audio = nullptr;
    CStream* m_subtitle = nullptr;
    CStream* m_teletext = nullptr;
    uint16_t m_preferred[kPreferredPidCount] = {};
    uint32_t m_changed[kChangeFlagCount] = {};
};

} // namespace libDVB
