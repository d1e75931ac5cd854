// Skin textures on Wine's Direct3D: the generated default skin loads under every name the viewer
// uses, GDI+ decodes it to what ffmpeg decodes, and bitmaps are taken in.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "D3DTestWindow.h"
#include "support/TestMedia.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/d3d/TextureList.h"

namespace {

struct SkinEntry {
    const wchar_t* name;
    const wchar_t* file;
    int frames;
    int contentWidth, frameHeight;
};

// Every name the viewer loads, its file and frame count, and the sizes the skin is drawn at.
const SkinEntry kSkin[] = {
    {L"controls_back", L"controls_back.png", 1, 358, 93}, {L"channel_logo", L"channel_logo.png", 1, 338, 128},
    {L"info_bar", L"infobar.png", 1, 1022, 73}, {L"menu_back", L"menu_back.png", 1, 254, 309},
    {L"topMenu_back", L"topMenu_back.png", 1, 62, 30}, {L"topControls_back", L"topControls_back.png", 1, 161, 32},
    {L"progress", L"progress.png", 1, 126, 5}, {L"teletext_close", L"teletext_close.png", 5, 20, 20},
    {L"logo_background", L"logo_background.png", 1, 254, 190}, {L"logo_harvo", L"logo_harvo.png", 1, 510, 510},
    {L"volume", L"volume.png", 2, 36, 12}, {L"default_logo", L"default_logo.png", 1, 128, 96},
    {L"epg\\small_screen", L"epg\\small_screen.png", 1, 401, 314}, {L"epg\\hint", L"epg\\hint_bck.png", 1, 1022, 200},
    {L"epg\\header", L"epg\\timeline_back.png", 1, 1022, 32}, {L"epg\\channel", L"epg\\channel_back.png", 1, 510, 56},
    {L"epg\\channel_selected", L"epg\\channel_selected.png", 1, 62, 62},
    {L"epg\\epg_back", L"epg\\epg_back.png", 1, 62, 62}, {L"epg\\separator", L"epg\\timeline_div.png", 1, 3, 28},
    {L"epg\\corner", L"epg\\corner.png", 1, 14, 14}, {L"epg\\cur_time", L"epg\\cur_time.png", 2, 54, 56},
    {L"epg\\timeline_div", L"epg\\timeline_div.png", 1, 3, 28}, {L"epg\\tab", L"epg\\tab.png", 5, 128, 22},
    {L"epg\\tab-yellow", L"epg\\tab-yellow.png", 5, 128, 22}, {L"epg\\tab-green", L"epg\\tab-green.png", 5, 128, 22},
    {L"epg\\tab-red", L"epg\\tab-red.png", 5, 128, 22}, {L"play_button", L"buttons\\play.png", 5, 69, 35},
    {L"pause_button", L"buttons\\pause.png", 5, 69, 35}, {L"timeshift_button", L"buttons\\timeshift.png", 5, 69, 35},
    {L"stop_button", L"buttons\\stop.png", 5, 69, 35}, {L"menu_button", L"buttons\\menu.png", 5, 69, 35},
    {L"rec_button", L"buttons\\rec.png", 5, 69, 35}, {L"mute_button", L"buttons\\mute.png", 5, 26, 26},
    {L"button", L"menu\\button.png", 5, 231, 44}, {L"channel_down", L"buttons\\channel_down.png", 5, 57, 58},
    {L"channel_up", L"buttons\\channel_up.png", 5, 57, 58}, {L"volume_down", L"buttons\\volume_down.png", 5, 102, 45},
    {L"volume_up", L"buttons\\volume_up.png", 5, 102, 45}, {L"channels", L"menu\\channels.png", 5, 90, 26},
    {L"file", L"menu\\file.png", 5, 90, 26}, {L"view", L"menu\\view.png", 5, 90, 26},
    {L"topmenu_button", L"menu\\menu_button.png", 5, 90, 26}, {L"always_on_top", L"menu\\always_on_top.png", 5, 35, 21},
    {L"minimize", L"menu\\minimize.png", 5, 35, 21}, {L"maximize", L"menu\\maximize.png", 5, 35, 21},
    {L"close", L"menu\\close.png", 5, 35, 21}, {L"epg\\scroll_left", L"epg\\scrl_left.png", 5, 50, 37},
    {L"epg\\scroll_right", L"epg\\scrl_right.png", 5, 50, 37}, {L"epg\\scroll_down", L"epg\\scrl_down.png", 5, 37, 47},
    {L"epg\\scroll_up", L"epg\\scrl_up.png", 5, 37, 47}, {L"epg\\scroll_back", L"epg\\scrl_back.png", 1, 96, 96},
    {L"epg\\scroll_center", L"epg\\center.png", 5, 23, 23}, {L"rec_ico", L"rec_ico.png", 1, 72, 37},
    {L"timeshift_ico", L"timeshift_ico.png", 1, 72, 37}, {L"scrambled_ico", L"scrambled_ico.png", 1, 72, 37},
    {L"muted_ico", L"muted_ico.png", 1, 72, 37}, {L"nodata_ico", L"nodata_ico.png", 1, 72, 37},
    {L"icon_multiaudio", L"audio_streams_ico.png", 1, 35, 30}, {L"icon_teletext", L"teletext_ico.png", 1, 35, 30},
    {L"icon_subtitles", L"subtitles_ico.png", 1, 35, 30}, {L"teletext\\block", L"teletext\\inset_bck.png", 1, 62, 30},
    {L"teletext\\back", L"teletext\\back_btn.png", 5, 41, 20}, {L"teletext\\next", L"teletext\\next_btn.png", 5, 41, 20},
    {L"teletext\\prev", L"teletext\\prev_btn.png", 5, 38, 20},
    {L"teletext\\separator", L"teletext\\tele_separator.png", 1, 3, 32},
    {L"scroll_arrows", L"sipka_streams.png", 2, 20, 20}, {L"radio_box", L"radio_box.png", 2, 30, 30},
};

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class SkinTextureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_test.created, S_OK); }
    D3DTestWindow m_test;
};

} // namespace

