// The grid as a BIFF worksheet: cells placed by counting, one record per exported cell.
#include "gridout/AnsiText.h"
#include "gridout/BiffRecords.h"
#include "gridout/DBGridXExportFormats.h"

void TDBGridXExportAsXLS::CheckFits(bool WholeGrid) {
  const Integer rows = ExportRowCount(WholeGrid);
  if (rows > MaxRows)
    throw Exception(QStringLiteral("TDBGridXExportAsXLS.SaveToStream: The worksheet holds at most %1 rows, the export has %2")
                        .arg(MaxRows)
                        .arg(rows));
}

// Rows beyond the format's 16-bit row numbers would overwrite the first rows in a reader.
void TDBGridXExportAsXLS::SaveToStream(TStream* AStream, bool WholeGrid) {
  CheckFits(WholeGrid);
  FCellRow = 0;
  FCellCol = 0;
  TDBGridXExport::SaveToStream(AStream, WholeGrid);
}

void TDBGridXExportAsXLS::SaveToFile(const String& FileName, bool WholeGrid) {
  CheckFits(WholeGrid);
  TDBGridXExport::SaveToFile(FileName, WholeGrid);
}

// A column's field, its type and whether it shows a key list's texts stay fixed while the
// export runs.
void TDBGridXExportAsXLS::BeginOutput() {
  FCellColumns.clear();
  for (Integer i = 0; i < ExportColumns()->Count(); ++i) {
    TColumnX* column = ExportColumns()->Items(i);
    TField* field = column->Field();
    FCellColumns.push_back({field, field ? field->DataType() : ftUnknown, column->CellKind() == TColumnX::ckKeyList});
  }
  BiffRecords::WriteBof(Output());
  BiffRecords::WriteCodePage(Output());
}

void TDBGridXExportAsXLS::EndOutput() { BiffRecords::WriteEof(Output()); }

void TDBGridXExportAsXLS::AdvanceCell() {
  if (FCellCol + 1 >= ExportColumns()->Count()) {
    ++FCellRow;
    FCellCol = 0;
  } else {
    ++FCellCol;
  }
}

void TDBGridXExportAsXLS::PutBlank() {
  BiffRecords::WriteBlank(Output(), Word(FCellRow), Word(FCellCol));
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutNumber(double Value) {
  BiffRecords::WriteNumber(Output(), Word(FCellRow), Word(FCellCol), Value);
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutRk(Integer Value) {
  BiffRecords::WriteRk(Output(), Word(FCellRow), Word(FCellCol), Value);
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutInteger(Int64 Value) {
  if (BiffRecords::FitsRk(Value)) return PutRk(Integer(Value));
  PutNumber(double(Value));
}

void TDBGridXExportAsXLS::PutLabel(QStringView Text) {
  const size_t start = BiffRecords::BeginLabel(Output(), Word(FCellRow), Word(FCellCol));
  AppendAnsiText(Output(), Text);
  BiffRecords::EndLabel(Output(), start);
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutTitleRow(TColumnsXList* Columns) {
  for (Integer i = 0; i < Columns->Count(); ++i) PutLabel(Columns->Items(i)->Title()->Caption());
}

// Numbers go out as numbers whatever text the column shows, a null as a blank, text as a
// label; large integers take the way of every type without a number record of its own.
bool TDBGridXExportAsXLS::PutDirectCell(const TExportCellText& Cell, const TStoredRow& Row) {
  using TKind = TExportCellText::TKind;
  if (Cell.Wide() || (Cell.Kind() == TKind::Utf8 && !Cell.TextDirect())) return false;
  if (Cell.IsNull(Row)) {
    PutBlank();
    return true;
  }
  switch (Cell.Kind()) {
    case TKind::Integer: PutInteger(Cell.IntegerValue(Row)); return true;
    case TKind::Float: PutNumber(Cell.FloatValue(Row)); return true;
    case TKind::Utf8: {
      const size_t start = BiffRecords::BeginLabel(Output(), Word(FCellRow), Word(FCellCol));
      AppendAnsiUtf8(Output(), Cell.Utf8Value(Row));
      BiffRecords::EndLabel(Output(), start);
      AdvanceCell();
      return true;
    }
    case TKind::Unread: return false;
  }
  return false;
}

void TDBGridXExportAsXLS::PutDataCell(TColumnX*, TColCellParamsX* Params) {
  const TCellColumn& column = FCellColumns[size_t(FCellCol)];
  if (!column.Field) return PutBlank();
  if (column.KeyList) return PutLabel(Params->Text);
  const Variant value = column.Field->Value();
  if (VarIsClear(value)) return PutBlank();
  switch (column.DataType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: return PutInteger(value.AsInt64());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return PutNumber(value.AsDouble());
    default: return PutLabel(Params->Text);
  }
}

void TDBGridXExportAsXLS::PutFooterCell(Integer ColumnPos, Integer FooterRow, TColumnX* Column, TFont*, TColor,
                                        TAlignment, const String& Text) {
  const TFooterValueType type = Column->FooterAt(FooterRow)->ValueType();
  if (type == fvtSum || type == fvtCount) return PutNumber(FooterTotalValue(FooterRow, ColumnPos));
  PutLabel(Text);
}
