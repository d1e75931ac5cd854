// Told by a connection point of every sink that is advised (true) or unadvised (false).
#pragma once

#include <unknwn.h>

namespace libBDA {

class IBDAAdviseNotify {
public:
    virtual void OnAdvise(IUnknown* sink, bool advised) = 0;

protected:
    ~IBDAAdviseNotify() = default;
};

} // namespace libBDA
