#pragma once
// Reading .xls workbooks as tables: each sheet is a table named after it with
// a "$" appended, its first row gives the column names and every value is
// read as text.
#include "platform/office/WorkbookErrors.h"
#include <QStringList>
#include <memory>

struct TSheetTable {
  String Name;
  QStringList Columns;
  // The rows below the first, each as long as Columns.
  QList<QStringList> Rows;
};

class TXlsWorkbook {
public:
  // Opens FileName; raises EWorkbookError when it is no readable .xls workbook.
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
};
