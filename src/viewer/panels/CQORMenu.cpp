#include "viewer/panels/CQORMenu.h"

#include "viewer/osd/Display.h"
#include "viewer/osd/Scale.h"
#include "viewer/panels/PanelDrawing.h"

using namespace Panels;

namespace {
constexpr unsigned kKeyReturn = 0x0D, kKeyUp = 0x26, kKeyDown = 0x28;
} // namespace

void CQORMenu::Layout()
{
    const float s = OnScreenDisplay::GetScale();
    Place(m_background, 0, 0, m_rect.Width(), m_rect.Height());
    float top = 32 * s;
    for (OnScreenDisplay::TextButton* item : m_items) {
        if (!item)
            continue;
        Place(item, 10 * s, top, 10 * s + 231 * s, top + 44 * s);
        top += 52 * s; // 44 of button and 8 of gap
    }
}

void CQORMenu::Render(float alpha)
{
    float f = 0;
    if (!BeginPanel(*this, Fade::Eased, &f))
        return;
    MotionScope motion(*this, Motion::FromLeft, f);
    DrawChild(m_background, f * alpha);
    for (OnScreenDisplay::TextButton* item : m_items)
        DrawChild(item, f * alpha);
}

const MenuLink* CQORMenu::FindLink(OnScreenDisplay::Control* from) const
{
    const auto it = m_links.find(from);
    return it == m_links.end() ? nullptr : &it->second;
}

void CQORMenu::FocusFirstItem()
{
    for (OnScreenDisplay::TextButton* item : m_items) {
        if (item) {
            SetFocusChild(item);
            return;
        }
    }
}

bool CQORMenu::OnKey(unsigned key)
{
    OnScreenDisplay::Control* const focused = GetFocusedChild();
    if (key == kKeyReturn) {
        // The frame goes on with Return either way: it also closes the menu.
        if (auto* button = dynamic_cast<OnScreenDisplay::TextButton*>(focused)) {
            if (m_display)
                m_display->OnCommand(button->GetId());
        }
        return false;
    }
    if (key != kKeyUp && key != kKeyDown)
        return false;
    if (!focused) {
        FocusFirstItem();
        return true;
    }
    const MenuLink* link = FindLink(focused);
    if (!link)
        return false;
    if (OnScreenDisplay::Control* target = key == kKeyUp ? link->up : link->down)
        SetFocusChild(target);
    return true;
}
