#pragma once
// What the .xls reader program writes on its standard output, read back by
// the import. Integers are little-endian.
//
//   "MXR1"
//   u8 result: 1 followed by i32 the reading library's error code, or 0
//   followed by u32 sheet count and each sheet:
//     u32 length and the UTF-8 bytes of its name (empty when it has none)
//     u8 0, u32 rows, u32 columns and rows × columns cells row by row,
//     or u8 1 when the sheet cannot be read
//   "END!"
//
// A cell is a tag byte and what the tag says follows.
#include <cstdint>

namespace xls_reader {

inline constexpr char Magic[4] = {'M', 'X', 'R', '1'};
inline constexpr char Trailer[4] = {'E', 'N', 'D', '!'};

enum TResult : std::uint8_t { rOpened = 0, rFailed = 1 };
enum TSheetState : std::uint8_t { sReadable = 0, sUnreadable = 1 };

enum TCellTag : std::uint8_t {
  ctEmpty = 0,       // no value: blank, or a formula whose result the import reads itself
  ctInteger = 1,     // i32
  ctNumber = 2,      // the 8 bytes of an IEEE double
  ctText = 3,        // u32 length and UTF-8 bytes (texts, dates and times as the library shows them)
  ctUnreadable = 4,  // the library cannot read the cell
};

}  // namespace xls_reader
