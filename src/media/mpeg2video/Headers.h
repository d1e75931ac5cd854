// Header parsers of the stream layer (ISO/IEC 13818-2 6.2.2 and 6.2.3). Each reads one header from
// the reader it is given; the extensions and user data that follow are read by
// ParseExtensionsAndUserData through the core's input buffer.
#pragma once

#include <cstddef>

#include "base/ByteReader.h"
#include "media/mpeg2video/Mpeg2VideoDecoderCore.h"

namespace mpeg2video {

void ParseSequenceHeader(Mpeg2VideoDecoderCore* core, base::CByteReader& r);
void ParseGOPHeader(Mpeg2VideoDecoderCore* core, base::CByteReader& r);
void ParsePictureHeader(Mpeg2VideoDecoderCore* core, base::CByteReader& r);
// One extension, its start code and identifier already read.
void ParseExtension(Mpeg2VideoDecoderCore* core, unsigned identifier, base::CByteReader& r);

// Reads the header at byte position `pos` (just behind its start code) with `parse`, then every
// extension and user data that follows. Returns false (state untouched) when the data ends before
// the next start code while more may come, or when a header overruns.
bool ParseHeaderUnit(Mpeg2VideoDecoderCore* core, size_t pos,
                     void (*parse)(Mpeg2VideoDecoderCore*, base::CByteReader&));

} // namespace mpeg2video
