// A horizontally stretchable strip with fixed end caps (the channel name's banner).
#pragma once

#include "viewer/osd/Image.h"

namespace OnScreenDisplay {

class ChannelLogo : public Image {
public:
    explicit ChannelLogo(Component* parent = nullptr) : Image(parent) {}
    void Render(float alpha) override;
};

} // namespace OnScreenDisplay
