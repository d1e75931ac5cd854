// The programme guide: the EPG model drawn as a grid of channel rows and event blocks on a time axis
// of 30-minute columns, with a frame round the selected event and a marker at the current time.
// The pointer and the arrow keys select a row and a time; clicks are handed to the display.
// Every time here is a UTC instant.
#pragma once

#include <cstdint>
#include <vector>

#include "viewer/osd/Control.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/OsdFont.h"
#include "viewer/osd/SkinTexture.h"

class CEPGData;
class CEPGChannel;
class CEPGEvent;

namespace OnScreenDisplay {

class ProgramGuide2 : public Control {
public:
    // Virtual-key codes of the arrow keys.
    enum : unsigned { KeyLeft = 0x25, KeyUp = 0x26, KeyRight = 0x27, KeyDown = 0x28 };

    explicit ProgramGuide2(Component* parent = nullptr);
    ~ProgramGuide2() override;

    bool OnMouseMove(uint32_t flags, int x, int y) override;
    bool OnLButtonDown(uint32_t flags, int x, int y) override;
    bool OnMouseWheel(uint32_t flags, int delta, int x, int y) override;
    void Render(float alpha) override;
    // The present-time marker follows the wall clock, read in whole seconds.
    uint32_t AnimationDelay(uint32_t now) override;
    bool OnKey(unsigned key, unsigned repeat, unsigned flags);

    void SetFont(OsdFont* font);
    void SetModel(CEPGData* model) { m_model = model; }
    void SetChannelTexture(SkinTexture* texture) { AssignTexture(m_channelTexture, texture); }
    void SetCornerTexture(SkinTexture* texture) { AssignTexture(m_cornerTexture, texture); }
    void SetNowTexture(SkinTexture* texture) { AssignTexture(m_nowTexture, texture); }
    void SetSelectedTexture(SkinTexture* texture) { AssignTexture(m_selectedTexture, texture); }

    // The front row under y, or -1 (also while the OSD scale is 0, as when the window is minimised).
    int RowAt(int y) const;
    // The time under x: the grid start plus the whole minutes from the name column's right edge.
    int64_t TimeAt(int x) const;
    // RGB of a genre's mark; false for values without a table entry.
    static bool GenreColour(uint32_t genre, uint32_t* rgb);

    OsdFont* m_font = nullptr;
    Label* m_textLabel = nullptr;
    SkinTexture* m_channelTexture = nullptr;
    SkinTexture* m_cornerTexture = nullptr;
    SkinTexture* m_nowTexture = nullptr;
    SkinTexture* m_selectedTexture = nullptr;
    uint32_t m_textColour = 0xFF000000;
    float m_rowHeight = 56;
    float m_rowGap = 2;
    float m_nameWidth = 200;
    float m_columnWidth = 250;
    float m_blockMargin = 2;
    int m_rowsDrawn = 0;
    int m_columnsShown = 0;
    CEPGData* m_model = nullptr;
    // The event last reported to ShowEventDetails: only compared, never followed (a refill may have
    // freed it), and compared by its key, since a new event may reuse a freed address.
    const CEPGEvent* m_detailsEvent = nullptr;
    uint32_t m_detailsKeyLow = 0, m_detailsKeyHigh = 0;
    int64_t m_cursorTime = 0;
    // Where "now" comes from; tests fix it.
    int64_t (*m_clock)() = nullptr;

private:
    struct Block {
        const CEPGEvent* event;
        float left, top, right, bottom; // widget units, y down
        bool rightVisible;
        bool framed;
    };

    int64_t Now() const;
    int64_t FrontRowCount() const;
    void DrawRows(float alpha, int rows);
    void DrawTexts(float alpha, int rows);
    void DrawBlocks(float alpha, int rows);
    void DrawFrame(float alpha, const Block& block);
    void DrawCorners(float alpha);
    void DrawTitles(float alpha);
    void DrawNowMarker(float alpha);
    void ReportDetails(const CEPGEvent* framed);
    void LendText(const COSDString& text, uint32_t colour, float left, float top, float right, float bottom,
                  float fadeWidth);
    // Widget units (y down) to the widget's [-1, 1] square (y up).
    float X(float x) const { return 2.0f * x / m_rect.Width() - 1.0f; }
    float Y(float y) const { return 1.0f - 2.0f * y / m_rect.Height(); }

    std::vector<Block> m_blocks; // the blocks of the drawing in progress
};

} // namespace OnScreenDisplay
