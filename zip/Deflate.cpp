#include "zip/Deflate.h"
#include "zip/DeflateTables.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace deflate;

constexpr unsigned kWSize = 32768;
constexpr unsigned kWMask = kWSize - 1;
constexpr unsigned kMinMatch = 3;
constexpr unsigned kMaxMatch = 258;
constexpr unsigned kMinLookahead = kMaxMatch + kMinMatch + 1;
constexpr unsigned kMaxDist = kWSize - kMinLookahead;
constexpr unsigned kHashSize = 32768;
constexpr unsigned kHashMask = kHashSize - 1;
constexpr unsigned kHashShift = 5;
constexpr unsigned kTooFar = 4096;
constexpr unsigned kLitBufSize = 32768;
constexpr size_t kOutBuffer = 1024;

constexpr int kLiterals = 256;
constexpr int kLCodes = kLiterals + 1 + kLengthCodes;
constexpr int kDCodes = kDistanceCodes;
constexpr int kBLCodes = kCodeLengthCodes;
constexpr int kHeapSize = 2 * kLCodes + 1;
constexpr int kMaxBits = 15;
constexpr int kMaxBLBits = 7;
constexpr int kEndBlock = 256;
constexpr int kRep3To6 = 16;
constexpr int kRepZ3To10 = 17;
constexpr int kRepZ11To138 = 18;

constexpr uint8_t kExtraBLBits[kBLCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

struct TLevel {
  unsigned Good, Lazy, Nice, Chain;
  bool Lazymatch;
};
constexpr TLevel kLevels[10] = {{0, 0, 0, 0, false},     {4, 4, 8, 4, false},      {4, 5, 16, 8, false},
                                {4, 6, 32, 32, false},   {4, 4, 16, 16, true},     {8, 16, 32, 32, true},
                                {8, 16, 128, 128, true}, {8, 32, 128, 256, true},  {32, 128, 258, 1024, true},
                                {32, 258, 258, 4096, true}};

uint16_t ReversedCode(unsigned Code, int Length) { return uint16_t(ReverseBits(Code, unsigned(Length))); }

// The code tables shared by every compressor: the code of each match length
// and distance, and the fixed Huffman codes.
struct TCodeTables {
  uint8_t LengthCode[256];
  uint8_t DistCode[512];
  uint16_t StaticLCode[kLCodes + 2], StaticLLen[kLCodes + 2];
  uint16_t StaticDCode[kDCodes], StaticDLen[kDCodes];

  TCodeTables() {
    // The last code (length 258 alone) takes that length over from the code before it.
    for (int code = 0; code < kLengthCodes; ++code)
      for (int n = 0; n < (1 << kLengthExtra[code]); ++n) LengthCode[kLengthBase[code] - kMinMatch + n] = uint8_t(code);
    for (int code = 0; code < kDCodes; ++code) {
      const unsigned base = kDistanceBase[code] - 1u;
      for (unsigned n = 0; n < (1u << kDistanceExtra[code]); ++n) {
        const unsigned dist = base + n;
        if (dist < 256) DistCode[dist] = uint8_t(code);
        else DistCode[256 + (dist >> 7)] = uint8_t(code);
      }
    }
    uint16_t count[kMaxBits + 1] = {};
    for (int n = 0; n < kLCodes + 2; ++n) {
      StaticLLen[n] = FixedLiteralLength(n);
      count[StaticLLen[n]]++;
    }
    unsigned next[kMaxBits + 1] = {};
    for (int bits = 1, c = 0; bits <= kMaxBits; ++bits) next[bits] = unsigned(c = (c + count[bits - 1]) << 1);
    for (int n = 0; n < kLCodes + 2; ++n) StaticLCode[n] = ReversedCode(next[StaticLLen[n]]++, StaticLLen[n]);
    for (int n = 0; n < kDCodes; ++n) {
      StaticDLen[n] = kFixedDistanceLength;
      StaticDCode[n] = ReversedCode(unsigned(n), kFixedDistanceLength);
    }
  }
  int DCode(unsigned Dist) const { return Dist < 256 ? DistCode[Dist] : DistCode[256 + (Dist >> 7)]; }
};

const TCodeTables& Codes() {
  static const TCodeTables tables;
  return tables;
}

// One Huffman tree under construction: leaves first, internal nodes after.
struct TTree {
  uint16_t Freq[kHeapSize];
  uint16_t Code[kHeapSize];
  uint16_t Len[kHeapSize];
  uint16_t Dad[kHeapSize];
  int Elems;
  const uint8_t* Extra;
  int ExtraBase;
  int MaxLength;
  const uint16_t* StaticLen;  // the fixed code's lengths, to price the block with it
  int MaxCode = 0;
};

}  // namespace

