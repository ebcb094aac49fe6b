#pragma once
// Decoder of reduced entries (methods 2 to 5, reduction factors 1 to 4):
// follower-set coded bytes, then run expansion with 144 as the escape.
#include "zip/ByteChannels.h"
#include <cstdint>

// Decodes UncompressedSize bytes. Raises EZipDataError for a factor outside
// 1..4 or when the input ends first; the sink's exceptions pass through.
void Unreduce(TByteSource& Input, TByteSink& Output, unsigned Factor, uint64_t UncompressedSize);
