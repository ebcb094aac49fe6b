#pragma once
// The pre-deflate compression methods an archive may still hold: shrunk (1),
// reduced (2 to 5) and imploded (6). The writer never produces them.
#include "zip/ByteChannels.h"
#include <cstdint>

// Decodes one entry of an older method; false, reading nothing, for any
// other method number. Raises EZipDataError on malformed data; the source's
// and sink's exceptions pass through.
bool DecodeOlderMethod(uint16_t Method, uint16_t Flags, uint64_t UncompressedSize, TByteSource& Input, TByteSink& Output);
