#pragma once
// Appending pay records of a month from a workbook sheet: which record
// columns can be filled, how sheet columns are matched to them, and the
// copying of the rows.
#include "platform/office/XlsWorkbook.h"
#include <functional>

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
  // The user cancelled: nothing was kept.
  bool Cancelled = false;
  // The records could not be written: nothing was kept.
  String Failure;
};

// Told the rows read so far and the row count, now and then during an import;
// answering false cancels it.
using TImportProgress = std::function<bool(Integer Done, Integer Count)>;

// Appends one record of Month per sheet row, all written in one transaction.
// A row that cannot be stored (a value its field does not take, or one the
// workbook cannot give) is skipped whole and reported; the others go on. A cancel or a failure to write rolls
// the whole import back, so either every row but the reported ones is kept or
// none is.
TImportRun ImportSheetRows(const TSheetTable& Sheet, const QList<TImportMapping>& Mapping, const String& Month,
                           const TImportProgress& Progress = {});

// Stores the three totals of every record of Month from all its items, an
// empty item counting as 0. Raises when the statement fails.
void RecomputeMonthTotals(const String& Month);
