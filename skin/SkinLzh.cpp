#include "skin/SkinLzh.h"
#include "skin/LzhTree.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Bits are taken most significant first from a 16-bit buffer refilled a byte at a time.
class TBitSource {
public:
  explicit TBitSource(const TLzhReader& reader) : FReader(reader) {}
  // Bits handed out beyond those the source supplied (read as zeros).
  bool RanPastInput() const { return FTaken > FSupplied * 8; }
  int Bit() {
    Fill();
    ++FTaken;
    const unsigned bit = (FBuffer >> 15) & 1u;
    FBuffer = uint16_t(FBuffer << 1);
    --FCount;
    return int(bit);
  }
  int Byte() {
    Fill();
    FTaken += 8;
    const unsigned value = FBuffer >> 8;
    FBuffer = uint16_t(FBuffer << 8);
    FCount -= 8;
    return int(value);
  }

private:
  void Fill() {
    while (FCount <= 8) {
      FBuffer = uint16_t(FBuffer | (NextByte() << (8 - FCount)));
      FCount += 8;
    }
  }
  unsigned NextByte() {
    if (FPos == FLen) {
      FPos = 0;
      FLen = FReader ? FReader(FChunk, int(sizeof FChunk)) : 0;
      if (FLen <= 0) {
        FLen = 0;
        return 0;
      }
    }
    ++FSupplied;
    return FChunk[FPos++];
  }
  const TLzhReader& FReader;
  uint8_t FChunk[4096];
  int FPos = 0;
  int FLen = 0;
  uint16_t FBuffer = 0;
  int FCount = 0;
  uint64_t FTaken = 0;
  uint64_t FSupplied = 0;
};

}  // namespace

void TLZH::Decode(uint32_t unpackedSize, const TLzhWriter& writer, const TLzhReader& reader) {
  using namespace lzh;
  std::unique_ptr<TLzhTree> tree;
  std::unique_ptr<uint8_t[]> ring;
  try {
    tree = std::make_unique<TLzhTree>();
    ring.reset(new uint8_t[RingSize + MaxMatch - 1]());
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
  std::fill(ring.get(), ring.get() + RingStart, uint8_t(' '));
  TBitSource bits(reader);
  const auto& positions = PositionDecodeTable();

  uint8_t out[4096];
  int outCount = 0;
  uint32_t written = 0;
  auto emit = [&](uint8_t c) {
    out[outCount++] = c;
    if (outCount == int(sizeof out)) {
      writer(out, outCount);
      outCount = 0;
    }
  };

  int r = RingStart;
  while (written < unpackedSize) {
    int node = tree->Child(Root);
    while (node < TableSize) node = tree->Child(node + bits.Bit());
    const int symbol = node - TableSize;
    tree->Update(symbol);
    if (symbol < 256) {
      emit(uint8_t(symbol));
      ring[r] = uint8_t(symbol);
      r = (r + 1) & (RingSize - 1);
      ++written;
      continue;
    }
    int i = bits.Byte();
    const int upper = positions[i].Upper << 6;
    for (int extra = positions[i].Length - 2; extra > 0; --extra) i = (i << 1) + bits.Bit();
    const int position = upper | (i & 0x3F);
    const int from = (r - position - 1) & (RingSize - 1);
    const int length = symbol - 255 + Threshold;
    // The whole match goes into the ring so later references stay right; output stops at the
    // declared size even when the last match runs past it.
    for (int k = 0; k < length; ++k) {
      const uint8_t c = ring[(from + k) & (RingSize - 1)];
      if (written < unpackedSize) {
        emit(c);
        ++written;
      }
      ring[r] = c;
      r = (r + 1) & (RingSize - 1);
    }
  }
  if (outCount > 0) writer(out, outCount);
  FRanPastInput = bits.RanPastInput();
}

QByteArray LzhDecode(const QByteArray& stream, uint32_t unpackedSize, bool* ranPastInput) {
  QByteArray result;
  result.reserve(qsizetype(unpackedSize));
  qsizetype pos = 0;
  TLZH decoder;
  decoder.Decode(
      unpackedSize, [&](const uint8_t* data, int count) { result.append(reinterpret_cast<const char*>(data), count); },
      [&](uint8_t* buffer, int count) {
        const int n = int(std::min<qsizetype>(count, stream.size() - pos));
        std::memcpy(buffer, stream.constData() + pos, size_t(n));
        pos += n;
        return n;
      });
  if (ranPastInput) *ranPastInput = decoder.RanPastInput();
  return result;
}
