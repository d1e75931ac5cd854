// Panels built as the display builds them, with widgets that log how they are drawn instead of
// drawing, under a root with a recording surface and a test clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordingSurface.h"
#include "viewer/osd/Clock.h"
#include "viewer/osd/Display.h"
#include "viewer/osd/Scale.h"

namespace PanelTest {

struct DrawRecord {
    std::string name;
    float alpha;
    OnScreenDisplay::Matrix world;
};

inline uint32_t g_now = 1000;
inline uint32_t Ticks()
{
    return g_now;
}

// A widget of type W that records its drawing under a name.
template <class W> class Probe : public W {
public:
    Probe(std::vector<DrawRecord>* log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void Render(float alpha) override
    {
        m_log->push_back({m_name, alpha, this->GetDisplay()->GetMatrixStack().GetTop()});
    }

private:
    std::vector<DrawRecord>* m_log;
    std::string m_name;
};

class PanelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_now = 1000;
        OnScreenDisplay::SetTickSource(Ticks);
        OnScreenDisplay::SetScale(1.0f);
        root.Create(&surface);
        root.SetRect(0, 0, 1920, 1080);
    }
    void TearDown() override
    {
        OnScreenDisplay::SetTickSource(nullptr);
        OnScreenDisplay::SetScale(1.0f);
    }

    // Makes a probe child of the panel and returns it for the panel's field.
    template <class W> Probe<W>* Add(OnScreenDisplay::Control& panel, const std::string& name)
    {
        auto* probe = new Probe<W>(&log, name);
        panel.AddChild(probe);
        return probe;
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const DrawRecord& r : log)
            names.push_back(r.name);
        return names;
    }

    // Draws the tree once and returns what was drawn.
    const std::vector<DrawRecord>& Draw()
    {
        log.clear();
        root.Render(1.0f);
        return log;
    }

    RecordingSurface surface;
    OnScreenDisplay::Display root;
    std::vector<DrawRecord> log;
};

inline void ExpectRect(const OnScreenDisplay::Control* c, float l, float t, float r, float b, const char* what)
{
    ASSERT_NE(c, nullptr) << what;
    const OnScreenDisplay::RectF& rect = c->GetRect();
    EXPECT_NEAR(rect.left, l, 1e-3) << what;
    EXPECT_NEAR(rect.top, t, 1e-3) << what;
    EXPECT_NEAR(rect.right, r, 1e-3) << what;
    EXPECT_NEAR(rect.bottom, b, 1e-3) << what;
}

} // namespace PanelTest
