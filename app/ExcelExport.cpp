#include "app/ExcelExport.h"
#include "app/AppMessages.h"
#include "app/uPub.h"
#include "dbgrid/DBGridX.h"
#include "gridout/DBGridXExportFormats.h"
#include "gridout/DBGridXImpExp.h"
#include "platform/office/XlsxWriter.h"
#include "platform/rtl/Files.h"
#include <QDateTime>

namespace {

const String CjkFont = QStringLiteral("宋体");

QList<TColumnX*> VisibleColumns(TDBGridX* Grid) {
  QList<TColumnX*> Columns;
  for (Integer i = 0; i < Grid->Columns()->Count(); ++i)
    if (Grid->Columns()->Items(i)->Visible()) Columns << Grid->Columns()->Items(i);
  return Columns;
}

TDataSet* OpenDataSet(TDBGridX* Grid) {
  TDataSource* Source = Grid->DataSource();
  TDataSet* DataSet = Source ? Source->DataSet() : nullptr;
  if (DataSet && DataSet->Active()) return DataSet;
  ShowAppMessage(QStringLiteral("查询过程没有执行，没有数据库可以发送！"));
  return nullptr;
}

enum class TCellKind { Text, Number, Date };

// How a column's cells go into a workbook: amounts and counts as numbers and
// dates as dates, each with the format the column shows them in, so a
// spreadsheet can sum and sort them; key-list and text columns as text.
struct TExportColumn {
  TColumnX* Column;
  TCellKind Kind = TCellKind::Text;
  TXlsxCellFormat Format;
};

// A shown date format in the spreadsheet's letters: minutes are "mm" there.
String SpreadsheetDateFormat(const String& Shown, TFieldType Type) {
  if (Shown.isEmpty()) {
    if (Type == ftDate) return QStringLiteral("yyyy-mm-dd");
    if (Type == ftTime) return QStringLiteral("hh:mm:ss");
    return QStringLiteral("yyyy-mm-dd hh:mm:ss");
  }
  return Shown.toLower().replace(QStringLiteral("nn"), QStringLiteral("mm"));
}

TExportColumn ExportColumnOf(TColumnX* Column, const TXlsxCellFormat& Base) {
  TExportColumn Result{Column, TCellKind::Text, Base};
  TField* Field = Column->Field();
  if (!Field || Column->KeyList()->Count() > 0) return Result;
  switch (Field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: {
      Result.Kind = TCellKind::Number;
      const auto* Numeric = dynamic_cast<const TNumericField*>(Field);
      Result.Format.NumberFormat = !Column->DisplayFormat().isEmpty() ? Column->DisplayFormat()
                                   : Numeric                          ? Numeric->DisplayFormat()
                                                                      : String();
      return Result;
    }
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      Result.Kind = TCellKind::Date;
      Result.Format.NumberFormat = SpreadsheetDateFormat(Column->DisplayFormat(), Field->DataType());
      return Result;
    default: return Result;
  }
}

// Writes one row per record from FirstRow on, leaving the data set after its last record.
void WriteRecords(TXlsxWriter& Writer, TDataSet* DataSet, const QList<TColumnX*>& Columns, Integer FirstRow,
                  const TXlsxCellFormat& Format) {
  QList<TExportColumn> Cells;
  for (TColumnX* Column : Columns) Cells << ExportColumnOf(Column, Format);
  const TDisableControlsLock Quiet(DataSet);
  Integer Row = FirstRow;
  for (DataSet->First(); !DataSet->Eof(); DataSet->Next(), ++Row)
    for (qsizetype k = 0; k < Cells.size(); ++k) {
      const TExportColumn& Cell = Cells[k];
      TField* Field = Cell.Column->Field();
      if (Cell.Kind == TCellKind::Text)
        Writer.Write(Row, Integer(k), ExportCellText(Cell.Column), Cell.Format);
      else if (Field->IsNull())
        Writer.WriteBlank(Row, Integer(k), Cell.Format);
      else
        Writer.WriteNumber(Row, Integer(k), Cell.Kind == TCellKind::Date ? double(Field->AsDateTime()) : double(Field->AsFloat()),
                           Cell.Format);
    }
}

String Finish(TXlsxWriter& Writer, const String& FileName) {
  Writer.Close();
  ShellOpen(FileName, String());
  return FileName;
}

}  // namespace

