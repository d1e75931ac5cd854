// How the scan's progress step files the channels it found: one provider row per provider name
// (the channels without one under the "Unknown" row), and per row the free channels by name, then
// the scrambled ones by name, each in the TV, radio or other group.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dvb/DVBPlaybackCore/CQORService.h"

namespace plintor {

// Group ids of the channels list.
enum ChannelGroup { kGroupTV = 1, kGroupRadio = 2, kGroupOther = 100 };

// The provider row a found channel belongs to: its provider name, or `unknown` without one.
std::u16string ProviderRowOf(const DVBPlaybackCore::CQORService& channel, const std::u16string& unknown);

// The channels of a provider row, compared case-folded: the free ones by name, then the scrambled
// ones by name. `unknown` is the text of the row of channels without a provider.
std::vector<DVBPlaybackCore::CQORService*> ChannelsOfProvider(const std::vector<DVBPlaybackCore::CQORService*>& found,
                                                              const std::u16string& row, const std::u16string& unknown);

// TV for service type 1, radio for 2, other for the rest.
ChannelGroup GroupOf(uint32_t serviceType);

} // namespace plintor
