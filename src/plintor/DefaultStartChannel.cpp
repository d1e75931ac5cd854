#include "plintor/DefaultStartChannel.h"

namespace plintor {

bool ChooseStartChannel(const DVBPlaybackCore::CServices& services, CStartChannel* out)
{
    using DVBPlaybackCore::CServices;
    CServices::ServiceArray list;
    uint64_t version = 0;
    uint32_t index = 0;
    services.GetFavouriteServices(list, false, version);
    if (!list.empty()) {
        index = static_cast<uint32_t>(list.front()->GetFavouriteNumber() + 1);
    } else {
        services.GetTVServices(list, false, version);
        if (!list.empty()) {
            index = static_cast<uint32_t>(1000 + list.front()->GetChannelNumber());
        } else {
            services.GetRadioServices(list, false, version);
            if (list.empty())
                return false;
            index = static_cast<uint32_t>(5000 + list.front()->GetChannelNumber());
        }
    }
    const uint32_t key = list.front()->GetKey();
    if (key == 0)
        return false;
    out->key = key;
    out->index = index;
    return true;
}

} // namespace plintor