String ExportFileName(const String& Extension) {
  return ResolvePath(Settings().GAppPath, QStringLiteral("DB")) + QStringLiteral("/tmp") +
         QDateTime::currentDateTime().toString(QStringLiteral("yyMMddHHmmss")) + Extension;
}

String ExportGridToXls(const String&, TDBGridX* Grid) {
  const String FileName = ExportFileName(QStringLiteral(".xls"));
  ExportGridToFile(ExportClassOf<TDBGridXExportAsXLS>(), Grid, FileName, true);
  ShellOpen(FileName, String());
  return FileName;
}

String ExportCellText(TColumnX* Column) {
  TField* Field = Column->Field();
  const String Text = Field ? Field->Text() : String();
  if (Column->KeyList()->Count() == 0) return Text;
  const Integer Index = Column->KeyList()->IndexOf(Text);
  return Index >= 0 && Index < Column->PickList()->Count() ? Column->PickList()->Strings(Index) : String();
}

String ExportGridToExcel(const String&, TDBGridX* Grid) {
  TDataSet* DataSet = OpenDataSet(Grid);
  if (!DataSet) return String();
  const QList<TColumnX*> Columns = VisibleColumns(Grid);
  const String FileName = ExportFileName(QStringLiteral(".xlsx"));
  TXlsxWriter Writer(FileName);
  for (qsizetype k = 0; k < Columns.size(); ++k) Writer.Write(0, Integer(k), Columns[k]->Title()->Caption());
  WriteRecords(Writer, DataSet, Columns, 1, {});
  return Finish(Writer, FileName);
}

String ExportGridToExcelGrouped(const String&, TDBGridX* Grid) {
  TDataSet* DataSet = OpenDataSet(Grid);
  if (!DataSet) return String();
  const QList<TColumnX*> Columns = VisibleColumns(Grid);
  const String FileName = ExportFileName(QStringLiteral(".xlsx"));
  TXlsxCellFormat Cell;
  Cell.Wrap = true;
  Cell.CentreVertically = true;
  Cell.ThinBorder = true;
  Cell.FontName = CjkFont;
  TXlsxCellFormat Header = Cell;
  Header.Centre = true;
  Header.Bold = true;

  TXlsxWriter Writer(FileName);
  Integer Earnings = -1, EarningsTotal = -1, Deductions = -1, DeductionsTotal = -1;
  for (qsizetype k = 0; k < Columns.size(); ++k) {
    const String Caption = Columns[k]->Title()->Caption();
    const Integer Col = Integer(k);
    const qsizetype Bar = Caption.indexOf(u'|');
    if (Bar < 0) {
      Writer.Merge(0, Col, 1, Col, Caption, Header);
      continue;
    }
    Writer.Write(0, Col, Caption.left(Bar), Header);
    Writer.Write(1, Col, Caption.mid(Bar + 1), Header);
    if (Earnings < 0 && Caption.contains(QStringLiteral("应发工资"))) Earnings = Col;
    if (Deductions < 0 && Caption.contains(QStringLiteral("应扣/代扣工资"))) Deductions = Col;
    if (Caption == QStringLiteral("应发工资|合计")) EarningsTotal = Col;
    if (Caption == QStringLiteral("应扣/代扣工资|合计")) DeductionsTotal = Col;
  }
  // A group of one column needs no merge.
  const auto MergeGroup = [&](Integer First, Integer Last, const String& Caption) {
    if (First >= 0 && Last > First) Writer.Merge(0, First, 0, Last, Caption, Header);
  };
  MergeGroup(Earnings, EarningsTotal, QStringLiteral("应发工资"));
  MergeGroup(Deductions, DeductionsTotal, QStringLiteral("应扣/代扣工资"));
  WriteRecords(Writer, DataSet, Columns, 2, Cell);
  return Finish(Writer, FileName);
}
