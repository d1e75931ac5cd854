// The channel's logo in a frame with its name beside it. Grows and hops into place.
#pragma once

#include "viewer/osd/ChannelLogo.h"
#include "viewer/osd/Label.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/RatioImage.h"
#include "viewer/osd/SkinTexture.h"

class CQORChannelLogoPanel : public OnScreenDisplay::Panel {
public:
    // Takes one reference on a new empty texture for the channel's logo (null without a platform).
    CQORChannelLogoPanel();
    ~CQORChannelLogoPanel() override;

    void Layout() override;
    void Render(float alpha) override;
    uint32_t GetTransitionTime(int state) override;

    // Holds a reference on the logo shown for channels without one of their own.
    void SetDefaultLogo(OnScreenDisplay::SkinTexture* texture) { AssignTexture(m_defaultLogo, texture); }
    OnScreenDisplay::SkinTexture* GetDefaultLogo() const { return m_defaultLogo; }
    // The texture the channel's own logo is put into.
    OnScreenDisplay::SkinTexture* GetLogoImage() const { return m_logoImage; }

    OnScreenDisplay::ChannelLogo* m_frame = nullptr;
    OnScreenDisplay::RatioImage* m_logo = nullptr;
    OnScreenDisplay::Label* m_name = nullptr;

private:
    OnScreenDisplay::SkinTexture* m_defaultLogo = nullptr;
    OnScreenDisplay::SkinTexture* m_logoImage = nullptr;
};
