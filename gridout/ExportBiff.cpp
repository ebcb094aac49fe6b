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
  BiffRecords::WriteBof(Stream());
  BiffRecords::WriteCodePage(Stream());
}

void TDBGridXExportAsXLS::EndOutput() { BiffRecords::WriteEof(Stream()); }

void TDBGridXExportAsXLS::AdvanceCell() {
  if (FCellCol + 1 >= ExportColumns()->Count()) {
    ++FCellRow;
    FCellCol = 0;
  } else {
    ++FCellCol;
  }
}

void TDBGridXExportAsXLS::PutBlank() {
  BiffRecords::WriteBlank(Stream(), Word(FCellRow), Word(FCellCol));
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutNumber(double Value) {
  BiffRecords::WriteNumber(Stream(), Word(FCellRow), Word(FCellCol), Value);
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutRk(Integer Value) {
  BiffRecords::WriteRk(Stream(), Word(FCellRow), Word(FCellCol), Value);
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutLabel(const String& Text) {
  FLabelBytes.resize(0);
  AppendAnsiText(FLabelBytes, Text);
  BiffRecords::WriteLabel(Stream(), Word(FCellRow), Word(FCellCol), FLabelBytes);
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutTitleRow(TColumnsXList* Columns) {
  for (Integer i = 0; i < Columns->Count(); ++i) PutLabel(Columns->Items(i)->Title()->Caption());
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
    case ftAutoInc: {
      const Int64 whole = value.AsInt64();
      if (BiffRecords::FitsRk(whole)) return PutRk(Integer(whole));
      return PutNumber(double(whole));
    }
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
