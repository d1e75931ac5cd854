// The OSD scale: skin pixels times this are window pixels. One process-wide value, 1.0 until the
// display's layout computes it from the window height.
#pragma once

namespace OnScreenDisplay {

float GetScale();
void SetScale(float scale);

} // namespace OnScreenDisplay
