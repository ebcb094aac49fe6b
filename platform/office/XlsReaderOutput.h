#pragma once
// The sheets of an .xls workbook from the output of the reader program
// (XlsReaderStream.h), which may be anything when the workbook was hostile:
// every field is checked and the cells are bounded by a budget the caller
// sets from the file's size.
#include "platform/office/XlsWorkbook.h"
#include <optional>

struct TXlsReaderSheet {
  String Name;
  // The table, or empty when the sheet cannot be read; then Error says why.
  std::optional<TSheetTable> Table;
  String Error;
};

struct TXlsReaderResult {
  // The reading library's error code when it could not open the workbook, else 0.
  int OpenError = 0;
  QList<TXlsReaderSheet> Sheets;
};

// Reads Output; formula cells (empty in the output) take their results from
// Formulas. A sheet whose rows and columns add up to more than MaxCells in
// all raises, as does any output that does not follow the form; the messages
// name FileName.
TXlsReaderResult ParseXlsReaderOutput(const QByteArray& Output, const QHash<String, TSheetFormulaResults>& Formulas,
                                      qint64 MaxCells, const String& FileName);
