#pragma once
// Decoder of deflate data (RFC 1951), the method of almost every entry.
#include "zip/ByteChannels.h"

enum class TInflateResult {
  Ok,
  BadData,       // a code, distance, stored length or data that ended early
  BadBlockType,  // block type 3, or an over-subscribed or incomplete code
};

// Decodes one deflate stream from Input to Output. Output receives the
// decoded bytes in pieces of about 32 KiB as the window fills, and the rest
// when the last block ends; after a failure the bytes still pending are
// not delivered. Exceptions of Input and Output pass through.
TInflateResult Inflate(TByteSource& Input, TByteSink& Output);
