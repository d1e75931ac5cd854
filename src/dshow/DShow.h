// The platform headers every DirectShow class of ours needs, in the order mingw-w64 wants them.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objbase.h>
#include <strmif.h>
#include <control.h>
#include <uuids.h>
#include <amvideo.h>
#include <vfwmsgs.h>
#include <evcode.h>

namespace dshow {

// Reference time in 100-ns units, the media time base of every graph.
typedef LONGLONG REFERENCE_TIME_T;

} // namespace dshow
