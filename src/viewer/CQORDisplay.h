// The viewer's OSD root. The skinned panels, their layout and the operations the main frame calls
// come with the display itself; until then the root draws an empty tree.
#pragma once

#include "viewer/osd/Display.h"

class CQORDisplay : public OnScreenDisplay::Display {
public:
    CQORDisplay() = default;
};
