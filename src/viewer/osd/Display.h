// The root of the OSD tree: owns the matrix stack through which every control is placed, knows the
// drawing surface, and receives the notifications that widgets send (the viewer's display gives
// them their meaning).
#pragma once

#include <cstdint>

#include "viewer/osd/Control.h"
#include "viewer/osd/DrawingSurface.h"
#include "viewer/osd/MatrixStack.h"
#include "viewer/osd/VideoSource.h"
#include "viewer/osd/ViewerHost.h"

class CEPGEvent;

namespace OnScreenDisplay {

class Display : public Control {
public:
    Display() { m_display = this; }

    void Render(float alpha) override;

    virtual void Create(DrawingSurface* surface) { m_surface = surface; }
    virtual void OnCommand(int id) {}
    virtual bool OnSeek(int id, double fraction) { return false; }
    virtual void ShowEventDetails(const CEPGEvent* event) {}
    virtual void OnStreamMenu(int code) {}
    virtual void OnListSelect(int list, int value, int value2) {}
    virtual void OnGuideClick(int guide, uint32_t keyLow, uint32_t keyHigh) {}
    virtual void OnGuideMenu(int guide, uint32_t eventKeyLow, uint32_t eventKeyHigh, uint32_t channelKeyLow,
                             uint32_t channelKeyHigh, uint32_t flags, bool running, bool past) {}

    // The main frame's services and its video-stream table; null until the frame sets them.
    void SetHost(ViewerHost* host) { m_host = host; }
    ViewerHost* GetHost() const { return m_host; }
    void SetVideoSource(VideoSource* source) { m_videoSource = source; }
    VideoSource* GetVideoSource() const { return m_videoSource; }

    MatrixStack& GetMatrixStack() { return m_stack; }
    DrawingSurface* GetSurface() const { return m_surface; }
    // Where a button that sends a command sits, in client pixels: popup menus open there.
    void SetCommandPoint(float x, float y) { m_commandX = x; m_commandY = y; }
    float GetCommandX() const { return m_commandX; }
    float GetCommandY() const { return m_commandY; }

private:
    MatrixStack m_stack;
    DrawingSurface* m_surface = nullptr;
    ViewerHost* m_host = nullptr;
    VideoSource* m_videoSource = nullptr;
    float m_commandX = 0, m_commandY = 0;
};

} // namespace OnScreenDisplay
