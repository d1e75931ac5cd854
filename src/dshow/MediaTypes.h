// Helpers for AM_MEDIA_TYPE blocks whose format buffer and unknown come from the task allocator,
// as IPin and IEnumMediaTypes require of whoever hands them out.
#pragma once

#include "dshow/DShow.h"

namespace dshow {

// Releases the format block and the unknown, leaving the structure itself.
void FreeMediaType(AM_MEDIA_TYPE& mt);
// FreeMediaType, then CoTaskMemFree of the structure (for types from IEnumMediaTypes::Next).
void DeleteMediaType(AM_MEDIA_TYPE* mt);
// Deep copy into a target that holds nothing; E_OUTOFMEMORY leaves the target without format.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);
// A task-allocated deep copy; null when memory runs out.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source);

} // namespace dshow