struct TDeflater::TState {
  // Matching.
  std::vector<uint8_t> Window = std::vector<uint8_t>(2 * kWSize + kMaxMatch + 16, 0);
  std::vector<uint16_t> Prev = std::vector<uint16_t>(kWSize, 0);
  std::vector<uint16_t> Head = std::vector<uint16_t>(kHashSize, 0);
  TLevel Level{};
  int LevelNumber = 6;
  unsigned InsH = 0, StrStart = 0, Lookahead = 0, MatchStart = 0, PrevLength = 0;
  long BlockStart = 0;
  bool Eof = false;
  TByteSource* Input = nullptr;

  // Symbols of the current block: Dist 0 is a literal, else a match of length LitLen + 3.
  std::vector<uint8_t> LitLen = std::vector<uint8_t>(kLitBufSize);
  std::vector<uint16_t> Dist = std::vector<uint16_t>(kLitBufSize);
  unsigned LastLit = 0, LastDist = 0;

  TTree LTree, DTree, BLTree;
  int Heap[kHeapSize];
  int HeapLen = 0, HeapMax = 0;
  uint8_t Depth[kHeapSize];
  uint16_t BLCount[kMaxBits + 1];
  uint64_t OptLen = 0, StaticLen = 0;

  // Output.
  TByteSink* Output = nullptr;
  uint8_t Pending[kOutBuffer];
  size_t PendingLen = 0;
  uint64_t BitBuf = 0;
  unsigned BitCount = 0;
  uint64_t Written = 0;
  bool FirstBlock = true;
  TDeflateResult Result;

  TState() {
    const TCodeTables& c = Codes();
    LTree.Elems = kLCodes; LTree.Extra = kLengthExtra; LTree.ExtraBase = kLiterals + 1; LTree.MaxLength = kMaxBits; LTree.StaticLen = c.StaticLLen;
    DTree.Elems = kDCodes; DTree.Extra = kDistanceExtra; DTree.ExtraBase = 0; DTree.MaxLength = kMaxBits; DTree.StaticLen = c.StaticDLen;
    BLTree.Elems = kBLCodes; BLTree.Extra = kExtraBLBits; BLTree.ExtraBase = 0; BLTree.MaxLength = kMaxBLBits; BLTree.StaticLen = nullptr;
  }

  // ---- bit output ----
  void PutByte(uint8_t b) {
    Pending[PendingLen++] = b;
    if (PendingLen == kOutBuffer) FlushPending();
  }
  void FlushPending() {
    if (PendingLen == 0) return;
    Output->Write(Pending, PendingLen);
    Written += PendingLen;
    PendingLen = 0;
  }
  void SendBits(unsigned Value, unsigned Length) {
    BitBuf |= uint64_t(Value) << BitCount;
    BitCount += Length;
    if (BitCount >= 32) {
      for (int i = 0; i < 4; ++i) PutByte(uint8_t(BitBuf >> (8 * i)));
      BitBuf >>= 32;
      BitCount -= 32;
    }
  }
  void AlignToByte() {
    while (BitCount > 0) {
      PutByte(uint8_t(BitBuf));
      BitBuf >>= 8;
      BitCount = BitCount > 8 ? BitCount - 8 : 0;
    }
    BitBuf = 0;
  }
  void PutBytes(const uint8_t* Data, size_t Count) {
    while (Count > 0) {
      const size_t n = std::min(Count, kOutBuffer - PendingLen);
      std::memcpy(Pending + PendingLen, Data, n);
      PendingLen += n;
      Data += n;
      Count -= n;
      if (PendingLen == kOutBuffer) FlushPending();
    }
  }

