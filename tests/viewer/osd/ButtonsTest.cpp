#include <gtest/gtest.h>

#include "support/FakeGlyphs.h"
#include "support/FakeSkinTexture.h"
#include "support/RecordingSurface.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Image.h"
#include "viewer/osd/PushTextButton.h"
#include "viewer/osd/Scale.h"
#include "viewer/osd/Tabs.h"
#include "viewer/osd/TextButton.h"

using namespace OnScreenDisplay;

namespace {

uint32_t g_now = 0;
uint32_t Ticks() { return g_now; }

class CommandDisplay : public Display {
public:
    void OnCommand(int id) override { commands.push_back({id, g_now}); }
    std::vector<std::pair<int, uint32_t>> commands;
};

class PostingHost : public ViewerHost {
public:
    void PostPointerPosition(int, int) override {}
    bool TeletextClick(float, float) override { return false; }
    void PostCommand(int id) override { posted.push_back(g_now); }
    std::vector<uint32_t> posted;
};

class Buttons : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTickSource(Ticks);
        SetScale(1.0f);
        g_now = 1000;
        root.Create(&surface);
        root.SetHost(&host);
        root.SetSize(800, 600);
    }
    void TearDown() override
    {
        root.DeleteChildren();
        SetTickSource(nullptr);
    }
    // The frame the last draw shows as current (its second coordinate pair's top).
    int ShownFrame()
    {
        const float v = surface.crossFades.back()[0].v2;
        return static_cast<int>(v * 5 + 0.5f);
    }

    RecordingSurface surface;
    PostingHost host;
    CommandDisplay root;
    FakeSkinTexture texture{69, 35, 5};
};

} // namespace

TEST_F(Buttons, StatesShowTheirFramesAndCrossFade)
{
    auto* button = new Button();
    button->SetRect(100, 100, 169, 135);
    button->SetParent(&root);
    button->SetTexture(&texture);
    button->SetId(12);
    root.Render(1.0f);
    EXPECT_EQ(ShownFrame(), 1); // normal

    // The first focusable child holds the focus index without its flag: the pointer must come
    // from elsewhere for the parent to focus it.
    EXPECT_TRUE(root.OnMouseMove(0, 500, 500));
    EXPECT_TRUE(root.OnMouseMove(0, 120, 110)); // the parent focuses it: state 2 shows frame 3
    EXPECT_EQ(button->GetState(), Button::Focused);
    root.Render(1.0f);
    EXPECT_EQ(ShownFrame(), 3);
    // Half-way through the 100 ms fade into focus the factor is half.
    g_now += 50;
    root.Render(1.0f);
    EXPECT_EQ(surface.textureFactor >> 24, 127u);
    EXPECT_EQ(surface.textureFactor & 0xFFFFFF, 0xFFFFFFu);

    EXPECT_TRUE(root.OnLButtonDown(1, 120, 110));
    ASSERT_EQ(root.commands.size(), 1u);
    EXPECT_EQ(root.commands[0].first, 12);
    EXPECT_EQ(root.GetCommandX(), 100.0f); // the button's bottom-left corner
    EXPECT_EQ(root.GetCommandY(), 135.0f);
    root.Render(1.0f);
    EXPECT_EQ(ShownFrame(), 2); // pressed

    button->SetEnabled(false);
    root.Render(1.0f);
    EXPECT_EQ(ShownFrame(), 0);
    EXPECT_FALSE(root.OnLButtonDown(1, 120, 110)); // a disabled button ignores clicks
    EXPECT_EQ(root.commands.size(), 1u);

    // The second stage blends only colour while drawing and is switched off after.
    const auto& changes = surface.stageChanges;
    ASSERT_GE(changes.size(), 2u);
    EXPECT_EQ(changes.back().stage, 1u);
    EXPECT_EQ(changes.back().state, StageState::AlphaOp);
    EXPECT_EQ(changes.back().value, static_cast<uint32_t>(OpDisable));

    // A zero-width button hits nothing.
    button->SetEnabled(true);
    button->SetRect(0, 0, 0, 35);
    EXPECT_FALSE(button->HitTest(0, 10));
}

