#pragma once
// The constants of the deflate format shared by the compressor and the
// decoder: length and distance codes, the order of the code-length code, the
// fixed Huffman code, and the bit reversal that turns canonical codes into
// the least-significant-bit-first order they are sent in.
#include <cstdint>

namespace deflate {

constexpr int kLengthCodes = 29;
constexpr int kDistanceCodes = 30;
constexpr int kCodeLengthCodes = 19;

// Shortest length (3-258) and distance (1-32768) of each code, and the extra
// bits that follow it.
inline constexpr uint16_t kLengthBase[kLengthCodes] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr uint8_t kLengthExtra[kLengthCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr uint16_t kDistanceBase[kDistanceCodes] = {1,    2,    3,    4,    5,    7,     9,     13,    17,   25,
                                                           33,   49,   65,   97,   129,  193,   257,   385,   513,  769,
                                                           1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
inline constexpr uint8_t kDistanceExtra[kDistanceCodes] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block sends the code lengths of its code-length code.
inline constexpr uint8_t kCodeLengthOrder[kCodeLengthCodes] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// The fixed code: 288 literal/length symbols and 32 distance symbols (the
// last two of each never used), with these bit lengths.
constexpr int kFixedLiteralSymbols = 288;
constexpr int kFixedDistanceSymbols = 32;
constexpr int kFixedDistanceLength = 5;
constexpr uint8_t FixedLiteralLength(int Symbol) { return Symbol < 144 ? 8 : Symbol < 256 ? 9 : Symbol < 280 ? 7 : 8; }

// The low Length bits of Code in reverse order.
constexpr uint32_t ReverseBits(uint32_t Code, unsigned Length) {
  uint32_t r = 0;
  for (unsigned i = 0; i < Length; ++i, Code >>= 1) r = (r << 1) | (Code & 1);
  return r;
}

}  // namespace deflate
