// Children of a scrolling control move against its scroll position.
#include "platform/ui/ScrollingWinControl.h"
#include <gtest/gtest.h>

TEST(ScrollingWinControl, ChildrenMoveAgainstTheScrollPosition) {
  TScrollingWinControl box(nullptr);
  box.SetBounds(0, 0, 100, 80);
  auto* near = new TWinControl(&box);
  near->SetParent(&box);
  near->SetBounds(10, 10, 20, 20);
  auto* far = new TWinControl(&box);
  far->SetParent(&box);
  far->SetBounds(150, 200, 30, 30);

  box.ScrollInView(far);
  EXPECT_EQ(box.HorzPosition(), 80);
  EXPECT_EQ(box.VertPosition(), 150);
  EXPECT_EQ(far->Left(), 70);
  EXPECT_EQ(far->Top(), 50);
  EXPECT_EQ(near->Left(), -70);

  box.ScrollInView(near);
  EXPECT_EQ(box.HorzPosition(), 10) << "the least distance: its left edge at the client's";
  EXPECT_EQ(box.VertPosition(), 10);
  EXPECT_EQ(near->Left(), 0);
  EXPECT_EQ(near->Top(), 0);

  box.SetVertPosition(-5);
  EXPECT_EQ(box.VertPosition(), 0) << "never before the start";
}
