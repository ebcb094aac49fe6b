#include "platform/rtl/Contnrs.h"
#include <QStringList>
#include "platform/rtl/tests/TrackedObject.h"
#include <gtest/gtest.h>

namespace {

using Tracked = moli::testing::TrackedObject;

TEST(ObjectList, OwningListDeletesRemovedReplacedAndRemainingObjects) {
  int deleted = 0;
  auto* kept = new Tracked(deleted);
  {
    TObjectList list;
    list.Add(new Tracked(deleted));
    list.Add(kept);
    list.Add(new Tracked(deleted));
    list.Delete(0);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(list.Extract(kept), kept);
    EXPECT_EQ(deleted, 1);
    list.SetItems(0, new Tracked(deleted));
    EXPECT_EQ(deleted, 2);
  }
  EXPECT_EQ(deleted, 3);
  delete kept;
}

TEST(ObjectList, NonOwningListLeavesObjectsAlone) {
  int deleted = 0;
  Tracked a(deleted), b(deleted);
  {
    TObjectList list(false);
    list.Add(&a);
    list.Add(&b);
    list.Move(0, 1);
    EXPECT_EQ(list.First(), &b);
    EXPECT_EQ(list.Remove(&a), 1);
    EXPECT_EQ(list.IndexOf(&a), -1);
  }
  EXPECT_EQ(deleted, 0);
}

TEST(List, IndexErrorsAndSort) {
  int values[] = {3, 1, 2};
  TList list;
  for (int& v : values) list.Add(&v);
  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  EXPECT_EQ(*static_cast<int*>(list.First()), 1);
  EXPECT_EQ(*static_cast<int*>(list.Last()), 3);
  try {
    list.Items(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Insert(5, nullptr), EListError);
  EXPECT_THROW(TList().First(), EListError);
}

}  // namespace

namespace {

class Column : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  String Title;
  void SetTitle(const String& Value) {
    Title = Value;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* other = dynamic_cast<Column*>(Source)) SetTitle(other->Title);
    else TCollectionItem::Assign(Source);
  }
  String DisplayName() const override { return Title.isEmpty() ? TCollectionItem::DisplayName() : Title; }
};

// Records every Update call: the changed item, or nullptr for the whole collection.
class Columns : public TOwnedCollection {
public:
  explicit Columns(TPersistent* Owner = nullptr) : TOwnedCollection(Owner, ItemClassOf<Column>()) {}
  Column* Add() { return static_cast<Column*>(TCollection::Add()); }
  Column* At(Integer Index) const { return static_cast<Column*>(Items(Index)); }
  std::vector<TCollectionItem*> Updates;
  QStringList Titles() const {
    QStringList titles;
    for (Integer i = 0; i < Count(); ++i) titles << At(i)->Title;
    return titles;
  }
protected:
  void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
};

Columns* Filled(Columns& C, const QStringList& Titles) {
  C.BeginUpdate();
  for (const QString& t : Titles) C.Add()->Title = t;
  C.EndUpdate();
  C.Updates.clear();
  return &C;
}

TEST(Collection, ChangesInsideUpdateBracketsAreReportedOnceAtTheOutermostEnd) {
  Columns c;
  Column* first = c.Add();
  first->SetTitle("a");
  EXPECT_EQ(c.Updates, (std::vector<TCollectionItem*>{nullptr, first}));
  c.Updates.clear();

  c.BeginUpdate();
  c.BeginUpdate();
  c.Add()->SetTitle("b");
  first->SetTitle("A");
  c.Delete(0);
  c.EndUpdate();
  EXPECT_TRUE(c.Updates.empty());
  c.EndUpdate();
  EXPECT_EQ(c.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_EQ(c.UpdateCount(), 0);
  EXPECT_EQ(c.Titles(), QStringList({"b"}));
}

TEST(Collection, SetIndexAndInsertMoveItems) {
  Columns c;
  Filled(c, {"a", "b", "c", "d"});
  Column* a = c.At(0);
  a->SetIndex(2);
  EXPECT_EQ(c.Titles(), QStringList({"b", "c", "a", "d"}));
  EXPECT_EQ(a->Index(), 2);
  EXPECT_EQ(c.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_THROW(a->SetIndex(4), EListError);
  static_cast<Column*>(c.Insert(1))->Title = "new";
  EXPECT_EQ(c.Titles(), QStringList({"b", "new", "c", "a", "d"}));
  EXPECT_THROW(c.Insert(9), EListError);
  EXPECT_THROW(c.Items(5), EListError);
}

TEST(Collection, ItemsKeepTheirIdAndLeaveWhenDeleted) {
  Columns c;
  Filled(c, {"a", "b", "c"});
  Column* b = c.At(1);
  EXPECT_EQ(b->ID(), 1);
  delete c.At(0);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_EQ(b->ID(), 1);
  EXPECT_EQ(c.FindItemID(1), b);
  EXPECT_EQ(c.FindItemID(0), nullptr);
  EXPECT_EQ(c.Add()->ID(), 3);

  Columns other;
  b->SetCollection(&other);
  EXPECT_EQ(b->Collection(), &other);
  EXPECT_EQ(c.Titles(), QStringList({"c", ""}));
  EXPECT_EQ(other.Titles(), QStringList({"b"}));
}

TEST(Collection, AssignCopiesItemsThroughTheirAssign) {
  Columns source, target;
  Filled(source, {"x", "y"});
  Filled(target, {"old"});
  target.Assign(&source);
  EXPECT_EQ(target.Titles(), QStringList({"x", "y"}));
  EXPECT_NE(target.At(0), source.At(0));
  EXPECT_EQ(target.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_EQ(target.At(1)->DisplayName(), "y");

  TCollection plain(ItemClassOf<TCollectionItem>());
  plain.Add();
  EXPECT_THROW(target.Assign(&plain), EConvertError);
  EXPECT_EQ(target.UpdateCount(), 0);
}

TEST(Collection, OwnerIsAnsweredByTheOwnedCollection) {
  TPersistent owner;
  Columns c(&owner);
  EXPECT_EQ(c.Owner(), &owner);
  EXPECT_EQ(c.Add()->GetOwner(), &c);
  EXPECT_EQ(TCollection(ItemClassOf<Column>()).Owner(), nullptr);
}

}  // namespace
