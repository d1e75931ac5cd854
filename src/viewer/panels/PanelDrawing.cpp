#include "viewer/panels/PanelDrawing.h"

#include <cmath>

#include "viewer/osd/Display.h"

using OnScreenDisplay::Ease;
using OnScreenDisplay::Panel;

namespace Panels {

float VisibilityFactor(Fade fade, int state, float p)
{
    switch (fade) {
    case Fade::Eased: return state == Panel::Hiding ? 1.0f - Ease(p) : Ease(p);
    case Fade::Logo:
        if (state == Panel::Showing) {
            const float e = Ease(p);
            return e < 0.4f ? 0.0f : (e - 0.4f) * 1.6666667f;
        }
        return state == Panel::Hiding ? 1.0f - Ease(p) : Ease(p);
    case Fade::Linear: return state == Panel::Hiding ? 1.0f - p : p;
    case Fade::EasedBoth:
        if (state == Panel::Showing)
            return Ease(p);
        return state == Panel::Hiding ? Ease(1.0f - p) : p;
    case Fade::ScrollPad:
        switch (state) {
        case Panel::Hidden: return 0.3f;
        case Panel::Showing: return 0.3f + 0.7f * p;
        case Panel::Hiding: return 0.3f + 0.7f * (1.0f - p);
        default: return p;
        }
    }
    return p;
}

bool BeginPanel(Panel& panel, Fade fade, float* factor)
{
    if (!panel.GetDisplay())
        return false;
    const float p = panel.GetProgress();
    if (panel.GetState() == Panel::Hidden && fade != Fade::ScrollPad)
        return false;
    *factor = VisibilityFactor(fade, panel.GetState(), p);
    return true;
}

MotionScope::MotionScope(Panel& panel, Motion motion, float f) : m_panel(panel)
{
    const int state = panel.GetState();
    OnScreenDisplay::Display* const display = panel.GetDisplay();
    if (motion == Motion::None || !display || (state != Panel::Showing && state != Panel::Hiding))
        return;
    OnScreenDisplay::MatrixStack& stack = display->GetMatrixStack();
    stack.Push();
    m_pushed = true;
    switch (motion) {
    case Motion::FromLeft: stack.TranslateLocal(2.0f * (f - 1.0f), 0.0f, 0.0f); break;
    case Motion::FromAbove: stack.TranslateLocal(0.0f, -2.0f * (f - 1.0f), 0.0f); break;
    case Motion::FromRight: stack.TranslateLocal(1.0f - f, 0.0f, 0.0f); break;
    case Motion::GrowAndHop: {
        const float pi = 3.14159265f;
        stack.ScaleLocal((f + 1.0f) / 2.0f, (f + 1.0f) / 2.0f, 1.0f);
        stack.TranslateLocal(0.0f, std::sin(f * pi), 0.0f);
        break;
    }
    case Motion::None: break;
    }
    if (OnScreenDisplay::DrawingSurface* surface = display->GetSurface())
        surface->SetWorldTransform(stack.GetTop());
}

MotionScope::~MotionScope()
{
    if (!m_pushed)
        return;
    OnScreenDisplay::Display* const display = m_panel.GetDisplay();
    if (!display)
        return;
    display->GetMatrixStack().Pop();
    if (OnScreenDisplay::DrawingSurface* surface = display->GetSurface())
        surface->SetWorldTransform(display->GetMatrixStack().GetTop());
}

void Place(OnScreenDisplay::Control* child, float left, float top, float right, float bottom)
{
    if (!child)
        return;
    child->SetRect(left, top, right, bottom);
    child->Layout();
}

void Place(OnScreenDisplay::Control* child, const OnScreenDisplay::RectF& rect)
{
    Place(child, rect.left, rect.top, rect.right, rect.bottom);
}

} // namespace Panels
