#include <gtest/gtest.h>

#include <limits>

#include "support/RecordingSurface.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/RedrawSchedule.h"

using namespace OnScreenDisplay;

namespace {

uint32_t g_now = 0;
uint32_t TestTicks() { return g_now; }

class OsdTree : public ::testing::Test {
protected:
    void SetUp() override { SetTickSource(TestTicks); }
    void TearDown() override { SetTickSource(nullptr); }
};

// A control that takes every event it gets and counts them.
class Target : public Control {
public:
    bool OnLButtonDown(uint32_t, int x, int y) override
    {
        ++presses;
        lastX = x;
        lastY = y;
        return true;
    }
    bool OnMouseWheel(uint32_t, int, int, int) override { return ++wheels, true; }
    bool OnMouseMove(uint32_t, int, int) override { return true; }
    int presses = 0, wheels = 0, lastX = -1, lastY = -1;
};

// Draws one quad covering its square, so its world transform is recorded with the draw.
class Quad : public Control {
public:
    void Render(float alpha) override
    {
        const Vertex v[6] = {{-1, 1, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0}, {-1, -1, 0, 0, 0, 0},
                             {1, 1, 0, 0, 0, 0},  {1, -1, 0, 0, 0, 0}, {-1, -1, 0, 0, 0, 0}};
        GetDisplay()->GetSurface()->DrawTriangles(v, 2);
        Control::Render(alpha);
    }
};

Panel* ShownPanel(Display& root, float l, float t, float r, float b)
{
    auto* panel = new Panel();
    panel->SetRect(l, t, r, b);
    root.AddChild(panel);
    panel->SetState(Panel::Shown);
    g_now += 10000;
    panel->GetProgress();
    return panel;
}

} // namespace

TEST_F(OsdTree, PanelTransitionsReverseMidWayAndCompleteWhenDrawn)
{
    Panel panel;
    g_now = 1000;
    EXPECT_EQ(panel.GetProgress(), 1.0f);
    panel.SetState(Panel::Shown);
    EXPECT_EQ(panel.GetState(), Panel::Showing);
    EXPECT_TRUE(panel.IsEnabled());
    g_now += 400;
    EXPECT_EQ(panel.GetProgress(), 1.0f); // the first call at the end completes the transition
    EXPECT_EQ(panel.GetState(), Panel::Shown);

    panel.SetState(Panel::Hidden);
    EXPECT_FALSE(panel.IsEnabled()); // a hiding panel stops taking input at once
    g_now += 100;
    panel.SetState(Panel::Shown);     // 100 ms into a 400 ms hide
    EXPECT_FLOAT_EQ(panel.GetProgress(), 0.75f);

    // A panel nobody drew for far longer than its transition reverses from its end, not from a
    // negative instant.
    panel.SetState(Panel::Hidden);
    g_now += 100000;
    panel.SetState(Panel::Shown);
    EXPECT_FLOAT_EQ(panel.GetProgress(), 0.0f);

    // Ticks wrap every 49.7 days.
    Panel wrapping;
    g_now = 0xFFFFFF00u;
    wrapping.SetState(Panel::Shown);
    g_now += 0x100 + 100; // wraps to 100
    EXPECT_FLOAT_EQ(wrapping.GetProgress(), (0x100 + 100) / 400.0f);
    g_now += 400;
    EXPECT_EQ(wrapping.GetProgress(), 1.0f);
    EXPECT_EQ(wrapping.GetState(), Panel::Shown);
}

TEST_F(OsdTree, AnimationDelayOfVisibleTransitions)
{
    Display root;
    root.SetSize(640, 480);
    EXPECT_EQ(root.AnimationDelay(g_now), Control::kStill);
    auto* panel = new Panel();
    root.AddChild(panel);
    EXPECT_EQ(root.AnimationDelay(g_now), Control::kStill) << "hidden";
    panel->SetState(Panel::Shown);
    EXPECT_EQ(root.AnimationDelay(g_now), 0u) << "showing";
    g_now += 400;
    EXPECT_EQ(root.AnimationDelay(g_now), 0u) << "its end not yet drawn";
    panel->GetProgress();
    EXPECT_EQ(root.AnimationDelay(g_now), Control::kStill) << "shown";
    panel->SetState(Panel::Hidden);
    EXPECT_EQ(root.AnimationDelay(g_now), 0u) << "hiding";
    panel->SetVisible(false);
    EXPECT_EQ(root.AnimationDelay(g_now), Control::kStill) << "an invisible control is not drawn";
}

