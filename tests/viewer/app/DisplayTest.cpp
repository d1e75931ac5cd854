// The viewer's display on Wine's Direct3D: built from the program folder's skin, from the
// signature skin and from an empty skin folder; its operations, auto-hide, pointer bands, layout,
// notifications and a drawn frame read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "../d3d/D3DTestWindow.h"
#include "support/TestMedia.h"
#include "viewer/CQORDisplay.h"
#include "viewer/DisplayLayout.h"
#include "viewer/ViewerGlobals.h"
#include "viewer/osd/Button.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/CustomDrawControl.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/ListBox.h"
#include "viewer/osd/RatioImage.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/Video.h"
#include "viewer/d3d/COSDTexture.h"
#include "viewer/panels/CQORChannelLogoPanel.h"
#include "viewer/panels/CQORChannelsPanel.h"
#include "viewer/panels/CQORControlsPanel.h"
#include "viewer/panels/CQOREPGPanel.h"
#include "viewer/panels/CQOREPGScrollPanel.h"
#include "viewer/panels/CQORInfoPanel.h"
#include "viewer/panels/CQORMenu.h"
#include "viewer/panels/CQORMenuPanel.h"
#include "viewer/panels/CQORStatusIcon.h"
#include "viewer/panels/CQORTopPanel.h"
#include "viewer/panels/CQORTunePanel.h"

using OnScreenDisplay::Component;
using OnScreenDisplay::Control;
using OnScreenDisplay::Panel;

namespace {

std::atomic<uint32_t> g_ticks{100000};
uint32_t FakeTicks() { return g_ticks.load(); }

// The main frame as the display sees it: what reached it.
struct FrameDouble : viewer::DisplayListener {
    std::vector<int> commands;
    std::vector<int> lists;
    std::vector<int> streams;
    std::vector<double> seeks;
    void OnOsdCommand(int id) override { commands.push_back(id); }
    bool OnOsdSeek(int, double fraction) override { return seeks.push_back(fraction), true; }
    void OnOsdStreamMenu(int code) override { streams.push_back(code); }
    void OnOsdListSelect(int list, int, int) override { lists.push_back(list); }
    void OnOsdGuideClick(int, uint32_t, uint32_t) override {}
    void OnOsdGuideMenu(int, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, bool, bool) override {}
};

void Walk(Component* c, const std::function<void(Component*)>& visit)
{
    visit(c);
    for (int i = 0; i < c->GetChildCount(); ++i)
        Walk(c->GetChild(i), visit);
}

bool IsUp(const Panel* p) { return p && (p->GetState() == Panel::Showing || p->GetState() == Panel::Shown); }

// The rectangle of a control in window pixels.
OnScreenDisplay::RectF WindowRect(Control* control)
{
    OnScreenDisplay::RectF r = control->GetRect();
    for (Component* c = control->GetParent(); c; c = c->GetParent()) {
        if (Control* parent = c->AsControl())
            OnScreenDisplay::OffsetRect(r, parent->GetRect().left, parent->GetRect().top);
    }
    return r;
}

const std::set<int> kButtonIds = {10, 11, 12, 13, 14, 15, 16, 18, 20, 21, 22, 23, 24, 30, 31, 32, 33, 40, 41, 42,
                                  50, 51, 52, 53, 60, 61, 62, 63, 64, 65, 70, 71, 72, 73, 80, 81, 82, 90, 91,
                                  100, 101, 102, 103, 104};

class DisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_window = new D3DTestWindow();
        OnScreenDisplay::SetTickSource(&FakeTicks);
    }
    static void TearDownTestSuite()
    {
        OnScreenDisplay::SetTickSource(nullptr);
        delete s_window;
        s_window = nullptr;
    }
    void SetUp() override { ASSERT_EQ(s_window->created, S_OK); }

    // Builds the display from the skin under folder\skins\default.
    void Build(CQORDisplay& display, const std::string& folder, int cx = 640, int cy = 480)
    {
        g_appFolder = CString(std::wstring(folder.begin(), folder.end()).c_str());
        display.SetListener(&frame);
        display.Create(&s_window->handler);
        display.SetSize(cx, cy);
    }

    void Advance(uint32_t ms) { g_ticks += ms; }

    // Draws one frame of the display into the back buffer.
    void DrawFrame(CQORDisplay& display)
    {
        base::CScopedLock lock(s_window->handler.DeviceLock());
        IDirect3DDevice9* d = s_window->handler.GetDevice();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        ASSERT_EQ(d->BeginScene(), S_OK);
        display.Render(1.0f);
        d->EndScene();
    }

    // Reads the back buffer at a window pixel of the 640 x 480 client area.
    uint32_t Pixel(float x, float y) { return s_window->BackBufferPixel(x / 640.0f, y / 480.0f); }

    static D3DTestWindow* s_window;
    FrameDouble frame;
};

