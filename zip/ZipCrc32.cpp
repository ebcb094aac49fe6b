#include "zip/ZipCrc32.h"
#include <array>
#include <cstring>

namespace {

// Eight tables let the update consume eight bytes per step; table 0 is the classic one.
struct TCrcTables {
  std::array<std::array<uint32_t, 256>, 8> T{};
  TCrcTables() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      T[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
      for (int k = 1; k < 8; ++k) T[k][n] = T[0][T[k - 1][n] & 0xFF] ^ (T[k - 1][n] >> 8);
  }
};

const TCrcTables& Tables() {
  static const TCrcTables tables;
  return tables;
}

}  // namespace

const uint32_t* ZipCrcTable() { return Tables().T[0].data(); }

uint32_t ZipCrcUpdate(uint32_t Running, const uint8_t* Data, size_t Count) {
  const auto& t = Tables().T;
  uint32_t c = Running;
  while (Count >= 8) {
    uint32_t lo, hi;
    std::memcpy(&lo, Data, 4);
    std::memcpy(&hi, Data + 4, 4);
    lo ^= c;
    c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
        t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    Data += 8;
    Count -= 8;
  }
  while (Count--) c = t[0][(c ^ *Data++) & 0xFF] ^ (c >> 8);
  return c;
}
