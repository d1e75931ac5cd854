// A picture its owner fills with bitmaps (subtitles; teletext pages in the active form). Until a
// bitmap has been put in, it draws nothing: an empty texture would read as an opaque white box
// over the video.
#pragma once

#include "viewer/osd/Image.h"

namespace OnScreenDisplay {

class CustomDrawControl : public Image {
public:
    // Takes a new empty texture of the platform for the owner to fill.
    explicit CustomDrawControl(Component* parent = nullptr);
    void Render(float alpha) override;
};

} // namespace OnScreenDisplay