D3DTestWindow* DisplayTest::s_window = nullptr;

// Where a file lies in the generator's order: the texture table without its second load of a file.
int SignatureIndex(const wchar_t* name)
{
    std::set<std::wstring> files;
    int k = 0;
    for (const CQORDisplay::SkinImage& image : CQORDisplay::kSkinImages) {
        if (!files.insert(image.file).second)
            continue;
        if (std::wstring(image.name) == name)
            return k;
        ++k;
    }
    return -1;
}

uint32_t SignatureColour(const wchar_t* name, int frame)
{
    return (static_cast<uint32_t>(SignatureIndex(name)) << 16) | ((40u * frame) << 8) | 0xA5;
}

TEST_F(DisplayTest, CreateLoadsTheSkinTheFontsAndTheWholeTree)
{
    CQORDisplay display;
    Build(display, test::ProgramPath(""));
    EXPECT_EQ(display.GetTextures().GetCount(), 67u);
    for (const CQORDisplay::SkinImage& image : CQORDisplay::kSkinImages)
        EXPECT_NE(display.GetTextures().Lookup(image.name), nullptr) << std::string(image.name, image.name + wcslen(image.name));
    EXPECT_EQ(display.GetFonts().GetCount(), 3u);
    EXPECT_NE(display.GetFonts().Lookup(L"big"), nullptr);

    // Twenty children of the display; the guide's header and scroll pad are the other two rows.
    EXPECT_EQ(display.GetChildCount(), 20);
    ASSERT_NE(display.GetGuide(), nullptr);
    EXPECT_NE(display.GetGuide()->m_header, nullptr);
    EXPECT_NE(display.GetGuide()->m_scrollPad, nullptr);
    EXPECT_EQ(display.GetVideo()->m_slot, 0);
    int shownPanels = 0;
    std::multiset<int> ids;
    Walk(&display, [&](Component* c) {
        if (auto* panel = dynamic_cast<Panel*>(c))
            shownPanels += panel->GetState() != Panel::Hidden;
        if (dynamic_cast<OnScreenDisplay::Button*>(c) || dynamic_cast<OnScreenDisplay::ListBox*>(c))
            ids.insert(c->GetId());
    });
    EXPECT_EQ(shownPanels, 5) << "only the four headers and the scroll pad follow their parents";
    for (int id : kButtonIds)
        EXPECT_EQ(ids.count(id), id >= 10 && id <= 12 ? 2u : 1u) << id << ": the lists share 10, 11 and 12";
    EXPECT_EQ(ids.count(17), 0u);

    // Widgets share the list's textures; the menu's items are linked for the arrow keys.
    EXPECT_EQ(display.GetControls()->m_background->GetTexture(), static_cast<OnScreenDisplay::SkinTexture*>(display.GetTextures().Lookup(L"controls_back")));
    const MenuLink* first = display.GetMenu()->FindLink(display.GetMenu()->m_items[0]);
    const MenuLink* last = display.GetMenu()->FindLink(display.GetMenu()->m_items[4]);
    ASSERT_TRUE(first && last);
    EXPECT_EQ(first->up, nullptr);
    EXPECT_EQ(first->down, display.GetMenu()->m_items[1]);
    EXPECT_EQ(last->up, display.GetMenu()->m_items[3]);
    EXPECT_EQ(last->down, nullptr);
    EXPECT_EQ(display.GetMenu()->m_items[0]->Caption()->GetText(), u"Channel list");
    EXPECT_EQ(display.GetMenu()->m_items[0]->GetId(), 21);
}

