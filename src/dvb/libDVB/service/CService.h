// One DVB service as the transport-stream library sees it: ids, names, the stream table, the
// teletext and subtitle decoders and the timeshift buffer that belong to it, its present and
// following events, and the change notification through which it tells its owner what changed.
#pragma once

#include <memory>
#include <string>

#include "dvb/libDVB/demux/CTSDemultiplexerStream.h"
#include "dvb/libDVB/service/CServiceStreams.h"
#include "dvb/libDVB/subtitle/CSubtitleDecoder.h"
#include "dvb/libDVB/teletext/CTeletextDecoder.h"
#include "dvb/libDVB/timeshift/CTSPacketBufferInterface.h"

namespace libDVB {

class CServiceManager;

class CService : public CTSDemultiplexerStream::CTSDemultiplexerStreamCallback,
                 public CTSPacketBufferInterface::CTSPacketBufferCallback,
                 public CServiceStreams {
public:
    // The channel engine: receives the service's video and audio packets, its change reports and
    // (through the teletext decoder) its teletext page arrivals.
    class CServiceCallback : public CTeletextDecoder::CTeletextDecoderCallback {
    public:
        virtual HRESULT OnServicePacket(CService* service, uint16_t pid, const uint8_t* packet, uint32_t length,
                                        uint32_t flag) = 0;
        // mask: ChangeMask bits; state: the reception state; value: the decoding-stopped flag.
        virtual HRESULT OnServiceChanged(CService* service, uint32_t mask, uint32_t state, uint32_t value) = 0;

    protected:
        ~CServiceCallback() = default;
    };

    struct CEvent {
        std::u16string name;
        int64_t start = 0;    // seconds since 1970, UTC
        int64_t duration = 0; // seconds
        float fraction = 0;   // elapsed part; outside 0..1 when not running now
    };

    enum ServiceType : uint32_t { kTV = 1, kRadio = 2 };
    enum ReceptionState : uint32_t { kNotAttached = 0, kListed = 1, kReceived = 2 };

    CService(CServiceCallback* callback, CServiceManager* manager);
    CService(CServiceCallback* callback, CServiceManager* manager, uint16_t serviceId, uint16_t transportStreamId,
             const std::u16string& name);
    ~CService() override;

    uint16_t GetServiceId() const;
    uint16_t GetTransportStreamId() const;
    uint16_t GetOriginalNetworkId() const;
    std::u16string GetName() const;
    std::u16string GetProvider() const;
    uint32_t GetServiceType() const;
    uint32_t GetDVBServiceType() const;
    uint8_t IsScrambled() const;
    uint8_t IsFreeCA() const;
    uint8_t HasTeletext() const;
    uint8_t HasSubtitles() const;
    uint8_t HasEPG() const;
    uint8_t HasSeveralAudioStreams() const;
    uint32_t GetReceptionState() const;
    bool IsDecodingStopped() const;
    CServiceManager* GetServiceManager() const;
    CEvent GetPresentEvent() const;
    CEvent GetFollowingEvent() const;

    void BeginUpdate() override;
    void EndUpdate(uint32_t mask) override;
    HRESULT NotifyChanged(uint32_t mask);

    HRESULT ActivateDecoding();
    HRESULT DeactivateDecoding();
    HRESULT StartTimeshift();
    HRESULT StopTimeshift(bool goLive);
    // The buffer's flags (both false without a buffer).
    bool IsTimeshiftPaused() const { return m_timeshift && m_timeshift->IsPaused(); }
    bool IsTimeshiftCreated() const { return m_timeshift && m_timeshift->IsCreated(); }

    // A packet of one of the service's PIDs from the device engine.
    HRESULT OnStreamPacket(CTSDemultiplexerStream* stream, const uint8_t* packet, uint32_t length,
                           uint32_t flag) override;
    // A packet replayed by the timeshift buffer, or passed on at once while it does not buffer.
    HRESULT OnBufferedPacket(const uint8_t* packet, uint32_t length) override;

    CTeletextDecoder& GetTeletextDecoder() { return m_teletext; }
    CSubtitleDecoder& GetSubtitleDecoder() { return m_subtitles; }

protected:
    void OnTeletextSelected(uint16_t page, uint16_t languageId) override;
    void OnSubtitlesOff() override;

    // Written by the service manager of the device that receives the service, inside an update.
    friend class CServiceManager;

    CServiceCallback* m_callback;
    CServiceManager* m_manager;
    uint16_t m_serviceId = 0;
    uint16_t m_transportStreamId = 0;
    uint16_t m_originalNetworkId = 0;
    uint16_t m_reservedId = 0;
    uint8_t m_freeCA = 0;
    uint8_t m_scrambled = 0;
    uint32_t m_serviceType = 0;
    uint32_t m_dvbServiceType = 0;
    uint8_t m_hasTeletext = 0;
    uint8_t m_hasSubtitles = 0;
    uint8_t m_hasEPG = 0;
    uint8_t m_severalAudio = 0;
    std::u16string m_name;
    std::u16string m_provider;
    CEvent m_present;
    CEvent m_following;
    uint32_t m_receptionState = kNotAttached;
    uint32_t m_decodingStopped = 1;
    CTeletextDecoder m_teletext;
    CSubtitleDecoder m_subtitles;
    std::unique_ptr<CTSPacketBufferInterface> m_timeshift;
    uint32_t m_pendingMask = 0;
    uint32_t m_updateDepth = 0;

private:
    CEvent WithFraction(const CEvent& event) const;
};

} // namespace libDVB
