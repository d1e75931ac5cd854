// The scan wizard's manually entered transponder or multicast group: when its fields are good
// enough for Next, and what they mean. Fields are read as the user typed them.
#pragma once

#include <cstdint>
#include <string>

namespace plintor {

// Source types of the wizard; 5 is the network device.
enum : int { kSourceCable = 1, kSourceTerrestrial = 2, kSourceSatellite = 3, kSourceATSC = 4, kSourceNetwork = 5 };

// A whole number at the start of the field (after blanks, with an optional sign), as "%d" reads
// one; false when there is none or it does not fit 32 bits.
bool ReadWholeNumber(const std::u16string& field, int32_t* value);

// The first field's megahertz (a decimal comma is accepted) in kilohertz, rounded to the nearest:
// 128.008 gives 128008. False when the field holds no number or the result does not fit.
bool ReadFrequencyKHz(const std::u16string& field, int32_t* kHz);

// A dotted IPv4 address of four numbers 0..255.
bool ReadIPv4(const std::u16string& field, uint8_t address[4]);

// Whether Next may be pressed for a manual entry of the source type.
bool IsManualEntryValid(int sourceType, const std::u16string& first, const std::u16string& second,
                        const std::u16string& third);

} // namespace plintor
