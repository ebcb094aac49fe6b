#include "skin/LzhTree.h"
#include <algorithm>

namespace lzh {

const std::array<TPositionCode, 64>& PositionEncodeTable() {
  // Codes of the upper six bits, shortest for the nearest positions.
  static const std::array<TPositionCode, 64> table = [] {
    std::array<TPositionCode, 64> t{};
    const uint8_t lengths[64] = {3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
                                 6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
                                 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};
    // Canonical assignment: each code follows the previous one in its length's numbering.
    unsigned next = 0;
    for (int i = 0; i < 64; ++i) {
      t[i] = {uint8_t(next), lengths[i]};
      next += 1u << (8 - lengths[i]);
    }
    return t;
  }();
  return table;
}

const std::array<TPositionDecode, 256>& PositionDecodeTable() {
  static const std::array<TPositionDecode, 256> table = [] {
    std::array<TPositionDecode, 256> t{};
    const auto& enc = PositionEncodeTable();
    for (int upper = 0; upper < 64; ++upper) {
      const int span = 1 << (8 - enc[upper].Length);
      for (int b = enc[upper].Code; b < enc[upper].Code + span; ++b) t[b] = {uint8_t(upper), enc[upper].Length};
    }
    return t;
  }();
  return table;
}

TLzhTree::TLzhTree() : FFreq(TableSize + 1), FPrnt(TableSize + CharCount), FSon(TableSize) {
  for (int i = 0; i < CharCount; ++i) {
    FFreq[i] = 1;
    FSon[i] = int16_t(i + TableSize);
    FPrnt[i + TableSize] = int16_t(i);
  }
  for (int i = 0, j = CharCount; j <= Root; i += 2, ++j) {
    FFreq[j] = uint16_t(FFreq[i] + FFreq[i + 1]);
    FSon[j] = int16_t(i);
    FPrnt[i] = FPrnt[i + 1] = int16_t(j);
  }
  FFreq[TableSize] = 0xFFFF;
  FPrnt[Root] = 0;
}

void TLzhTree::Rebuild() {
  // Gather the leaves at the front with halved frequencies (rounding up).
  int j = 0;
  for (int i = 0; i < TableSize; ++i) {
    if (FSon[i] >= TableSize) {
      FFreq[j] = uint16_t((FFreq[i] + 1) / 2);
      FSon[j] = FSon[i];
      ++j;
    }
  }
  // Join pairs again, inserting each new node where its frequency keeps the order.
  for (int i = 0, n = CharCount; n < TableSize; i += 2, ++n) {
    const uint16_t f = uint16_t(FFreq[i] + FFreq[i + 1]);
    int k = n - 1;
    while (f < FFreq[k]) --k;
    ++k;
    std::copy_backward(FFreq.begin() + k, FFreq.begin() + n, FFreq.begin() + n + 1);
    FFreq[k] = f;
    std::copy_backward(FSon.begin() + k, FSon.begin() + n, FSon.begin() + n + 1);
    FSon[k] = int16_t(i);
  }
  for (int i = 0; i < TableSize; ++i) {
    const int k = FSon[i];
    if (k >= TableSize)
      FPrnt[k] = int16_t(i);
    else
      FPrnt[k] = FPrnt[k + 1] = int16_t(i);
  }
}

void TLzhTree::Update(int symbol) {
  if (FFreq[Root] == MaxFreq) Rebuild();
  int c = FPrnt[symbol + TableSize];
  do {
    const unsigned k = ++FFreq[c];
    int l = c + 1;
    if (k > FFreq[l]) {
      while (k > FFreq[++l]) {
      }
      --l;
      FFreq[c] = FFreq[l];
      FFreq[l] = uint16_t(k);

      const int i = FSon[c];
      FPrnt[i] = int16_t(l);
      if (i < TableSize) FPrnt[i + 1] = int16_t(l);

      const int j = FSon[l];
      FSon[l] = int16_t(i);
      FPrnt[j] = int16_t(c);
      if (j < TableSize) FPrnt[j + 1] = int16_t(c);
      FSon[c] = int16_t(j);
      c = l;
    }
  } while ((c = FPrnt[c]) != 0);
}

}  // namespace lzh
