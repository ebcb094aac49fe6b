// Backing up the data folder of a payroll office with 24 months of 500
// employees each. The peer is Info-ZIP's "zip -6 -r" of the same folder; the
// ratio shows what the database snapshot and our deflater cost. With
// MOLI_BENCH_OUT set, the data folder is left there as "dbdir/" and our
// archive as "backup.GZBK", for checking with unzip and a database reader.
#include "app/DataBackup.h"
#include "app/uDM.h"
#include "bench/RatioReporter.h"
#include "platform/rtl/Files.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int MonthCount = 24;
constexpr int EmployeeCount = 500;

String ProgramPath;

void FillDatabase() {
  TADOConnection* Connection = DM->ADOLocal;
  Connection->BeginTrans();
  for (int m = 0; m < MonthCount; ++m) {
    const String Month = QStringLiteral("%1%2").arg(2023 + m / 12).arg(m % 12 + 1, 2, 10, QLatin1Char('0'));
    Connection->ExecuteSql(QStringLiteral("insert into TGZMonth (GZMonth) values ('%1')").arg(Month));
    for (int e = 0; e < EmployeeCount; ++e) {
      QStringList Amounts;
      double Gross = 0;
      for (int k = 1; k <= 30; ++k) {
        const double Value = k <= 12 ? 100.0 * k + e % 97 + 0.25 * (m % 4) : 0;
        Gross += Value;
        Amounts << QString::number(Value, 'f', 2);
      }
      for (int k = 1; k <= 15; ++k) Amounts << QString::number(k <= 3 ? 50.0 * k + e % 13 : 0, 'f', 2);
      Connection->ExecuteSql(
          QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpCode, EmpName, ZWName, WorkDays, OneDayMOney, %1, "
                         "YFTotal, KKTotal, GZTotal, QM, MobileCode, BankNo, EMail, LOGTime, SelectStu) values "
                         "('%2', '部门%3', 'E%4', '职员%4', '职员', 22, 200, %5, %6, 300, %7, ' ', '1380000%4', "
                         "'6222%4', 'e%4@example.com', 45306.5, 0)")
              .arg([] {
                QStringList Columns;
                for (int k = 1; k <= 30; ++k) Columns << QStringLiteral("GZ%1").arg(k);
                for (int k = 1; k <= 15; ++k) Columns << QStringLiteral("KK%1").arg(k);
                return Columns.join(u',');
              }())
              .arg(Month)
              .arg(e % 12)
              .arg(e, 4, 10, QLatin1Char('0'))
              .arg(Amounts.join(u','))
              .arg(Gross, 0, 'f', 2)
              .arg(Gross - 300, 0, 'f', 2));
    }
  }
  Connection->CommitTrans();
}

String ArchivePath() { return ProgramPath + QStringLiteral("backup.GZBK"); }
String PeerArchivePath() { return ProgramPath + QStringLiteral("peer.zip"); }

void BM_BackupDataFolder(benchmark::State& State) {
  for (auto _ : State) {
    QFile::remove(ArchivePath());
    BackupDataFolder(*DM->ADOLocal, ProgramPath, ArchivePath());
  }
}

void BM_InfoZipPeer(benchmark::State& State) {
  for (auto _ : State) {
    QFile::remove(PeerArchivePath());
    QProcess Zip;
    Zip.setWorkingDirectory(DataFolder(ProgramPath));
    Zip.start(QStringLiteral("zip"), {QStringLiteral("-6"), QStringLiteral("-r"), QStringLiteral("-q"),
                                      PeerArchivePath(), QStringLiteral(".")});
    if (!Zip.waitForFinished(-1) || Zip.exitCode() != 0) State.SkipWithError("zip failed");
  }
}

BENCHMARK(BM_BackupDataFolder)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_InfoZipPeer)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void CopyFolder(const String& Source, const String& Target) {
  QDir().mkpath(Target);
  for (const QFileInfo& Entry : QDir(Source).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    const String To = Target + u'/' + Entry.fileName();
    if (Entry.isDir())
      CopyFolder(Entry.filePath(), To);
    else
      QFile::copy(Entry.filePath(), To);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  QTemporaryDir Folder;
  ProgramPath = Folder.path() + u'/';
  SetProgramFolder(ProgramPath);
  TDM Module;
  DM = &Module;
  FillDatabase();

  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  const double Ours = Reporter.Times["BM_BackupDataFolder/iterations:5/real_time"];
  const double Peer = Reporter.Times["BM_InfoZipPeer/iterations:5/real_time"];
  std::printf("backup_seconds=%.3f zip_seconds=%.3f ratio=%.2f (ours / zip -6 -r, bar 1.5)\n", Ours / 1000,
              Peer / 1000, Peer > 0 ? Ours / Peer : 0.0);

  const QString Out = qEnvironmentVariable("MOLI_BENCH_OUT");
  if (!Out.isEmpty()) {
    Module.ADOLocal->Close();
    QDir(Out + QStringLiteral("/dbdir")).removeRecursively();
    CopyFolder(DataFolder(ProgramPath), Out + QStringLiteral("/dbdir"));
    QFile::remove(Out + QStringLiteral("/backup.GZBK"));
    QFile::copy(ArchivePath(), Out + QStringLiteral("/backup.GZBK"));
    std::printf("left %s/dbdir and %s/backup.GZBK\n", qPrintable(Out), qPrintable(Out));
  }
  benchmark::Shutdown();
  DM = nullptr;
  return 0;
}