// The refresh clock at 50 Hz (20 ms), in microseconds.
TEST(RedrawSchedule, DrawsAtRefreshesOnlyForChangesAndDueAnimations)
{
    EXPECT_EQ(RedrawSchedule::PeriodFor(0), 16666);
    EXPECT_EQ(RedrawSchedule::PeriodFor(75), 13333);
    RedrawSchedule s(50);
    s.Start(1000000);
    EXPECT_EQ(s.WaitFrom(1000000), 0);
    EXPECT_TRUE(s.Refresh(1000000, false)) << "the first refresh draws";
    s.Drawn(1000000, RedrawSchedule::kStill);
    EXPECT_EQ(s.WaitFrom(1005000), 15000);
    for (int64_t t = 1020000; t < 1200000; t += 20000)
        EXPECT_FALSE(s.Refresh(t, false)) << "idle at " << t;
    EXPECT_TRUE(s.Refresh(1200000, true)) << "a change";
    s.Drawn(1200000, 0); // an animation runs
    EXPECT_TRUE(s.Refresh(1220000, false));
    s.Drawn(1220000, 50); // due in 50 ms: drawn at the first refresh at or after it
    EXPECT_FALSE(s.Refresh(1240000, false));
    EXPECT_FALSE(s.Refresh(1260000, false));
    EXPECT_TRUE(s.Refresh(1280000, false));
    s.Drawn(1280000, RedrawSchedule::kStill);
    EXPECT_FALSE(s.Refresh(1300000, false));
    EXPECT_EQ(s.NextRefresh(), 1320000);
    // A draw that overran two refreshes starts the clock again.
    EXPECT_TRUE(s.Refresh(1365000, true));
    EXPECT_EQ(s.NextRefresh(), 1385000);
    // One late by less than a period keeps the clock.
    s.Refresh(1390000, false);
    EXPECT_EQ(s.NextRefresh(), 1405000);
}

TEST_F(OsdTree, MouseRoutingFocusAndPanelStates)
{
    Display root;
    root.SetSize(800, 600);

    // A press on a panel that is still showing is refused; a wheel turn is taken.
    auto* showing = new Panel();
    showing->SetRect(0, 0, 100, 100);
    root.AddChild(showing);
    auto* inner = new Target();
    inner->SetRect(0, 0, 100, 100);
    inner->SetParent(showing);
    showing->SetState(Panel::Shown);
    EXPECT_FALSE(root.OnLButtonDown(1, 50, 50));
    EXPECT_TRUE(root.OnMouseWheel(0, 120, 50, 50));
    EXPECT_EQ(inner->presses, 0);
    EXPECT_EQ(inner->wheels, 1);
    // Once its showing time has run the press is taken, though nothing drew it meanwhile.
    g_now += 400;
    EXPECT_TRUE(root.OnLButtonDown(1, 50, 50));
    EXPECT_EQ(inner->presses, 1);

    // Routing runs from the last child to the first; coordinates arrive in the child's units.
    Panel* panel = ShownPanel(root, 200, 100, 600, 500);
    auto* under = new Target();
    under->SetRect(0, 0, 400, 400);
    under->SetParent(panel);
    auto* over = new Target();
    over->SetRect(100, 100, 300, 300);
    over->SetParent(panel);
    EXPECT_EQ(panel->GetFocusIndex(), 0); // the first focusable child became the focus index...
    EXPECT_FALSE(under->IsFocused());     // ...without its focused flag
    EXPECT_TRUE(root.OnLButtonDown(1, 350, 250));
    EXPECT_EQ(over->presses, 1);
    EXPECT_EQ(under->presses, 0);
    EXPECT_EQ(over->lastX, 50);
    EXPECT_EQ(over->lastY, 50);
    EXPECT_EQ(panel->GetFocusIndex(), 1);
    EXPECT_TRUE(over->IsFocused());

    // Leaving the focused child clears the focus.
    EXPECT_TRUE(root.OnMouseMove(0, 210, 110));
    EXPECT_EQ(panel->GetFocusIndex(), 0); // the move landed on the child below and focused it
    EXPECT_FALSE(over->IsFocused());

    // Hidden children take no press; a double click still reaches them.
    over->SetVisible(false);
    EXPECT_TRUE(root.OnLButtonDown(1, 350, 250));
    EXPECT_EQ(under->presses, 1);
}

