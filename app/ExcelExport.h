#pragma once
// Handing a grid to a spreadsheet program: the grid's visible columns and
// every record written into a workbook in the database folder, which is then
// opened with the desktop's program for it.
#include "platform/rtl/Types.h"

class TDBGridX;
class TColumnX;

// "DB/tmp" + the local time as "yyMMddHHmmss" + Extension under the program
// folder; two exports within one second share the name.
String ExportFileName(const String& Extension);

// The text a data cell shows in a workbook: for a key-list column the
// pick-list entry whose key equals the field's text (nothing when no key
// does), otherwise the field's text.
String ExportCellText(TColumnX* Column);

// The grid's visible columns and every record written by the grid library as a BIFF
// worksheet (.xls) and opened; the title is not used. Returns the file; failures raise.
String ExportGridToXls(const String& Title, TDBGridX* Grid);

// An .xlsx with the whole caption of each visible column in row 1 and one
// row per record below; opened afterwards. Returns the file; a closed data
// set is reported with a message and gives an empty name. Failures raise.
String ExportGridToExcel(const String& Title, TDBGridX* Grid);

// As ExportGridToExcel with two header rows: a caption "group|item" puts the
// group over the item, a caption without "|" spans both rows, and the
// earnings ("应发工资") and deductions ("应扣/代扣工资") groups are merged over
// their columns up to their "合计" column. Header cells are centred, wrapped,
// bold and bordered in a CJK font.
String ExportGridToExcelGrouped(const String& Title, TDBGridX* Grid);
