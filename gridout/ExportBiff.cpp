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

void TDBGridXExportAsXLS::BeginOutput() {
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
  BiffRecords::WriteLabel(Stream(), Word(FCellRow), Word(FCellCol), ToAnsiText(Text));
  AdvanceCell();
}

void TDBGridXExportAsXLS::PutTitleRow(TColumnsXList* Columns) {
  for (Integer i = 0; i < Columns->Count(); ++i) PutLabel(Columns->Items(i)->Title()->Caption());
}

void TDBGridXExportAsXLS::PutDataCell(TColumnX* Column, TColCellParamsX* Params) {
  TField* field = Column->Field();
  if (!field) return PutBlank();
  if (Column->CellKind() == TColumnX::ckKeyList) return PutLabel(Params->Text);
  if (field->IsNull()) return PutBlank();
  switch (field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
      const Int64 value = field->Value().AsInt64();
      if (BiffRecords::FitsRk(value)) return PutRk(Integer(value));
      return PutNumber(double(value));
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return PutNumber(field->AsFloat());
    default: return PutLabel(Params->Text);
  }
}

void TDBGridXExportAsXLS::PutFooterCell(Integer ColumnPos, Integer FooterRow, TColumnX* Column, TFont*, TColor,
                                        TAlignment, const String& Text) {
  const TFooterValueType type = Column->FooterAt(FooterRow)->ValueType();
  if (type == fvtSum || type == fvtCount) return PutNumber(FooterTotalValue(FooterRow, ColumnPos));
  PutLabel(Text);
}
