// A component with a rectangle in its parent's units, state flags, keyboard focus among its
// children, mouse routing and drawing. When drawn, a control sees its own rectangle as the square
// [-1, 1] x [-1, 1] with y up, placed by the display's matrix stack.
#pragma once

#include <cstdint>

#include "viewer/osd/Component.h"
#include "viewer/osd/Geometry.h"

namespace OnScreenDisplay {

class Display;

class Control : public Component {
public:
    explicit Control(Component* parent = nullptr) : Component(parent) {}

    void AddChild(Component* child) override;
    void RemoveChild(Component* child) override;
    Control* AsControl() override { return this; }

    virtual void DrawChild(Control* child, float alpha);
    virtual void SetDisplay(Display* display);
    virtual void SetVisible(bool visible);
    virtual void SetEnabled(bool enabled);
    virtual void SetFocused(bool focused);
    virtual void StateChanged() {}
    virtual void SetFocusIndex(int index);
    virtual void SetFocusChild(Control* child);

    // Mouse handlers take client coordinates in this control's units; true when the event was taken.
    virtual bool OnMouseMove(uint32_t flags, int x, int y);
    virtual bool OnLButtonDown(uint32_t flags, int x, int y);
    virtual bool OnLButtonUp(uint32_t flags, int x, int y);
    virtual bool OnMouseWheel(uint32_t flags, int delta, int x, int y);
    virtual bool OnLButtonDblClk(int x, int y);

    virtual void SetSize(int cx, int cy);
    virtual void Layout();
    virtual void Render(float alpha);
    // Milliseconds until this control's picture changes by itself (a fade, a pulse, a timed hide),
    // 0 while it moves, kStill when only a call from outside can change it: the render thread
    // draws again then and no sooner. A control answers for its visible children.
    static constexpr uint32_t kStill = 0xFFFFFFFFu;
    virtual uint32_t AnimationDelay(uint32_t now);

    Control* GetFocusedChild() const;
    int GetFocusIndex() const { return m_focusIndex; }
    Display* GetDisplay() const { return m_display; }
    const RectF& GetRect() const { return m_rect; }
    void SetRect(const RectF& rect) { m_rect = rect; }
    void SetRect(float left, float top, float right, float bottom) { m_rect = {left, top, right, bottom}; }
    bool IsEnabled() const { return m_enabled; }
    bool IsVisible() const { return m_visible; }
    bool IsFocused() const { return m_focused; }
    bool IsFocusable() const { return m_focusable; }
    void SetFocusable(bool focusable) { m_focusable = focusable; }

protected:
    enum class MouseEvent { Move, ButtonDown, ButtonUp, Wheel, DoubleClick };
    bool RouteMouse(MouseEvent event, uint32_t flags, int delta, int x, int y);

    bool m_enabled = true;
    bool m_visible = true;
    bool m_focused = false;
    bool m_focusable = true;
    int m_focusIndex = -1;
    Display* m_display = nullptr;
    RectF m_rect;
};

} // namespace OnScreenDisplay
