// Tab-separated text in code page 936 and in UTF-16, and CSV on the same rows.
#include "gridout/AnsiText.h"
#include "gridout/DBGridXExportFormats.h"
#include "dbgrid/DBGridXCenter.h"
#include "platform/rtl/Encodings.h"
#include <cstring>
#include <string>

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
    WriteSeparator();
}

void TDBGridXExportAsTextBase::PutTitleRow(TColumnsXList* Columns) {
  StartRow();
  for (Integer i = 0; i < Columns->Count(); ++i) {
    WriteCellText(Columns->Items(i)->Title()->Caption());
    if (i + 1 < Columns->Count()) WriteSeparator();
  }
}

void TDBGridXExportAsTextBase::PutDataRow(TColumnsXList* Columns) {
  StartRow();
  FAtFirstCell = true;
  TDBGridXExport::PutDataRow(Columns);
}

bool TDBGridXExportAsTextBase::WritesNumericEditText() const { return DBGridXCenter().ExportNumbersAsEditText; }

void TDBGridXExportAsTextBase::PutDataCell(TColumnX* Column, TColCellParamsX* Params) {
  StartCell();
  const bool editText = WritesNumericEditText() && dynamic_cast<TNumericField*>(Column->Field());
  WriteCellText(editText ? Column->EditText() : Params->Text);
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

void TDBGridXExportAsText::SaveToStream(TStream* AStream, bool WholeGrid) {
  FAnsiSeparator = ToAnsiText(Separator());
  TDBGridXExportAsTextBase::SaveToStream(AStream, WholeGrid);
}

void TDBGridXExportAsText::WriteText(QStringView Text) { AppendAnsiText(Output(), Text); }

bool TDBGridXExportAsText::PutDirectCell(const TExportCellText& Cell, const TStoredRow& Row) {
  if (!Cell.TextDirect() || (Cell.Kind() != TExportCellText::TKind::Utf8 && WritesNumericEditText())) return false;
  StartCell();
  WriteDirectCellText(Cell, Row);
  return true;
}

void TDBGridXExportAsText::WriteDirectCellText(const TExportCellText& Cell, const TStoredRow& Row) {
  Cell.AppendAnsi(Output(), Row);
}

void TDBGridXExportAsUnicodeText::WriteText(QStringView Text) {
  const QByteArray bytes = StringToUtf16LE(Text.toString());
  Output().Append(bytes.constData(), size_t(bytes.size()));
}

TDBGridXExportAsCSV::TDBGridXExportAsCSV() : FSeparatorChar(CsvSeparator) {}

namespace {

// Closes the quotes around the cell text written from Start on, doubling the quotes inside.
// A quote byte never belongs to a double-byte character: the code page's trail bytes start
// at 0x40.
void CloseQuotedCell(TByteBuffer& Out, size_t Start) {
  const size_t length = Out.Size() - Start;
  if (!std::memchr(Out.Data() + Start, '"', length)) return Out.Append('"');
  const std::string text(Out.Data() + Start, length);
  Out.Truncate(Start);
  for (const char byte : text) {
    Out.Append(byte);
    if (byte == '"') Out.Append('"');
  }
  Out.Append('"');
}

}  // namespace

void TDBGridXExportAsCSV::WriteCellText(QStringView Text) {
  Output().Append('"');
  const size_t start = Output().Size();
  AppendAnsiText(Output(), Text);
  CloseQuotedCell(Output(), start);
}

// A number's text holds no quote, unless the decimal separator is one.
void TDBGridXExportAsCSV::WriteDirectCellText(const TExportCellText& Cell, const TStoredRow& Row) {
  Output().Append('"');
  const size_t start = Output().Size();
  Cell.AppendAnsi(Output(), Row);
  if (Cell.Kind() == TExportCellText::TKind::Utf8 || DecimalSeparator == u'"')
    CloseQuotedCell(Output(), start);
  else
    Output().Append('"');
}