  // ---- window and matching ----
  void InsertString(unsigned Pos, unsigned& MatchHead) {
    InsH = ((InsH << kHashShift) ^ Window[Pos + kMinMatch - 1]) & kHashMask;
    MatchHead = Prev[Pos & kWMask] = Head[InsH];
    Head[InsH] = uint16_t(Pos);
  }
  void SeedHash() {
    InsH = Window[StrStart];
    InsH = ((InsH << kHashShift) ^ Window[StrStart + 1]) & kHashMask;
  }
  void FillWindow() {
    do {
      unsigned more = 2 * kWSize - Lookahead - StrStart;
      if (StrStart >= kWSize + kMaxDist) {
        std::memcpy(Window.data(), Window.data() + kWSize, kWSize);
        MatchStart -= kWSize;
        StrStart -= kWSize;
        BlockStart -= long(kWSize);
        for (auto& h : Head) h = uint16_t(h >= kWSize ? h - kWSize : 0);
        for (auto& p : Prev) p = uint16_t(p >= kWSize ? p - kWSize : 0);
        more += kWSize;
      }
      if (Eof || more == 0) break;
      const size_t n = Input->Read(Window.data() + StrStart + Lookahead, more);
      if (n == 0) Eof = true;
      Lookahead += unsigned(n);
      if (Lookahead >= kMinMatch) SeedHash();
    } while (Lookahead < kMinLookahead && !Eof);
  }

  static unsigned CommonLength(const uint8_t* a, const uint8_t* b) {
    unsigned n = 0;
    while (n < kMaxMatch - 2) {
      uint64_t x, y;
      std::memcpy(&x, a + n, 8);
      std::memcpy(&y, b + n, 8);
      if (const uint64_t diff = x ^ y) return n + unsigned(__builtin_ctzll(diff) >> 3);
      n += 8;
    }
    return kMaxMatch - 2;
  }

  unsigned LongestMatch(unsigned CurMatch) {
    unsigned chain = Level.Chain;
    const uint8_t* scan = Window.data() + StrStart;
    unsigned best = PrevLength;
    unsigned nice = std::min(Level.Nice, Lookahead);
    const unsigned limit = StrStart > kMaxDist ? StrStart - kMaxDist : 0;
    if (PrevLength >= Level.Good) chain >>= 2;
    do {
      const uint8_t* match = Window.data() + CurMatch;
      if (match[best] != scan[best] || match[best - 1] != scan[best - 1] || match[0] != scan[0] || match[1] != scan[1])
        continue;
      const unsigned len = 2 + CommonLength(scan + 2, match + 2);
      if (len > best) {
        MatchStart = CurMatch;
        best = len;
        if (len >= nice) break;
      }
    } while ((CurMatch = Prev[CurMatch & kWMask]) > limit && --chain != 0);
    return std::min(best, Lookahead);
  }

  // ---- symbols ----
  bool Tally(unsigned Distance, unsigned LC) {
    const TCodeTables& c = Codes();
    LitLen[LastLit] = uint8_t(LC);
    Dist[LastLit++] = uint16_t(Distance);
    if (Distance == 0) {
      LTree.Freq[LC]++;
    } else {
      ++LastDist;
      LTree.Freq[c.LengthCode[LC] + kLiterals + 1]++;
      DTree.Freq[c.DCode(Distance - 1)]++;
    }
    // A block that matches poorly but still halves its input ends early, so
    // the next part of the input gets trees of its own.
    if (LevelNumber > 2) {
      if ((LastLit & 0xFFF) == 0) {
        uint64_t outBits = uint64_t(LastLit) * 8;
        const uint64_t inBytes = uint64_t(long(StrStart) - BlockStart);
        for (int d = 0; d < kDCodes; ++d) outBits += uint64_t(DTree.Freq[d]) * (5 + kDistanceExtra[d]);
        if (LastDist < LastLit / 2 && (outBits >> 3) < inBytes / 2) return true;
      }
    }
    return LastLit == kLitBufSize - 1;
  }

