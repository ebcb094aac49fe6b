#pragma once
// The adaptive Huffman coder shared by the skin package decoder and our packer: both sides
// must grow and rebuild the same tree symbol by symbol, so it lives in one place.
#include <array>
#include <cstdint>
#include <vector>

namespace lzh {

constexpr int RingSize = 4096;                        // N
constexpr int MaxMatch = 60;                          // F
constexpr int Threshold = 2;                          // matches up to this length are sent as literals
constexpr int CharCount = 256 - Threshold + MaxMatch;  // literal and length symbols: 314
constexpr int TableSize = CharCount * 2 - 1;          // tree nodes: 627
constexpr int Root = TableSize - 1;                   // 626
constexpr unsigned MaxFreq = 0x8000;                  // the tree is rebuilt when the root reaches it
constexpr int RingStart = RingSize - MaxMatch;        // 4036: first write position, earlier bytes are spaces

// Upper six bits of a match position: a prefix code of 3 to 8 bits, code in the high bits of a byte.
struct TPositionCode {
  uint8_t Code;
  uint8_t Length;
};
const std::array<TPositionCode, 64>& PositionEncodeTable();
// Lookup by the next eight input bits: the upper six position bits and how many bits the prefix took.
struct TPositionDecode {
  uint8_t Upper;
  uint8_t Length;
};
const std::array<TPositionDecode, 256>& PositionDecodeTable();

class TLzhTree {
public:
  // Allocates the frequency, parent and child tables with every leaf at frequency 1.
  TLzhTree();
  // Counts one more occurrence of the symbol, keeping the nodes ordered by frequency.
  void Update(int symbol);
  int Child(int node) const { return FSon[node]; }
  int Parent(int node) const { return FPrnt[node]; }
  // Leaf node of a symbol.
  int LeafOf(int symbol) const { return FPrnt[symbol + TableSize]; }

private:
  void Rebuild();
  std::vector<uint16_t> FFreq;  // TableSize + 1 entries, the last a sentinel
  std::vector<int16_t> FPrnt;   // TableSize + CharCount: parents, then the leaf of each symbol
  std::vector<int16_t> FSon;    // TableSize: the smaller child, or symbol + TableSize for a leaf
};

}  // namespace lzh
