#include "plintor/ProviderGroups.h"

#include "dvb/DVBPlaybackCore/CServices.h"
#include "dvb/DVBPlaybackCore/TextCase.h"

namespace plintor {

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;
using DVBPlaybackCore::LowerCase;

std::u16string ProviderRowOf(const CQORService& channel, const std::u16string& unknown)
{
    const std::u16string provider = channel.GetProvider();
    return provider.empty() ? unknown : provider;
}

std::vector<CQORService*> ChannelsOfProvider(const std::vector<CQORService*>& found, const std::u16string& row,
                                             const std::u16string& unknown)
{
    const std::u16string wanted = LowerCase(row);
    const bool unknownRow = wanted == LowerCase(unknown);
    CServices::ServiceArray free;
    CServices::ServiceArray scrambled;
    for (CQORService* channel : found) {
        const std::u16string provider = channel->GetProvider();
        if (LowerCase(provider) == wanted || (provider.empty() && unknownRow))
            (channel->IsScrambled() ? scrambled : free).push_back(channel);
    }
    CServices::SortServicesByName(free);
    CServices::SortServicesByName(scrambled);
    free.insert(free.end(), scrambled.begin(), scrambled.end());
    return free;
}

ChannelGroup GroupOf(uint32_t serviceType)
{
    return serviceType == 1 ? kGroupTV : serviceType == 2 ? kGroupRadio : kGroupOther;
}

} // namespace plintor
