#include "platform/rtl/Classes.h"
#include <gtest/gtest.h>

namespace {

// Records the notifications it receives, and whether it was destroyed.
class Probe : public TComponent {
public:
  using TComponent::TComponent;
  ~Probe() override { if (DestroyedFlag) *DestroyedFlag = true; }
  std::vector<TComponent*> Removed;
  bool* DestroyedFlag = nullptr;
protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) Removed.push_back(AComponent);
  }
};

TEST(Component, OwnerDeletesWhatItOwns) {
  bool childGone = false, grandChildGone = false;
  auto* owner = new Probe(nullptr);
  auto* child = new Probe(owner);
  auto* grandChild = new Probe(child);
  child->DestroyedFlag = &childGone;
  grandChild->DestroyedFlag = &grandChildGone;
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(child->Owner(), owner);
  delete owner;
  EXPECT_TRUE(childGone);
  EXPECT_TRUE(grandChildGone);
}

TEST(Component, FreeNotificationReachesSubscriberOutsideTheOwner) {
  Probe watcher;
  auto* watched = new Probe(nullptr);
  watched->FreeNotification(&watcher);
  delete watched;
  ASSERT_EQ(watcher.Removed.size(), 1u);
  EXPECT_EQ(watcher.Removed[0], watched);
}

TEST(Component, DeletingTheSubscriberFirstLeavesNoDanglingNotice) {
  Probe watched;
  auto* watcher = new Probe(nullptr);
  watched.FreeNotification(watcher);
  const TComponent* gone = watcher;
  delete watcher;  // must unsubscribe, or deleting `watched` would touch freed memory
  ASSERT_EQ(watched.Removed.size(), 1u) << "the watched component is told, so it forgets the subscriber";
  EXPECT_EQ(watched.Removed[0], gone);
}

TEST(Component, NamesAreUniqueWithoutCaseAmongSiblings) {
  Probe owner;
  auto* a = new Probe(&owner);
  auto* b = new Probe(&owner);
  a->SetName("Grid1");
  EXPECT_THROW(b->SetName("GRID1"), EComponentError);
  EXPECT_EQ(owner.FindComponent("grid1"), a);
}

TEST(Persistent, AssignWithoutSupportRaisesCannotAssign) {
  TPersistent a, b;
  try {
    a.Assign(&b);
    FAIL() << "expected EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_TRUE(e.Message().startsWith("Cannot assign a TPersistent to a TPersistent")) << e.Message().toStdString();
  }
}

}  // namespace

namespace {

// Remembers how often Loaded ran and the state it saw on deletion.
class StateProbe : public Probe {
public:
  using Probe::Probe;
  ~StateProbe() override { if (SawDestroying) *SawDestroying = ComponentState().Contains(csDestroying); }
  int LoadedCount = 0;
  bool LoadingWhenLoaded = false;
  bool* SawDestroying = nullptr;
protected:
  void Loaded() override {
    LoadingWhenLoaded = ComponentState().Contains(csLoading);
    Probe::Loaded();
    ++LoadedCount;
  }
};

TEST(Component, DeletingAnOwnedComponentTakesItOffItsOwnerAndTellsItsSiblings) {
  auto* owner = new Probe(nullptr);
  auto* sibling = new Probe(owner);
  auto* child = new Probe(owner);
  child->SetName("Child");
  delete child;
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->FindComponent("Child"), nullptr);
  EXPECT_EQ(owner->Removed, std::vector<TComponent*>{child});
  EXPECT_EQ(sibling->Removed, std::vector<TComponent*>{child});
  delete owner;  // must not delete the child a second time
}

TEST(Component, LoadingAndDestroyingStatesReachOwnedComponents) {
  StateProbe owner(nullptr);
  auto* child = new StateProbe(&owner);
  owner.BeginLoading();
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  owner.EndLoading();
  owner.EndLoading();  // loading has ended already: nothing more to finish
  for (StateProbe* p : {&owner, child}) {
    EXPECT_EQ(p->LoadedCount, 1);
    EXPECT_TRUE(p->LoadingWhenLoaded);
    EXPECT_FALSE(p->ComponentState().Contains(csLoading));
  }

  bool childSawDestroying = false;
  auto* doomed = new StateProbe(nullptr);
  (new StateProbe(doomed))->SawDestroying = &childSawDestroying;
  delete doomed;
  EXPECT_TRUE(childSawDestroying);
}

}  // namespace
