#include "grid/DBSumLst.h"
#include "platform/testing/MemoryDataSetX.h"
#include "platform/rtl/SysUtils.h"
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {
std::unique_ptr<TTestDataSetX> Values(std::vector<std::vector<Variant>> Rows) {
  auto D = std::make_unique<TTestDataSetX>(
      std::vector<TTestDataSetX::TColumn>{{"Dept", ftInteger}, {"Pay", ftFloat}, {"Bonus", ftCurrency}, {"Days", ftInteger}},
      std::move(Rows));
  D->Open();
  return D;
}

TDBSum* AddSum(TDBSumListProducer& P, TGroupOperation Op, const char* Field) {
  TDBSum* Sum = P.SumCollection()->Add();
  Sum->SetGroupOperation(Op);
  Sum->SetFieldName(Field);
  return Sum;
}

void SetDays(TDataSet* D, int RecNo, const Variant& V) {
  D->SetRecNo(RecNo);
  D->Edit();
  D->FieldByName("Days")->SetValue(V);
  D->Post();
}
}  // namespace

TEST(DBSumList, AverageFollowsNullsThroughEdits) {
  auto D = Values({{1, 0.0, Variant::Null(), 1}, {1, 0.0, Variant::Null(), Variant::Null()}, {1, 0.0, Variant::Null(), 3}});
  TDBSumListProducer P(nullptr);
  TDBSum* Avg = AddSum(P, goAvg, "Days");
  P.SetDataSet(D.get());
  EXPECT_EQ(Avg->SumValue(), 20000);
  EXPECT_EQ(Avg->NonNullValueCount(), 2);
  SetDays(D.get(), 2, 5);
  EXPECT_EQ(Avg->SumValue(), 30000);
  EXPECT_EQ(Avg->NonNullValueCount(), 3);
  SetDays(D.get(), 2, Variant::Null());
  EXPECT_EQ(Avg->SumValue(), 20000);
  for (int I = 0; I < 3; ++I) {
    D->First();
    D->Delete();
  }
  EXPECT_EQ(Avg->SumValue(), 0);
}

TEST(DBSumList, CountsRecordsAndChainsTheHandlersItFound) {
  auto D = Values({{1, 1.0, 1, 1}, {2, 2.0, 2, 2}});
  int Posts = 0;
  D->AfterPost = [&](TDataSet*) { ++Posts; };
  TDBSumListProducer P(nullptr);
  TDBSum* Count = AddSum(P, goCount, "");
  P.SetDataSet(D.get());
  EXPECT_EQ(Count->SumValue(), 20000);
  D->Append();
  D->FieldByName("Dept")->SetAsInteger(3);
  D->Post();
  EXPECT_EQ(Count->SumValue(), 30000);
  EXPECT_EQ(Posts, 1);
  D->Delete();
  EXPECT_EQ(Count->SumValue(), 20000);
  P.SetActive(false);
  EXPECT_EQ(Count->SumValue(), 0);
  D->Edit();
  D->Post();
  EXPECT_EQ(Posts, 2);  // the original handler is back in place
}

TEST(DBSumList, ExternalRecalcLeavesTheTotalsToItsHandler) {
  auto D = Values({{1, 1.5, 1, 1}});
  TDBSumListProducer P(nullptr);
  TDBSum* Sum = AddSum(P, goSum, "Pay");
  int After = 0;
  P.OnAfterRecalcAll = [&](TObject*) { ++After; };
  P.SetDataSet(D.get());
  EXPECT_EQ(Sum->SumValue(), 15000);
  EXPECT_EQ(After, 1);
  P.SetExternalRecalc(true);
  EXPECT_EQ(Sum->SumValue(), 0);
  EXPECT_EQ(After, 1);
}

TEST(DBSumList, OnlyAFilterThatTakesEffectRecalculates) {
  auto D = Values({{1, 1.0, 1, 1}, {2, 2.0, 2, 2}});
  TDBSumListProducer P(nullptr);
  int Recalcs = 0;
  P.OnRecalcAll = [&](TObject*) { ++Recalcs; };
  TDBSum* Sum = AddSum(P, goSum, "Pay");
  P.SetDataSet(D.get());
  const int Before = Recalcs;
  D->SetFilter("Dept = 2");
  D->Next();
  EXPECT_EQ(Recalcs, Before);
  D->SetFiltered(true);
  EXPECT_EQ(Recalcs, Before + 1);
  EXPECT_EQ(Sum->SumValue(), 20000);
}

