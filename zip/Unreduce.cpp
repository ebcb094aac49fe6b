#include "zip/Unreduce.h"
#include "zip/OldMethodsIO.h"
#include <algorithm>
#include <memory>

namespace {

constexpr uint8_t kEscape = 144;

// Bits needed to index a follower set of N bytes (an empty set reads plain bytes instead).
unsigned IndexBits(unsigned N) {
  unsigned bits = 1;
  while ((1u << bits) < N) ++bits;
  return bits;
}

struct TFollowers {
  uint8_t Count = 0;
  uint8_t Bytes[64] = {};
};

class TUnreducer {
public:
  TUnreducer(TByteSource& Input, TByteSink& Output, unsigned Factor, uint64_t Size)
      : FBits(Input), FOut(Output), FFactor(Factor), FSize(Size) {}

  void Run() {
    for (int c = 255; c >= 0; --c) {
      TFollowers& set = FSets[c];
      set.Count = uint8_t(FBits.Take(6, "a follower set"));
      for (unsigned i = 0; i < set.Count; ++i) set.Bytes[i] = uint8_t(FBits.Take(8, "a follower set"));
    }
    const uint32_t lengthMask = 0xFFu >> FFactor;
    const uint32_t distanceMask = 0xFFu >> (8 - FFactor);
    while (FOut.Written() < FSize) {
      const uint8_t c = NextByte();
      if (c != kEscape) {
        FOut.Put(c);
        continue;
      }
      const uint8_t v = NextByte();
      if (v == 0) {
        FOut.Put(kEscape);
        continue;
      }
      uint32_t length = v & lengthMask;
      if (length == lengthMask) length += NextByte();
      length += 3;
      const uint32_t distance = ((v >> (8 - FFactor)) & distanceMask) * 256 + NextByte() + 1;
      const uint64_t left = FSize - FOut.Written();
      FOut.Copy(distance, uint32_t(std::min<uint64_t>(length, left)));
    }
    FOut.Flush();
  }

private:
  // One byte of the follower-coded stream, which the run expansion then reads.
  uint8_t NextByte() {
    const TFollowers& set = FSets[FLast];
    if (set.Count == 0 || FBits.Take(1, "reduced data") == 1) {
      FLast = uint8_t(FBits.Take(8, "reduced data"));
    } else {
      const uint32_t index = FBits.Take(IndexBits(set.Count), "reduced data");
      if (index >= set.Count) throw EZipDataError(QStringLiteral("Reduced data indexes past a follower set"));
      FLast = set.Bytes[index];
    }
    return FLast;
  }

  TLsbBitReader FBits;
  TDecodeWindow FOut;
  unsigned FFactor;
  uint64_t FSize;
  TFollowers FSets[256];
  uint8_t FLast = 0;
};

}  // namespace

void Unreduce(TByteSource& Input, TByteSink& Output, unsigned Factor, uint64_t UncompressedSize) {
  if (Factor < 1 || Factor > 4) throw EZipDataError(QStringLiteral("Unknown reduction factor %1").arg(Factor));
  // An empty file may come without follower sets.
  if (UncompressedSize == 0) return;
  auto decoder = std::make_unique<TUnreducer>(Input, Output, Factor, UncompressedSize);
  decoder->Run();
}
