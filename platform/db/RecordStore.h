#pragma once
// The rows of an open data set in compact form: eight bytes a cell, a bit a cell for
// nulls, plus the text bytes, so a large result costs little more than its raw values.
// A row keeps its id for its whole life in the store; ids are the data set's bookmarks.
// A row's cells lie side by side and rows lie in blocks of a fixed count; text is
// appended to large chunks. Reading a result thus fills memory in few sequential streams
// and never copies it to a larger buffer. Only the first block and the first chunks
// grow, which keeps small results small; the later ones are large enough to be mapped
// in huge pages, since faulting in a large result page by page would otherwise cost as
// much as reading it from the database.
#include "platform/rtl/Types.h"
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using TRowId = uint32_t;

// How a column's cells are held: whole numbers (also Booleans), doubles (also
// date-times and money), or bytes (UTF-8 text and blobs).
enum class TStoreKind : uint8_t { Integer, Float, Bytes };

// A row's standing against the database: the batch writer reads it.
enum class TRowState : uint8_t { Unchanged, Modified, Inserted, Deleted };

class RecordStore {
public:
  void Reset(const std::vector<TStoreKind>& Kinds);
  void Reserve(size_t Rows);
  int ColumnCount() const { return int(FColumns.size()); }
  TStoreKind Kind(int Col) const { return FColumns[size_t(Col)].Kind; }

  // A new row with every cell null.
  TRowId AddRow();
  // Number of row ids handed out (rows and snapshots, live or not).
  size_t RowSlots() const { return FStates.size(); }

  bool IsNull(TRowId Row, int Col) const { return (NullWord(Row, Col) >> (Col & 63)) & 1; }
  Int64 GetInt(TRowId Row, int Col) const { return RowCells(Row)[Col].I; }
  double GetFloat(TRowId Row, int Col) const { return RowCells(Row)[Col].F; }
  std::string_view GetBytes(TRowId Row, int Col) const;

  void SetNull(TRowId Row, int Col);
  void SetInt(TRowId Row, int Col, Int64 Value) {
    RowCells(Row)[Col].I = Value;
    SetPresent(Row, Col);
  }
  void SetFloat(TRowId Row, int Col, double Value) {
    RowCells(Row)[Col].F = Value;
    SetPresent(Row, Col);
  }
  void SetBytes(TRowId Row, int Col, std::string_view Value);

  // Order of two cells of one column: nulls first, text compared byte-wise with ASCII
  // letters folded when asked (the order SQLite's NOCASE collation gives).
  int Compare(TRowId A, TRowId B, int Col, bool IgnoreCase) const;
  bool SameValue(TRowId A, TRowId B, int Col) const;
  void CopyRow(TRowId From, TRowId To);

  TRowState State(TRowId Row) const { return FStates[Row]; }
  void SetState(TRowId Row, TRowState Value) { FStates[Row] = Value; }

  // Bytes held by the store, for memory accounting.
  size_t MemoryUsage() const;

private:
  // A value, or in the words after a row's cells, the null bits of its cells. A Bytes
  // cell locates its bytes in the text chunks.
  union Cell {
    Int64 I;
    double F;
    struct { uint32_t Offset; uint32_t Length; } B;
    uint64_t Bits;
  };
  struct Column {
    TStoreKind Kind = TStoreKind::Integer;
  };
  struct FreeMemory {
    void operator()(char* Memory) const;
  };
  using TMemory = std::unique_ptr<char, FreeMemory>;

  Cell* RowCells(TRowId Row) { return FBlockData[Row >> FBlockBits] + size_t(Row & FBlockMask) * FStride; }
  const Cell* RowCells(TRowId Row) const { return FBlockData[Row >> FBlockBits] + size_t(Row & FBlockMask) * FStride; }
  uint64_t& NullWord(TRowId Row, int Col) { return RowCells(Row)[FColumns.size() + size_t(Col >> 6)].Bits; }
  uint64_t NullWord(TRowId Row, int Col) const { return RowCells(Row)[FColumns.size() + size_t(Col >> 6)].Bits; }
  void SetPresent(TRowId Row, int Col) { NullWord(Row, Col) &= ~(uint64_t(1) << (Col & 63)); }
  void SetNullBit(TRowId Row, int Col) { NullWord(Row, Col) |= uint64_t(1) << (Col & 63); }
  // Room for Length more text bytes; returns the offset they go to.
  uint64_t ReserveText(size_t Length);

  std::vector<Column> FColumns;
  // Rows of FStride cells: the values, then the null words. A block holds FBlockMask + 1
  // rows; the first grows to that, the later ones are allocated whole.
  std::vector<Cell> FFirstBlock;
  std::vector<TMemory> FLaterBlocks;
  std::vector<Cell*> FBlockData;  // where each block's rows start
  size_t FStride = 0;
  unsigned FBlockBits = 0;
  TRowId FBlockMask = 0;
  // Text offsets name a window of the text chunks and a place in it: a chunk takes one
  // window, or as many as a value larger than a window needs. Text is appended on
  // every write.
  std::vector<TMemory> FTextChunks;
  std::vector<char*> FTextWindows;  // where each window starts
  uint64_t FTextEnd = 0, FTextLimit = 0;
  size_t FTextBytes = 0;  // bytes of the chunks
  std::vector<TRowState> FStates;
};

// Byte-wise comparison with ASCII letters folded to lower case.
int CompareBytesNoCase(std::string_view A, std::string_view B);
