// The data set against the bare SQLite C API on a pay-record table of 100 000 rows and
// 63 columns. Prints the stepping time ratio (data set / SQLite, must be <= 1.15) and the
// memory ratio (rows held by the data set / their raw values, must be <= 3); also times
// a local sort on a text column and an UpdateBatch of 10 000 edited rows.
#include "bench/RatioReporter.h"
#include "platform/db/ADODB.h"
#include <benchmark/benchmark.h>
#include <QFile>
#include <QTemporaryDir>
#include <malloc.h>
#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr int kRows = 100000;

QByteArray CreateTableSql() {
  QByteArray sql = "CREATE TABLE TGZ (ID INTEGER PRIMARY KEY AUTOINCREMENT, GZMonth VARCHAR(50) COLLATE NOCASE, "
                   "DepartName VARCHAR(50) COLLATE NOCASE, EmpCode VARCHAR(20) COLLATE NOCASE, "
                   "EmpName VARCHAR(50) COLLATE NOCASE, ZWName VARCHAR(20) COLLATE NOCASE, WorkDays FLOAT, "
                   "HourCount FLOAT, OneDayMOney FLOAT";
  for (int i = 1; i <= 30; ++i) sql += ", GZ" + QByteArray::number(i) + " FLOAT";
  sql += ", YFTotal FLOAT";
  for (int i = 1; i <= 15; ++i) sql += ", KK" + QByteArray::number(i) + " FLOAT";
  sql += ", KKTotal FLOAT, GZTotal FLOAT, QM VARCHAR(50) COLLATE NOCASE, MobileCode VARCHAR(30), BankNo VARCHAR(30), "
         "EMail VARCHAR(50), LOGTime DATETIME, SelectStu INTEGER)";
  return sql;
}

// One shared database file, filled once.
class BenchDatabase {
public:
  BenchDatabase() {
    Path = Dir.filePath(QStringLiteral("bench.db"));
    QFile file(Path);
    file.open(QIODevice::WriteOnly);
    file.close();
    Db.Open(Path);
    Db.Exec(CreateTableSql());
    Db.Exec("BEGIN");
    QByteArray insert = "INSERT INTO TGZ VALUES (NULL";
    for (int i = 1; i < 63; ++i) insert += ",?";
    insert += ")";
    SqliteStatement stmt(Db, insert);
    static const char* departs[] = {"财务部", "生产部", "销售部", "研发部", "行政部", "Quality"};
    static const char* surnames[] = {"张", "王", "李", "赵", "钱", "孙", "周", "吴", "郑", "冯"};
    std::mt19937 rng(3);
    for (int row = 0; row < kRows; ++row) {
      stmt.Reset();
      int p = 1;
      auto text = [&](const QByteArray& s) { stmt.BindText(p++, s); };
      text("202406");
      text(departs[rng() % 6]);
      text("E" + QByteArray::number(100000 + row));
      text(QByteArray(surnames[rng() % 10]) + QByteArray(surnames[rng() % 10]) + QByteArray::number(row % 97));
      text(row % 3 ? "职员" : " ");
      for (int i = 0; i < 3; ++i) stmt.BindDouble(p++, double(rng() % 3100) / 100.0);
      double earned = 0, deducted = 0;
      for (int i = 0; i < 30; ++i) {
        const double v = i < 12 ? double(rng() % 500000) / 100.0 : 0.0;
        earned += v;
        stmt.BindDouble(p++, v);
      }
      stmt.BindDouble(p++, earned);
      for (int i = 0; i < 15; ++i) {
        const double v = i < 4 ? double(rng() % 50000) / 100.0 : 0.0;
        deducted += v;
        stmt.BindDouble(p++, v);
      }
      stmt.BindDouble(p++, deducted);
      stmt.BindDouble(p++, earned - deducted);
      text("");
      text("138" + QByteArray::number(10000000 + row));
      text("6222" + QByteArray::number(100000000000LL + row));
      text("e" + QByteArray::number(row) + "@example.com");
      text("2024-06-" + QByteArray::number(10 + row % 19) + " 09:30:00");
      stmt.BindInt64(p++, row % 2);
      stmt.Execute();
    }
    Db.Exec("COMMIT");
  }

