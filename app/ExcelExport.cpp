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

// Writes one row per record from FirstRow on, leaving the data set after its last record.
void WriteRecords(TXlsxWriter& Writer, TDataSet* DataSet, const QList<TColumnX*>& Columns, Integer FirstRow,
                  const TXlsxCellFormat& Format) {
  const TDisableControlsLock Quiet(DataSet);
  Integer Row = FirstRow;
  for (DataSet->First(); !DataSet->Eof(); DataSet->Next(), ++Row)
    for (qsizetype k = 0; k < Columns.size(); ++k) Writer.Write(Row, Integer(k), ExportCellText(Columns[k]), Format);
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
