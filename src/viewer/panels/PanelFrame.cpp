#include "viewer/panels/PanelFrame.h"

#include <atomic>

namespace {
std::atomic<PanelFrame*> g_panelFrame{nullptr};
} // namespace

void SetPanelFrame(PanelFrame* frame)
{
    g_panelFrame.store(frame);
}

PanelFrame* GetPanelFrame()
{
    return g_panelFrame.load();
}
