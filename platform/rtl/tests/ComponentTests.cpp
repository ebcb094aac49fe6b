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
  delete watcher;  // must unsubscribe, or deleting `watched` would touch freed memory
  SUCCEED();
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
