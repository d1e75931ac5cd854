// A skin texture shared by reference count: an A8R8G8B8 managed texture whose frames are stacked
// vertically (the states of a button), the frames' texture rectangles, the aspect of one frame and,
// for multi-frame images, a hit region built from the image's alpha. It also carries the bitmaps
// the teletext and subtitle renderers produce.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "viewer/osd/SkinTexture.h"

class COSDTexture : public OnScreenDisplay::SkinTexture {
public:
    // With a path, result receives LoadFromFile's result; without, 0.
    COSDTexture(const wchar_t* path, HRESULT* result, int frames);
    COSDTexture(const COSDTexture&) = delete;
    COSDTexture& operator=(const COSDTexture&) = delete;

    HRESULT LoadFromFile(const wchar_t* path, int frames);
    // Replaces the content with the part {left, top, right, bottom} of a 32-bit DIB section.
    HRESULT SetBitmap(HBITMAP bitmap, int left, int top, int right, int bottom);

    // An empty texture with one reference, for the OSD's empty-texture factory.
    static OnScreenDisplay::SkinTexture* CreateEmpty();

    long AddRef() override { return ++m_references; }
    long Release() override;

    const OnScreenDisplay::FrameRect* GetFrameRect(int i) const override;
    int GetFrameCount() const override { return static_cast<int>(m_frames.size()); }
    bool HitTest(int frame, float fx, float fy) const override;
    OnScreenDisplay::SurfaceTexture* GetSurfaceTexture() const override;
    double GetAspect() const override { return m_aspect; }
    int GetContentWidth() const override { return m_contentWidth; }
    int GetFrameContentHeight() const override { return m_frameContentHeight; }
    bool HasContent() const override { return m_texture != nullptr; }

    IDirect3DTexture9* GetTexture() const { return m_texture; }
    unsigned GetTextureWidth() const { return m_textureWidth; }
    unsigned GetTextureHeight() const { return m_textureHeight; }

private:
    ~COSDTexture() override;
    void ReleaseTexture();

    IDirect3DTexture9* m_texture = nullptr;
    IDirect3DTexture9* m_secondTexture = nullptr; // normally the same object
    double m_aspect = 1.0;
    std::vector<OnScreenDisplay::FrameRect> m_frames{{0, 0, 1, 1}};
    HRGN m_hitRegion = nullptr;
    int m_hitFrameHeight = 0, m_hitImageWidth = 0;
    unsigned m_textureWidth = 0, m_textureHeight = 0;
    int m_contentWidth = 0, m_frameContentHeight = 0;
    long m_references = 0;
    // The size of a bitmap whose pixels are all zero and that the texture holds as it is (0 when
    // the texture holds anything else): the renderers hand over such a clear bitmap on every
    // channel change, and locking the texture again for it would wait for the device to finish
    // every frame queued before.
    int m_clearWidth = 0, m_clearRows = 0;
};
