// Shows the teletext pages of the attached decoder: draws the page on screen (or the overlay page,
// such as a teletext subtitle page) on its canvas and hands the bitmap to its owner, keeps a back
// history of the pages visited, the page number being typed and the clickable page links of the
// page shown. Every call comes from the user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Lock.h"
#include "base/Result.h"
#include "dvb/libDVB/teletext/CTeletextCanvas.h"
#include "dvb/libDVB/teletext/CTeletextDecoder.h"
#include "dvb/libDVB/teletext/CTeletextLayout.h"
#include "dvb/libDVB/teletext/CTeletextPage.h"
#include "dvb/libDVB/teletext/TeletextCharacterTable.h"

namespace libDVB {

class CTeletextRenderer {
public:
    class CTeletextRendererCallback {
    public:
        // The bitmap (the canvas's handle, still owned by the renderer), the rectangle it covers,
        // the page number and whether it is a transparent overlay.
        virtual HRESULT OnPageRendered(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                       uint32_t page, bool transparent) = 0;

    protected:
        ~CTeletextRendererCallback() = default;
    };

    static constexpr size_t kHistoryLimit = 30;

    // The canvas is what it draws on (a GDI canvas on Windows); without one nothing is drawn, but
    // pages, history and links are kept all the same.
    CTeletextRenderer(CTeletextRendererCallback* callback, std::unique_ptr<CTeletextCanvas> canvas);
    CTeletextRenderer(const CTeletextRenderer&) = delete;
    CTeletextRenderer& operator=(const CTeletextRenderer&) = delete;

    // The decoder of the playing service, or null. The page on screen becomes its initial page
    // (100 when it names none); the decoder learns it together with the view state.
    HRESULT Attach(CTeletextDecoder* decoder);
    // Mode 1 shows the teletext view; a non-negative overlay page becomes the page shown as an overlay.
    HRESULT SetMode(uint8_t mode, int32_t overlayPage);
    HRESULT ToggleHold();
    HRESULT SetMessages(const std::u16string& pageNotAvailable, const std::u16string& noTeletext);

    // Draws and reports a page: page 0 is the page on screen, a sub-page of 0 or less the first one
    // stored; with `overlay` the overlay page is drawn and the page on screen and history stay.
    // 0 drawn, 1 the page is not stored (the message is shown), E_FAIL without a decoder.
    HRESULT Render(int32_t page, int32_t subPage, bool overlay);

    // The decoder's queries: -1, 0 and 0 without a decoder.
    int32_t GetFirstSubPage(uint16_t page);
    uint32_t GetPreviousPage();
    uint32_t GetNextPage();
    // The most recent page of the back history; 0 when there is none or no decoder.
    uint32_t GetBackPage();

    // x and y are fractions (0..1) of the bitmap; the page's cells are 40 x 24 of it.
    bool HitTest(float x, float y);
    // The page key of the first link under the point (with that page's first stored sub-page), or 0.
    uint32_t GetLinkAt(float x, float y);

    // Typing a page number one digit at a time: `text` receives what to show ("1--", "12-"), empty
    // when nothing is to be shown; the third digit renders the page.
    HRESULT EnterDigit(unsigned digit, std::u16string* text);
    // Forgets a half-typed page number.
    void ClearPageEntry();

    uint32_t GetPageOnScreen();
    std::vector<uint16_t> GetHistory();
    bool IsHeld();
    // The links of the page shown, in character cells.
    std::vector<CTeletextPage::CLinkRectangle> GetLinks();
    CTeletextCanvas* Canvas() { return m_canvas.get(); }

private:
    void UpdateHistory(uint16_t page);
    void Paint(const CTeletextLayout& layout);
    void DrawMessage(const std::u16string& text);
    void Report(uint32_t page, bool transparent);
    void PushViewState();
    const CTeletextPage::CLinkRectangle* LinkAt(float x, float y) const;

    CTeletextRendererCallback* m_callback;
    base::CCriticalSection m_lock;
    uint32_t m_pageOnScreen = 0;
    CTeletextDecoder* m_decoder = nullptr;
    char16_t m_table[kTeletextCharacterCount] = {};
    std::unique_ptr<CTeletextCanvas> m_canvas;
    std::vector<uint16_t> m_history; // most recent first
    std::unique_ptr<CTeletextPage> m_page;
    CTeletextLayout m_layout;
    uint8_t m_mode = 0;
    bool m_hold = false;
    uint16_t m_overlayPage = 0;
    std::u16string m_pageNotAvailable;
    std::u16string m_noTeletext;
    uint32_t m_entryNumber = 0;
    unsigned m_entryState = 0;
    std::u16string m_entryText;
};

} // namespace libDVB
