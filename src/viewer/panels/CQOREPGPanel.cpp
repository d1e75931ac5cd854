#include "viewer/panels/CQOREPGPanel.h"

#include <algorithm>

#include "base/Clock.h"
#include "viewer/epg/CEPGData.h"
#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"
#include "viewer/panels/PanelFrame.h"

using namespace Panels;
using OnScreenDisplay::Control;

void CQOREPGPanel::Layout()
{
    const float s = OnScreenDisplay::GetScale(), w = m_rect.Width(), h = m_rect.Height();
    Place(m_background, 0, 0, w, h - 208 * s);
    Place(m_header, 5 * s, 5 * s, w - 5 * s, 63 * s);
    Place(m_hint, 1 * s, h - 200 * s, w, h);
    if (m_hint) {
        Place(m_titleValue, 554 * s, h - 188 * s, w - 20 * s, h - 156 * s);
        Place(m_genreValue, 554 * s, h - 150 * s, w - 20 * s, h - 124 * s);
        Place(m_description, 554 * s, h - 116 * s, w - 20 * s, h - 30 * s);
        Place(m_programCaption, 404 * s, h - 188 * s, 534 * s, h - 156 * s);
        Place(m_genreCaption, 404 * s, h - 150 * s, 534 * s, h - 124 * s);
        Place(m_infoCaption, 404 * s, h - 116 * s, 534 * s, h - 90 * s);
    }
    // The frame overhangs the panel's left and bottom edges.
    Place(m_smallScreenFrame, -6 * s, h - 301.5f * s, 395.25f * s, h + 12 * s);
    Place(m_preview,
          OnScreenDisplay::FitRectToAspect(11.25f * s, h - 285 * s, 372 * s, h - 12 * s, true, m_videoAspect));
    Place(m_scrollPad, w - 106.4f * s, 64 * s, w - 106.4f * s + 102.4f * s, 64 * s + 102.4f * s);
    Place(m_guide, 5 * s, 63 * s, w - 5 * s, h - 213 * s);
}

void CQOREPGPanel::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::EasedBoth, &f))
        return;
    const float a = f * alpha;
    DrawChild(m_background, 0.85f * a);
    DrawChild(m_hint, a);
    DrawChild(m_header, a);
    DrawChild(m_guide, 0.85f * a);
    OnScreenDisplay::Control* const order[] = {m_scrollPad, m_smallScreenFrame, m_preview,
                                               m_titleValue, m_genreValue, m_description,
                                               m_programCaption, m_genreCaption, m_infoCaption};
    for (OnScreenDisplay::Control* child : order)
        DrawChild(child, a);
}

void CQOREPGPanel::KeepCursorVisible()
{
    CEPGData* const model = m_guide ? m_guide->m_model : nullptr;
    if (!model)
        return;
    const int rows = m_guide->m_rowsDrawn;
    if (model->m_topRow > model->m_selectedRow)
        model->m_topRow = model->m_selectedRow;
    // Before the grid has been drawn it knows no row count; scrolling by 0 rows would put the
    // selected row above the first shown one.
    if (rows > 0 && model->m_selectedRow >= model->m_topRow + rows)
        model->m_topRow = model->m_selectedRow - rows + 1;

    // The window moves by whole half hours until the focus time lies inside its span. Counted out
    // rather than stepped: a focus time far from the window would take millions of steps.
    const int64_t span = std::max(1, m_guide->m_columnsShown - 2) * kHalfHour;
    const int64_t focus = m_guide->m_cursorTime;
    int64_t t = model->m_gridStart;
    if (t > focus)
        t -= (t - focus + kHalfHour - 1) / kHalfHour * kHalfHour;
    if (t + span < focus)
        t += (focus - span - t + kHalfHour - 1) / kHalfHour * kHalfHour;
    if (t == model->m_gridStart)
        return;
    model->SetStartTime(t);
    if (m_frame)
        m_frame->RefreshGuide();
}

void CQOREPGPanel::StampNow()
{
    if (!m_guide)
        return;
    m_guide->m_cursorTime = m_guide->m_clock ? m_guide->m_clock() : base::UtcNow();
}
