#include "viewer/osd/Button.h"

#include <cmath>

#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/WidgetDrawing.h"

namespace OnScreenDisplay {

Button::~Button()
{
    AssignTexture(m_texture, nullptr);
}

int Button::CurrentFrame(int state)
{
    static const int frames[] = {0, 1, 3, 2};
    return state >= 0 && state < 4 ? frames[state] : 1;
}

int Button::PreviousFrame(int state)
{
    static const int frames[] = {0, 1, 4, 2};
    return state >= 0 && state < 4 ? frames[state] : 1;
}

void Button::SetState(int state)
{
    if (state == m_state)
        return;
    m_previousState = m_state;
    m_state = state;
    m_transitionStart = Now();
    m_transitionTime = state == Focused ? 100 : (state == Pressed ? 50 : 200);
}

void Button::StateChanged()
{
    if (!m_enabled)
        SetState(Disabled);
    else
        SetState(m_focused ? Focused : Normal);
}

bool Button::HitTest(int x, int y) const
{
    if (!m_texture)
        return true;
    const float w = m_rect.Width(), h = m_rect.Height();
    if (!(w > 0) || !(h > 0))
        return false; // a zero size would divide into infinities
    return m_texture->HitTest(3, x / w, y / h);
}

bool Button::OnMouseMove(uint32_t, int x, int y)
{
    return HitTest(x, y);
}

bool Button::OnLButtonDown(uint32_t, int x, int y)
{
    if (!HitTest(x, y) || !m_enabled || !m_focused || !m_visible)
        return false;
    SetState(Pressed);
    m_repeatPhase = 1;
    m_clickTick = Now();
    if (!m_display)
        return true;
    // Popup menus open at the button's bottom-left corner, in window pixels.
    float left = 0, top = m_rect.Height();
    for (Component* c = this; c; c = c->GetParent()) {
        if (Control* control = c->AsControl()) {
            left += control->GetRect().left;
            top += control->GetRect().top;
        }
    }
    m_display->SetCommandPoint(left, top);
    m_display->OnCommand(m_id);
    return true;
}

bool Button::OnLButtonUp(uint32_t, int x, int y)
{
    if (HitTest(x, y))
        StateChanged();
    return false;
}

bool Button::OnLButtonDblClk(int x, int y)
{
    if (!HitTest(x, y) || !m_enabled || !m_focused || !m_visible)
        return false;
    return OnLButtonDown(0, x, y);
}

uint32_t Button::AnimationDelay(uint32_t now)
{
    if (now - m_transitionStart <= m_transitionTime || m_state == Focused)
        return 0;
    if (m_repeat && m_state == Pressed) {
        const uint32_t interval = RepeatInterval(), elapsed = now - m_clickTick;
        return elapsed > interval ? 0 : interval - elapsed + 1;
    }
    return kStill;
}

void Button::Render(float alpha)
{
    DrawingSurface* surface = m_display ? m_display->GetSurface() : nullptr;
    if (!surface)
        return;
    const uint32_t now = Now();
    if (m_repeat && m_state == Pressed) {
        if (now - m_clickTick > RepeatInterval()) {
            m_repeatPhase = 0;
            m_clickTick = now;
            // Drawing runs on the render thread: the command goes to the user-interface thread,
            // where the dispatcher may stop graphs that wait for this thread's device lock.
            if (ViewerHost* host = m_display->GetHost())
                host->PostCommand(m_id);
        }
    }
    const uint32_t elapsed = now - m_transitionStart;
    if (elapsed > m_transitionTime)
        m_previousState = m_state;

    const FrameRect none{0, 0, 0, 0};
    const FrameRect* from = m_texture ? m_texture->GetFrameRect(PreviousFrame(m_previousState)) : nullptr;
    const FrameRect* to = m_texture ? m_texture->GetFrameRect(CurrentFrame(m_state)) : nullptr;
    const FrameRect& a = from ? *from : none;
    const FrameRect& b = to ? *to : none;
    const uint32_t colour = OpacityColour(alpha);
    const Vertex2 strip[4] = {{-1, 1, 0, colour, a.left, a.top, b.left, b.top},
                              {1, 1, 0, colour, a.right, a.top, b.right, b.top},
                              {-1, -1, 0, colour, a.left, a.bottom, b.left, b.bottom},
                              {1, -1, 0, colour, a.right, a.bottom, b.right, b.bottom}};
    uint32_t factor;
    if (m_previousState == Focused && m_state == Focused) {
        // Steady focus pulses between frames 4 and 3 with a period of 20 transition times.
        const double pi = 3.14159265358979323846;
        factor = static_cast<uint32_t>((std::sin(pi * elapsed / (10.0 * m_transitionTime)) + 1.0) / 2.0 * 255.0);
    } else {
        factor = static_cast<uint32_t>(static_cast<double>(elapsed) / m_transitionTime * 255.0);
    }
    surface->SetRenderState(RenderState::TextureFactor, 0x00FFFFFFu | (factor & 0xFF) << 24);
    SurfaceTexture* texture = m_texture ? m_texture->GetSurfaceTexture() : nullptr;
    surface->SetTexture(0, texture);
    surface->SetTexture(1, texture);
    SetImageStages(*surface);
    surface->SetStageState(1, StageState::ColourOp, OpBlendFactorAlpha);
    surface->SetStageState(1, StageState::ColourArg1, ArgTexture);
    surface->SetStageState(1, StageState::ColourArg2, ArgCurrent);
    surface->SetStageState(1, StageState::TexCoordIndex, 1);
    // The alpha stays stage 0's; a blend left on stage 1 would fade other widgets.
    surface->SetStageState(1, StageState::AlphaOp, OpSelectArg1);
    surface->SetStageState(1, StageState::AlphaArg1, ArgCurrent);
    surface->DrawTriangleStrip2(strip, 2);
    surface->SetTexture(0, nullptr);
    surface->SetTexture(1, nullptr);
    surface->SetStageState(1, StageState::ColourOp, OpDisable);
    surface->SetStageState(1, StageState::AlphaOp, OpDisable);
}

} // namespace OnScreenDisplay
