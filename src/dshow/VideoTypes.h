// Video media-type identifiers that the platform headers of the cross-compiler lack, with their
// published values, and the video format blocks.
#pragma once

#include "dshow/DShow.h"

#include <dvdmedia.h>

namespace dshow {

// MEDIASUBTYPE_MPEG2_VIDEO {E06D8026-DB46-11CF-B4D1-00805F6CBBEA}
constexpr GUID kSubtypeMpeg2Video = {0xe06d8026, 0xdb46, 0x11cf, {0xb4, 0xd1, 0x00, 0x80, 0x5f, 0x6c, 0xbb, 0xea}};
// FORMAT_MPEG2Video {E06D80E3-DB46-11CF-B4D1-00805F6CBBEA}
constexpr GUID kFormatMpeg2Video = {0xe06d80e3, 0xdb46, 0x11cf, {0xb4, 0xd1, 0x00, 0x80, 0x5f, 0x6c, 0xbb, 0xea}};

} // namespace dshow
