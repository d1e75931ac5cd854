// A button: one skin texture of five frames, cross-faded between the frames of its previous and
// current state; a press sends its id as a command, and held it repeats.
#pragma once

#include <cstdint>

#include "viewer/osd/Control.h"
#include "viewer/osd/SkinTexture.h"

namespace OnScreenDisplay {

class Button : public Control {
public:
    enum State { Disabled = 0, Normal = 1, Focused = 2, Pressed = 3 };

    explicit Button(Component* parent = nullptr) : Control(parent) {}
    ~Button() override;

    void SetTexture(SkinTexture* texture) { AssignTexture(m_texture, texture); }
    virtual void SetState(int state);
    void StateChanged() override;
    bool OnMouseMove(uint32_t flags, int x, int y) override;
    bool OnLButtonDown(uint32_t flags, int x, int y) override;
    bool OnLButtonUp(uint32_t flags, int x, int y) override;
    bool OnLButtonDblClk(int x, int y) override;
    void Render(float alpha) override;
    // A cross-fade under way and the pulse of a steady focus move at every frame; a held repeating
    // button is due at its next repeat.
    uint32_t AnimationDelay(uint32_t now) override;

    int GetState() const { return m_state; }
    int GetPreviousState() const { return m_previousState; }
    // Whether a point of the control (pixels) lies in frame 3's hit area.
    bool HitTest(int x, int y) const;
    // The frame a state shows as the current one and as the previous one.
    static int CurrentFrame(int state);
    static int PreviousFrame(int state);
    // Held down, the first repeat comes after 400 ms, the next ones every 150 ms.
    uint32_t RepeatInterval() const { return m_repeatPhase == 1 ? 400 : 150; }

    bool m_repeat = false;

protected:
    SkinTexture* m_texture = nullptr;
    int m_previousState = Normal;
    int m_state = Normal;
    uint32_t m_transitionStart = 0;
    uint32_t m_transitionTime = 1;
    uint32_t m_clickTick = 0;
    int m_repeatPhase = 0;
};

} // namespace OnScreenDisplay
