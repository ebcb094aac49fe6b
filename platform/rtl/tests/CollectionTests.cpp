#include "platform/rtl/Contnrs.h"
#include <gtest/gtest.h>

namespace {

class Tracked : public TObject {
public:
  explicit Tracked(int& Deleted) : FDeleted(Deleted) {}
  ~Tracked() override { ++FDeleted; }
private:
  int& FDeleted;
};

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