  void InitBlock() {
    std::fill(LTree.Freq, LTree.Freq + kLCodes, 0);
    std::fill(DTree.Freq, DTree.Freq + kDCodes, 0);
    std::fill(BLTree.Freq, BLTree.Freq + kBLCodes, 0);
    LTree.Freq[kEndBlock] = 1;
    OptLen = StaticLen = 0;
    LastLit = LastDist = 0;
  }

  // ---- Huffman trees ----
  bool Smaller(const TTree& T, int n, int m) const {
    return T.Freq[n] < T.Freq[m] || (T.Freq[n] == T.Freq[m] && Depth[n] <= Depth[m]);
  }
  void DownHeap(const TTree& T, int k) {
    const int v = Heap[k];
    int j = k << 1;
    while (j <= HeapLen) {
      if (j < HeapLen && Smaller(T, Heap[j + 1], Heap[j])) ++j;
      if (Smaller(T, v, Heap[j])) break;
      Heap[k] = Heap[j];
      k = j;
      j <<= 1;
    }
    Heap[k] = v;
  }

  // Lengths from the tree shape, limited to MaxLength by moving overflowing
  // leaves down; accumulates the block's price with these codes and with the
  // fixed code.
  void GenBitLengths(TTree& T) {
    std::fill(BLCount, BLCount + kMaxBits + 1, 0);
    T.Len[Heap[HeapMax]] = 0;
    int overflow = 0;
    int h;
    for (h = HeapMax + 1; h < kHeapSize; ++h) {
      const int n = Heap[h];
      int bits = T.Len[T.Dad[n]] + 1;
      if (bits > T.MaxLength) {
        bits = T.MaxLength;
        ++overflow;
      }
      T.Len[n] = uint16_t(bits);
      if (n > T.MaxCode) continue;
      BLCount[bits]++;
      const int xbits = n >= T.ExtraBase ? T.Extra[n - T.ExtraBase] : 0;
      const uint64_t f = T.Freq[n];
      OptLen += f * uint64_t(bits + xbits);
      if (T.StaticLen) StaticLen += f * uint64_t(T.StaticLen[n] + xbits);
    }
    if (overflow == 0) return;
    do {
      int bits = T.MaxLength - 1;
      while (BLCount[bits] == 0) --bits;
      BLCount[bits]--;
      BLCount[bits + 1] += 2;
      BLCount[T.MaxLength]--;
      overflow -= 2;
    } while (overflow > 0);
    h = kHeapSize;
    for (int bits = T.MaxLength; bits != 0; --bits) {
      int n = BLCount[bits];
      while (n != 0) {
        const int m = Heap[--h];
        if (m > T.MaxCode) continue;
        if (T.Len[m] != bits) {
          OptLen += uint64_t(bits - T.Len[m]) * T.Freq[m];
          T.Len[m] = uint16_t(bits);
        }
        --n;
      }
    }
  }

  void GenCodes(TTree& T) {
    unsigned next[kMaxBits + 1] = {};
    unsigned code = 0;
    for (int bits = 1; bits <= kMaxBits; ++bits) next[bits] = code = (code + BLCount[bits - 1]) << 1;
    for (int n = 0; n <= T.MaxCode; ++n)
      if (T.Len[n] != 0) T.Code[n] = ReversedCode(next[T.Len[n]]++, T.Len[n]);
  }

