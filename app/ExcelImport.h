#pragma once
// Appending pay records of a month from a workbook sheet: which record
// columns can be filled, how sheet columns are matched to them, and the
// copying of the rows.
#include "platform/office/XlsWorkbook.h"

class TDBGridX;

// A record column that can be filled from a sheet column.
struct TImportField {
  String Caption;    // the grid column's whole title ("应发工资|基本工资")
  String FieldName;
};

// The visible record-grid columns from the department to the e-mail address,
// without the three totals, in grid order. Taken from the columns themselves,
// so a caption holding blanks keeps its own field.
QList<TImportField> ImportFields(TDBGridX* Grid);

// The index of the first sheet column named Name, letter case ignored; -1 when none.
Integer FindSheetColumn(const TSheetTable& Sheet, const String& Name);

// A record field and the sheet column that fills it.
struct TImportMapping {
  String FieldName;
  String SheetColumn;
};

struct TImportRowFailure {
  Integer SheetRow = 0;  // as the sheet numbers it: 2 is the first row below the names
  String Reason;
};

struct TImportRun {
  Integer Imported = 0;
  QList<TImportRowFailure> Skipped;
};

// Appends one record of Month per sheet row, each written at once. A row
// that cannot be stored (a value its field does not take) is skipped whole
// and reported; the others go on.
TImportRun ImportSheetRows(const TSheetTable& Sheet, const QList<TImportMapping>& Mapping, const String& Month);

// Stores the three totals of every record of Month from all its items, an
// empty item counting as 0. Raises when the statement fails.
void RecomputeMonthTotals(const String& Month);