TEST_F(DisplayTest, EmptySkinFolderStillBuildsEverythingWithoutTextures)
{
    CQORDisplay display;
    Build(display, test::MediaPath("display_empty"));
    EXPECT_EQ(display.GetTextures().GetCount(), 0u);
    EXPECT_EQ(display.GetFonts().GetCount(), 3u);
    std::set<int> ids;
    int images = 0;
    Walk(&display, [&](Component* c) {
        if (dynamic_cast<OnScreenDisplay::Button*>(c))
            ids.insert(c->GetId());
        auto* image = dynamic_cast<OnScreenDisplay::Image*>(c);
        // Bitmap holders and the logo hold their own textures, not the skin's.
        if (image && !dynamic_cast<OnScreenDisplay::CustomDrawControl*>(c) &&
            !dynamic_cast<OnScreenDisplay::RatioImage*>(c)) {
            ++images;
            EXPECT_EQ(image->GetTexture(), nullptr);
        }
    });
    EXPECT_GT(images, 40);
    for (int id : kButtonIds)
        EXPECT_EQ(ids.count(id), 1u) << id;
    display.SetSize(1280, 720);
    display.SetChannelLogo(nullptr); // the default logo is missing too
    EXPECT_EQ(display.GetChannelLogo()->m_logo->GetTexture(), nullptr);
}

// Every operation of the frame, on whatever tree the display has.
void CallEveryOperation(CQORDisplay& display)
{
    display.Layout();
    display.Render(1.0f);
    display.OnMouseMove(0, 10, 10);
    display.OnMouseMove(0, 100, 240);
    display.ShowTune(true);
    display.ShowTopBars(true);
    display.ShowControls(true);
    display.ShowMenu(true);
    display.ShowBackground(true);
    display.ShowTeletext(true);
    display.ShowSubtitles(true);
    display.ShowVolume(true);
    display.ShowRecorded(true);
    display.ShowGuide(true);
    display.ShowChannelList(true);
    display.ShowSwitcher(true);
    display.SetGuideTab(1);
    display.SetSwitcherTab(1);
    display.SetChannelListTab(1);
    display.SetInfoText(0, L"now");
    display.SetProgress(0.5f);
    display.SetChannelName(L"One");
    display.SetTeletextPageText(L"100");
    display.SetTeletextClock(L"12:00");
    display.SetVolume(40);
    display.SetAspect(1.5f);
    display.SetVideoStream(3);
    display.SetRecordIcon(1);
    display.SetScrambledIcon(true);
    display.SetMutedIcon(true);
    display.SetNoDataIcon(true);
    display.SetStreamIcons(true, true, true);
    display.SetTeletextBitmap(nullptr, 0, 0, 1, 1, 1.0f);
    display.SetOverlayBitmap(nullptr, 0, 0, 1, 1, 1.0f);
    display.SetChannelLogo(nullptr);
    display.ClearChannelList();
    display.ClearSwitcher();
    display.ClearTuneList();
    display.AddChannelListItem(L"1", L"One", 1, 2, true);
    display.AddSwitcherItem(L"Audio", 0x10000, 1);
    display.AddTuneItem(L"1", L"One", 1, 2);
    display.ClearTuneNumber();
    display.TuneDigit(5);
    display.SetTuneTimeout(1500);
    display.ShowEventDetails(nullptr);
}