TEST(DBSumList, SumsChangedInAnUpdateWalkTheRecordsOnceAtItsEnd) {
  auto D = Values({{1, 1.0, 1, 1}, {2, 2.0, 2, 2}});
  TDBSumListProducer P(nullptr);
  int Recalcs = 0;
  P.OnRecalcAll = [&](TObject*) { ++Recalcs; };
  P.SetDataSet(D.get());
  Recalcs = 0;
  P.BeginSumsUpdate();
  P.BeginSumsUpdate();
  TDBSum* Pay = AddSum(P, goSum, "Pay");
  TDBSum* Days = AddSum(P, goAvg, "Days");
  P.EndSumsUpdate();
  EXPECT_EQ(Recalcs, 0) << "an inner end holds on";
  P.EndSumsUpdate();
  EXPECT_EQ(Recalcs, 1);
  EXPECT_EQ(Pay->SumValue(), 30000);
  EXPECT_EQ(Days->SumValue(), 15000);
  P.BeginSumsUpdate();
  P.EndSumsUpdate();
  EXPECT_EQ(Recalcs, 1) << "an update that changed no sum walks nothing";
}

TEST(DBSumList, FailedWalkRestoresPositionAndControls) {
  auto D = Values({{1, 1.0, 1, 1}, {2, 2.0, 2, 2}, {3, 3.0, 3, 3}});
  TDBSumListProducer P(nullptr);
  AddSum(P, goSum, "Pay");
  P.SetDataSet(D.get());
  D->SetRecNo(2);
  int Changes = 0;
  P.SumListChanged = [&](TObject*) { ++Changes; };
  EXPECT_THROW(AddSum(P, goSum, "Missing"), EDatabaseError);
  EXPECT_FALSE(D->ControlsDisabled());
  EXPECT_EQ(D->RecNo(), 2);
  EXPECT_FALSE(P.Recalculating());
  EXPECT_GT(Changes, 0);
}

TEST(DBSumList, ValuesTooLargeForFixedPointRaiseInsteadOfWrapping) {
  auto D = Values({{1, 1e300, 1, 1}});
  TDBSumListProducer P(nullptr);
  AddSum(P, goSum, "Pay");
  EXPECT_THROW(P.SetDataSet(D.get()), EOverflow);
  EXPECT_FALSE(D->ControlsDisabled());
}

TEST(DBSumList, TextFieldsSumTheirNumbersAndCountOtherTextAsZero) {
  auto D = std::make_unique<TTestDataSetX>(std::vector<TTestDataSetX::TColumn>{{"Note", ftString}},
                                           std::vector<std::vector<Variant>>{{"12.5"}, {"abc"}, {Variant::Null()}});
  D->Open();
  TDBSumListProducer P(nullptr);
  TDBSum* Sum = AddSum(P, goSum, "Note");
  TDBSum* Avg = AddSum(P, goAvg, "Note");
  TDBSum* Count = AddSum(P, goCount, "Note");
  ASSERT_NO_THROW(P.SetDataSet(D.get()));
  EXPECT_EQ(Sum->SumValue(), 125000);
  EXPECT_EQ(Avg->SumValue(), 62500) << "a text is a value, so it counts in the average";
  EXPECT_EQ(Avg->NonNullValueCount(), 2);
  EXPECT_EQ(Count->SumValue(), 20000);
  D->SetRecNo(2);
  D->Edit();
  D->FieldByName("Note")->SetAsString("7");
  ASSERT_NO_THROW(D->Post());
  EXPECT_EQ(Sum->SumValue(), 195000);
  D->Append();
  D->FieldByName("Note")->SetAsString("n/a");
  ASSERT_NO_THROW(D->Post());
  EXPECT_EQ(Sum->SumValue(), 195000);
  EXPECT_EQ(Count->SumValue(), 30000);
  ASSERT_NO_THROW(D->Delete());
  EXPECT_EQ(Sum->SumValue(), 195000);
}

