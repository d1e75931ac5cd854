// A column of segments, the lower ones lit in proportion to the value (percent).
#pragma once

#include "viewer/osd/Image.h"

namespace OnScreenDisplay {

class VolumeBar : public Image {
public:
    explicit VolumeBar(Component* parent = nullptr) : Image(parent) {}
    void Render(float alpha) override;

    // The segment count and how many are lit for the current size, value and segment aspect.
    void Segments(int* count, int* lit) const;

    float m_value = 0.0f;                 // percent
    float m_segmentAspect = 16.0f / 9.0f; // width / height of one segment

    static constexpr int kMaxSegments = 33; // what one 200-vertex batch holds
};

} // namespace OnScreenDisplay