TEST_F(DisplayTest, OperationsBeforeCreateAndAfterResetDoNothing)
{
    CQORDisplay display;
    display.SetSize(640, 480);
    CallEveryOperation(display);
    EXPECT_EQ(display.GetChildCount(), 0);
    EXPECT_FALSE(display.IsGuideShown() || display.IsMenuShown() || display.IsTeletextShown() ||
                 display.IsRecordedShown() || display.IsControlsShown() || display.IsTuneShown() ||
                 display.IsSwitcherShown() || display.IsChannelListShown());

    Build(display, test::ProgramPath(""));
    CallEveryOperation(display);
    EXPECT_TRUE(display.IsGuideShown() && display.IsTuneShown() && display.IsSwitcherShown());
    display.Reset();
    EXPECT_EQ(display.GetChildCount(), 0);
    EXPECT_EQ(display.GetTextures().GetCount(), 0u);
    EXPECT_EQ(display.GetFonts().GetCount(), 0u);
    EXPECT_EQ(display.GetNoDataIcon(), nullptr);
    CallEveryOperation(display); // the four icon and video operations included
    EXPECT_FALSE(display.IsControlsShown());

    // A second Create replaces the tree rather than stacking another one on it.
    Build(display, test::ProgramPath(""));
    Build(display, test::ProgramPath(""));
    EXPECT_EQ(display.GetChildCount(), 20);
}

TEST_F(DisplayTest, IconsTextsListsTuneAndLogo)
{
    CQORDisplay display;
    Build(display, test::ProgramPath(""));
    OnScreenDisplay::Image* icon = display.GetRecordIcon()->m_icon;
    display.SetRecordIcon(1);
    EXPECT_EQ(icon->GetTexture(), static_cast<OnScreenDisplay::SkinTexture*>(display.GetTextures().Lookup(L"rec_ico")));
    EXPECT_TRUE(IsUp(display.GetRecordIcon()));
    display.SetRecordIcon(1);
    display.SetRecordIcon(2);
    EXPECT_EQ(icon->GetTexture(), static_cast<OnScreenDisplay::SkinTexture*>(display.GetTextures().Lookup(L"timeshift_ico")));
    EXPECT_TRUE(IsUp(display.GetRecordIcon())) << "swapped without hiding";
    display.SetRecordIcon(0);
    EXPECT_FALSE(IsUp(display.GetRecordIcon()));

    display.SetInfoText(0, L"Now");
    display.SetInfoText(1, L"Next");
    display.SetInfoText(2, L"Ignored");
    EXPECT_EQ(display.GetInfo()->m_line0->GetText(), u"Now");
    EXPECT_EQ(display.GetInfo()->m_line1->GetText(), u"Next");

    display.SetTuneTimeout(1500);
    EXPECT_EQ(display.GetTune()->GetHideDeadline(), g_ticks.load() + 1500);
    display.SetTuneTimeout(-1);
    EXPECT_EQ(display.GetTune()->GetHideDeadline(), 0u);

    display.AddChannelListItem(L"1", L"One", 7, 8, true);
    EXPECT_EQ(display.GetChannels()->m_list->m_selection, 0);
    display.AddChannelListItem(L"2", L"Two", 9, 10, false);
    EXPECT_EQ(display.GetChannels()->m_list->m_selection, 0);
    display.ClearChannelList();
    EXPECT_EQ(display.GetChannels()->m_list->GetCount(), 0);
    EXPECT_EQ(display.GetChannels()->m_list->m_selection, -1);

    // A 200 x 100 logo sets aspect 2; an image without area keeps it.
    OnScreenDisplay::RatioImage* logo = display.GetChannelLogo()->m_logo;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
    ReleaseDC(nullptr, screen);
    display.SetChannelLogo(bitmap);
    EXPECT_FLOAT_EQ(logo->m_aspect, 2.0f);
    EXPECT_EQ(logo->GetTexture(), display.GetChannelLogo()->GetLogoImage());
    DeleteObject(bitmap);
    display.SetChannelLogo(reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH))); // no bitmap at all
    EXPECT_FLOAT_EQ(logo->m_aspect, 2.0f);
    display.SetChannelLogo(nullptr);
    EXPECT_FLOAT_EQ(logo->m_aspect, 4.0f / 3.0f);
    EXPECT_EQ(logo->GetTexture(), static_cast<OnScreenDisplay::SkinTexture*>(display.GetTextures().Lookup(L"default_logo")));

    // The empty name measures nothing: the logo panel is the logo alone, never NaN wide.
    display.SetChannelName(L"");
    const OnScreenDisplay::RectF r = display.GetChannelLogo()->GetRect();
    EXPECT_FALSE(std::isnan(r.left));
    EXPECT_NEAR(r.Width(), 180 * OnScreenDisplay::GetScale(), 0.01);
    display.SetChannelName(L"Channel One");
    EXPECT_GT(display.GetChannelLogo()->GetRect().Width(), 180 * OnScreenDisplay::GetScale() + 10);

    display.ShowGuide(true);
    EXPECT_TRUE(display.IsGuideShown());
    display.ShowControls(true);
    display.ShowGuide(true);
    EXPECT_FALSE(display.IsControlsShown()) << "the guide hides the five bars";
}

