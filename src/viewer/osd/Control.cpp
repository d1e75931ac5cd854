#include "viewer/osd/Control.h"

#include <cmath>

#include "viewer/osd/Display.h"

namespace OnScreenDisplay {

void Control::AddChild(Component* child)
{
    if (!child || IndexOfChild(child))
        return;
    Control* const focused = GetFocusedChild();
    m_children.push_back(child);
    Control* const control = child->AsControl();
    if (!control)
        return;
    control->SetDisplay(m_display);
    if (!focused && control->m_enabled && control->m_focusable)
        m_focusIndex = GetChildCount() - 1; // the child's focused flag stays as it is
    else
        SetFocusChild(focused);
    control->StateChanged();
}

void Control::RemoveChild(Component* child)
{
    const int index = FindChild(child);
    if (index < 0)
        return;
    Component::RemoveChild(child);
    if (Control* control = child->AsControl())
        control->SetDisplay(nullptr);
}

void Control::DrawChild(Control* child, float alpha)
{
    const float w = m_rect.Width(), h = m_rect.Height();
    if (std::fabs(w * h) < 0.000001f || !child || !child->m_visible)
        return;
    MatrixStack* const stack = m_display ? &m_display->GetMatrixStack() : nullptr;
    DrawingSurface* const surface = m_display ? m_display->GetSurface() : nullptr;
    if (stack) {
        const RectF& c = child->m_rect;
        const float sx = c.Width() / w;
        const float sy = c.Height() / h;
        stack->Push();
        stack->TranslateLocal(c.left / (w * 0.5f) - (1.0f - sx), (1.0f - sy) - c.top / (h * 0.5f), 0.0f);
        stack->ScaleLocal(sx, sy, 1.0f);
        if (surface)
            surface->SetWorldTransform(stack->GetTop());
    }
    child->Render(alpha);
    if (stack) {
        stack->Pop();
        if (surface)
            surface->SetWorldTransform(stack->GetTop());
    }
}

void Control::SetDisplay(Display* display)
{
    m_display = display;
    for (Component* child : m_children) {
        if (Control* control = child->AsControl())
            control->SetDisplay(display);
    }
}

void Control::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    StateChanged();
}

void Control::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    StateChanged();
}

void Control::SetFocused(bool focused)
{
    if (m_focused == focused)
        return;
    m_focused = focused;
    if (!focused)
        SetFocusIndex(-1);
    StateChanged();
}

void Control::SetFocusIndex(int index)
{
    if (index == -1) {
        if (Control* focused = GetFocusedChild()) {
            focused->SetFocused(false);
            focused->StateChanged();
        }
        m_focusIndex = -1;
        return;
    }
    if (index < 0 || index >= GetChildCount() || index == m_focusIndex)
        return;
    if (Control* focused = GetFocusedChild()) {
        focused->SetFocused(false);
        focused->StateChanged();
    }
    m_focusIndex = index;
    if (Control* control = m_children[index]->AsControl()) {
        control->SetFocused(true);
        control->StateChanged();
    }
}

void Control::SetFocusChild(Control* child)
{
    const int index = FindChild(child);
    if (index >= 0)
        SetFocusIndex(index);
}

Control* Control::GetFocusedChild() const
{
    Component* const child = GetChild(m_focusIndex);
    return child ? child->AsControl() : nullptr;
}

bool Control::RouteMouse(MouseEvent event, uint32_t flags, int delta, int x, int y)
{
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (Control* focused = GetFocusedChild()) {
        if (!focused->m_rect.Contains(fx, fy))
            SetFocusIndex(-1);
    }
    for (int index = GetChildCount() - 1; index >= 0; --index) {
        Control* const child = m_children[index]->AsControl();
        if (!child || !child->m_enabled)
            continue;
        const bool inside = child->m_rect.Contains(fx, fy);
        // A double click is routed to hidden children too; every other event needs a visible one.
        if (!inside || (event != MouseEvent::DoubleClick && !child->m_visible))
            continue;
        const int cx = static_cast<int>(fx - child->m_rect.left);
        const int cy = static_cast<int>(fy - child->m_rect.top);
        bool taken = false;
        switch (event) {
        case MouseEvent::Move: taken = child->OnMouseMove(flags, cx, cy); break;
        case MouseEvent::ButtonDown: taken = child->OnLButtonDown(flags, cx, cy); break;
        case MouseEvent::ButtonUp: taken = child->OnLButtonUp(flags, cx, cy); break;
        case MouseEvent::Wheel: taken = child->OnMouseWheel(flags, delta, cx, cy); break;
        case MouseEvent::DoubleClick: taken = child->OnLButtonDblClk(cx, cy); break;
        }
        if (taken) {
            if (index != m_focusIndex && child->m_enabled && child->m_focusable) {
                SetFocusIndex(index);
            } else if (index == m_focusIndex && !child->m_focused && child->m_enabled && child->m_focusable) {
                // The first child added holds the focus index without the focus (AddChild); taking
                // the pointer focuses it, or the first tab of a strip would take no click until
                // another one had been hovered.
                child->SetFocused(true);
                child->StateChanged();
            }
            return true;
        }
    }
    return event == MouseEvent::Move;
}

bool Control::OnMouseMove(uint32_t flags, int x, int y)
{
    return RouteMouse(MouseEvent::Move, flags, 0, x, y);
}

bool Control::OnLButtonDown(uint32_t flags, int x, int y)
{
    return RouteMouse(MouseEvent::ButtonDown, flags, 0, x, y);
}

bool Control::OnLButtonUp(uint32_t flags, int x, int y)
{
    return RouteMouse(MouseEvent::ButtonUp, flags, 0, x, y);
}

bool Control::OnMouseWheel(uint32_t flags, int delta, int x, int y)
{
    return RouteMouse(MouseEvent::Wheel, flags, delta, x, y);
}

bool Control::OnLButtonDblClk(int x, int y)
{
    return RouteMouse(MouseEvent::DoubleClick, 0, 0, x, y);
}

void Control::SetSize(int cx, int cy)
{
    m_rect.right = m_rect.left + static_cast<float>(cx);
    m_rect.bottom = m_rect.top + static_cast<float>(cy);
    Layout();
}

void Control::Layout()
{
    for (Component* child : m_children) {
        if (Control* control = child->AsControl())
            control->Layout();
    }
}

uint32_t Control::AnimationDelay(uint32_t now)
{
    uint32_t delay = kStill;
    for (Component* child : m_children) {
        Control* const control = child->AsControl();
        if (control && control->m_visible) {
            const uint32_t d = control->AnimationDelay(now);
            if (d < delay)
                delay = d;
        }
    }
    return delay;
}

void Control::Render(float alpha)
{
    if (!m_display)
        return;
    // Index-based: a child's Render may not change the array, but a copy would cost every frame.
    for (int i = 0; i < GetChildCount(); ++i) {
        if (Control* control = m_children[i]->AsControl())
            DrawChild(control, alpha);
    }
}

} // namespace OnScreenDisplay
