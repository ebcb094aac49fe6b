#pragma once
// Bit input and window output shared by the pre-deflate decoders (unshrink,
// unreduce, explode). Every read is checked; a stream that is malformed or
// ends too early raises EZipDataError instead of reading past its end.
#include "platform/rtl/SysUtils.h"
#include "zip/ByteChannels.h"
#include <array>
#include <cstdint>

MOLI_DECLARE_EXCEPTION(EZipDataError, Exception)

// Bits are taken least significant first, the order every older method writes.
class TLsbBitReader {
public:
  explicit TLsbBitReader(TByteSource& Source) : FSource(Source) {}
  // Count (0..16) bits; false when the input ends before they are all there.
  bool TryTake(unsigned Count, uint32_t& Value);
  // Count (0..16) bits; raises EZipDataError naming What when the input ends first.
  uint32_t Take(unsigned Count, const char* What);

private:
  bool Fill(unsigned Count);
  TByteSource& FSource;
  std::array<uint8_t, 4096> FBuffer{};
  size_t FPos = 0;
  size_t FLength = 0;
  bool FEnded = false;
  uint32_t FBits = 0;
  unsigned FCount = 0;
};

// The decoded history: bytes are written to the sink each time the 32 KiB
// window fills and at Flush. A copy that reaches before the first byte reads
// zeros, as the formats define.
class TDecodeWindow {
public:
  static constexpr uint32_t Size = 32768;
  explicit TDecodeWindow(TByteSink& Sink) : FSink(Sink) {}
  void Put(uint8_t Byte);
  // Distance 1..Size back.
  void Copy(uint32_t Distance, uint32_t Length);
  // Hands the bytes still pending to the sink; called once, at the end.
  void Flush();
  uint64_t Written() const { return FWritten; }

private:
  TByteSink& FSink;
  std::array<uint8_t, Size> FWindow{};
  uint32_t FPos = 0;
  uint64_t FWritten = 0;
};