TEST_F(DisplayTest, AutoHideAndPointerBands)
{
    CQORDisplay display;
    Build(display, test::ProgramPath(""), 640, 480);
    // Bottom band: the five bars show, the clock restarts, nothing is armed.
    display.OnMouseMove(0, 320, 470);
    EXPECT_TRUE(display.IsControlsShown());
    EXPECT_TRUE(IsUp(display.GetTopMenu()) && IsUp(display.GetTopButtons()) && IsUp(display.GetInfo()) &&
                IsUp(display.GetChannelLogo()));
    Advance(10000);
    display.Render(1.0f);
    EXPECT_TRUE(display.IsControlsShown()) << "not armed: the bars stay";

    display.OnMouseMove(0, 320, 240); // middle band arms
    EXPECT_TRUE(display.GetAutoHide().IsArmed());
    display.Render(1.0f);
    EXPECT_FALSE(display.IsControlsShown()) << "armed and shown more than 3 s ago";

    display.OnMouseMove(0, 320, 5); // top band shows again and disarms
    EXPECT_TRUE(display.IsControlsShown());
    EXPECT_FALSE(display.GetAutoHide().IsArmed());
    display.OnMouseMove(0, 320, 240);
    Advance(3000);
    display.Render(1.0f);
    EXPECT_TRUE(display.IsControlsShown()) << "exactly 3000 ms";
    display.ShowMenu(true);
    Advance(1);
    display.Render(1.0f);
    EXPECT_TRUE(display.IsControlsShown()) << "the menu keeps them";
    display.ShowMenu(false);
    display.Render(1.0f);
    EXPECT_FALSE(display.IsControlsShown());

    // With the guide up a band move changes nothing; the scroll pad follows the pointer's distance.
    display.ShowGuide(true);
    display.OnMouseMove(0, 320, 470);
    EXPECT_FALSE(display.IsControlsShown());
    CQOREPGScrollPanel* pad = display.GetGuide()->m_scrollPad;
    const OnScreenDisplay::RectF p = WindowRect(pad);
    display.OnMouseMove(0, static_cast<int>((p.left + p.right) / 2), static_cast<int>((p.top + p.bottom) / 2));
    EXPECT_EQ(pad->GetState() == Panel::Showing || pad->GetState() == Panel::Shown, true);
    display.OnMouseMove(0, 5, 240);
    EXPECT_TRUE(pad->GetState() == Panel::Hiding || pad->GetState() == Panel::Hidden);
}

