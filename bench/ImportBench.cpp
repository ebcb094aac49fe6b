// Importing a worksheet of 65 535 pay records (the most rows an .xls sheet
// holds below its header) into a month. The peer is SQLite itself: the same
// texts inserted by one prepared statement in one transaction, the least any
// import into this database can cost. The bar is 5 s for our import.
#include "app/ExcelImport.h"
#include "app/uDM.h"
#include "bench/RatioReporter.h"
#include "platform/rtl/Files.h"
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int SheetRows = 65535;

TSheetTable MakeSheet() {
  TSheetTable Sheet;
  Sheet.Name = QStringLiteral("Sheet1$");
  Sheet.Columns = {QStringLiteral("部门"), QStringLiteral("职员编码"), QStringLiteral("姓名"), QStringLiteral("电子邮件地址")};
  for (int k = 1; k <= 12; ++k) Sheet.Columns << QStringLiteral("GZ%1").arg(k);
  for (int k = 1; k <= 3; ++k) Sheet.Columns << QStringLiteral("KK%1").arg(k);
  Sheet.Rows.reserve(SheetRows);
  for (int e = 0; e < SheetRows; ++e) {
    QStringList Row{QStringLiteral("部门%1").arg(e % 12), QStringLiteral("E%1").arg(e, 5, 10, QLatin1Char('0')),
                    QStringLiteral("职员%1").arg(e), QStringLiteral("e%1@example.com").arg(e)};
    for (int k = 1; k <= 12; ++k) Row << QString::number(100.0 * k + e % 97 + 0.25, 'f', 2);
    for (int k = 1; k <= 3; ++k) Row << QString::number(50.0 * k + e % 13, 'f', 2);
    Sheet.Rows << Row;
  }
  return Sheet;
}

QList<TImportMapping> MappingOf(const TSheetTable& Sheet) {
  const QStringList Fields{QStringLiteral("DepartName"), QStringLiteral("EmpCode"), QStringLiteral("EmpName"),
                           QStringLiteral("EMail")};
  QList<TImportMapping> Mapping;
  for (qsizetype i = 0; i < Sheet.Columns.size(); ++i)
    Mapping << TImportMapping{i < Fields.size() ? Fields[i] : Sheet.Columns[i], Sheet.Columns[i]};
  return Mapping;
}

const TSheetTable& Sheet() {
  static const TSheetTable Made = MakeSheet();
  return Made;
}

void ClearMonth() { DM->ADOLocal->ExecuteSql(QStringLiteral("delete from TGZ where GZMonth='202401'")); }

void BM_ImportSheetRows(benchmark::State& State) {
  const QList<TImportMapping> Mapping = MappingOf(Sheet());
  for (auto _ : State) {
    const TImportRun Run = ImportSheetRows(Sheet(), Mapping, QStringLiteral("202401"));
    if (Run.Imported != SheetRows) State.SkipWithError("rows were not imported");
    State.PauseTiming();
    ClearMonth();
    State.ResumeTiming();
  }
}

void BM_SqliteInsertPeer(benchmark::State& State) {
  sqlite3* Db = DM->ADOLocal->Database().Handle();
  QByteArray Sql = "insert into TGZ (GZMonth, DepartName, EmpCode, EmpName, EMail, ZWName, LOGTime";
  for (int k = 1; k <= 12; ++k) Sql += ", GZ" + QByteArray::number(k);
  for (int k = 1; k <= 3; ++k) Sql += ", KK" + QByteArray::number(k);
  Sql += ") values ('202401', ?, ?, ?, ?, ' ', 45306.5" + QByteArray(", ?").repeated(15) + ")";
  for (auto _ : State) {
    sqlite3_stmt* Insert = nullptr;
    sqlite3_exec(Db, "begin", nullptr, nullptr, nullptr);
    sqlite3_prepare_v2(Db, Sql.constData(), int(Sql.size()), &Insert, nullptr);
    for (const QStringList& Row : Sheet().Rows) {
      for (int c = 0; c < 4; ++c) {
        const QByteArray Text = Row[c].toUtf8();
        sqlite3_bind_text(Insert, c + 1, Text.constData(), int(Text.size()), SQLITE_TRANSIENT);
      }
      for (int c = 4; c < 19; ++c) sqlite3_bind_double(Insert, c + 1, Row[c].toDouble());
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

BENCHMARK(BM_ImportSheetRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SqliteInsertPeer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path() + u'/');
  TDM Module;
  DM = &Module;
  Sheet();

  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  const double Ours = Reporter.Times["BM_ImportSheetRows/iterations:3/real_time"];
  const double Peer = Reporter.Times["BM_SqliteInsertPeer/iterations:3/real_time"];
  std::printf("rows=%d import_seconds=%.3f sqlite_seconds=%.3f ratio=%.2f (ours / one prepared insert, bar 5 s)\n",
              SheetRows, Ours / 1000, Peer / 1000, Peer > 0 ? Ours / Peer : 0.0);
  DM = nullptr;
  return 0;
}