// Every aggregate must equal what a fresh walk of the visible records gives, whatever
// mix of inserts, edits, deletes, cancels and filter changes came before.
TEST(DBSumList, RandomOperationsMatchAFreshRecomputation) {
  std::mt19937 Rng(20240611);
  auto Money = [&] { return Rng() % 7 == 0 ? Variant::Null() : Variant(double(int(Rng() % 200001) - 100000) / 100.0); };
  auto Whole = [&] { return Rng() % 5 == 0 ? Variant::Null() : Variant(int(Rng() % 31)); };
  auto Bonus = [&] { return Rng() % 6 == 0 ? Variant::Null() : Variant::FromCurrency(Currency::FromScaled(Int64(Rng() % 1000000))); };
  std::vector<std::vector<Variant>> Rows;
  for (int I = 0; I < 60; ++I) Rows.push_back({int(Rng() % 4), Money(), Bonus(), Whole()});
  auto D = Values(std::move(Rows));

  TDBSumListProducer P(nullptr);
  struct TSumDef { TGroupOperation Op; const char* Field; };
  const std::vector<TSumDef> Sums = {{goSum, "Pay"}, {goAvg, "Pay"}, {goSum, "Bonus"}, {goAvg, "Days"},
                                   {goCount, ""}, {goCount, "Days"}, {goSum, "Days"}};
  for (const TSumDef& S : Sums) AddSum(P, S.Op, S.Field);
  P.SetDataSet(D.get());

  auto Fixed = [](const TField* F) -> Int64 {
    if (F->IsNull()) return 0;
    if (F->DataType() == ftCurrency) return F->AsCurrency().Scaled();
    return std::llround(F->AsFloat() * 10000.0);
  };
  auto Check = [&](int Step) {
    std::vector<Int64> Total(Sums.size(), 0), NonNull(Sums.size(), 0);
    const TBookmarkStr Here = D->IsEmpty() ? TBookmarkStr() : D->Bookmark();
    for (D->First(); !D->Eof(); D->Next())
      for (size_t I = 0; I < Sums.size(); ++I) {
        const TField* F = *Sums[I].Field ? D->FieldByName(Sums[I].Field) : nullptr;
        if (Sums[I].Op == goCount) Total[I] += (!F || !F->IsNull()) ? 10000 : 0;
        else if (!F->IsNull()) {
          Total[I] += Fixed(F);
          ++NonNull[I];
        }
      }
    if (!Here.isEmpty()) D->SetBookmark(Here);
    for (size_t I = 0; I < Sums.size(); ++I) {
      Int64 Expected = Total[I];
      if (Sums[I].Op == goAvg) Expected = NonNull[I] ? std::llround(double(Total[I]) / double(NonNull[I])) : 0;
      ASSERT_NEAR(double(P.SumCollection()->Items(Integer(I))->SumValue()), double(Expected), Sums[I].Op == goAvg ? 1 : 0)
          << "aggregate " << I << " after step " << Step;
    }
  };

  const char* Filters[] = {"Dept = 1", "Dept <> 2", "Days > 10", "Pay < 0"};
  for (int Step = 0; Step < 1000; ++Step) {
    const unsigned Op = Rng() % 100;
    const Integer Count = D->RecordCount();
    if (Count > 0) D->SetRecNo(1 + Integer(Rng() % unsigned(Count)));
    if (Op < 25) {
      D->Append();
      D->FieldByName("Dept")->SetAsInteger(int(Rng() % 4));
      D->FieldByName("Pay")->SetValue(Money());
      D->FieldByName("Bonus")->SetValue(Bonus());
      D->FieldByName("Days")->SetValue(Whole());
      if (Rng() % 5 == 0) D->Cancel();
      else D->Post();
    } else if (Op < 60 && Count > 0) {
      D->Edit();
      D->FieldByName("Pay")->SetValue(Money());
      if (Rng() % 2) D->FieldByName("Days")->SetValue(Whole());
      if (Rng() % 2) D->FieldByName("Bonus")->SetValue(Bonus());
      if (Rng() % 6 == 0) D->Cancel();
      else D->Post();
    } else if (Op < 80 && Count > 0) {
      D->Delete();
    } else if (Op < 90) {
      D->SetFilter(Filters[Rng() % 4]);
    } else {
      D->SetFiltered(!D->Filtered());
    }
    Check(Step);
    if (HasFatalFailure()) return;
  }
}