  void BuildTree(TTree& T) {
    HeapLen = 0;
    HeapMax = kHeapSize;
    int maxCode = -1;
    for (int n = 0; n < T.Elems; ++n) {
      if (T.Freq[n] != 0) {
        Heap[++HeapLen] = maxCode = n;
        Depth[n] = 0;
      } else {
        T.Len[n] = 0;
      }
    }
    // Decoders need at least two codes: give unused symbols a frequency of one.
    while (HeapLen < 2) {
      const int node = Heap[++HeapLen] = maxCode < 2 ? ++maxCode : 0;
      T.Freq[node] = 1;
      Depth[node] = 0;
      --OptLen;
      if (T.StaticLen) StaticLen -= T.StaticLen[node];
    }
    T.MaxCode = maxCode;
    for (int n = HeapLen / 2; n >= 1; --n) DownHeap(T, n);
    int node = T.Elems;
    do {
      const int n = Heap[1];
      Heap[1] = Heap[HeapLen--];
      DownHeap(T, 1);
      const int m = Heap[1];
      Heap[--HeapMax] = n;
      Heap[--HeapMax] = m;
      T.Freq[node] = uint16_t(T.Freq[n] + T.Freq[m]);
      Depth[node] = uint8_t(std::max(Depth[n], Depth[m]) + 1);
      T.Dad[n] = T.Dad[m] = uint16_t(node);
      Heap[1] = node++;
      DownHeap(T, 1);
    } while (HeapLen >= 2);
    Heap[--HeapMax] = Heap[1];
    GenBitLengths(T);
    GenCodes(T);
  }

  // Walks a tree's code lengths in the run-length form of the code-length
  // alphabet, either counting the symbols (Send false) or sending them.
  void RunLengths(TTree& T, int MaxCode, bool Send) {
    int prevLen = -1, nextLen = T.Len[0], count = 0, maxCount = 7, minCount = 4;
    if (nextLen == 0) {
      maxCount = 138;
      minCount = 3;
    }
    const uint16_t guard = T.Len[MaxCode + 1];
    T.Len[MaxCode + 1] = 0xFFFF;
    auto emit = [&](int Symbol) {
      if (Send) SendBits(BLTree.Code[Symbol], BLTree.Len[Symbol]);
      else BLTree.Freq[Symbol]++;
    };
    for (int n = 0; n <= MaxCode; ++n) {
      const int curLen = nextLen;
      nextLen = T.Len[n + 1];
      if (++count < maxCount && curLen == nextLen) continue;
      if (count < minCount) {
        while (count-- > 0) emit(curLen);
      } else if (curLen != 0) {
        if (curLen != prevLen) {
          emit(curLen);
          --count;
        }
        emit(kRep3To6);
        if (Send) SendBits(unsigned(count - 3), 2);
      } else if (count <= 10) {
        emit(kRepZ3To10);
        if (Send) SendBits(unsigned(count - 3), 3);
      } else {
        emit(kRepZ11To138);
        if (Send) SendBits(unsigned(count - 11), 7);
      }
      count = 0;
      prevLen = curLen;
      if (nextLen == 0) {
        maxCount = 138;
        minCount = 3;
      } else if (curLen == nextLen) {
        maxCount = 6;
        minCount = 3;
      } else {
        maxCount = 7;
        minCount = 4;
      }
    }
    T.Len[MaxCode + 1] = guard;
  }

  int BuildBLTree() {
    RunLengths(LTree, LTree.MaxCode, false);
    RunLengths(DTree, DTree.MaxCode, false);
    BuildTree(BLTree);
    int maxIndex;
    for (maxIndex = kBLCodes - 1; maxIndex >= 3; --maxIndex)
      if (BLTree.Len[kCodeLengthOrder[maxIndex]] != 0) break;
    OptLen += 3 * (uint64_t(maxIndex) + 1) + 5 + 5 + 4;
    return maxIndex;
  }

  void SendAllTrees(int LCodes, int DCodes, int BLCodes) {
    SendBits(unsigned(LCodes - 257), 5);
    SendBits(unsigned(DCodes - 1), 5);
    SendBits(unsigned(BLCodes - 4), 4);
    for (int rank = 0; rank < BLCodes; ++rank) SendBits(BLTree.Len[kCodeLengthOrder[rank]], 3);
    RunLengths(LTree, LCodes - 1, true);
    RunLengths(DTree, DCodes - 1, true);
  }

