#include "platform/db/RecordStore.h"
#include "platform/rtl/SysUtils.h"
#include <algorithm>
#include <limits>

void RecordStore::Reset(const std::vector<TStoreKind>& Kinds) {
  FColumns.clear();
  FColumns.resize(Kinds.size());
  for (size_t i = 0; i < Kinds.size(); ++i) FColumns[i].Kind = Kinds[i];
  FStates.clear();
}

void RecordStore::Reserve(size_t Rows) {
  for (Column& c : FColumns) {
    c.Cells.reserve(Rows);
    c.Nulls.reserve(Rows);
  }
  FStates.reserve(Rows);
}

TRowId RecordStore::AddRow() {
  if (FStates.size() >= std::numeric_limits<TRowId>::max())
    throw EDatabaseError(QStringLiteral("Too many records"));
  for (Column& c : FColumns) {
    c.Cells.push_back(Cell{0});
    c.Nulls.push_back(true);
  }
  FStates.push_back(TRowState::Unchanged);
  return TRowId(FStates.size() - 1);
}

std::string_view RecordStore::GetBytes(TRowId Row, int Col) const {
  const Column& c = FColumns[size_t(Col)];
  if (c.Nulls[Row]) return {};
  const Cell& cell = c.Cells[Row];
  return std::string_view(c.Arena.data() + cell.B.Offset, cell.B.Length);
}

void RecordStore::SetNull(TRowId Row, int Col) {
  Column& c = FColumns[size_t(Col)];
  c.Cells[Row].I = 0;
  c.Nulls[Row] = true;
}

void RecordStore::SetInt(TRowId Row, int Col, Int64 Value) {
  Column& c = FColumns[size_t(Col)];
  c.Cells[Row].I = Value;
  c.Nulls[Row] = false;
}

void RecordStore::SetFloat(TRowId Row, int Col, double Value) {
  Column& c = FColumns[size_t(Col)];
  c.Cells[Row].F = Value;
  c.Nulls[Row] = false;
}

void RecordStore::SetBytes(TRowId Row, int Col, std::string_view Value) {
  Column& c = FColumns[size_t(Col)];
  if (c.Arena.size() + Value.size() > std::numeric_limits<uint32_t>::max())
    throw EDatabaseError(QStringLiteral("Too much text in one column"));
  Cell& cell = c.Cells[Row];
  cell.B.Offset = uint32_t(c.Arena.size());
  cell.B.Length = uint32_t(Value.size());
  c.Arena.append(Value);
  c.Nulls[Row] = false;
}

int CompareBytesNoCase(std::string_view A, std::string_view B) {
  const size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char a = static_cast<unsigned char>(A[i]);
    unsigned char b = static_cast<unsigned char>(B[i]);
    if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a + 32);
    if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b + 32);
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

int RecordStore::Compare(TRowId A, TRowId B, int Col, bool IgnoreCase) const {
  const Column& c = FColumns[size_t(Col)];
  const bool nullA = c.Nulls[A], nullB = c.Nulls[B];
  if (nullA || nullB) return nullA == nullB ? 0 : (nullA ? -1 : 1);
  switch (c.Kind) {
    case TStoreKind::Integer: {
      const Int64 a = c.Cells[A].I, b = c.Cells[B].I;
      return a == b ? 0 : (a < b ? -1 : 1);
    }
    case TStoreKind::Float: {
      const double a = c.Cells[A].F, b = c.Cells[B].F;
      return a == b ? 0 : (a < b ? -1 : 1);
    }
    case TStoreKind::Bytes: {
      const std::string_view a = GetBytes(A, Col), b = GetBytes(B, Col);
      if (IgnoreCase) return CompareBytesNoCase(a, b);
      const int r = a.compare(b);
      return r == 0 ? 0 : (r < 0 ? -1 : 1);
    }
  }
  return 0;
}

bool RecordStore::SameValue(TRowId A, TRowId B, int Col) const {
  const Column& c = FColumns[size_t(Col)];
  if (c.Nulls[A] != c.Nulls[B]) return false;
  if (c.Nulls[A]) return true;
  if (c.Kind == TStoreKind::Float) {
    // Bit equality, so a NaN that went unchanged does not count as an edit.
    return c.Cells[A].I == c.Cells[B].I;
  }
  return Compare(A, B, Col, false) == 0;
}

void RecordStore::CopyRow(TRowId From, TRowId To) {
  for (int col = 0; col < ColumnCount(); ++col) {
    Column& c = FColumns[size_t(col)];
    // Byte cells may share the arena bytes: they are never written in place.
    c.Cells[To] = c.Cells[From];
    c.Nulls[To] = c.Nulls[From];
  }
}

size_t RecordStore::MemoryUsage() const {
  size_t total = FStates.capacity() * sizeof(TRowState) + FColumns.capacity() * sizeof(Column);
  for (const Column& c : FColumns)
    total += c.Cells.capacity() * sizeof(Cell) + c.Nulls.capacity() / 8 + c.Arena.capacity();
  return total;
}
