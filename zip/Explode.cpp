#include "zip/Explode.h"
#include "zip/OldMethodsIO.h"
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr unsigned kMaxBits = 16;

// A canonical code over the inverted stream bits: the format's Shannon-Fano
// codes, counted up from the longest, are the bitwise complements of the
// canonical codes of the same lengths, so decoding one inverted bit at a
// time needs only the count of codes per length and the symbols in order.
class TShannonFano {
public:
  void Read(TLsbBitReader& Bits, unsigned Symbols, const char* What) {
    std::vector<uint8_t> lengths;
    const unsigned runs = Bits.Take(8, What) + 1;
    for (unsigned r = 0; r < runs; ++r) {
      const uint32_t b = Bits.Take(8, What);
      lengths.insert(lengths.end(), (b >> 4) + 1, uint8_t((b & 0x0F) + 1));
      if (lengths.size() > Symbols) break;
    }
    if (lengths.size() != Symbols)
      throw EZipDataError(QStringLiteral("Imploded data has a %1 of the wrong size").arg(QLatin1String(What)));
    std::fill(std::begin(FCount), std::end(FCount), 0);
    for (uint8_t n : lengths) ++FCount[n];
    int left = 1;
    for (unsigned n = 1; n <= kMaxBits; ++n) {
      left = left * 2 - FCount[n];
      if (left < 0) throw EZipDataError(QStringLiteral("Imploded data has an over-full %1").arg(QLatin1String(What)));
    }
    FSymbols.clear();
    for (unsigned n = 1; n <= kMaxBits; ++n)
      for (unsigned s = 0; s < Symbols; ++s)
        if (lengths[s] == n) FSymbols.push_back(uint16_t(s));
  }

  unsigned Decode(TLsbBitReader& Bits) const {
    int code = 0, first = 0, index = 0;
    for (unsigned n = 1; n <= kMaxBits; ++n) {
      code |= int(Bits.Take(1, "imploded data") ^ 1);
      const int count = FCount[n];
      if (code - first < count) return FSymbols[size_t(index + code - first)];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    throw EZipDataError(QStringLiteral("Imploded data holds a code no tree defines"));
  }

private:
  uint16_t FCount[kMaxBits + 1] = {};
  std::vector<uint16_t> FSymbols;
};

}  // namespace

void Explode(TByteSource& Input, TByteSink& Output, uint16_t Flags, uint64_t Size) {
  // An empty file may come without trees.
  if (Size == 0) return;
  TLsbBitReader bits(Input);
  auto window = std::make_unique<TDecodeWindow>(Output);
  const bool bigWindow = Flags & 2;
  const bool codedLiterals = Flags & 4;
  const unsigned lowBits = bigWindow ? 7 : 6;
  const unsigned minMatch = codedLiterals ? 3 : 2;
  TShannonFano literals, lengths, distances;
  if (codedLiterals) literals.Read(bits, 256, "literal tree");
  lengths.Read(bits, 64, "length tree");
  distances.Read(bits, 64, "distance tree");
  while (window->Written() < Size) {
    if (bits.Take(1, "imploded data")) {
      window->Put(uint8_t(codedLiterals ? literals.Decode(bits) : bits.Take(8, "imploded data")));
      continue;
    }
    const uint32_t low = bits.Take(lowBits, "imploded data");
    const uint32_t distance = ((distances.Decode(bits) << lowBits) | low) + 1;
    uint32_t length = lengths.Decode(bits);
    if (length == 63) length += bits.Take(8, "imploded data");
    length += minMatch;
    window->Copy(distance, uint32_t(std::min<uint64_t>(length, Size - window->Written())));
  }
  window->Flush();
}
