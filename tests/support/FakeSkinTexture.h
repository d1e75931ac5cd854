// A skin texture for native OSD tests: frames of equal height stacked in a {0, 0, 1, 1} texture,
// its reference count visible, its hit area the whole frame unless told otherwise.
#pragma once

#include <vector>

#include "viewer/osd/SkinTexture.h"

class FakeSkinTexture : public OnScreenDisplay::SkinTexture {
public:
    FakeSkinTexture(int contentWidth, int frameHeight, int frames = 1)
        : m_width(contentWidth), m_height(frameHeight)
    {
        for (int i = 0; i < frames; ++i)
            m_frames.push_back({0.0f, static_cast<float>(i) / frames, 1.0f, static_cast<float>(i + 1) / frames});
    }

    long AddRef() override { return ++references; }
    long Release() override { return --references; } // owned by the test
    const OnScreenDisplay::FrameRect* GetFrameRect(int i) const override
    {
        return i >= 0 && i < static_cast<int>(m_frames.size()) ? &m_frames[i] : nullptr;
    }
    int GetFrameCount() const override { return static_cast<int>(m_frames.size()); }
    int GetContentWidth() const override { return m_width; }
    int GetFrameContentHeight() const override { return m_height; }
    double GetAspect() const override { return static_cast<double>(m_width) / m_height; }
    bool HitTest(int, float fx, float fy) const override { return hitAll && fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1; }
    OnScreenDisplay::SurfaceTexture* GetSurfaceTexture() const override
    {
        return reinterpret_cast<OnScreenDisplay::SurfaceTexture*>(const_cast<FakeSkinTexture*>(this));
    }
    bool HasContent() const override { return content; }

    long references = 0;
    bool content = true;
    bool hitAll = true;

private:
    int m_width, m_height;
    std::vector<OnScreenDisplay::FrameRect> m_frames;
};
