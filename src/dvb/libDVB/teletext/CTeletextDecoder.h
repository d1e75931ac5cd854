// Teletext decoder: gathers the PES packets of a service's teletext PID (EBU teletext in DVB,
// ETSI EN 300 472), decodes their data units (EN 300 706) and keeps every page and sub-page
// received, with its navigation links, until it is stopped. The page renderer takes copies of
// the pages; the owner hears, through the callback, when the page on screen or the overlay page
// has been received again.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "dvb/libDVB/demux/CPesStreamDecoder.h"
#include "dvb/libDVB/teletext/CTeletextPage.h"
#include "dvb/libDVB/teletext/CTeletextPageEntry.h"

namespace libDVB {

// A page key: the page number in the low 16 bits, the sub-page number in the high 16 bits.
inline uint32_t TeletextPageKey(uint32_t page, uint32_t subPage) { return (page & 0xFFFF) | (subPage << 16); }
inline uint16_t TeletextKeyPage(uint32_t key) { return static_cast<uint16_t>(key & 0xFFFF); }
inline uint16_t TeletextKeySubPage(uint32_t key) { return static_cast<uint16_t>(key >> 16); }

class CTeletextDecoder : public CPesStreamDecoder {
public:
    class CTeletextDecoderCallback {
    public:
        // Called on the transport-stream thread with the decoder lock held; post is always true
        // from the decoder, drop is true for the overlay page (whose key is then the page alone).
        virtual HRESULT OnTeletextPage(CTeletextDecoder* decoder, uint32_t pageKey, bool post, bool drop) = 0;

    protected:
        ~CTeletextDecoderCallback() = default;
    };

    explicit CTeletextDecoder(CTeletextDecoderCallback* callback);
    ~CTeletextDecoder() override;

    // Forgets every page and the PES being gathered, as Stop then Start would, but keeps the
    // buffer.
    void Reset();

    // One 188-byte packet of the teletext PID: 1 while stopped, else 0.
    HRESULT OnTeletextPacket(const uint8_t* packet, uint32_t length) { return OnPacket(packet, length); }

    // From the service's teletext stream: its initial page (0 when none) and the language number
    // that selects the national character sub-set.
    void SetStreamInfo(uint32_t initialPage, uint32_t languageNumber);
    uint32_t GetInitialPage() const;
    uint32_t GetLanguageNumber() const;
    // From the renderer: teletext shown, sub-page held, and the page shown as an overlay.
    void SetViewState(bool view, bool hold, uint16_t overlayPage);
    void SetPageOnScreen(uint32_t pageKey);
    uint32_t GetPageOnScreen() const;

    bool HasPage(uint16_t page) const;
    // 0 when sub-page 0 is stored, else the lowest stored sub-page; -1 when the page is unknown.
    int32_t GetFirstSubPage(uint16_t page) const;
    // A copy the caller owns, or null. Page and sub-page 0 mean the initial page, sub-page 0.
    // Unless keepPageOnScreen is set, the requested page becomes the page on screen.
    std::unique_ptr<CTeletextPage> GetPageCopy(uint16_t page, uint16_t subPage, bool* newsflash, bool* subtitle,
                                               bool keepPageOnScreen, uint8_t* nationalBits);
    // Page keys before and after the page on screen in page and sub-page order (0 when none).
    uint32_t GetPreviousPage() const;
    uint32_t GetNextPage() const;
    uint32_t GetPageCount() const;

private:
    void ForgetDecoded() override;
    void OnPes(const uint8_t* data, uint32_t length) override;
    void DecodePacket(const uint8_t* unit);
    void OnPageHeader(unsigned magazine, const uint8_t* data);
    void OnLinks(CTeletextPage* page, unsigned magazine, const uint8_t* data);
    void EndReception(unsigned magazine, bool allMagazines);
    void OnPageReceived(const CTeletextPage* page);
    const CTeletextPageEntry* FindEntry(uint16_t page) const;

    CTeletextDecoderCallback* m_callback;
    std::map<uint16_t, std::unique_ptr<CTeletextPageEntry>> m_pages;
    bool m_view = false;
    bool m_hold = false;
    uint32_t m_languageNumber = 0;
    uint32_t m_initialPage = 0;
    uint32_t m_pageOnScreen = 0;
    // The page being received in each magazine (index = magazine bits, 0 standing for 8):
    // magazines are sent in parallel, so rows belong to the last header of their own magazine.
    CTeletextPage* m_receiving[8] = {};
    uint16_t m_overlayPage = 0;
};

} // namespace libDVB