TEST_F(DisplayTest, LayoutFollowsTheWindowAndSurvivesMinimise)
{
    CQORDisplay display;
    Build(display, test::ProgramPath(""), 1280, 720);
    const viewer::DisplayRects want = viewer::ComputeDisplayRects(1280, 720, 1.0f, CQORDisplay::kDefaultAspect);
    auto same = [](const OnScreenDisplay::RectF& a, const OnScreenDisplay::RectF& b) {
        return std::fabs(a.left - b.left) < 1e-3 && std::fabs(a.top - b.top) < 1e-3 &&
               std::fabs(a.right - b.right) < 1e-3 && std::fabs(a.bottom - b.bottom) < 1e-3;
    };
    EXPECT_TRUE(same(display.GetControls()->GetRect(), want.controls));
    EXPECT_TRUE(same(display.GetTune()->GetRect(), want.tune));
    EXPECT_TRUE(same(display.GetChannels()->GetRect(), want.channels));
    EXPECT_TRUE(same(display.GetVideo()->GetRect(), want.video));
    EXPECT_FLOAT_EQ(OnScreenDisplay::GetScale(), 1.0f);

    // Minimised: 0 x 0; every panel keeps its place and the scale stays.
    const OnScreenDisplay::RectF menuBefore = display.GetMenu()->m_items[2]->GetRect();
    display.SetSize(0, 0);
    EXPECT_TRUE(same(display.GetControls()->GetRect(), want.controls));
    EXPECT_TRUE(same(display.GetMenu()->m_items[2]->GetRect(), menuBefore));
    EXPECT_FLOAT_EQ(OnScreenDisplay::GetScale(), 1.0f);
    display.SetSize(1280, 720);
    EXPECT_TRUE(same(display.GetControls()->GetRect(), want.controls));

    display.SetAspect(4.0f / 3.0f);
    EXPECT_TRUE(same(display.GetVideo()->GetRect(), {160, 0, 1120, 720}));
    EXPECT_FLOAT_EQ(display.GetGuide()->m_videoAspect, 4.0f / 3.0f);
}

