#include "gridout/ExportCellText.h"
#include "dbgrid/DBGridX.h"
#include "gridout/AnsiText.h"
#include "platform/rtl/SysUtilsDecimal.h"
#include <charconv>

namespace {

using TKind = TExportCellText::TKind;

// Integer fields read their stored integers, floating-point fields (not money, which
// reads rounded to four places) their stored doubles, text fields their stored UTF-8.
TKind KindOf(const TField* Field, TStoreKind Stored) {
  switch (Field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      return dynamic_cast<const TIntegerField*>(Field) && Stored == TStoreKind::Integer ? TKind::Integer : TKind::Unread;
    case ftFloat:
      return dynamic_cast<const TFloatField*>(Field) && Stored == TStoreKind::Float ? TKind::Float : TKind::Unread;
    case ftString:
    case ftWideString:
    case ftFixedChar:
      return dynamic_cast<const TStringField*>(Field) && Stored == TStoreKind::Bytes ? TKind::Utf8 : TKind::Unread;
    default: return TKind::Unread;
  }
}

// The field's own text without a format: whole numbers in decimal, floating-point numbers
// in the general format, text as it is.
bool ShowsPlainValue(const TField* Field, TKind Kind) {
  if (Field->OnGetText) return false;
  switch (Kind) {
    case TKind::Integer: return static_cast<const TIntegerField*>(Field)->DisplayFormat().isEmpty();
    case TKind::Float: {
      const auto* floating = static_cast<const TFloatField*>(Field);
      return !floating->Currency() && floating->DisplayFormat().isEmpty();
    }
    case TKind::Utf8: return true;
    case TKind::Unread: return false;
  }
  return false;
}

}  // namespace

// A column with a key list shows texts of its own; an image-list column shows none, and
// one with a display format formats the value itself.
TExportCellText::TExportCellText(TColumnX* Column) {
  TField* field = Column->Field();
  if (!field || field->StoreColumn() < 0 || !field->DataSet() || !field->DataSet()->Active()) return;
  if (Column->KeyList()->Count() > 0) return;
  FKind = KindOf(field, field->DataSet()->StoredKind(field));
  if (FKind == TKind::Unread) return;
  FStoreColumn = field->StoreColumn();
  FWide = field->DataType() == ftLargeint;
  if (const auto* floating = dynamic_cast<const TFloatField*>(field)) FPrecision = floating->Precision();
  const TColumnX::TCellKindX cell = Column->CellKind();
  FTextDirect = Column->DisplayFormat().isEmpty() && cell != TColumnX::ckImageList && ShowsPlainValue(field, FKind);
}

void TExportCellText::AppendAnsi(TByteBuffer& Out, const TStoredRow& Row) const {
  if (IsNull(Row)) return;
  switch (FKind) {
    case TKind::Integer: {
      char* out = Out.Room(24);
      Out.Advance(std::to_chars(out, out + 24, IntegerValue(Row)).ptr);
      return;
    }
    case TKind::Float: {
      const double value = FloatValue(Row);
      if (value == 0) return Out.Append('0');
      char* out = Out.Room(GeneralFloatCharsRoom);
      if (const int length = GeneralFloatChars(value, FPrecision, out)) return Out.Advance(out + length);
      return AppendAnsiText(Out, FloatToStrF(value, ffGeneral, FPrecision, 0));
    }
    case TKind::Utf8: return AppendAnsiUtf8(Out, Utf8Value(Row));
    case TKind::Unread: return;
  }
}
