// A point in window or screen coordinates.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT point) { x = point.x; y = point.y; }

    void Offset(int dx, int dy) { x += dx; y += dy; }
    bool operator==(POINT other) const { return x == other.x && y == other.y; }
    bool operator!=(POINT other) const { return !(*this == other); }
    CPoint operator+(POINT other) const { return CPoint(x + other.x, y + other.y); }
    CPoint operator-(POINT other) const { return CPoint(x - other.x, y - other.y); }
};
