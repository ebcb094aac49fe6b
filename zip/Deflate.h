#pragma once
// Compressor for deflate data (RFC 1951): hash chains over a 32 KiB sliding
// window, greedy matching at levels 1-3 and lazy matching at 4-9, and a
// per-block choice between stored, fixed and dynamic Huffman blocks.
#include "zip/ByteChannels.h"
#include <memory>

struct TDeflateResult {
  uint64_t CompressedSize = 0;
  // The whole input fitted one block that coded no smaller than it is: the
  // bytes were written as they are, to be stored with method 0.
  bool Stored = false;
  // Judged from the first block's literals: mostly printable characters.
  bool Text = false;
};

class TDeflater {
public:
  TDeflater();
  ~TDeflater();
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;

  // Compresses everything Input delivers at Level (1-9) into Output. The work
  // buffers are kept for the next call.
  TDeflateResult Deflate(TByteSource& Input, TByteSink& Output, int Level);

  // General purpose flag bits announcing the level: bit 2 for the fast
  // levels 1 and 2, bit 1 for the maximum levels 8 and 9.
  static uint16_t LevelFlags(int Level);

private:
  struct TState;
  std::unique_ptr<TState> F;
};
