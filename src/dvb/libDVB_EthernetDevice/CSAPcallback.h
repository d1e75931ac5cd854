// Told that the set of announcements changed: one arrived for the first time or was withdrawn.
#pragma once

namespace libDVB_EthernetDevice {

class CSAPcallback {
public:
    virtual void OnAnnouncementsChanged() = 0;

protected:
    ~CSAPcallback() = default;
};

} // namespace libDVB_EthernetDevice
