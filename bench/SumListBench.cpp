// Footer sums over 100 000 records and 50 summed columns. Times the full recalculation
// against a bare walk that reads the same fields (the peer), and one edited record with
// the sums kept current against the same edit without sums: the edit must cost about the
// same either way, since it adjusts the totals instead of walking the records.
#include "bench/RatioReporter.h"
#include "grid/DBSumLst.h"
#include "platform/testing/MemoryDataSetX.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 50;

std::unique_ptr<TTestDataSetX> MakeDataSet() {
  std::vector<TTestDataSetX::TColumn> Columns;
  for (int C = 0; C < kColumns; ++C) Columns.push_back({QStringLiteral("GZ%1").arg(C + 1), ftFloat});
  std::mt19937 Rng(7);
  std::vector<std::vector<Variant>> Rows(kRows);
  for (auto& Row : Rows)
    for (int C = 0; C < kColumns; ++C) Row.push_back(Rng() % 11 == 0 ? Variant::Null() : Variant(double(Rng() % 500000) / 100.0));
  auto D = std::make_unique<TTestDataSetX>(std::move(Columns), std::move(Rows));
  D->Open();
  return D;
}

TTestDataSetX& Shared() {
  static std::unique_ptr<TTestDataSetX> D = MakeDataSet();
  return *D;
}

void AddSums(TDBSumListProducer& P) {
  P.SumCollection()->BeginUpdate();
  for (int C = 0; C < kColumns; ++C) {
    TDBSum* Sum = P.SumCollection()->Add();
    Sum->SetGroupOperation(C % 5 == 0 ? goAvg : goSum);
    Sum->SetFieldName(QStringLiteral("GZ%1").arg(C + 1));
  }
  P.SumCollection()->EndUpdate();
}

void BM_BareWalk(benchmark::State& State) {
  TTestDataSetX& D = Shared();
  std::vector<TField*> Fields;
  for (int C = 0; C < kColumns; ++C) Fields.push_back(D.Fields()->Fields(C));
  for (auto _ : State) {
    double Total = 0;
    D.DisableControls();
    for (D.First(); !D.Eof(); D.Next())
      for (TField* F : Fields)
        if (!F->IsNull()) Total += F->AsFloat();
    D.EnableControls();
    benchmark::DoNotOptimize(Total);
  }
}

void BM_RecalcAll(benchmark::State& State) {
  TTestDataSetX& D = Shared();
  TDBSumListProducer P(nullptr);
  AddSums(P);
  P.SetDataSet(&D);
  for (auto _ : State) P.RecalcAll();
  P.SetDataSet(nullptr);
}

void EditOneRecord(TTestDataSetX& D, int Step) {
  D.SetRecNo(1 + (Step * 7919) % kRows);
  D.Edit();
  D.Fields()->Fields(Step % kColumns)->SetAsFloat(double(Step % 1000) / 4.0);
  D.Post();
}

void BM_EditWithoutSums(benchmark::State& State) {
  TTestDataSetX& D = Shared();
  int Step = 0;
  for (auto _ : State) EditOneRecord(D, ++Step);
}

void BM_EditWithSums(benchmark::State& State) {
  TTestDataSetX& D = Shared();
  TDBSumListProducer P(nullptr);
  AddSums(P);
  P.SetDataSet(&D);
  int Step = 0;
  for (auto _ : State) EditOneRecord(D, ++Step);
  P.SetDataSet(nullptr);
}

}  // namespace

// One unit for all, so the printed ratios compare like with like.
BENCHMARK(BM_BareWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcAll)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditWithoutSums)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditWithSums)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  std::printf("recalculation / bare walk: %.2f\n", 1.0 / Reporter.SpeedRatio("BM_RecalcAll", "BM_BareWalk"));
  std::printf("edit with sums / edit without: %.2f\n", 1.0 / Reporter.SpeedRatio("BM_EditWithSums", "BM_EditWithoutSums"));
  std::printf("full recalculation / one edit with sums: %.0f\n",
              Reporter.SpeedRatio("BM_EditWithSums", "BM_RecalcAll"));
  benchmark::Shutdown();
  return 0;
}
