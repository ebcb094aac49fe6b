#include "grid/BMListX.h"
#include "grid/DatasetFieldValueListX.h"
#include "grid/FieldListsX.h"
#include "platform/testing/MemoryDataSetX.h"
#include "platform/rtl/SysUtils.h"
#include <gtest/gtest.h>

namespace {

class TListOn : public TBMListX {
public:
  explicit TListOn(TDataSet* D) : FD(D) {}
  TDataSet* GetDataSet() const override { return FD; }
  void SelectionChanged() override { ++Signals; }
  int Signals = 0;
private:
  TDataSet* FD;
};

std::unique_ptr<TTestDataSetX> People() {
  std::vector<std::vector<Variant>> Rows;
  const char* Names[] = {"d", "b", "e", "a", "c"};
  for (int I = 0; I < 5; ++I) Rows.push_back({I + 1, Names[I], Variant(double(I) * 1.5)});
  auto D = std::make_unique<TTestDataSetX>(
      std::vector<TTestDataSetX::TColumn>{{"ID", ftInteger}, {"Name", ftString}, {"Pay", ftFloat}}, std::move(Rows));
  D->Open();
  return D;
}

void SelectRecNos(TDataSet* D, TBMListX& L, std::initializer_list<int> RecNos) {
  for (int R : RecNos) {
    D->SetRecNo(R);
    L.MarkCurrentRow(true);
  }
}

std::vector<int> ListedIds(TDataSet* D, TBMListX& L) {
  std::vector<int> Ids;
  for (Integer I = 0; I < L.GetCount(); ++I) {
    D->SetBookmark(L.GetBookmark(I));
    Ids.push_back(D->FieldByName("ID")->AsInteger());
  }
  return Ids;
}

Integer ByDataSetOrder(TBMListX* List, void*, Integer A, Integer B) {
  return List->CompareItems(List->GetBookmark(A), List->GetBookmark(B));
}
}  // namespace

TEST(BMListX, KeepsDataSetOrderWithoutDuplicates) {
  auto D = People();
  TListOn L(D.get());
  EXPECT_THROW(L.MarkCurrentRow(true), Exception);  // the link has not reported the data set open
  L.SetDataSetOpen(true);
  SelectRecNos(D.get(), L, {4, 2, 5, 2});
  EXPECT_EQ(ListedIds(D.get(), L), (std::vector<int>{2, 4, 5}));
  D->SetRecNo(3);
  L.MarkCurrentRow(false);  // not listed: nothing changes
  EXPECT_EQ(L.GetCount(), 3);
  EXPECT_FALSE(L.IsCurrentRowSelected());
  D->SetRecNo(4);
  EXPECT_TRUE(L.IsCurrentRowSelected());
  L.MarkCurrentRow(false);
  EXPECT_EQ(ListedIds(D.get(), L), (std::vector<int>{2, 5}));
}

TEST(BMListX, SearchReportsInsertionPointsAndCachesTheLastAnswer) {
  auto D = People();
  TListOn L(D.get());
  L.SetDataSetOpen(true);
  Integer Index = -1;
  D->SetRecNo(1);
  const TBookmarkStr First = D->Bookmark();
  EXPECT_FALSE(L.SearchBookmark(First, Index));
  EXPECT_EQ(Index, 0);
  SelectRecNos(D.get(), L, {2, 3});
  D->SetRecNo(5);
  EXPECT_FALSE(L.SearchBookmark(D->Bookmark(), Index));
  EXPECT_EQ(Index, 2);
  // The cached answer is given even once the data set is gone, so no comparison ran.
  const TBookmarkStr Last = D->Bookmark();
  D->Close();
  EXPECT_FALSE(L.SearchBookmark(Last, Index));
  EXPECT_EQ(Index, 2);
}

TEST(BMListX, SurvivesALocalResortOfTheDataSet) {
  auto D = People();
  TListOn L(D.get());
  L.SetDataSetOpen(true);
  SelectRecNos(D.get(), L, {1, 2, 3});  // ids 1, 2, 3 = names d, b, e
  D->SetSort("Name");
  L.SortItems(nullptr, ByDataSetOrder);
  EXPECT_EQ(ListedIds(D.get(), L), (std::vector<int>{2, 1, 3}));
  D->Locate("ID", 1, {});
  EXPECT_TRUE(L.IsCurrentRowSelected());
  D->Locate("ID", 4, {});
  L.MarkCurrentRow(true);
  EXPECT_EQ(ListedIds(D.get(), L), (std::vector<int>{4, 2, 1, 3}));
}

TEST(BMListX, DeleteRecordsKeepsWhatFailedAndReenablesControls) {
  auto D = People();
  TListOn L(D.get());
  L.SetDataSetOpen(true);
  SelectRecNos(D.get(), L, {1, 3, 5});
  const int SignalsBefore = L.Signals;
  D->FailDeletes = true;
  EXPECT_THROW(L.DeleteRecords(), EDatabaseError);
  EXPECT_FALSE(D->ControlsDisabled());
  EXPECT_EQ(L.GetCount(), 3);
  EXPECT_EQ(L.Signals, SignalsBefore);
  D->FailDeletes = false;
  L.DeleteRecords();
  EXPECT_EQ(L.GetCount(), 0);
  EXPECT_EQ(D->RecordCount(), 2);
  EXPECT_EQ(L.Signals, SignalsBefore + 1);
}

TEST(BMListX, ClearingAnEmptyListSignalsNothing) {
  auto D = People();
  TListOn L(D.get());
  L.ClearBookmarks();
  EXPECT_EQ(L.Signals, 0);
}

TEST(DatasetFieldValueListX, ListsDistinctSortedValuesAndKeepsTheUsersRecord) {
  auto D = People();
  D->Edit();
  D->FieldByName("Name")->SetAsString("c");  // a duplicate of record 5's name
  D->Post();
  TDataSource Source;
  Source.SetDataSet(D.get());
  TDatasetFieldValueListX Values;
  Values.SetFieldName("Name");
  Values.SetDataSource(&Source);
  D->SetRecNo(3);
  EXPECT_EQ(Values.GetValueList()->CommaText(), QStringLiteral("a,b,c,e"));
  EXPECT_EQ(D->RecNo(), 3);
  EXPECT_FALSE(Values.OutOfDate());

  Values.SetFieldName("Missing");
  EXPECT_EQ(Values.GetValueList()->Count(), 0);
  EXPECT_TRUE(Values.OutOfDate());
}

TEST(FieldLists, ResolveInListOrderAndNameTheMissingField) {
  auto D = People();
  TFieldsArrX Fields{nullptr};
  ResolveFieldsArray(D.get(), nullptr, "Pay;ID", Fields);
  ASSERT_EQ(Fields.size(), 2u);
  EXPECT_EQ(Fields[0]->FieldName(), QStringLiteral("Pay"));
  try {
    ResolveFieldsArray(D.get(), nullptr, "ID;Nope", Fields);
    FAIL();
  } catch (const EDatabaseError& E) {
    EXPECT_TRUE(E.Message().contains("Field 'Nope' not found"));
  }
  EXPECT_EQ(Fields.size(), 2u);

  D->Edit();
  AssignFieldValues(D.get(), "Name;Pay", Variant::Null());
  EXPECT_TRUE(D->FieldByName("Name")->IsNull());
  EXPECT_TRUE(D->FieldByName("Pay")->IsNull());
  D->Cancel();
}
