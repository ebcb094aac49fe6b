#include "platform/office/XlsWorkbook.h"
#include "platform/office/XlsReaderOutput.h"
#include "platform/office/XlsReaderProcess.h"
#include <QFile>

TXlsWorkbook::TXlsWorkbook(const String& FileName, const String& ReaderProgram) : FFileName(FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly))
    throw EWorkbookError(QStringLiteral("Not a readable .xls workbook: %1 (%2)").arg(FileName, File.errorString()));
  const TXlsReaderLimits Limits = XlsReaderLimitsFor(File.size());
  const QByteArray Output =
      RunXlsReader(ReaderProgram.isEmpty() ? XlsReaderProgram() : ReaderProgram, FileName, Limits);
  // The reader leaves formula cells empty; their results come from the records.
  QHash<String, TSheetFormulaResults> Formulas;
  String FormulaError;
  try {
    Formulas = ReadFormulaResults(File.readAll());
  } catch (const EWorkbookError& E) {
    FormulaError = QStringLiteral("%1: %2").arg(FileName, E.Message());
  }
  TXlsReaderResult Result = ParseXlsReaderOutput(Output, Formulas, Limits.Cells, FileName);
  if (Result.OpenError != 0)
    throw EWorkbookError(QStringLiteral("Not a readable .xls workbook: %1 (error %2)").arg(FileName).arg(Result.OpenError));
  if (!FormulaError.isEmpty()) throw EWorkbookError(FormulaError);
  for (TXlsReaderSheet& Sheet : Result.Sheets) {
    FSheets << Sheet.Name;
    FTables << std::move(Sheet.Table);
    FErrors << Sheet.Error;
  }
}

TXlsWorkbook::~TXlsWorkbook() = default;

QStringList TXlsWorkbook::TableNames() const {
  QStringList Names;
  for (const String& Sheet : FSheets) Names << Sheet + u'$';
  return Names;
}

TSheetTable TXlsWorkbook::ReadTable(const String& Name) const {
  const String Sheet = Name.endsWith(u'$') ? Name.chopped(1) : Name;
  const qsizetype Index = FSheets.indexOf(Sheet);
  if (Index < 0) throw EWorkbookError(QStringLiteral("The workbook %1 has no sheet %2").arg(FFileName, Name));
  if (!FTables[Index]) throw EWorkbookError(FErrors[Index]);
  return *FTables[Index];
}
