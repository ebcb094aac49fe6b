// Recomputing a month of pay records: every record of a full pay structure
// (30 earnings and 15 deductions, half of them formulas, plus income tax) is
// loaded into the editor's slots and recalculated. The peer is the same
// arithmetic written directly in C++; the program prints the time for the
// 10 000 records (at most 60 ms) and the ratio to the peer.
#include "app/PayRecordCalc.h"
#include "app/uDM.h"
#include "bench/RatioReporter.h"
#include "platform/rtl/Files.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

namespace {

constexpr int RecordCount = 10000;

std::vector<TTaxBracket> Brackets() {
  return {{3000, 3, 0},      {12000, 10, 210},  {25000, 20, 1410}, {35000, 25, 2660},
          {55000, 30, 4410}, {80000, 35, 7160}, {1e12, 45, 15160}};
}

String Name(const char* Prefix, int k) { return QString::fromLatin1(Prefix) + QString::number(k); }

// Earnings: E0 is the base pay; every odd item is a formula over the base and its neighbour.
// Deductions: social security and housing fund on the base, income tax, and a few small rates.
void BuildStructure(TPayRecordCalc& Calc) {
  std::vector<TPayItem> Earnings, Deductions;
  for (int k = 0; k < TPayRecordCalc::EarningsSlotCount; ++k) {
    const String Formula = k % 2 == 1 ? QStringLiteral("([E0]+[%1])*0.05+10").arg(Name("E", k - 1)) : QStringLiteral(" ");
    Earnings.push_back({Name("E", k), Name("GZ", k + 1), Formula});
  }
  for (int k = 0; k < TPayRecordCalc::DeductionSlotCount; ++k) {
    String Formula = QStringLiteral(" ");
    if (k == 0) Formula = QStringLiteral("[E0]*0.08");
    else if (k == 1) Formula = QStringLiteral("[E0]*0.12");
    else if (k == 2) Formula = TPayRecordCalc::TaxMarker;
    else if (k % 3 == 0) Formula = QStringLiteral("[%1]*0.01").arg(Name("E", k));
    Deductions.push_back({Name("D", k), Name("KK", k + 1), Formula});
  }
  Calc.SetItems(sgEarnings, Earnings);
  Calc.SetItems(sgDeductions, Deductions);
  Calc.TaxBrackets = Brackets();
}

double BasePay(int Record) { return 3000 + (Record % 997) * 13.5; }

// The box texts of a record as the editor loads them; made before timing starts.
std::vector<QStringList> RecordTexts() {
  std::vector<QStringList> Records;
  for (int r = 0; r < RecordCount; ++r) {
    QStringList Texts;
    for (int k = 0; k < TPayRecordCalc::EarningsSlotCount; ++k)
      Texts << FormatFloat(QStringLiteral("0.00"), k == 0 ? BasePay(r) : 100 + k);
    for (int k = 0; k < TPayRecordCalc::DeductionSlotCount; ++k) Texts << QStringLiteral("5");
    Records.push_back(Texts);
  }
  return Records;
}

void LoadRecord(TPayRecordCalc& Calc, const QStringList& Texts) {
  for (int k = 0; k < TPayRecordCalc::EarningsSlotCount; ++k) Calc.Slot(sgEarnings, k).Text = Texts[k];
  for (int k = 0; k < TPayRecordCalc::DeductionSlotCount; ++k)
    Calc.Slot(sgDeductions, k).Text = Texts[TPayRecordCalc::EarningsSlotCount + k];
}

void BM_RecalcWithFormulas(benchmark::State& State) {
  Settings().GGSLimit = 5000;
  Settings().GShowFloat = 1;
  TPayRecordCalc Calc;
  BuildStructure(Calc);
  const std::vector<QStringList> Records = RecordTexts();
  for (auto _ : State) {
    for (const QStringList& Texts : Records) {
      LoadRecord(Calc, Texts);
      Calc.ReCalcAll();
    }
    benchmark::DoNotOptimize(Calc.GZTotalText);
  }
  State.counters["records_per_second"] = benchmark::Counter(double(RecordCount), benchmark::Counter::kIsIterationInvariantRate);
}

// The same structure computed on numbers, rounding each formula result to cents as the slots do.
void BM_RecalcNative(benchmark::State& State) {
  const std::vector<TTaxBracket> Taxes = Brackets();
  const auto Cents = [](long double v) { return std::round(v * 100) / 100; };
  for (auto _ : State) {
    long double Net = 0;
    for (int r = 0; r < RecordCount; ++r) {
      long double E[TPayRecordCalc::EarningsSlotCount], D[TPayRecordCalc::DeductionSlotCount];
      for (int k = 0; k < TPayRecordCalc::EarningsSlotCount; ++k) E[k] = k == 0 ? BasePay(r) : 100 + k;
      for (int k = 0; k < TPayRecordCalc::DeductionSlotCount; ++k) D[k] = 5;
      for (int k = 1; k < TPayRecordCalc::EarningsSlotCount; k += 2) E[k] = Cents((E[0] + E[k - 1]) * 0.05L + 10);
      D[0] = Cents(E[0] * 0.08L);
      D[1] = Cents(E[0] * 0.12L);
      D[2] = 0;
      long double Base = 0;
      for (long double v : E) Base += v;
      for (long double v : D) Base -= v;
      D[2] = Cents(IncomeTax(Base, 5000, Taxes));
      for (int k = 3; k < TPayRecordCalc::DeductionSlotCount; k += 3) D[k] = Cents(E[k] * 0.01L);
      long double Earned = 0, Deducted = 0;
      for (long double v : E) Earned += v;
      for (long double v : D) Deducted += v;
      Net += Cents(Earned) - Cents(Deducted);
    }
    benchmark::DoNotOptimize(Net);
  }
  State.counters["records_per_second"] = benchmark::Counter(double(RecordCount), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_RecalcWithFormulas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalcNative)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication Application(argc, argv);
  // The settings belong to a data module, which wants a program folder with its database.
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path() + u'/');
  TDM Module;
  DM = &Module;
  benchmark::Initialize(&argc, argv);
  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  const double Formulas = Reporter.Times["BM_RecalcWithFormulas"];
  const double Native = Reporter.Times["BM_RecalcNative"];
  if (Formulas > 0 && Native > 0)
    std::printf("10 000 records: %.1f ms (must be <= 60); formulas / native: %.1fx\n", Formulas, Formulas / Native);
  benchmark::Shutdown();
  DM = nullptr;
  return 0;
}