  QTemporaryDir Dir;
  String Path;
  SqliteDatabase Db;
};

BenchDatabase& Database() {
  static BenchDatabase db;
  return db;
}

// Steps every row with the C API, reading each value once; returns the raw value bytes
// (8 per number, the UTF-8 length of text).
size_t StepBare(double& Checksum) {
  SqliteStatement stmt(Database().Db, "select * from TGZ");
  size_t bytes = 0;
  while (stmt.Step()) {
    for (int c = 0; c < stmt.ColumnCount(); ++c) {
      switch (stmt.ColumnType(c)) {
        case SQLITE_INTEGER: Checksum += double(stmt.ColumnInt64(c)); bytes += 8; break;
        case SQLITE_FLOAT: Checksum += stmt.ColumnDouble(c); bytes += 8; break;
        case SQLITE_TEXT: Checksum += double(stmt.ColumnText(c)[0]); bytes += size_t(stmt.ColumnBytes(c)); break;
        default: break;
      }
    }
  }
  return bytes;
}

struct TOpenQuery {
  TOpenQuery(TADOLockType Lock, const QString& Sql) {
    Connection.SetConnectionString(QStringLiteral("Data Source=") + Database().Path);
    Query.SetConnection(&Connection);
    Query.SetLockType(Lock);
    Query.SQL()->SetText(Sql);
  }
  TADOConnection Connection;
  TADOQuery Query;
};

size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void BM_StepSqlite(benchmark::State& state) {
  double sum = 0;
  for (auto _ : state) StepBare(sum);
  benchmark::DoNotOptimize(sum);
}

void BM_StepDataSet(benchmark::State& state) {
  TOpenQuery q(ltBatchOptimistic, QStringLiteral("select * from TGZ"));
  double sum = 0;
  for (auto _ : state) {
    q.Query.Open();
    const TField* total = q.Query.FieldByName(QStringLiteral("GZTotal"));
    for (; !q.Query.Eof(); q.Query.Next()) sum += total->AsFloat();
    q.Query.Close();
  }
  benchmark::DoNotOptimize(sum);
}

void BM_LocalSortOnText(benchmark::State& state) {
  TOpenQuery q(ltBatchOptimistic, QStringLiteral("select * from TGZ"));
  q.Query.Open();
  bool descending = false;
  for (auto _ : state) {
    q.Query.SetSort(descending ? QStringLiteral("EmpName DESC") : QStringLiteral("EmpName ASC"));
    descending = !descending;
  }
}

void BM_UpdateBatch10000(benchmark::State& state) {
  TOpenQuery q(ltBatchOptimistic, QStringLiteral("select * from TGZ where ID <= 10000"));
  for (auto _ : state) {
    state.PauseTiming();
    q.Query.Open();
    TField* pay = q.Query.FieldByName(QStringLiteral("GZ1"));
    TField* remark = q.Query.FieldByName(QStringLiteral("QM"));
    for (; !q.Query.Eof(); q.Query.Next()) {
      q.Query.Edit();
      pay->SetAsFloat(pay->AsFloat() + 1);
      remark->SetAsString(QStringLiteral("调整'后"));
      q.Query.Post();
    }
    state.ResumeTiming();
    q.Query.UpdateBatch();
    state.PauseTiming();
    q.Query.Close();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_StepSqlite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_StepDataSet)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LocalSortOnText)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_UpdateBatch10000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  Database();
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  double sum = 0;
  const size_t raw = StepBare(sum);
  size_t held = 0;
  {
    TOpenQuery q(ltBatchOptimistic, QStringLiteral("select * from TGZ"));
    const size_t before = HeapInUse();
    q.Query.Open();
    held = HeapInUse() - before;
  }
  const double speed = reporter.SpeedRatio("BM_StepDataSet/min_time:2.000", "BM_StepSqlite/min_time:2.000");
  if (speed > 0)
    std::printf("\nstepping ratio (data set / bare SQLite, must be <= 1.15): %.2f\n", 1.0 / speed);
  std::printf("memory: raw values %zu bytes, data set %zu bytes; ratio (must be <= 3): %.2f\n", raw, held,
              double(held) / double(raw));
  return 0;
}
