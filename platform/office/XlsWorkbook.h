#pragma once
// Reading .xls workbooks as tables: each sheet is a table named after it with
// a "$" appended, its first row gives the column names and every value is
// read as text, a formula's as the last result the workbook holds.
#include "platform/office/WorkbookErrors.h"
#include "platform/office/XlsFormulaResults.h"
#include <QHash>
#include <QPair>
#include <QStringList>
#include <memory>

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
  // Opens FileName; raises EWorkbookError when it is no readable .xls
  // workbook, or one whose formula results cannot be read.
  explicit TXlsWorkbook(const String& FileName);
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
  const void* FHandle = nullptr;
  QStringList FSheets;
  QHash<String, TSheetFormulaResults> FFormulas;
};
