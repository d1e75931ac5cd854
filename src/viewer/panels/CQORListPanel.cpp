#include "viewer/panels/CQORListPanel.h"

#include <cmath>

#include "viewer/osd/Scale.h"

namespace Panels {

void RenderListScreen(OnScreenDisplay::Panel& panel, OnScreenDisplay::Control* background,
                      OnScreenDisplay::Control* header, OnScreenDisplay::Control* list, Motion motion, float alpha)
{
    float f = 0;
    if (!BeginPanel(panel, Fade::EasedBoth, &f))
        return;
    MotionScope scope(panel, motion, f);
    panel.DrawChild(background, 0.85f * f * alpha);
    panel.DrawChild(header, f * alpha);
    panel.DrawChild(list, f * alpha);
}

void PlaceListScreen(const OnScreenDisplay::RectF& panel, OnScreenDisplay::Control* background,
                     OnScreenDisplay::Control* header, OnScreenDisplay::Control* list)
{
    const float s = OnScreenDisplay::GetScale(), w = panel.Width(), h = panel.Height();
    Place(background, 0, 0, w, h);
    Place(header, 5 * s, 5 * s, w - 5 * s, 35 * s);
    Place(list, 15 * s, 45 * s, w - 15 * s, h - 15 * s);
}

void PlaceColumnList(const OnScreenDisplay::RectF& panel, OnScreenDisplay::Control* background,
                     OnScreenDisplay::Control* header, OnScreenDisplay::ListBox* list)
{
    PlaceListScreen(panel, background, header, nullptr);
    if (!list)
        return;
    const float s = OnScreenDisplay::GetScale(), w = panel.Width(), h = panel.Height();
    // A minimised window lays out at 0 x 0 and gives a negative width: still one column.
    const float columns = std::ceil((w - 30 * s) / (800 * s));
    list->m_columns = !(columns >= 1.0f) ? 1 : columns > 1000.0f ? 1000 : static_cast<int>(columns);
    list->SetRect(15 * s, 45 * s, w - 15 * s, h - 15 * s);
    const int unit = list->m_rowMajor ? list->m_columns : list->VisibleRows();
    if (unit > 0 && list->m_top > 0)
        list->m_top = list->m_top / unit * unit;
    list->Layout();
}

} // namespace Panels
