// Opening the main window over a payroll office's data (24 months of 500
// employees): start-up steps, the month list and the newest month's records,
// shown and painted once. The peer reads the same months and records into
// plain data sets; the ratio shows what the window adds to the reading.
#include "app/uDM.h"
#include "app/uMain.h"
#include "bench/PayrollFixture.h"
#include "bench/RatioReporter.h"
#include "platform/rtl/Files.h"
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

void BM_OpenMainWindow(benchmark::State& State) {
  for (auto _ : State) {
    TfrmMainGZT Window(nullptr);
    Window.Show();
    Window.Handle()->repaint();
    QApplication::processEvents();
    benchmark::DoNotOptimize(Window.dsGZDetail->RecordCount());
  }
}

void BM_ReadMonthAndRecords(benchmark::State& State) {
  for (auto _ : State) {
    TADODataSet Months, Records;
    Months.SetConnection(DM->ADOLocal);
    Months.SetCommandText(QStringLiteral("select * from TGZMonth order by ID desc"));
    Months.Open();
    Records.SetConnection(DM->ADOLocal);
    Records.SetCommandText(QStringLiteral("select * from TGZ where GZMonth=") +
                           QuotedStr(Months.FieldByName(QStringLiteral("GZMonth"))->AsString()) +
                           QStringLiteral(" order by DepartName,EmpName"));
    Records.Open();
    benchmark::DoNotOptimize(Records.RecordCount());
  }
}

BENCHMARK(BM_OpenMainWindow)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ReadMonthAndRecords)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path() + u'/');
  QFile(Folder.filePath(QStringLiteral("NotFirst.txt"))).open(QIODevice::WriteOnly);
  TDM Module;
  DM = &Module;
  FillPayrollDatabase(*Module.ADOLocal);

  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  const double Window = Reporter.Times["BM_OpenMainWindow/iterations:5/real_time"];
  const double Reading = Reporter.Times["BM_ReadMonthAndRecords/iterations:5/real_time"];
  std::printf("open_ms=%.0f (bar 1000) read_ms=%.0f window / reading: %.1fx\n", Window, Reading,
              Reading > 0 ? Window / Reading : 0.0);
  benchmark::Shutdown();
  DM = nullptr;
  return 0;
}
