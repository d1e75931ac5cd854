// IEnumConnectionPoints over the BD Dumper's connection points.
#pragma once

#include "dvb/libBDA/CEnumBDASnapshot.h"

namespace libBDA {

class CEnumBDAConnectionPoints
    : public CEnumBDASnapshot<CEnumBDAConnectionPoints, IEnumConnectionPoints, &IID_IEnumConnectionPoints,
                              IConnectionPoint*> {
public:
    // Holds the owner (which keeps the points alive) for its lifetime.
    CEnumBDAConnectionPoints(IUnknown* owner, const std::vector<IConnectionPoint*>& points, size_t position)
        : CEnumBDASnapshot(owner, points, position)
    {
    }

    static const wchar_t* Name() { return L"EnumConnectionPoints"; }
};

} // namespace libBDA
