#pragma once
// Reading .xls workbooks as tables: each sheet is a table named after it with
// a "$" appended, its first row gives the column names and every value is
// read as text, a formula's as the last result the workbook holds. The
// workbook is read by the reader program under limits (XlsReaderProcess.h).
#include "platform/office/WorkbookErrors.h"
#include "platform/office/XlsFormulaResults.h"
#include <QHash>
#include <QPair>
#include <QStringList>
#include <optional>

struct TSheetTable {
  String Name;
  QStringList Columns;
  // The rows below the first, each as long as Columns.
  QList<QStringList> Rows;
  // Cells whose value cannot be read, by (index in Rows, column), with the
  // reason; the cell itself shows what the workbook holds (an error's name).
  QHash<QPair<int, int>, String> Unreadable;
};

class TXlsWorkbook {
public:
  // Reads FileName with the reader program beside the running program, or
  // with ReaderProgram; raises EWorkbookError when it is no readable .xls
  // workbook, one whose formula results cannot be read, or one that crashes
  // the reader or makes it exceed its limits.
  explicit TXlsWorkbook(const String& FileName, const String& ReaderProgram = String());
  ~TXlsWorkbook();
  TXlsWorkbook(const TXlsWorkbook&) = delete;
  TXlsWorkbook& operator=(const TXlsWorkbook&) = delete;

  // "Sheet1$", ... in workbook order.
  QStringList TableNames() const;
  // The table of the named sheet ("Sheet1$" or "Sheet1"); raises EWorkbookError
  // for a name the workbook does not have. A column without a name in the
  // first row is called "F" + its number from 1.
  TSheetTable ReadTable(const String& Name) const;

private:
  String FFileName;
  QStringList FSheets;
  // By sheet: its table, or why it cannot be read.
  QList<std::optional<TSheetTable>> FTables;
  QStringList FErrors;
};
