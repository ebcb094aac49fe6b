// Tab-separated text in code page 936 and in UTF-16, and CSV on the same rows.
#include "gridout/AnsiText.h"
#include "gridout/DBGridXExportFormats.h"
#include "platform/rtl/Encodings.h"

char CsvSeparator = ';';

void TDBGridXExportAsTextBase::SaveToStream(TStream* AStream, bool WholeGrid) {
  FAtFirstRow = true;
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
    WriteText(Separator());
}

void TDBGridXExportAsTextBase::PutTitleRow(TColumnsXList* Columns) {
  StartRow();
  for (Integer i = 0; i < Columns->Count(); ++i) {
    WriteText(CellText(Columns->Items(i)->Title()->Caption()));
    if (i + 1 < Columns->Count()) WriteText(Separator());
  }
}

void TDBGridXExportAsTextBase::PutDataRow(TColumnsXList* Columns) {
  StartRow();
  FAtFirstCell = true;
  TDBGridXExport::PutDataRow(Columns);
}

void TDBGridXExportAsTextBase::PutDataCell(TColumnX*, TColCellParamsX* Params) {
  StartCell();
  WriteText(CellText(Params->Text));
}

void TDBGridXExportAsTextBase::PutFooterRow(TColumnsXList* Columns, Integer FooterRow) {
  StartRow();
  FAtFirstCell = true;
  TDBGridXExport::PutFooterRow(Columns, FooterRow);
}

void TDBGridXExportAsTextBase::PutFooterCell(Integer, Integer, TColumnX*, TFont*, TColor, TAlignment,
                                             const String& Text) {
  StartCell();
  WriteText(CellText(Text));
}

void TDBGridXExportAsText::WriteText(const String& Text) { Stream()->WriteBuffer(ToAnsiText(Text)); }

void TDBGridXExportAsUnicodeText::WriteText(const String& Text) { Stream()->WriteBuffer(StringToUtf16LE(Text)); }

TDBGridXExportAsCSV::TDBGridXExportAsCSV() : FSeparatorChar(CsvSeparator) {}

// Quotes are doubled character by character, so the trail byte of a double-byte character
// is never taken for one.
String TDBGridXExportAsCSV::CellText(const String& Text) const {
  String quoted = QStringLiteral("\"");
  quoted.reserve(Text.size() + 2);
  for (const QChar c : Text) {
    if (c == u'"') quoted += u'"';
    quoted += c;
  }
  quoted += u'"';
  return quoted;
}
