// Importing a workbook of 65 535 pay records (the most rows an .xls sheet
// holds below its titles) into a month, as the clerk does it in the import
// window: the .xls is opened, its sheet shown and its columns matched, then
// the rows are imported and the month's totals recomputed. The peer is SQLite
// itself: the same values inserted by one prepared statement in one
// transaction, the least any import into this database can cost. Prints
// import_ms= (ours), peer_import_ms=, import_ratio= and the two parts of ours
// (open_ms=, rows_ms=). The bar is 5 s for our import.
#include "app/AppMessages.h"
#include "app/ExcelImport.h"
#include "app/uDM.h"
#include "app/uExcelLoadIn.h"
#include "app/uMain.h"
#include "bench/PayrollFixture.h"
#include "bench/RatioReporter.h"
#include "bench/XlsBookWriter.h"
#include "platform/rtl/Files.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int SheetRows = 65535;
constexpr int TextColumns = 4;

struct TBook {
  QString Month;
  QList<TImportField> Fields;
  QString File;
  QList<QStringList> Rows;  // department, code, name, e-mail, then 12 earnings and 3 deductions
};

TBook* Book = nullptr;

// The month's records, their title captions and a workbook whose first row
// holds those captions, so that the import window matches every column itself.
void MakeBook(const QString& Folder) {
  TfrmMainGZT Window(nullptr);
  Book->Month = Window.CurrentMonth();
  Book->Fields = ImportFields(Window.DBGridEh2);
  const QStringList Fields{QStringLiteral("DepartName"), QStringLiteral("EmpCode"), QStringLiteral("EmpName"),
                           QStringLiteral("EMail")};
  QStringList Order = Fields;
  for (int k = 1; k <= 12; ++k) Order << QStringLiteral("GZ%1").arg(k);
  for (int k = 1; k <= 3; ++k) Order << QStringLiteral("KK%1").arg(k);
  QStringList Titles;
  for (const QString& Field : Order)
    for (const TImportField& Import : Book->Fields)
      if (Import.FieldName.compare(Field, Qt::CaseInsensitive) == 0) Titles << Import.Caption;
  QList<bool> Numbers;
  for (int c = 0; c < Titles.size(); ++c) Numbers << (c >= TextColumns);
  Book->Rows.reserve(SheetRows);
  for (int e = 0; e < SheetRows; ++e) {
    QStringList Row{QStringLiteral("部门%1").arg(e % 12), QStringLiteral("E%1").arg(e, 5, 10, QLatin1Char('0')),
                    QStringLiteral("职员%1").arg(e), QStringLiteral("e%1@example.com").arg(e)};
    for (int k = 1; k <= 12; ++k) Row << QString::number(100.0 * k + e % 97 + 0.25, 'f', 2);
    for (int k = 1; k <= 3; ++k) Row << QString::number(50.0 * k + e % 13 + 0.37, 'f', 2);
    Book->Rows << Row;
  }
  Book->File = Folder + QStringLiteral("/records.xls");
  QFile Out(Book->File);
  if (Titles.size() != Order.size() || !Out.open(QIODevice::WriteOnly) ||
      Out.write(BenchXls::CompoundFile(BenchXls::WorkbookStream(QStringLiteral("工资"), Titles, Book->Rows, Numbers))) < 0)
    Book->File.clear();
}

void ClearMonth() {
  DM->ADOLocal->ExecuteSql(QStringLiteral("delete from TGZ where GZMonth=") + QuotedStr(Book->Month));
}

double OpenMs = 0, RowsMs = 0;