TEST_F(DisplayTest, ClicksOnEveryButtonAndTabReachTheFrame)
{
    CQORDisplay display;
    Build(display, test::ProgramPath(""), 1280, 720);
    // One group at a time, so that no panel covers another's buttons.
    const std::vector<std::function<void()>> groups = {
        [&] { display.ShowControls(true); display.ShowTopBars(true); },
        [&] { display.ShowMenu(true); },
        [&] { display.ShowGuide(true); },
        [&] { display.ShowTeletext(true); },
        [&] { display.ShowSwitcher(true); },
        [&] { display.ShowRecorded(true); },
        [&] { display.ShowChannelList(true); },
    };
    std::set<int> reached;
    for (const auto& show : groups) {
        Walk(&display, [](Component* c) {
            if (auto* panel = dynamic_cast<Panel*>(c); panel && c->GetParent() && !c->GetParent()->GetParent())
                panel->SetState(Panel::Hidden);
        });
        show();
        Advance(5000);
        display.Render(1.0f); // transitions end
        std::vector<OnScreenDisplay::Button*> buttons;
        Walk(&display, [&](Component* c) {
            auto* button = dynamic_cast<OnScreenDisplay::Button*>(c);
            bool shown = button != nullptr;
            for (Component* p = c; shown && p; p = p->GetParent())
                if (auto* panel = dynamic_cast<Panel*>(p))
                    shown = panel->GetState() == Panel::Shown;
            if (shown)
                buttons.push_back(button);
        });
        CQOREPGScrollPanel* pad = display.GetGuide()->m_scrollPad;
        for (OnScreenDisplay::Button* button : buttons) {
            const OnScreenDisplay::RectF r = WindowRect(button);
            // A point of the button's hit area, nearest the centre: its shape decides, not its box.
            int best = -1;
            float bestDistance = 1e9f;
            for (int i = 0; i < 81; ++i) {
                const float fx = 0.1f + 0.1f * (i % 9), fy = 0.1f + 0.1f * (i / 9);
                const float d = std::fabs(fx - 0.5f) + std::fabs(fy - 0.5f);
                if (d < bestDistance &&
                    button->HitTest(static_cast<int>(fx * r.Width()), static_cast<int>(fy * r.Height()))) {
                    best = i;
                    bestDistance = d;
                }
            }
            ASSERT_GE(best, 0) << "no hit point for " << button->GetId();
            const int x = static_cast<int>(r.left + (0.1f + 0.1f * (best % 9)) * r.Width());
            const int y = static_cast<int>(r.top + (0.1f + 0.1f * (best / 9)) * r.Height());
            frame.commands.clear();
            display.OnMouseMove(0, x, y);
            if (button->GetParent() == pad) {
                // The pad comes back near the pointer; it takes clicks once it has shown.
                Advance(200);
                pad->GetProgress();
                display.OnMouseMove(0, x, y);
            }
            display.OnLButtonDown(0, x, y);
            display.OnLButtonUp(0, x, y);
            ASSERT_EQ(frame.commands.size(), 1u) << "button " << button->GetId() << " at " << x << "," << y;
            EXPECT_EQ(frame.commands[0], button->GetId());
            reached.insert(frame.commands[0]);
        }
    }
    for (int id : kButtonIds)
        EXPECT_EQ(reached.count(id), 1u) << id;

    // Lists report through the list selection, with their own ids.
    display.ShowChannelList(true);
    Advance(5000);
    display.Render(1.0f);
    display.AddChannelListItem(L"1", L"One", 5, 6, true);
    OnScreenDisplay::ListBox* list = display.GetChannels()->m_list;
    const OnScreenDisplay::RectF lr = WindowRect(list);
    const int x = static_cast<int>(lr.left + 30), y = static_cast<int>(lr.top + 10);
    display.OnMouseMove(0, x, y);
    display.OnLButtonDown(0, x, y);
    ASSERT_EQ(frame.lists.size(), 1u);
    EXPECT_EQ(frame.lists[0], 11);

    // The info bar's seek strip reports the fraction of its width under the pointer, through
    // whatever the five bars put beside it.
    display.ShowChannelList(false);
    display.ShowControls(true);
    display.ShowTopBars(true);
    Advance(5000);
    display.Render(1.0f);
    const OnScreenDisplay::RectF sr = WindowRect(display.GetInfo()->m_progress);
    ASSERT_GT(sr.Width(), 100.0f);
    for (double fraction : {0.1, 0.45, 0.9}) {
        const int sx = static_cast<int>(sr.left + fraction * sr.Width());
        const int sy = static_cast<int>((sr.top + sr.bottom) / 2);
        frame.seeks.clear();
        display.OnMouseMove(0, sx, sy);
        display.OnLButtonDown(MK_LBUTTON, sx, sy);
        display.OnLButtonUp(0, sx, sy);
        ASSERT_EQ(frame.seeks.size(), 1u) << "at " << sx << "," << sy;
        EXPECT_NEAR(frame.seeks[0], fraction, 2.0 / sr.Width());
    }
}

TEST_F(DisplayTest, DrawnFrameShowsEachPanelWhereTheLayoutPutsIt)
{
    CQORDisplay display;
    Build(display, test::MediaPath("display_signature"), 640, 480);
    display.ShowControls(true);
    display.ShowTopBars(true);
    display.SetScrambledIcon(true);
    display.ShowVolume(true);
    Advance(1000);
    DrawFrame(display);
    const float s = OnScreenDisplay::GetScale();
    EXPECT_NEAR(s, 0.736f, 1e-5);
    struct Probe {
        const char* what;
        Control* panel;
        float dx, dy; // from the panel's top-left corner, skin pixels
        const wchar_t* texture;
    } probes[] = {
        {"controls background", display.GetControls(), 6, 4, L"controls_back"},
        {"top menu bar", display.GetTopMenu(), 100, 2, L"topMenu_back"},
        {"window buttons", display.GetTopButtons(), 2, 2, L"topControls_back"},
        {"scrambled icon", display.GetScrambledIcon(), 36, 18, L"scrambled_ico"},
    };
    for (const Probe& p : probes) {
        const OnScreenDisplay::RectF r = p.panel->GetRect();
        EXPECT_EQ(Pixel(r.left + p.dx * s, r.top + p.dy * s), SignatureColour(p.texture, 0)) << p.what;
    }
    // The info bar lies under the controls at their right and fills the width.
    const OnScreenDisplay::RectF info = display.GetInfo()->GetRect();
    EXPECT_EQ(Pixel(630, info.top + 40 * s), SignatureColour(L"info_bar", 0));
    // Nothing is drawn in the middle of the window.
    EXPECT_EQ(Pixel(320, 200), 0u);
}

