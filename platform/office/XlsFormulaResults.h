#pragma once
// The last results of the formula cells of an .xls workbook, as the program
// that saved it computed them. The .xls reading library leaves formula cells
// empty, so their results are read from the workbook's records here.
#include "platform/office/WorkbookErrors.h"
#include <QByteArray>
#include <QHash>
#include <QPair>

struct TFormulaResult {
  enum TKind { frNumber, frText, frBoolean, frError, frEmpty };
  TKind Kind = frEmpty;
  double Value = 0;  // a number, or 1 and 0 for a Boolean
  String Text;       // a text, or an error's name ("#DIV/0!")
};

// Cell (row, column), both from 0, to its formula's result.
using TSheetFormulaResults = QHash<QPair<int, int>, TFormulaResult>;

// The formula results of every worksheet, by sheet name, from the bytes of an
// .xls file (a compound document holding a BIFF8 "Workbook" stream). Reads in
// time and memory proportional to the file; raises EWorkbookError naming what
// it cannot read.
QHash<String, TSheetFormulaResults> ReadFormulaResults(const QByteArray& File);