void BM_ImportWorkbook(benchmark::State& State) {
  QStringList Messages;
  const TShowMessageProc Previous = SetShowMessageProc([&](const String& Text) { Messages << Text; });
  for (auto _ : State) {
    QElapsedTimer Timer;
    Timer.start();
    TfrmExcelLoadIn Form(nullptr, Book->Month, Book->Fields);
    Form.Show();
    if (!Form.OpenWorkbook(Book->File)) State.SkipWithError("the workbook did not open");
    QApplication::processEvents();
    OpenMs += double(Timer.nsecsElapsed()) / 1e6;
    Timer.restart();
    Form.Button4Click();
    RowsMs += double(Timer.nsecsElapsed()) / 1e6;
    State.PauseTiming();
    const QString Count =
        DM->GetDataBySQL(QStringLiteral("select count(*) from TGZ where GZMonth=") + QuotedStr(Book->Month));
    if (Count != QString::number(SheetRows) || Messages.value(0) != QStringLiteral("导入数据结束！"))
      State.SkipWithError(qPrintable(QStringLiteral("the rows were not imported: %1 %2").arg(Count, Messages.join(u' '))));
    Messages.clear();
    ClearMonth();
    State.ResumeTiming();
  }
  OpenMs /= double(State.iterations());
  RowsMs /= double(State.iterations());
  SetShowMessageProc(Previous);
}

void BM_SqliteInsertPeer(benchmark::State& State) {
  sqlite3* Db = DM->ADOLocal->Database().Handle();
  QByteArray Sql = "insert into TGZ (GZMonth, DepartName, EmpCode, EmpName, EMail, ZWName, LOGTime";
  for (int k = 1; k <= 12; ++k) Sql += ", GZ" + QByteArray::number(k);
  for (int k = 1; k <= 3; ++k) Sql += ", KK" + QByteArray::number(k);
  Sql += ") values (?, ?, ?, ?, ?, ' ', 45306.5" + QByteArray(", ?").repeated(15) + ")";
  const QByteArray Month = Book->Month.toUtf8();
  for (auto _ : State) {
    sqlite3_stmt* Insert = nullptr;
    sqlite3_exec(Db, "begin", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(Db, Sql.constData(), int(Sql.size()), &Insert, nullptr);
    for (const QStringList& Row : Book->Rows) {
      sqlite3_bind_text(Insert, 1, Month.constData(), int(Month.size()), SQLITE_STATIC);
      for (int c = 0; c < TextColumns; ++c) {
        const QByteArray Text = Row[c].toUtf8();
        sqlite3_bind_text(Insert, c + 2, Text.constData(), int(Text.size()), SQLITE_TRANSIENT);
      }
      for (int c = TextColumns; c < Row.size(); ++c) sqlite3_bind_double(Insert, c + 2, Row[c].toDouble());
      if (sqlite3_step(Insert) != SQLITE_DONE) State.SkipWithError("insert failed");
      sqlite3_reset(Insert);
    }
    sqlite3_finalize(Insert);
    sqlite3_exec(Db, "commit", nullptr, nullptr, nullptr);
    State.PauseTiming();
    ClearMonth();
    State.ResumeTiming();
  }
}

BENCHMARK(BM_ImportWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SqliteInsertPeer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path() + u'/');
  QFile(Folder.filePath(QStringLiteral("NotFirst.txt"))).open(QIODevice::WriteOnly);
  TDM Module;
  DM = &Module;
  FillPayrollDatabase(*Module.ADOLocal, 0);
  TBook Made;
  Book = &Made;
  MakeBook(Folder.path());
  if (Made.File.isEmpty() || Made.Fields.isEmpty()) {
    std::fprintf(stderr, "the workbook could not be made\n");
    return 1;
  }

  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  const double Ours = Reporter.Times["BM_ImportWorkbook/iterations:3/real_time"];
  const double Peer = Reporter.Times["BM_SqliteInsertPeer/iterations:3/real_time"];
  std::printf("rows=%d import_ms=%.1f peer_import_ms=%.1f import_ratio=%.2f open_ms=%.1f rows_ms=%.1f "
              "(ours / one prepared insert; bar: import_ms <= 5000)\n",
              SheetRows, Ours, Peer, Peer > 0 ? Ours / Peer : 0.0, OpenMs, RowsMs);
  benchmark::Shutdown();
  Book = nullptr;
  DM = nullptr;
  return 0;
}
