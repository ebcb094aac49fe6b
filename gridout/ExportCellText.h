#pragma once
// A column's cells as an export writes them straight from the values the data set
// stores, with no value object, text string or event on the way: the value itself for
// formats that write numbers, and the text the column shows where that text follows from
// the value alone. Columns that need more (key lists, calculated and lookup fields,
// dates, display formats or text events for the text) keep the way through the column.
#include "gridout/ByteBuffer.h"
#include "platform/db/DB.h"

class TColumnX;

class TExportCellText {
public:
  // How the stored value is read: Unread when it is not read straight from the store.
  enum class TKind : uint8_t { Unread, Integer, Float, Utf8 };
  explicit TExportCellText(TColumnX* Column);

  TKind Kind() const { return FKind; }
  bool Direct() const { return FKind != TKind::Unread; }
  // Whether AppendAnsi gives the text the column shows.
  bool TextDirect() const { return FTextDirect; }
  // A large integer field (Integer kind), whose values may exceed 32 bits.
  bool Wide() const { return FWide; }
  bool IsNull(const TStoredRow& Row) const { return Row.Store->IsNull(Row.Row, FStoreColumn); }
  // The stored value as the field reads it (Integer kind): narrower integer fields read
  // 32 bits.
  Int64 IntegerValue(const TStoredRow& Row) const {
    return Row.Store->GetInt(Row.Row, FStoreColumn);
  }
  double FloatValue(const TStoredRow& Row) const { return Row.Store->GetFloat(Row.Row, FStoreColumn); }
  std::string_view Utf8Value(const TStoredRow& Row) const { return Row.Store->GetBytes(Row.Row, FStoreColumn); }
  // Appends the column's text for Row in code page 936 (nothing for a null); TextDirect
  // columns only.
  void AppendAnsi(TByteBuffer& Out, const TStoredRow& Row) const;

private:
  TKind FKind = TKind::Unread;
  bool FTextDirect = false;
  bool FWide = false;
  int FStoreColumn = -1;
  Integer FPrecision = 15;  // significant digits of a floating-point field
};