  void CompressBlock(const uint16_t* LCode, const uint16_t* LLen, const uint16_t* DCode, const uint16_t* DLen) {
    const TCodeTables& c = Codes();
    for (unsigned i = 0; i < LastLit; ++i) {
      const unsigned lc = LitLen[i];
      unsigned dist = Dist[i];
      if (dist == 0) {
        SendBits(LCode[lc], LLen[lc]);
        continue;
      }
      int code = c.LengthCode[lc];
      SendBits(LCode[code + kLiterals + 1], LLen[code + kLiterals + 1]);
      if (kLengthExtra[code]) SendBits(lc + kMinMatch - kLengthBase[code], kLengthExtra[code]);
      --dist;
      code = c.DCode(dist);
      SendBits(DCode[code], DLen[code]);
      if (kDistanceExtra[code]) SendBits(dist + 1 - kDistanceBase[code], kDistanceExtra[code]);
    }
    SendBits(LCode[kEndBlock], LLen[kEndBlock]);
  }

  void DecideDataType() {
    uint64_t binary = 0, text = 0;
    for (int n = 0; n < 7; ++n) binary += LTree.Freq[n];
    for (int n = 7; n < 128; ++n) text += LTree.Freq[n];
    for (int n = 128; n < kLiterals; ++n) binary += LTree.Freq[n];
    Result.Text = binary <= (text >> 2);
  }

  void StoredBlocks(const uint8_t* Data, size_t Length, bool Last) {
    do {
      const size_t n = std::min<size_t>(Length, 0xFFFF);
      const bool lastPiece = Last && n == Length;
      SendBits(lastPiece ? 1u : 0u, 3);
      AlignToByte();
      PutByte(uint8_t(n));
      PutByte(uint8_t(n >> 8));
      PutByte(uint8_t(~n));
      PutByte(uint8_t(~n >> 8));
      PutBytes(Data, n);
      Data += n;
      Length -= n;
    } while (Length > 0);
  }

  void FlushBlock(bool Last) {
    const uint8_t* data = BlockStart >= 0 ? Window.data() + BlockStart : nullptr;
    const uint64_t storedLen = uint64_t(long(StrStart) - BlockStart);
    BlockStart = long(StrStart);
    if (FirstBlock) DecideDataType();
    const bool wasFirst = FirstBlock;
    FirstBlock = false;

    BuildTree(LTree);
    BuildTree(DTree);
    const int maxBLIndex = BuildBLTree();
    uint64_t optBytes = (OptLen + 3 + 7) >> 3;
    const uint64_t staticBytes = (StaticLen + 3 + 7) >> 3;
    if (staticBytes <= optBytes) optBytes = staticBytes;

    if (storedLen <= optBytes && Last && wasFirst && data) {
      PutBytes(data, storedLen);
      Result.Stored = true;
    } else if (storedLen + 4 <= optBytes && data) {
      StoredBlocks(data, storedLen, Last);
    } else if (staticBytes == optBytes) {
      const TCodeTables& c = Codes();
      SendBits((1u << 1) + (Last ? 1 : 0), 3);
      CompressBlock(c.StaticLCode, c.StaticLLen, c.StaticDCode, c.StaticDLen);
    } else {
      SendBits((2u << 1) + (Last ? 1 : 0), 3);
      SendAllTrees(LTree.MaxCode + 1, DTree.MaxCode + 1, maxBLIndex + 1);
      CompressBlock(LTree.Code, LTree.Len, DTree.Code, DTree.Len);
    }
    InitBlock();
    if (Last) AlignToByte();
  }

  // Keeps the lookahead filled and enters the string at the current position
  // into the hash chains; false once the input is used up.
  bool Advance(unsigned& HashHead) {
    if (Lookahead < kMinLookahead) {
      FillWindow();
      if (Lookahead == 0) return false;
    }
    HashHead = 0;
    if (Lookahead >= kMinMatch) InsertString(StrStart, HashHead);
    return true;
  }

