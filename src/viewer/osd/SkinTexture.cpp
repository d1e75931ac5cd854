#include "viewer/osd/SkinTexture.h"

#include <atomic>

namespace OnScreenDisplay {

namespace {
std::atomic<EmptyTextureFactory> g_emptyTextureFactory{nullptr};
}

void SetEmptyTextureFactory(EmptyTextureFactory factory)
{
    g_emptyTextureFactory = factory;
}

SkinTexture* CreateEmptyTexture()
{
    const EmptyTextureFactory factory = g_emptyTextureFactory.load();
    return factory ? factory() : nullptr;
}

} // namespace OnScreenDisplay