TEST_F(OsdTree, FitRectToAspectContainsAndCovers)
{
    const RectF contain = FitRectToAspect(0, 0, 400, 300, true, 16.0f / 9.0f);
    EXPECT_NEAR(contain.left, 0, 1e-3);
    EXPECT_NEAR(contain.top, 37.5, 1e-3);
    EXPECT_NEAR(contain.right, 400, 1e-3);
    EXPECT_NEAR(contain.bottom, 262.5, 1e-3);
    const RectF cover = FitRectToAspect(0, 0, 400, 300, false, 16.0f / 9.0f);
    EXPECT_NEAR(cover.left, -66.67, 0.01);
    EXPECT_NEAR(cover.top, 0, 1e-3);
    EXPECT_NEAR(cover.right, 466.67, 0.01);
    EXPECT_NEAR(cover.bottom, 300, 1e-3);
    for (float aspect : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        const RectF same = FitRectToAspect(1, 2, 3, 4, true, aspect);
        EXPECT_EQ(same.left, 1);
        EXPECT_EQ(same.bottom, 4);
    }
    EXPECT_EQ(Ease(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(Ease(1.0f), 1.0f);
    EXPECT_LT(Ease(0.5f), 0.5f);
}

TEST_F(OsdTree, WorldTransformsOfAThreeLevelTree)
{
    RecordingSurface surface;
    Display root;
    root.Create(&surface);
    root.SetSize(800, 600);
    auto* quarter = new Quad();
    quarter->SetRect(0, 0, 400, 300); // the upper-left quarter of the screen
    quarter->SetParent(&root);
    auto* middle = new Quad();
    middle->SetRect(100, 75, 300, 225); // the middle half of the quarter
    middle->SetParent(quarter);
    auto* corner = new Quad();
    corner->SetRect(100, 75, 200, 150); // the lower-right quarter of that
    corner->SetParent(middle);
    auto* empty = new Quad();
    empty->SetRect(0, 0, 0, 0);
    empty->SetParent(corner);
    (new Quad())->SetParent(empty); // a zero-area parent draws none of its children

    root.Render(1.0f);
    ASSERT_EQ(surface.draws.size(), 4u); // the three squares and the empty one, not its child
    // Screen space is [-1, 1] both ways with y up; check where each square's corners land.
    auto corners = [](const Matrix& m) {
        const Vector3 tl = m.TransformPoint({-1, 1, 0});
        const Vector3 br = m.TransformPoint({1, -1, 0});
        return std::vector<float>{tl.x, tl.y, br.x, br.y};
    };
    const std::vector<std::vector<float>> expected = {
        {-1.0f, 1.0f, 0.0f, 0.0f}, {-0.75f, 0.75f, -0.25f, 0.25f}, {-0.5f, 0.5f, -0.25f, 0.25f}};
    for (size_t i = 0; i < 3; ++i) {
        const std::vector<float> got = corners(surface.draws[i].world);
        for (size_t k = 0; k < 4; ++k)
            EXPECT_NEAR(got[k], expected[i][k], 1e-5) << "level " << i << " value " << k;
    }
    // After drawing, the stack is back at the identity and the device was told so.
    EXPECT_EQ(root.GetMatrixStack().Depth(), 1u);
    const Matrix last = surface.transforms.back();
    EXPECT_EQ(corners(last), (std::vector<float>{-1, 1, 1, -1}));

    // A hidden child draws nothing; without a surface nothing breaks.
    quarter->SetVisible(false);
    surface.draws.clear();
    root.Render(1.0f);
    EXPECT_TRUE(surface.draws.empty());
}

// The first child holds the focus index without the focus; the pointer on it must focus it, or a
// button there (the first tab of a strip) takes no click until another child has been hovered.
TEST_F(OsdTree, PointerOnTheFirstChildFocusesIt)
{
    Display root;
    root.SetSize(800, 600);
    Panel* panel = ShownPanel(root, 0, 0, 400, 400);
    auto* first = new Target();
    first->SetRect(0, 0, 100, 100);
    first->SetParent(panel);
    auto* second = new Target();
    second->SetRect(100, 0, 200, 100);
    second->SetParent(panel);
    ASSERT_EQ(panel->GetFocusIndex(), 0);
    ASSERT_FALSE(first->IsFocused());
    EXPECT_TRUE(root.OnMouseMove(0, 50, 50));
    EXPECT_TRUE(first->IsFocused());
    EXPECT_EQ(panel->GetFocusIndex(), 0);
    EXPECT_TRUE(root.OnMouseMove(0, 150, 50));
    EXPECT_FALSE(first->IsFocused());
    EXPECT_TRUE(second->IsFocused());
}