  void Greedy() {
    unsigned matchLength = 0;
    for (unsigned hashHead = 0; Advance(hashHead);) {
      if (hashHead != 0 && StrStart - hashHead <= kMaxDist) matchLength = LongestMatch(hashHead);
      bool flush;
      if (matchLength >= kMinMatch) {
        flush = Tally(StrStart - MatchStart, matchLength - kMinMatch);
        Lookahead -= matchLength;
        if (matchLength <= Level.Lazy && Lookahead >= kMinMatch) {
          --matchLength;
          do {
            ++StrStart;
            InsertString(StrStart, hashHead);
          } while (--matchLength != 0);
          ++StrStart;
        } else {
          StrStart += matchLength;
          matchLength = 0;
          SeedHash();
        }
      } else {
        flush = Tally(0, Window[StrStart]);
        --Lookahead;
        ++StrStart;
      }
      if (flush) FlushBlock(false);
    }
    FlushBlock(true);
  }

  void Lazy() {
    unsigned matchLength = kMinMatch - 1;
    bool matchAvailable = false;
    for (unsigned hashHead = 0; Advance(hashHead);) {
      PrevLength = matchLength;
      const unsigned prevMatch = MatchStart;
      matchLength = kMinMatch - 1;
      if (hashHead != 0 && PrevLength < Level.Lazy && StrStart - hashHead <= kMaxDist) {
        matchLength = LongestMatch(hashHead);
        if (matchLength == kMinMatch && StrStart - MatchStart > kTooFar) matchLength = kMinMatch - 1;
      }
      if (PrevLength >= kMinMatch && matchLength <= PrevLength) {
        const unsigned maxInsert = StrStart + Lookahead - kMinMatch;
        const bool flush = Tally(StrStart - 1 - prevMatch, PrevLength - kMinMatch);
        Lookahead -= PrevLength - 1;
        PrevLength -= 2;
        do {
          if (++StrStart <= maxInsert) InsertString(StrStart, hashHead);
        } while (--PrevLength != 0);
        matchAvailable = false;
        matchLength = kMinMatch - 1;
        ++StrStart;
        if (flush) FlushBlock(false);
      } else if (matchAvailable) {
        if (Tally(0, Window[StrStart - 1])) FlushBlock(false);
        ++StrStart;
        --Lookahead;
      } else {
        matchAvailable = true;
        ++StrStart;
        --Lookahead;
      }
    }
    if (matchAvailable) Tally(0, Window[StrStart - 1]);
    FlushBlock(true);
  }
};

TDeflater::TDeflater() : F(std::make_unique<TState>()) {}
TDeflater::~TDeflater() = default;

uint16_t TDeflater::LevelFlags(int Level) {
  if (Level == 1 || Level == 2) return 4;
  if (Level == 8 || Level == 9) return 2;
  return 0;
}

TDeflateResult TDeflater::Deflate(TByteSource& Input, TByteSink& Output, int Level) {
  TState& s = *F;
  s.LevelNumber = std::clamp(Level, 1, 9);
  s.Level = kLevels[s.LevelNumber];
  s.Input = &Input;
  s.Output = &Output;
  std::fill(s.Head.begin(), s.Head.end(), 0);
  s.StrStart = s.Lookahead = s.MatchStart = 0;
  s.PrevLength = kMinMatch - 1;
  s.BlockStart = 0;
  s.Eof = false;
  s.PendingLen = 0;
  s.BitBuf = 0;
  s.BitCount = 0;
  s.Written = 0;
  s.FirstBlock = true;
  s.Result = TDeflateResult{};
  s.InitBlock();
  if (s.Level.Lazymatch) s.Lazy();
  else s.Greedy();
  s.FlushPending();
  // No plain text of the file stays behind in memory.
  std::fill(s.Window.begin(), s.Window.end(), 0);
  s.Result.CompressedSize = s.Written;
  return s.Result;
}
