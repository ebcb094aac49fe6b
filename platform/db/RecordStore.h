#pragma once
// The rows of an open data set, held column by column in compact form: eight bytes a
// cell plus the text bytes, so a large result costs little more than its raw values.
// A row keeps its id for its whole life in the store; ids are the data set's bookmarks.
#include "platform/rtl/Types.h"
#include <cstdint>
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

  bool IsNull(TRowId Row, int Col) const { return FColumns[size_t(Col)].Nulls[Row]; }
  Int64 GetInt(TRowId Row, int Col) const { return FColumns[size_t(Col)].Cells[Row].I; }
  double GetFloat(TRowId Row, int Col) const { return FColumns[size_t(Col)].Cells[Row].F; }
  std::string_view GetBytes(TRowId Row, int Col) const;

  void SetNull(TRowId Row, int Col);
  void SetInt(TRowId Row, int Col, Int64 Value);
  void SetFloat(TRowId Row, int Col, double Value);
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
  union Cell {
    Int64 I;
    double F;
    struct { uint32_t Offset; uint32_t Length; } B;
  };
  struct Column {
    TStoreKind Kind = TStoreKind::Integer;
    std::vector<Cell> Cells;
    std::vector<bool> Nulls;
    std::string Arena;  // bytes of the Bytes cells, appended on every write
  };
  std::vector<Column> FColumns;
  std::vector<TRowState> FStates;
};

// Byte-wise comparison with ASCII letters folded to lower case.
int CompareBytesNoCase(std::string_view A, std::string_view B);