TEST_F(SkinTextureTest, TheDefaultSkinLoadsUnderEveryName)
{
    static_assert(sizeof(kSkin) / sizeof(kSkin[0]) == 67, "67 names from 66 files");
    const std::wstring folder = Wide(test::ProgramPath("skins/default")) + L"\\";
    TextureList list;
    for (const SkinEntry& e : kSkin) {
        ASSERT_TRUE(list.Load(e.name, folder + e.file, e.frames)) << std::string(e.file, e.file + wcslen(e.file));
        COSDTexture* t = list.Lookup(e.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->GetFrameCount(), e.frames);
        EXPECT_EQ(t->GetContentWidth(), e.contentWidth);
        EXPECT_EQ(t->GetFrameContentHeight(), e.frameHeight);
        EXPECT_DOUBLE_EQ(t->GetAspect(), static_cast<double>(e.contentWidth) / e.frameHeight);
        // One-frame images have no hit area; the buttons' hit area holds their middle.
        if (e.frames == 1) {
            EXPECT_FALSE(t->HitTest(0, 0.5f, 0.5f));
        }
    }
    EXPECT_EQ(list.GetCount(), 67u);
    EXPECT_TRUE(list.Lookup(L"play_button")->HitTest(3, 0.5f, 0.5f));
    EXPECT_FALSE(list.Lookup(L"volume_up")->HitTest(3, 0.02f, 0.5f)); // outside the ring's sector

    // Loading a name again replaces its texture (the old one is released, not leaked); a missing
    // file leaves the name as it was.
    COSDTexture* before = list.Lookup(L"progress");
    before->AddRef();
    ASSERT_TRUE(list.Load(L"progress", folder + L"volume.png", 2));
    EXPECT_EQ(before->Release(), 0);
    EXPECT_FALSE(list.Load(L"missing", folder + L"no such file.png", 1));
    EXPECT_EQ(list.Lookup(L"missing"), nullptr);
}

