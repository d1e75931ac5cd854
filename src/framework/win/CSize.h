// A width and a height.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCx, int initCy) { cx = initCx; cy = initCy; }
    CSize(SIZE size) { cx = size.cx; cy = size.cy; }

    bool operator==(SIZE other) const { return cx == other.cx && cy == other.cy; }
    bool operator!=(SIZE other) const { return !(*this == other); }
};
