// Turns a descriptor loop into a list of descriptor objects and finds descriptors in it by tag.
#pragma once

#include "dvb/libDVB/si/descriptors/CDescriptor.h"

namespace libDVB {

// Empties the list, then parses the loop of `length` bytes. Kinds this library knows are kept in
// loop order; unknown tags are skipped by their length; a known descriptor whose payload is too
// short for its kind is dropped. A descriptor_length that runs past the loop ends the loop there: that
// descriptor is handed only the bytes the loop holds (which its kind refuses as cut), the ones before
// it are kept. A trailing fragment too short for a descriptor header is ignored. Always S_OK.
HRESULT ParseDescriptors(CDescriptorList& list, const uint8_t* data, uint32_t length);

// The index-th descriptor (from 0) with this tag, or null.
const CDescriptor* FindDescriptor(const CDescriptorList& list, uint8_t tag, uint32_t index = 0);

// The same, typed by the kind's tag.
template <class T>
const T* FindDescriptor(const CDescriptorList& list, uint32_t index = 0)
{
    return static_cast<const T*>(FindDescriptor(list, T::kTag, index));
}

} // namespace libDVB