TEST_F(SkinTextureTest, GdiplusDecodesTheSkinAsFfmpegDoes)
{
    const struct {
        const wchar_t* file;
        const char* raw;
        int frames;
    } images[] = {{L"controls_back.png", "controls_back.png.bgra", 1},
                  {L"buttons\\volume_up.png", "buttons_volume_up.png.bgra", 5},
                  {L"epg\\cur_time.png", "epg_cur_time.png.bgra", 2},
                  {L"teletext_close.png", "teletext_close.png.bgra", 5},
                  {L"logo_harvo.png", "logo_harvo.png.bgra", 1}};
    const std::wstring folder = Wide(test::ProgramPath("skins/default")) + L"\\";
    for (const auto& image : images) {
        HRESULT hr = E_FAIL;
        auto* texture = new COSDTexture((folder + image.file).c_str(), &hr, image.frames);
        texture->AddRef();
        ASSERT_EQ(hr, S_OK);
        const std::vector<uint8_t> raw = test::ReadFileBytes(test::MediaPath(std::string("skin_raw/") + image.raw));
        const int width = texture->GetContentWidth() + 2;
        const int height = static_cast<int>(raw.size() / 4 / width);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
        int differing = 0;
        for (int y = 0; y < height; ++y)
            differing += std::memcmp(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch, &raw[y * width * 4],
                                     width * 4) != 0;
        texture->GetTexture()->UnlockRect(0);
        EXPECT_EQ(differing, 0) << "rows of " << image.raw << " differ";
        texture->Release();
    }
}

TEST_F(SkinTextureTest, BitmapsOfTheRenderers)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 300;
    info.bmiHeader.biHeight = 200; // bottom-up: its first row is stored last
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            pixels[y * 300 + x] = y == 199 ? 0x80FF0000u : 0xFF00FF00u; // stored last = shown first

    HRESULT hr = E_FAIL;
    auto* texture = new COSDTexture(nullptr, &hr, 1);
    texture->AddRef();
    EXPECT_EQ(hr, S_OK);
    ASSERT_EQ(texture->SetBitmap(bitmap, 0, 0, 300, 200), S_OK);
    EXPECT_EQ(texture->GetTextureWidth(), 512u);
    const auto* r = texture->GetFirstFrameRect();
    EXPECT_FLOAT_EQ(r->right, 0.5859375f);
    EXPECT_FLOAT_EQ(r->bottom, 0.390625f);
    EXPECT_DOUBLE_EQ(texture->GetAspect(), 1.5);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
    EXPECT_EQ(static_cast<const uint32_t*>(locked.pBits)[0], 0x80FF0000u); // straight alpha, top row first
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + locked.Pitch)[0],
              0xFF00FF00u);
    texture->GetTexture()->UnlockRect(0);

    // A clear bitmap after one with content clears the texture; the same clear one again keeps it
    // clear (the texture is not copied again then), and content after it shows.
    auto first = [&]() {
        D3DLOCKED_RECT view;
        EXPECT_EQ(texture->GetTexture()->LockRect(0, &view, nullptr, D3DLOCK_READONLY), S_OK);
        const uint32_t top = static_cast<const uint32_t*>(view.pBits)[0];
        const uint32_t second = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(view.pBits) + view.Pitch)[0];
        texture->GetTexture()->UnlockRect(0);
        return std::make_pair(top, second);
    };
    std::fill(pixels, pixels + 300 * 200, 0u);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(texture->SetBitmap(bitmap, 0, 0, 300, 200), S_OK);
        EXPECT_EQ(first(), std::make_pair(0u, 0u)) << "round " << round;
    }
    pixels[199 * 300] = 0xFF0000FFu;
    ASSERT_EQ(texture->SetBitmap(bitmap, 0, 0, 300, 200), S_OK);
    EXPECT_EQ(first(), std::make_pair(0xFF0000FFu, 0u));

    // Anything but a 32-bit DIB section is refused rather than read as four bytes a pixel.
    HBITMAP ddb = CreateBitmap(16, 16, 1, 1, nullptr);
    EXPECT_EQ(texture->SetBitmap(ddb, 0, 0, 16, 16), E_INVALIDARG);
    EXPECT_EQ(texture->SetBitmap(nullptr, 0, 0, 16, 16), E_INVALIDARG);
    DeleteObject(ddb);
    DeleteObject(bitmap);
    texture->Release();
}