// Pictures for a person to look at: each group of panels at 640 x 480 and 1280 x 720 with the
// default skin, written as the back buffer's raw BGRA; display_shots.sh turns them into PNGs of the
// window's size with ffmpeg (the dump's fourth byte is unused).
TEST_F(DisplayTest, ScreenshotsOfEachGroup)
{
    CreateDirectoryW(L"display_shots", nullptr);
    const std::vector<std::pair<const char*, std::function<void(CQORDisplay&)>>> groups = {
        {"bars", [](CQORDisplay& d) { d.ShowControls(true); d.ShowTopBars(true); }},
        {"menu", [](CQORDisplay& d) { d.ShowControls(true); d.ShowMenu(true); }},
        {"guide", [](CQORDisplay& d) { d.ShowGuide(true); }},
        {"teletext", [](CQORDisplay& d) { d.ShowTeletext(true); }},
        {"switcher", [](CQORDisplay& d) { d.ShowSwitcher(true); }},
        {"recorded", [](CQORDisplay& d) { d.ShowRecorded(true); }},
        {"channels", [](CQORDisplay& d) { d.ShowChannelList(true); }},
        {"tune", [](CQORDisplay& d) { d.ShowTune(true); d.TuneDigit(1); d.TuneDigit(2); }},
        {"volume_icons", [](CQORDisplay& d) {
             d.SetVolume(60);
             d.ShowVolume(true);
             d.SetRecordIcon(1);
             d.SetScrambledIcon(true);
             d.SetMutedIcon(true);
             d.SetNoDataIcon(true);
         }},
        {"background", [](CQORDisplay& d) { d.ShowBackground(true); }},
    };
    const std::pair<int, int> sizes[] = {{640, 480}, {1280, 720}};
    for (const auto& size : sizes) {
        for (const auto& group : groups) {
            CQORDisplay display;
            Build(display, test::ProgramPath(""), size.first, size.second);
            display.SetChannelName(L"Channel One");
            display.SetInfoText(0, L"20:00 Evening news");
            display.SetInfoText(1, L"20:30 Weather");
            display.SetProgress(0.4f);
            for (int i = 0; i < 12; ++i) {
                display.AddChannelListItem(std::to_wstring(i + 1).c_str(), L"Channel", i, 0, i == 2);
                display.AddTuneItem(std::to_wstring(i + 1).c_str(), L"Channel", i, 0);
            }
            display.AddSwitcherItem(L"English", 0x10000, 1);
            display.AddSwitcherItem(L"Deutsch", 0x10001, 0);
            group.second(display);
            Advance(2000);
            DrawFrame(display);
            int bw = 0, bh = 0;
            const std::vector<uint32_t> pixels = s_window->BackBuffer(&bw, &bh);
            ASSERT_FALSE(pixels.empty());
            ASSERT_EQ(pixels.size(), static_cast<size_t>(bw) * bh);
            size_t lit = 0;
            for (uint32_t p : pixels)
                lit += p != 0;
            EXPECT_GT(lit, pixels.size() / 200) << group.first << ": something is drawn";
            char name[128];
            std::snprintf(name, sizeof(name), "display_shots\\%s_%dx%d_%dx%d.bgra", group.first, size.first,
                          size.second, bw, bh);
            FILE* f = std::fopen(name, "wb");
            ASSERT_NE(f, nullptr) << name;
            std::fwrite(pixels.data(), 4, pixels.size(), f);
            std::fclose(f);
        }
    }
}

} // namespace
