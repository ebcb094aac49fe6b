#include "zip/Inflate.h"
#include "zip/DeflateTables.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace deflate;

constexpr size_t kWindow = 32768;
constexpr size_t kBuffer = 2 * kWindow + 512;  // history + one window of output + one longest copy
constexpr size_t kMaxCopy = 258;
constexpr size_t kInput = 32768;

// One decoding-table entry. Kind: literal, base value with Extra bits, end of
// block, link to a sub-table of Extra index bits at Value, or invalid.
enum TEntryKind : uint8_t { ekLiteral, ekBase, ekEnd, ekLink, ekInvalid };
struct TEntry {
  uint16_t Value = 0;
  uint8_t Bits = 0;   // bits this entry consumes
  uint8_t Kind = ekInvalid;
  uint8_t Extra = 0;
};

enum class TAlphabet { CodeLengths, LiteralLength, Distance };

TEntry SymbolEntry(TAlphabet Alphabet, unsigned Symbol) {
  TEntry e;
  switch (Alphabet) {
    case TAlphabet::CodeLengths:
      e.Kind = ekLiteral;
      e.Value = uint16_t(Symbol);
      break;
    case TAlphabet::LiteralLength:
      if (Symbol < 256) {
        e.Kind = ekLiteral;
        e.Value = uint16_t(Symbol);
      } else if (Symbol == 256) {
        e.Kind = ekEnd;
      } else if (Symbol < 257 + kLengthCodes) {
        e.Kind = ekBase;
        e.Value = kLengthBase[Symbol - 257];
        e.Extra = kLengthExtra[Symbol - 257];
      }
      break;
    case TAlphabet::Distance:
      if (Symbol < kDistanceCodes) {
        e.Kind = ekBase;
        e.Value = kDistanceBase[Symbol];
        e.Extra = kDistanceExtra[Symbol];
      }
      break;
  }
  return e;
}

// A two-level lookup table: Root bits index the first level; longer codes go
// through sub-tables. Returns false for an over-subscribed code, and for an
// incomplete one unless it is the single one-bit code that encoders emit for
// a block with one distance (an empty distance code is accepted too).
bool BuildTable(const uint8_t* Lengths, unsigned Count, unsigned Root, TAlphabet Alphabet, std::vector<TEntry>& Table) {
  unsigned counts[16] = {};
  for (unsigned s = 0; s < Count; ++s) counts[Lengths[s]]++;
  unsigned maxLength = 15;
  while (maxLength > 0 && counts[maxLength] == 0) --maxLength;
  Table.assign(size_t(1) << Root, TEntry{});
  if (maxLength == 0) return Alphabet == TAlphabet::Distance;
  int left = 1;
  for (unsigned len = 1; len <= 15; ++len) {
    left = (left << 1) - int(counts[len]);
    if (left < 0) return false;
  }
  if (left > 0 && (Alphabet == TAlphabet::CodeLengths || maxLength != 1)) return false;

  unsigned nextCode[16] = {};
  for (unsigned len = 1, code = 0; len <= 15; ++len) {
    code = (code + counts[len - 1]) << 1;
    nextCode[len] = code;
  }
  unsigned remaining[16];
  std::copy(counts, counts + 16, remaining);
  // Symbols in order of (length, symbol): canonical codes then grow monotonically,
  // so the sub-table of a root prefix is sized when its first code arrives.
  std::vector<unsigned> order;
  order.reserve(Count);
  for (unsigned len = 1; len <= maxLength; ++len)
    for (unsigned s = 0; s < Count; ++s)
      if (Lengths[s] == len) order.push_back(s);

  const uint32_t rootMask = (1u << Root) - 1;
  for (unsigned symbol : order) {
    const unsigned len = Lengths[symbol];
    const uint32_t code = ReverseBits(nextCode[len]++, len);
    TEntry e = SymbolEntry(Alphabet, symbol);
    if (len <= Root) {
      e.Bits = uint8_t(len);
      for (uint32_t i = code; i <= rootMask; i += 1u << len) Table[i] = e;
      --remaining[len];
      continue;
    }
    if (Table[code & rootMask].Kind != ekLink) {
      // Smallest sub-table that holds every remaining code of this prefix.
      unsigned sub = len - Root;
      int room = 1 << sub;
      for (unsigned l = len;; ++l, ++sub, room <<= 1) {
        room -= int(remaining[l]);
        if (room <= 0 || l == maxLength) break;
      }
      TEntry link;
      link.Kind = ekLink;
      link.Bits = uint8_t(Root);
      link.Extra = uint8_t(sub);
      link.Value = uint16_t(Table.size());
      Table[code & rootMask] = link;
      Table.resize(Table.size() + (size_t(1) << sub), TEntry{});
    }
    const TEntry parent = Table[code & rootMask];
    e.Bits = uint8_t(len - Root);
    for (uint32_t i = code >> Root; i < (1u << parent.Extra); i += 1u << (len - Root)) Table[parent.Value + i] = e;
    --remaining[len];
  }
  return true;
}

