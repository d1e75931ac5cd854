// A channel's logo as the viewer shows it: the picture of the channel record's logo file, made on
// first use and kept in the record, which owns it.
#pragma once

#include <windows.h>

#include "dvb/DVBPlaybackCore/CQORService.h"

namespace viewer {

// The record's logo picture. The image object is made on its first use; while it holds no picture
// it is loaded from the record's logo path (a failed load is tried again at the next use). Null
// when the record has no logo file or it cannot be read: the default logo then shows. The bitmap
// lives as long as the record. Called under the record's lock.
HBITMAP ServiceLogo(DVBPlaybackCore::CQORService& service);

} // namespace viewer
