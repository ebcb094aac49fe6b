// Tab-separated text in code page 936 and in UTF-16, and CSV on the same rows.
#include "gridout/AnsiText.h"
#include "gridout/DBGridXExportFormats.h"
#include "platform/rtl/Encodings.h"

char CsvSeparator = ';';

void TDBGridXExportAsTextBase::SaveToStream(TStream* AStream, bool WholeGrid) {
  FAtFirstRow = true;
  FSeparator = Separator();
  TDBGridXExport::SaveToStream(AStream, WholeGrid);
}

void TDBGridXExportAsTextBase::StartRow() {
  if (FAtFirstRow)
    FAtFirstRow = false;
  else
    WriteText(QStringLiteral("\r\n"));
}

void TDBGridXExportAsTextBase::StartCell() {
  if (FAtFirstCell)
    FAtFirstCell = false;
  else
    WriteText(FSeparator);
}

void TDBGridXExportAsTextBase::PutTitleRow(TColumnsXList* Columns) {
  StartRow();
  for (Integer i = 0; i < Columns->Count(); ++i) {
    WriteCellText(Columns->Items(i)->Title()->Caption());
    if (i + 1 < Columns->Count()) WriteText(FSeparator);
  }
}

void TDBGridXExportAsTextBase::PutDataRow(TColumnsXList* Columns) {
  StartRow();
  FAtFirstCell = true;
  TDBGridXExport::PutDataRow(Columns);
}

void TDBGridXExportAsTextBase::PutDataCell(TColumnX*, TColCellParamsX* Params) {
  StartCell();
  WriteCellText(Params->Text);
}

void TDBGridXExportAsTextBase::PutFooterRow(TColumnsXList* Columns, Integer FooterRow) {
  StartRow();
  FAtFirstCell = true;
  TDBGridXExport::PutFooterRow(Columns, FooterRow);
}

void TDBGridXExportAsTextBase::PutFooterCell(Integer, Integer, TColumnX*, TFont*, TColor, TAlignment,
                                             const String& Text) {
  StartCell();
  WriteCellText(Text);
}

void TDBGridXExportAsText::WriteText(QStringView Text) {
  FBytes.resize(0);
  AppendAnsiText(FBytes, Text);
  Stream()->WriteBuffer(FBytes.constData(), Integer(FBytes.size()));
}

void TDBGridXExportAsUnicodeText::WriteText(QStringView Text) {
  Stream()->WriteBuffer(StringToUtf16LE(Text.toString()));
}

TDBGridXExportAsCSV::TDBGridXExportAsCSV() : FSeparatorChar(CsvSeparator) {}

// Quotes are doubled character by character, so the trail byte of a double-byte character
// is never taken for one.
void TDBGridXExportAsCSV::WriteCellText(QStringView Text) {
  FBytes.resize(0);
  FBytes.append('"');
  if (Text.contains(u'"')) {
    String doubled = Text.toString();
    doubled.replace(u'"', QStringLiteral("\"\""));
    AppendAnsiText(FBytes, doubled);
  } else {
    AppendAnsiText(FBytes, Text);
  }
  FBytes.append('"');
  Stream()->WriteBuffer(FBytes.constData(), Integer(FBytes.size()));
}
