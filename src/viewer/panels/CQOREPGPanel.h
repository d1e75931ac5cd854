// The programme-guide screen: the grid under its header and scroll pad, and below it the small
// picture with the selected programme's title, genre and description.
#pragma once

#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Memo.h"
#include "viewer/osd/Panel.h"
#include "viewer/epg/ProgramGuide2.h"
#include "viewer/osd/TileImage.h"
#include "viewer/osd/Video.h"
#include "viewer/panels/CQOREPGHeaderPanel.h"
#include "viewer/panels/CQOREPGScrollPanel.h"

class PanelFrame;

class CQOREPGPanel : public OnScreenDisplay::Panel {
public:
    static constexpr int64_t kHalfHour = 1800; // seconds

    CQOREPGPanel() = default;

    void Layout() override;
    void Render(float alpha) override;

    // After the selection moved: scrolls the rows to keep the selected one shown and moves the
    // window by half hours until it holds the focus time; the frame redraws the guide when the
    // window moved.
    void KeepCursorVisible();
    // The focus time becomes the current time.
    void StampNow();
    // Who redraws the guide when its window moves; none by default.
    void SetFrame(PanelFrame* frame) { m_frame = frame; }

    OnScreenDisplay::ProgramGuide2* m_guide = nullptr;
    OnScreenDisplay::TileImage* m_background = nullptr;
    OnScreenDisplay::Image* m_hint = nullptr;
    OnScreenDisplay::Image* m_smallScreenFrame = nullptr;
    OnScreenDisplay::Video* m_preview = nullptr;
    OnScreenDisplay::Label* m_titleValue = nullptr;
    OnScreenDisplay::Label* m_programCaption = nullptr;
    OnScreenDisplay::Label* m_genreValue = nullptr;
    OnScreenDisplay::Label* m_genreCaption = nullptr;
    OnScreenDisplay::Memo* m_description = nullptr;
    OnScreenDisplay::Label* m_infoCaption = nullptr;
    CQOREPGScrollPanel* m_scrollPad = nullptr;
    CQOREPGHeaderPanel* m_header = nullptr;
    float m_videoAspect = 0.0f; // width / height; 0 until known: the preview fills its box

private:
    PanelFrame* m_frame = nullptr;
};
