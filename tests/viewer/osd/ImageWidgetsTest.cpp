#include <gtest/gtest.h>

#include "support/FakeSkinTexture.h"
#include "support/RecordingSurface.h"
#include "viewer/osd/ActiveCustomDrawControl.h"
#include "viewer/osd/ChannelLogo.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/RatioImage.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/Seekbar.h"
#include "viewer/osd/TileImage.h"
#include "viewer/osd/Video.h"
#include "viewer/osd/VolumeBar.h"

using namespace OnScreenDisplay;

namespace {

class SeekingDisplay : public Display {
public:
    bool OnSeek(int id, double fraction) override
    {
        seeks.push_back(fraction);
        return true;
    }
    std::vector<double> seeks;
};

class RecordingHost : public ViewerHost {
public:
    void PostPointerPosition(int x, int y) override { pointer = {x, y}; }
    bool TeletextClick(float fx, float fy) override { return clicks.push_back({fx, fy}), true; }
    void PostCommand(int id) override {}
    std::pair<int, int> pointer{-1, -1};
    std::vector<std::pair<float, float>> clicks;
};

class RecordingVideo : public VideoSource {
public:
    void LockTable() override { log += "T"; }
    void UnlockTable() override { log += "t"; }
    bool LockStream(int slot, SurfaceTexture** texture, FrameRect* rect) override
    {
        if (slot != 3)
            return false;
        log += "S";
        *texture = reinterpret_cast<SurfaceTexture*>(0x1234);
        *rect = {0, 0, 0.5f, 0.75f};
        return true;
    }
    void UnlockStream(int) override { log += "s"; }
    std::string log;
};

class ImageWidgets : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.Create(&surface);
        root.SetSize(1000, 1000);
        SetScale(1.0f);
    }
    template <class T>
    T* Add(float l, float t, float r, float b)
    {
        auto* w = new T();
        w->SetRect(l, t, r, b);
        w->SetParent(&root);
        return w;
    }
    // The widget's last draw mapped to screen space ([-1, 1], y up).
    Vector3 Screen(size_t draw, size_t vertex)
    {
        const Vertex& v = surface.draws.at(draw).vertices.at(vertex);
        return surface.draws.at(draw).world.TransformPoint({v.x, v.y, v.z});
    }

    RecordingSurface surface;
    SeekingDisplay root;
};

} // namespace

TEST_F(ImageWidgets, TileCornersKeepTheirPixels)
{
    FakeSkinTexture texture(62, 62);
    auto* tile = Add<TileImage>(0, 0, 200, 100);
    tile->SetTexture(&texture);
    EXPECT_EQ(texture.references, 1);
    EXPECT_FLOAT_EQ(tile->U(1), 10.0f / 31.0f);
    tile->SetBorders(6, 6, 7, 7);
    EXPECT_FLOAT_EQ(tile->U(1), 6.0f / 62.0f);
    EXPECT_FLOAT_EQ(tile->U(2), 56.0f / 62.0f);
    EXPECT_FLOAT_EQ(tile->V(1), 7.0f / 62.0f);

    SetScale(2.0f);
    root.Render(1.0f);
    ASSERT_EQ(surface.draws.size(), 1u);
    ASSERT_EQ(surface.draws[0].vertices.size(), 54u);
    // The left column ends 2 x 6 pixels into the 200-pixel control: x = 2 * 12 / 200 - 1.
    EXPECT_FLOAT_EQ(surface.draws[0].vertices[1].x, 2.0f * 12 / 200 - 1);
    EXPECT_EQ(surface.draws[0].vertices[0].colour, 0xFFFFFFFFu);

    // Zero sizes and missing textures draw nothing; without a texture the borders stay.
    surface.draws.clear();
    tile->SetRect(0, 0, 0, 100);
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
    tile->SetTexture(nullptr);
    EXPECT_EQ(texture.references, 0);
    tile->SetBorders(1, 1, 1, 1);
    EXPECT_FLOAT_EQ(tile->U(1), 6.0f / 62.0f);
}

