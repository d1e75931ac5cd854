// The viewer's OSD root. The skinned panels, their layout and the operations the main frame calls
// come with the display itself; until then the root draws an empty tree and no panel is shown.
#pragma once

#include "framework/CString.h"
#include "viewer/osd/Display.h"

class CQORDisplay : public OnScreenDisplay::Display {
public:
    CQORDisplay() = default;

    // True when the panel exists and is shown.
    virtual bool IsGuideShown() const { return false; }
    virtual bool IsMenuShown() const { return false; }
    virtual bool IsTeletextShown() const { return false; }
    virtual bool IsRecordedShown() const { return false; }
    virtual bool IsTuneShown() const { return false; }
    virtual bool IsSwitcherShown() const { return false; }

    // The channel-number entry.
    virtual void ShowTune(bool show) {}
    virtual void ClearTuneNumber() {}
    // A negative digit removes the last one.
    virtual void TuneDigit(int digit) {}

    // What the main frame shows; the panels come with the display.
    virtual void ShowControls(bool show) {}
    virtual void ShowBackground(bool show) {}
    virtual void ShowSubtitles(bool show) {}
    virtual void SetInfoText(int line, const CString& text) {}
    virtual void SetProgress(float value) {}
    virtual void SetChannelName(const CString& text) {}
    virtual void SetChannelLogo(const void* image) {}
    virtual void SetStreamIcons(bool multiAudio, bool teletext, bool subtitles) {}
    virtual void SetScrambledIcon(bool shown) {}
    virtual void SetNoDataIcon(bool shown) {}
    virtual void SetRecordIcon(int state) {}
    virtual void SetTeletextPageText(const CString& text) {}
    virtual void SetTeletextClock(const CString& text) {}
    virtual void SetAspect(float aspect) {}
    virtual void SetVideoStream(int slot) {}
    virtual void SetTeletextBitmap(void* bitmap, int left, int top, int right, int bottom, float aspect) {}
    virtual void SetOverlayBitmap(void* bitmap, int left, int top, int right, int bottom, float aspect) {}
    virtual void ClearTuneList() {}
    virtual void AddTuneItem(const CString& text, const CString& text2, int value, int value2) {}
    // The controls panel's first (0) or second (1) button: its command, image and visibility.
    virtual void SetControlButton(int index, int command, const CString& image, bool shown) {}
    // Empties the tree and forgets the device's textures before the device goes.
    virtual void Reset() {}
};
