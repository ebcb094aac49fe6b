#include "platform/office/XlsWorkbook.h"
#include <QFile>
#include <QLocale>
#include <freexl.h>

namespace {

// Numbers as a person typed them: no exponent, no trailing zeros, "." as
// decimal point whatever the machine's locale, and as many digits as it
// takes to read back the very same number.
String NumberText(double Value) {
  if (Value == 0) return QStringLiteral("0");
  return String::number(Value, 'f', QLocale::FloatingPointShortest);
}

}  // namespace

TXlsWorkbook::TXlsWorkbook(const String& FileName) : FFileName(FileName) {
  const int Code = freexl_open(FileName.toLocal8Bit().constData(), &FHandle);
  // The library answers some files it cannot read (a zero-length text in the
  // string table, for one) with success and no workbook.
  if (Code != FREEXL_OK || !FHandle) {
    if (FHandle) freexl_close(FHandle);
    FHandle = nullptr;
    throw EWorkbookError(QStringLiteral("Not a readable .xls workbook: %1 (error %2)").arg(FileName).arg(Code));
  }
  // The library leaves formula cells empty; their results come from the records.
  QFile File(FileName);
  try {
    if (!File.open(QIODevice::ReadOnly)) throw EWorkbookError(File.errorString());
    FFormulas = ReadFormulaResults(File.readAll());
  } catch (const EWorkbookError& E) {
    freexl_close(FHandle);
    FHandle = nullptr;
    throw EWorkbookError(QStringLiteral("%1: %2").arg(FileName, E.Message()));
  }
  unsigned int Count = 0;
  freexl_get_info(FHandle, FREEXL_BIFF_SHEET_COUNT, &Count);
  for (unsigned int Index = 0; Index < Count; ++Index) {
    const char* Name = nullptr;
    if (freexl_get_worksheet_name(FHandle, static_cast<unsigned short>(Index), &Name) == FREEXL_OK && Name)
      FSheets << String::fromUtf8(Name);
    else
      FSheets << QStringLiteral("Sheet%1").arg(Index + 1);
  }
}

TXlsWorkbook::~TXlsWorkbook() {
  if (FHandle) freexl_close(FHandle);
}

QStringList TXlsWorkbook::TableNames() const {
  QStringList Names;
  for (const String& Sheet : FSheets) Names << Sheet + u'$';
  return Names;
}

TSheetTable TXlsWorkbook::ReadTable(const String& Name) const {
  const String Sheet = Name.endsWith(u'$') ? Name.chopped(1) : Name;
  const qsizetype Index = FSheets.indexOf(Sheet);
  if (Index < 0) throw EWorkbookError(QStringLiteral("The workbook %1 has no sheet %2").arg(FFileName, Name));
  if (freexl_select_active_worksheet(FHandle, static_cast<unsigned short>(Index)) != FREEXL_OK)
    throw EWorkbookError(QStringLiteral("The sheet %1 of %2 cannot be read").arg(Name, FFileName));
  unsigned int RowCount = 0;
  unsigned short ColumnCount = 0;
  if (freexl_worksheet_dimensions(FHandle, &RowCount, &ColumnCount) != FREEXL_OK)
    throw EWorkbookError(QStringLiteral("The sheet %1 of %2 cannot be read").arg(Name, FFileName));

  TSheetTable Table;
  const TSheetFormulaResults Formulas = FFormulas.value(Sheet);
  const auto FormulaText = [&](unsigned int Row, unsigned short Column) {
    const auto Found = Formulas.constFind(qMakePair(int(Row), int(Column)));
    if (Found == Formulas.constEnd()) return String();
    switch (Found->Kind) {
      case TFormulaResult::frNumber: return NumberText(Found->Value);
      case TFormulaResult::frText: return Found->Text;
      case TFormulaResult::frBoolean: return Found->Value != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
      case TFormulaResult::frEmpty: return String();
      case TFormulaResult::frError: break;
    }
    if (Row > 0)
      Table.Unreadable.insert(qMakePair(int(Row) - 1, int(Column)),
                              QStringLiteral("公式的结果是错误值 %1").arg(Found->Text));
    return Found->Text;
  };
  const auto CellText = [&](unsigned int Row, unsigned short Column) {
    FreeXL_CellValue Value;
    if (freexl_get_cell_value(FHandle, Row, Column, &Value) != FREEXL_OK)
      throw EWorkbookError(QStringLiteral("Cell %1,%2 of sheet %3 in %4 cannot be read").arg(Row + 1).arg(Column + 1).arg(Name, FFileName));
    switch (Value.type) {
      case FREEXL_CELL_INT: return String::number(Value.value.int_value);
      case FREEXL_CELL_DOUBLE: return NumberText(Value.value.double_value);
      case FREEXL_CELL_TEXT:
      case FREEXL_CELL_SST_TEXT:
      case FREEXL_CELL_DATE:
      case FREEXL_CELL_DATETIME:
      case FREEXL_CELL_TIME: return String::fromUtf8(Value.value.text_value);
      default: return FormulaText(Row, Column);
    }
  };

  Table.Name = Sheet + u'$';
  for (unsigned short Column = 0; Column < ColumnCount; ++Column) {
    const String Caption = RowCount > 0 ? CellText(0, Column).trimmed() : String();
    Table.Columns << (Caption.isEmpty() ? QStringLiteral("F%1").arg(Column + 1) : Caption);
  }
  if (RowCount > 1) Table.Rows.reserve(qsizetype(RowCount) - 1);
  for (unsigned int Row = 1; Row < RowCount; ++Row) {
    QStringList Values;
    Values.reserve(ColumnCount);
    for (unsigned short Column = 0; Column < ColumnCount; ++Column) Values << CellText(Row, Column);
    Table.Rows << Values;
  }
  return Table;
}
