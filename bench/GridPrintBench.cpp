// Grid printing over the record grid's 63 columns and captions on a real SQLite file, long
// enough for 1 000 pages. Prints first_page_ms= (from the start of the run until the preview
// shows page 1; no page-count macro, so no counting pass comes first), count_pass_ms= (the
// same document with "&[Pages]" in the footer: the counting pass before page 1) and pages=.
// With MOLI_BENCH_OUT set to a folder it leaves grid.pdf there: 2 000 records fitted to the
// page width under the header "工资表" and the footer "第&[Page]页 共&[Pages]页", replayed
// to the PDF printer, and prints pdf_pages=.
#include "app/PayrollDatabase.h"
#include "app/RecordColumns.h"
#include "gridout/PreviewFormX.h"
#include "gridout/PrintDBGridX.h"
#include "platform/db/ADODB.h"
#include "platform/print/PrintDialogs.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const QString Font = QStringLiteral("Noto Sans CJK SC");

void FillRecords(TADOConnection& Connection, int Count) {
  QStringList amounts;
  for (int k = 1; k <= 30; ++k) amounts << QStringLiteral("GZ%1").arg(k);
  for (int k = 1; k <= 15; ++k) amounts << QStringLiteral("KK%1").arg(k);
  Connection.BeginTrans();
  for (int e = 0; e < Count; ++e) {
    QStringList values;
    for (int k = 0; k < 45; ++k) values << QString::number(k < 12 ? 100.0 * k + e % 97 : (k >= 30 && k < 33 ? 50.0 : 0), 'f', 2);
    Connection.ExecuteSql(QStringLiteral("insert into TGZ (ID, GZMonth, DepartName, EmpCode, EmpName, ZWName, "
                                         "WorkDays, OneDayMOney, %1, YFTotal, KKTotal, GZTotal, QM, MobileCode, BankNo, "
                                         "EMail, LOGTime) values (%2, '202612', '部门%3', 'E%2', '职员%2', '职员', 22, "
                                         "200, %4, 5000, 150, 4850, ' ', '13800000000', '6222', 'e@example.com', "
                                         "46000.5)")
                              .arg(amounts.join(u','))
                              .arg(e + 1)
                              .arg(e % 12)
                              .arg(values.join(u',')));
  }
  Connection.CommitTrans();
}

struct TBenchGrid {
  TADOConnection Connection;
  TADOQuery Query;
  TDataSource Source;
  TForm Form{nullptr};
  TDBGridX* Grid = new TDBGridX(&Form);
  TPrintDBGridX Print{nullptr};

  TBenchGrid(const QString& File, int Records) {
    CreatePayrollDatabase(File);
    Connection.SetConnectionString(QStringLiteral("Provider=Any;Data Source=%1").arg(File));
    Connection.Open();
    FillRecords(Connection, Records);
    Query.SetConnection(&Connection);
    Query.SQL()->SetText("select * from TGZ order by ID");
    Query.Open();
    Source.SetDataSet(&Query);
    Grid->SetParent(&Form);
    Grid->SetBounds(0, 0, 1000, 600);
    Grid->Font()->SetName(Font);
    Grid->TitleFont()->SetName(Font);
    Grid->FooterFont()->SetName(Font);
    Grid->SetUseMultiTitle(true);
    Grid->SetRowHeight(24);
    Grid->Columns()->BeginUpdate();
    for (const TRecordColumn& c : RecordColumns()) {
      TColumnX* column = Grid->Columns()->Add();
      column->SetFieldName(c.FieldName);
      // Item columns are titled by their items, as a month's items title them.
      column->Title()->SetCaption(c.Title.endsWith(u'|') ? c.Title + QStringLiteral("项目") + c.FieldName.mid(2)
                                                         : c.Title);
      column->SetVisible(c.Visible);
      column->SetWidth(c.Width);
      if (c.FieldName.startsWith(QStringLiteral("GZ")) || c.FieldName.startsWith(QStringLiteral("KK")))
        column->Footer()->SetValueType(fvtSum);
    }
    Grid->Columns()->EndUpdate();
    Grid->SetFooterRowCount(1);
    Grid->Columns()->Items(3)->Footer()->SetValueType(fvtStaticText);  // "部门"
    Grid->Columns()->Items(3)->Footer()->SetValue(QStringLiteral("合计"));
    Grid->SetDataSource(&Source);
    Print.SetDBGridX(Grid);
    Print.SetPrintFontName(Font);
    Print.PageHeader()->Font()->SetName(Font);
    Print.PageFooter()->Font()->SetName(Font);
  }
};

// Runs Preview and reports when the preview window first showed page 1.
double PreviewUntilFirstPage(TPrintDBGridX& Print) {
  QElapsedTimer timer;
  double firstPageMs = -1;
  TPreviewBox* box = nullptr;
  TNotifyEvent previous;
  SharedPrinterPreview();
  box = PreviewForm->PreviewEh1;
  previous = box->OnPrinterPreviewChanged;
  box->OnPrinterPreviewChanged = [&](TObject* Sender) {
    if (previous) previous(Sender);
    // Page 1 is complete once page 2 began: show it on the screen.
    if (firstPageMs < 0 && box->Preview()->PageFileCount() >= 2 && PreviewForm->Visible()) {
      box->DrawPanel()->Repaint();
      firstPageMs = double(timer.nsecsElapsed()) / 1e6;
    }
  };
  timer.start();
  Print.Preview();
  box->OnPrinterPreviewChanged = previous;
  return firstPageMs;
}

void PrintPdf(const QString& Folder) {
  QTemporaryDir dir;
  TBenchGrid bench(dir.filePath(QStringLiteral("VIRE.dat")), 2000);
  bench.Print.SetOptions({pghFitGridToPageWidth});
  bench.Print.PageHeader()->CenterText()->SetText(QStringLiteral("工资表"));
  bench.Print.PageFooter()->CenterText()->SetText(QStringLiteral("第&[Page]页 共&[Pages]页"));
  bench.Print.Preview();
  const QString file = QDir(Folder).filePath(QStringLiteral("grid.pdf"));
  TPrintDialogs::SetAnswer([&](TPrintDialogRequest& R) {
    R.PrinterIndex = R.PdfPrinterIndex;
    R.FileName = file;
    return true;
  });
  PreviewForm->PreviewEh1->PrintPages();
  TPrintDialogs::SetAnswer(nullptr);
  std::printf("pdf=%s\n", qPrintable(file));
  std::printf("pdf_pages=%d\n", PreviewForm->PreviewEh1->PageCount());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  // About 38 rows of the 63-column grid fit a page at 600 dpi, and the grid spreads over
  // several page groups: 7 800 records make over 1 000 pages.
  TBenchGrid bench(dir.filePath(QStringLiteral("VIRE.dat")), 7800);
  std::printf("first_page_ms=%.1f\n", PreviewUntilFirstPage(bench.Print));
  std::printf("pages=%d\n", PreviewForm->PreviewEh1->PageCount());
  bench.Print.PageFooter()->CenterText()->SetText(QStringLiteral("第&[Page]页 共&[Pages]页"));
  std::printf("count_pass_ms=%.1f\n", PreviewUntilFirstPage(bench.Print));
  if (const QString out = qEnvironmentVariable("MOLI_BENCH_OUT"); !out.isEmpty()) PrintPdf(out);
  return 0;
}
