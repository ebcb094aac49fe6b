#pragma once
// Decoder of imploded entries (method 6): sliding-window matches with
// Shannon-Fano coded lengths, distances and, optionally, literals.
#include "zip/ByteChannels.h"
#include <cstdint>

// Decodes UncompressedSize bytes. Flags is the entry's general purpose bit
// flag: bit 1 selects the 8 KiB window, bit 2 the coded literals. Raises
// EZipDataError for a malformed tree, a code no tree holds, or input that
// ends first; the sink's exceptions pass through.
void Explode(TByteSource& Input, TByteSink& Output, uint16_t Flags, uint64_t UncompressedSize);
