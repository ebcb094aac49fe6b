// moli-xls-reader FILE: writes the sheets and cells of the .xls workbook FILE
// to standard output in the form of platform/office/XlsReaderStream.h.
// The importing program starts it with limits on time and memory and takes
// any other end than a complete output and exit status 0 as a damaged file.
#include "platform/office/XlsReaderStream.h"
#include <freexl.h>
#include <cstdio>
#include <cstring>

namespace {

void Put(const void* Bytes, std::size_t Size) { std::fwrite(Bytes, 1, Size, stdout); }

void PutByte(std::uint8_t Value) { Put(&Value, 1); }

void PutU32(std::uint32_t Value) {
  const unsigned char Bytes[4] = {static_cast<unsigned char>(Value), static_cast<unsigned char>(Value >> 8),
                                  static_cast<unsigned char>(Value >> 16), static_cast<unsigned char>(Value >> 24)};
  Put(Bytes, 4);
}

void PutU64(std::uint64_t Value) {
  PutU32(static_cast<std::uint32_t>(Value));
  PutU32(static_cast<std::uint32_t>(Value >> 32));
}

void PutText(const char* Text) {
  const std::size_t Length = Text ? std::strlen(Text) : 0;
  PutU32(static_cast<std::uint32_t>(Length));
  Put(Text, Length);
}

void PutCell(const void* Book, unsigned int Row, unsigned short Column) {
  FreeXL_CellValue Value;
  if (freexl_get_cell_value(Book, Row, Column, &Value) != FREEXL_OK) {
    PutByte(xls_reader::ctUnreadable);
    return;
  }
  switch (Value.type) {
    case FREEXL_CELL_INT:
      PutByte(xls_reader::ctInteger);
      PutU32(static_cast<std::uint32_t>(Value.value.int_value));
      return;
    case FREEXL_CELL_DOUBLE: {
      std::uint64_t Bits;
      static_assert(sizeof Bits == sizeof Value.value.double_value);
      std::memcpy(&Bits, &Value.value.double_value, sizeof Bits);
      PutByte(xls_reader::ctNumber);
      PutU64(Bits);
      return;
    }
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      PutByte(xls_reader::ctText);
      PutText(Value.value.text_value);
      return;
    default:
      PutByte(xls_reader::ctEmpty);
      return;
  }
}

void PutSheet(const void* Book, unsigned short Index) {
  const char* Name = nullptr;
  if (freexl_get_worksheet_name(Book, Index, &Name) != FREEXL_OK) Name = nullptr;
  PutText(Name);
  unsigned int Rows = 0;
  unsigned short Columns = 0;
  if (freexl_select_active_worksheet(Book, Index) != FREEXL_OK ||
      freexl_worksheet_dimensions(Book, &Rows, &Columns) != FREEXL_OK) {
    PutByte(xls_reader::sUnreadable);
    return;
  }
  PutByte(xls_reader::sReadable);
  PutU32(Rows);
  PutU32(Columns);
  for (unsigned int Row = 0; Row < Rows; ++Row)
    for (unsigned short Column = 0; Column < Columns; ++Column) PutCell(Book, Row, Column);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: moli-xls-reader FILE\n", stderr);
    return 64;
  }
  Put(xls_reader::Magic, sizeof xls_reader::Magic);
  const void* Book = nullptr;
  const int Code = freexl_open(argv[1], &Book);
  // The library answers some files it cannot read (a zero-length text in the
  // string table, for one) with success and no workbook.
  if (Code != FREEXL_OK || !Book) {
    PutByte(xls_reader::rFailed);
    PutU32(static_cast<std::uint32_t>(Code == FREEXL_OK ? FREEXL_INVALID_HANDLE : Code));
  } else {
    PutByte(xls_reader::rOpened);
    unsigned int Count = 0;
    if (freexl_get_info(Book, FREEXL_BIFF_SHEET_COUNT, &Count) != FREEXL_OK || Count > 0xFFFF) Count = 0;
    PutU32(Count);
    for (unsigned int Index = 0; Index < Count; ++Index) PutSheet(Book, static_cast<unsigned short>(Index));
  }
  Put(xls_reader::Trailer, sizeof xls_reader::Trailer);
  if (Book) freexl_close(Book);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
