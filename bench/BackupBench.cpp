// Backing up the data folder of a payroll office with 24 months of 500
// employees each. The peer is Info-ZIP's "zip -6 -r" of the same folder; the
// ratio shows what the database snapshot and our deflater cost. With
// MOLI_BENCH_OUT set, the data folder is left there as "dbdir/" and our
// archive as "backup.GZBK", for checking with unzip and a database reader.
#include "app/DataBackup.h"
#include "app/uDM.h"
#include "bench/PayrollFixture.h"
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

String ProgramPath;

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
  FillPayrollDatabase(*Module.ADOLocal);

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
