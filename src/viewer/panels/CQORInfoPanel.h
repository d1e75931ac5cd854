// What is on now: two text lines, the programme's progress and the icons of the extra streams.
// Slides in from the left.
#pragma once

#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/Seekbar.h"

class CQORInfoPanel : public OnScreenDisplay::Panel {
public:
    CQORInfoPanel() = default;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    OnScreenDisplay::Image* m_background = nullptr;
    OnScreenDisplay::Label* m_line0 = nullptr;
    OnScreenDisplay::Label* m_line1 = nullptr;
    OnScreenDisplay::Seekbar* m_progress = nullptr;
    OnScreenDisplay::Image* m_multiAudioIcon = nullptr;
    OnScreenDisplay::Image* m_teletextIcon = nullptr;
    OnScreenDisplay::Image* m_subtitlesIcon = nullptr;
};