// The fixed codes are complete only with the symbols no block may use
// (literal/length 286 and 287, distance 30 and 31): they take their places
// in the code and decode as invalid entries.
struct TFixedTables {
  std::vector<TEntry> Lit, Dist;
  TFixedTables() {
    uint8_t lengths[kFixedLiteralSymbols];
    for (int s = 0; s < kFixedLiteralSymbols; ++s) lengths[s] = FixedLiteralLength(s);
    BuildTable(lengths, kFixedLiteralSymbols, 9, TAlphabet::LiteralLength, Lit);
    std::fill(lengths, lengths + kFixedDistanceSymbols, kFixedDistanceLength);
    BuildTable(lengths, kFixedDistanceSymbols, 6, TAlphabet::Distance, Dist);
  }
};

const TFixedTables& FixedTables() {
  static const TFixedTables tables;
  return tables;
}

class TInflater {
public:
  TInflater(TByteSource& Input, TByteSink& Output) : FInput(Input), FOutput(Output), FIn(kInput + 8), FOut(kBuffer) {}

  TInflateResult Run() {
    bool last = false;
    while (!last) {
      if (!Need(3)) return TInflateResult::BadData;
      last = Take(1);
      const unsigned type = Take(2);
      TInflateResult r;
      switch (type) {
        case 0: r = Stored(); break;
        case 1: r = Fixed(); break;
        case 2: r = Dynamic(); break;
        default: r = TInflateResult::BadBlockType; break;
      }
      if (r != TInflateResult::Ok) return r;
      if (Overrun()) return TInflateResult::BadData;
    }
    FOutput.Write(FOut.data() + FFlushed, FPos - FFlushed);
    return TInflateResult::Ok;
  }

private:
  // Refills the bit buffer to at least 57 bits. Past the end of the input it
  // pads with zero bytes and remembers how many; consuming any of them is an
  // error found by Overrun().
  void Refill() {
    if (FInEnd - FInPos >= 8) {
      uint64_t v;
      std::memcpy(&v, FIn.data() + FInPos, 8);
      FBits |= v << FCount;
      FInPos += (63 - FCount) >> 3;
      FCount |= 56;
      return;
    }
    while (FCount <= 56) {
      if (FInPos == FInEnd && !FEnded) {
        FInEnd = FInput.Read(FIn.data(), kInput);
        FInPos = 0;
        if (FInEnd == 0) FEnded = true;
      }
      if (FInPos < FInEnd) {
        FBits |= uint64_t(FIn[FInPos++]) << FCount;
      } else {
        FPadBits += 8;
      }
      FCount += 8;
    }
  }
  bool Overrun() const { return FCount < FPadBits; }
  bool Need(unsigned n) {
    if (FCount < n) Refill();
    return !Overrun();
  }
  unsigned Take(unsigned n) {
    const unsigned v = unsigned(FBits & ((uint64_t(1) << n) - 1));
    FBits >>= n;
    FCount -= n;
    return v;
  }

  // Bytes of output room guaranteed after the call; full windows go to the sink.
  void MakeRoom() {
    if (FPos + kMaxCopy <= kBuffer) return;
    FOutput.Write(FOut.data() + FFlushed, FPos - FFlushed);
    std::memmove(FOut.data(), FOut.data() + FPos - kWindow, kWindow);
    FPos = FFlushed = kWindow;
  }

  TInflateResult Stored() {
    const unsigned drop = FCount & 7;
    Take(drop);
    if (!Need(32)) return TInflateResult::BadData;
    const unsigned len = Take(16);
    const unsigned nlen = Take(16);
    if ((len ^ 0xFFFF) != nlen) return TInflateResult::BadData;
    for (unsigned left = len; left > 0;) {
      MakeRoom();
      if (FCount >= 8) {  // bytes already in the bit buffer come first
        FOut[FPos++] = uint8_t(Take(8));
        if (Overrun()) return TInflateResult::BadData;
        --left;
        continue;
      }
      // The fast refill may have left look-ahead bits above the count; they
      // go stale once bytes are copied past them.
      FBits = 0;
      if (FInPos == FInEnd) {
        if (FEnded) return TInflateResult::BadData;
        FInEnd = FInput.Read(FIn.data(), kInput);
        FInPos = 0;
        if (FInEnd == 0) {
          FEnded = true;
          return TInflateResult::BadData;
        }
      }
      const size_t n = std::min<size_t>({left, FInEnd - FInPos, kBuffer - FPos});
      std::memcpy(FOut.data() + FPos, FIn.data() + FInPos, n);
      FPos += n;
      FInPos += n;
      left -= unsigned(n);
    }
    return TInflateResult::Ok;
  }

  TInflateResult Fixed() {
    const TFixedTables& fixed = FixedTables();
    return Codes(fixed.Lit, 9, fixed.Dist, 6);
  }

