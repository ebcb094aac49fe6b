#pragma once
// Decoder of shrunk entries (method 1): LZW with 9- to 13-bit codes and
// partial clearing of the code table.
#include "zip/ByteChannels.h"

// Decodes until the input ends. Raises EZipDataError for a stream no encoder
// writes (a first code above 255, an unknown escape, a code size above 13
// bits, a code whose spelling loops); the sink's exceptions pass through.
void Unshrink(TByteSource& Input, TByteSink& Output);