TEST_F(Buttons, HeldButtonsRepeatThroughTheUserInterfaceThread)
{
    auto* button = new Button();
    button->SetRect(0, 0, 100, 50);
    button->SetParent(&root);
    button->m_repeat = true;
    root.OnMouseMove(0, 500, 500);
    root.OnMouseMove(0, 10, 10);
    ASSERT_TRUE(root.OnLButtonDown(1, 10, 10)); // the press itself: a command at 0 ms
    const uint32_t pressed = g_now;
    // Drawn again while its press fades in, then at its first repeat.
    EXPECT_EQ(root.AnimationDelay(pressed + 50), 0u);
    EXPECT_EQ(root.AnimationDelay(pressed + 100), 301u);
    for (uint32_t t = 0; t <= 1000; t += 10) {
        g_now = pressed + t;
        root.Render(1.0f);
    }
    std::vector<uint32_t> at;
    for (uint32_t tick : host.posted)
        at.push_back(tick - pressed);
    EXPECT_EQ(at, (std::vector<uint32_t>{410, 570, 730, 890})); // about 400, then every 150 ms
    EXPECT_EQ(root.commands.size(), 1u); // repeats never call the dispatcher from the draw
    button->OnLButtonUp(0, 10, 10); // released
    g_now += 1000;
    root.Render(1.0f);
    EXPECT_EQ(host.posted.size(), 4u);
    EXPECT_EQ(root.AnimationDelay(g_now), 0u); // the steady focus pulses
    root.OnMouseMove(0, 500, 500);
    EXPECT_EQ(root.AnimationDelay(g_now + 200), 0u); // fading out of the focus
    EXPECT_EQ(root.AnimationDelay(g_now + 201), Control::kStill);
    root.OnMouseMove(0, 10, 10);
    EXPECT_EQ(root.AnimationDelay(g_now + 1000), 0u);
    button->SetVisible(false);
    EXPECT_EQ(root.AnimationDelay(g_now + 1000), Control::kStill) << "a hidden button is not drawn";
}

TEST_F(Buttons, TabsLayOutSelectAndRelease)
{
    RecordingFont font;
    auto* tabs = new Tabs();
    tabs->SetRect(0, 0, 600, 30);
    tabs->SetParent(&root);
    tabs->SetTabTexture(0, &texture);
    tabs->AddPushTextButton(u"A", 70); // without a font nothing is added
    EXPECT_EQ(tabs->GetChildCount(), 0);
    tabs->SetFont(&font);
    for (int i = 0; i < 5; ++i)
        tabs->AddTextButton(u"tab", 40 + i);
    std::vector<float> lefts;
    for (int i = 0; i < tabs->GetChildCount(); ++i)
        lefts.push_back(tabs->GetChild(i)->AsControl()->GetRect().left);
    EXPECT_EQ(lefts, (std::vector<float>{0, 136, 272, 408, 544}));
    EXPECT_EQ(texture.references, 2); // the tabs' and the first tab's

    // SelectTab counts latching tabs only.
    auto* mixed = new Tabs();
    mixed->SetRect(0, 100, 800, 130);
    mixed->SetParent(&root);
    mixed->SetFont(&font);
    mixed->AddTextButton(u"plain", 1);
    mixed->AddSeparator();
    mixed->AddPushTextButton(u"first", 2);
    mixed->AddPushTextButton(u"second", 3);
    mixed->SelectTab(1);
    auto* first = static_cast<PushTextButton*>(mixed->GetChild(2));
    auto* second = static_cast<PushTextButton*>(mixed->GetChild(3));
    EXPECT_FALSE(first->IsPushed());
    EXPECT_TRUE(second->IsPushed());
    EXPECT_EQ(second->GetState(), Button::Pressed); // pushed and not focused shows pressed

    // A click on a tab releases the other latching tabs.
    const RectF r = first->GetRect();
    first->OnMouseMove(0, 1, 1);
    mixed->SetFocusChild(first);
    EXPECT_TRUE(mixed->OnLButtonDown(1, static_cast<int>(r.left) + 5, 5));
    EXPECT_FALSE(second->IsPushed());
}

TEST_F(Buttons, APressedCaptionSinksWithoutMoving)
{
    RecordingFont font;
    auto* button = new TextButton();
    button->SetRect(0, 0, 231, 44);
    button->SetParent(&root);
    button->Caption()->SetFont(&font);
    button->SetText(u"Teletext");
    button->Layout();
    const RectF stored = button->Caption()->GetRect();
    EXPECT_FLOAT_EQ(stored.Height(), 0.6f * 44);
    root.OnMouseMove(0, 500, 500);
    root.OnMouseMove(0, 10, 10);
    root.OnLButtonDown(1, 10, 10);
    root.Render(1.0f);
    ASSERT_FALSE(surface.transforms.empty());
    EXPECT_FLOAT_EQ(button->Caption()->GetRect().top, stored.top);
    ASSERT_EQ(font.draws.size(), 1u);
}