TEST_F(ImageWidgets, VolumeSeekRatioAndLogo)
{
    FakeSkinTexture segments(36, 12, 2);
    auto* volume = Add<VolumeBar>(0, 0, 30, 200);
    volume->SetTexture(&segments);
    volume->m_segmentAspect = 3.0f;
    int count, lit;
    volume->m_value = 50;
    volume->Segments(&count, &lit);
    EXPECT_EQ(count, 20);
    EXPECT_EQ(lit, 10);
    volume->m_value = 1;
    volume->Segments(&count, &lit);
    EXPECT_EQ(lit, 1); // the ceiling
    volume->m_value = -20;
    volume->Segments(&count, &lit);
    EXPECT_EQ(lit, 0);
    volume->SetRect(0, 0, 30, 5000); // far more than one batch holds
    volume->m_value = 1000;
    volume->Segments(&count, &lit);
    EXPECT_EQ(count, VolumeBar::kMaxSegments);
    EXPECT_EQ(lit, VolumeBar::kMaxSegments);
    root.Render(1.0f);
    ASSERT_EQ(surface.draws.size(), 1u); // all lit: one call with frame 1
    EXPECT_EQ(surface.draws[0].vertices.size(), 6u * VolumeBar::kMaxSegments);

    auto* seek = Add<Seekbar>(0, 0, 400, 10);
    seek->SetPosition(1.5f);
    EXPECT_EQ(seek->GetPosition(), 1.0f);
    seek->SetPosition(-0.2f);
    EXPECT_EQ(seek->GetPosition(), 0.0f);
    EXPECT_TRUE(root.OnLButtonDown(1, 399, 5));
    EXPECT_TRUE(seek->OnLButtonDown(1, 400, 5));
    ASSERT_EQ(root.seeks.size(), 2u);
    EXPECT_NEAR(root.seeks[1], 1.0, 1e-9);
    seek->SetRect(0, 0, 0, 10);
    EXPECT_FALSE(seek->OnLButtonDown(1, 0, 5));
    EXPECT_EQ(root.seeks.size(), 2u);

    surface.draws.clear();
    volume->SetVisible(false);
    seek->SetVisible(false);
    auto* ratio = Add<RatioImage>(0, 0, 400, 100);
    root.Render(1.0f);
    ASSERT_EQ(surface.draws.size(), 1u);
    // 4/3 in 400 x 100: 133.3 x 100, centred: screen x from -0.1333 to 0.1333 of the 400 wide part.
    const Vector3 tl = Screen(0, 0), br = Screen(0, 3);
    EXPECT_NEAR((br.x - tl.x) / 2 * 1000, 133.33, 0.01);
    EXPECT_NEAR((tl.x + br.x) / 2, -1 + 0.4, 1e-5);
    EXPECT_NEAR((tl.y - br.y) / 2 * 1000, 100, 0.01);
    ratio->m_aspect = 0; // no aspect: nothing, not an infinite scale
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
    ratio->SetVisible(false);

    auto* logo = Add<ChannelLogo>(0, 0, 400, 100);
    root.Render(1.0f);
    ASSERT_EQ(surface.draws.size(), 1u);
    EXPECT_EQ(surface.draws[0].vertices.size(), 8u);
    EXPECT_FLOAT_EQ(surface.draws[0].vertices[2].x, 0.75f * 100 / 400 - 1);
    EXPECT_FLOAT_EQ(surface.draws[0].vertices[4].x, 1 - 2.5f * 100 / 400);
    logo->SetRect(0, 0, 400, 0);
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
    root.DeleteChildren(); // before the texture goes
    EXPECT_EQ(segments.references, 0);
}

TEST_F(ImageWidgets, VideoLocksTableThenStreamAndCustomDrawWaitsForABitmap)
{
    RecordingVideo video;
    root.SetVideoSource(&video);
    auto* picture = Add<Video>(0, 0, 1000, 1000);
    root.Render(1.0f); // slot -1: only the table lock
    EXPECT_EQ(video.log, "Tt");
    EXPECT_TRUE(surface.draws.empty());
    picture->m_slot = 3;
    root.Render(0.5f);
    EXPECT_EQ(video.log, "TtTSst");
    ASSERT_EQ(surface.draws.size(), 1u);
    EXPECT_EQ(surface.draws[0].texture, reinterpret_cast<SurfaceTexture*>(0x1234));
    EXPECT_EQ(surface.draws[0].vertices[3].u, 0.5f);
    EXPECT_EQ(surface.draws[0].vertices[0].colour >> 24, 127u);
    picture->SetVisible(false);

    // A custom-drawn picture shows nothing before its first bitmap: an empty texture would lay
    // an opaque white box over the video.
    static FakeSkinTexture empty(1, 1);
    empty.content = false;
    SetEmptyTextureFactory([]() -> SkinTexture* { return empty.AddRef(), &empty; });
    auto* page = Add<ActiveCustomDrawControl>(0, 0, 500, 400);
    EXPECT_EQ(empty.references, 1);
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
    empty.content = true;
    root.Render(1.0f);
    EXPECT_EQ(surface.draws.size(), 1u);

    RecordingHost host;
    root.SetHost(&host);
    EXPECT_TRUE(page->OnMouseMove(0, 250, 100));
    EXPECT_EQ(host.pointer, std::make_pair(5000, 2500));
    EXPECT_TRUE(page->OnLButtonDown(1, 50, 40));
    ASSERT_EQ(host.clicks.size(), 1u);
    EXPECT_FLOAT_EQ(host.clicks[0].first, 0.1f);
    page->SetRect(0, 0, 0, 0); // a zero size divides nothing
    EXPECT_FALSE(page->OnLButtonDown(1, 0, 0));
    root.DeleteChildren();
    EXPECT_EQ(empty.references, 0);
    SetEmptyTextureFactory(nullptr);
}