  TInflateResult Dynamic() {
    if (!Need(14)) return TInflateResult::BadData;
    const unsigned nlit = Take(5) + 257;
    const unsigned ndist = Take(5) + 1;
    const unsigned ncode = Take(4) + 4;
    if (nlit > 257 + kLengthCodes || ndist > kDistanceCodes) return TInflateResult::BadData;
    uint8_t codeLengths[kCodeLengthCodes] = {};
    for (unsigned i = 0; i < ncode; ++i) {
      if (!Need(3)) return TInflateResult::BadData;
      codeLengths[kCodeLengthOrder[i]] = uint8_t(Take(3));
    }
    std::vector<TEntry> clTable;
    if (!BuildTable(codeLengths, kCodeLengthCodes, 7, TAlphabet::CodeLengths, clTable)) return TInflateResult::BadBlockType;

    uint8_t lengths[257 + kLengthCodes + kDistanceCodes] = {};
    for (unsigned n = 0; n < nlit + ndist;) {
      if (!Need(7 + 7)) return TInflateResult::BadData;
      const TEntry& e = clTable[FBits & 0x7F];
      if (e.Kind != ekLiteral) return TInflateResult::BadData;
      Take(e.Bits);
      const unsigned sym = e.Value;
      if (sym < 16) {
        lengths[n++] = uint8_t(sym);
        continue;
      }
      unsigned repeat;
      uint8_t value = 0;
      if (sym == 16) {
        if (n == 0) return TInflateResult::BadData;
        value = lengths[n - 1];
        repeat = 3 + Take(2);
      } else if (sym == 17) {
        repeat = 3 + Take(3);
      } else {
        repeat = 11 + Take(7);
      }
      if (n + repeat > nlit + ndist) return TInflateResult::BadData;
      std::fill(lengths + n, lengths + n + repeat, value);
      n += repeat;
    }
    if (lengths[256] == 0) return TInflateResult::BadData;
    if (!BuildTable(lengths, nlit, 10, TAlphabet::LiteralLength, FLit)) return TInflateResult::BadBlockType;
    if (!BuildTable(lengths + nlit, ndist, 8, TAlphabet::Distance, FDist)) return TInflateResult::BadBlockType;
    return Codes(FLit, 10, FDist, 8);
  }

  static const TEntry& Lookup(const std::vector<TEntry>& Table, uint64_t& Bits, unsigned& Count, unsigned Root) {
    const TEntry* e = &Table[Bits & ((1u << Root) - 1)];
    if (e->Kind == ekLink) {
      Bits >>= Root;
      Count -= Root;
      e = &Table[e->Value + (Bits & ((1u << e->Extra) - 1))];
    }
    Bits >>= e->Bits;
    Count -= e->Bits;
    return *e;
  }

  TInflateResult Codes(const std::vector<TEntry>& Lit, unsigned LitRoot, const std::vector<TEntry>& Dist, unsigned DistRoot) {
    uint8_t* out = FOut.data();
    for (;;) {
      MakeRoom();
      // 15 (code) + 5 (extra) + 15 (code) + 13 (extra) = 48 bits at most per symbol pair.
      if (FCount < 48) Refill();
      const TEntry& e = Lookup(Lit, FBits, FCount, LitRoot);
      if (Overrun()) return TInflateResult::BadData;
      if (e.Kind == ekLiteral) {
        out[FPos++] = uint8_t(e.Value);
        continue;
      }
      if (e.Kind == ekEnd) return TInflateResult::Ok;
      if (e.Kind != ekBase) return TInflateResult::BadData;
      const unsigned length = e.Value + Take(e.Extra);
      const TEntry& d = Lookup(Dist, FBits, FCount, DistRoot);
      if (d.Kind != ekBase) return TInflateResult::BadData;
      const size_t distance = d.Value + Take(d.Extra);
      if (Overrun()) return TInflateResult::BadData;
      // A distance that reaches before the first byte of the data is damage.
      if (distance > FPos) return TInflateResult::BadData;
      uint8_t* dst = out + FPos;
      const uint8_t* src = dst - distance;
      if (distance >= length) {
        std::memcpy(dst, src, length);
      } else {
        for (unsigned i = 0; i < length; ++i) dst[i] = src[i];
      }
      FPos += length;
    }
  }

  TByteSource& FInput;
  TByteSink& FOutput;
  std::vector<uint8_t> FIn;
  size_t FInPos = 0, FInEnd = 0;
  bool FEnded = false;
  uint64_t FBits = 0;
  unsigned FCount = 0;
  unsigned FPadBits = 0;
  std::vector<uint8_t> FOut;
  size_t FPos = 0, FFlushed = 0;
  std::vector<TEntry> FLit, FDist;
};

}  // namespace

TInflateResult Inflate(TByteSource& Input, TByteSink& Output) { return TInflater(Input, Output).Run(); }
