// The floating drag feedback windows: placement relative to a grid, and the shared instances.
#include "grid/tests/GridsXTestGrid.h"
#include <gtest/gtest.h>

TEST(GridsXDragWindows, TheInsertionMarkCentresItsLineOnThePoint) {
  TGridOnForm f;
  TGridMoveLineX* mark = GetGridMoveLine();
  EXPECT_EQ(mark, GetGridMoveLine()) << "one mark for the whole application";
  mark->ShowMoveLine(f.Grid, {100, 20}, true, 50);
  EXPECT_TRUE(mark->IsShown());
  const TPoint origin = f.Grid->ClientToScreen({97, 16});
  EXPECT_EQ(mark->BoundsRect(), Bounds(origin.X, origin.Y, 7, 58));
  EXPECT_EQ(mark->Shapes()[3], Bounds(3, 3, 1, 52)) << "the line stretches with the window";
  EXPECT_TRUE(f.Grid->IsFocusOwner()) << "the mark never takes the focus";

  mark->MoveToPoint(f.Grid, {150, 20});
  EXPECT_EQ(mark->BoundsRect(), Bounds(origin.X + 50, origin.Y, 7, 58));
  mark->ShowMoveLine(f.Grid, {100, 20}, false, 30);
  EXPECT_EQ(mark->BoundsRect().Width(), 38);
  EXPECT_EQ(mark->BoundsRect().Height(), 7);
  mark->Hide();
  EXPECT_FALSE(mark->IsShown());
}

TEST(GridsXDragWindows, TheDragBoxShowsTranslucentAtAPointOfTheGrid) {
  TGridOnForm f;
  TGridDragBoxX* box = GetGridDragBox();
  EXPECT_EQ(box->AlphaBlendValue(), 200);
  box->ShowAt(f.Grid, {10, 5}, 64, 24);
  const TPoint origin = f.Grid->ClientToScreen({10, 5});
  EXPECT_EQ(box->BoundsRect(), Bounds(origin.X, origin.Y, 64, 24));
  box->ShowAtHeight(f.Grid, {10, 5}, 30);
  EXPECT_EQ(box->Height(), 30);
  EXPECT_EQ(box->Width(), 64);
  box->Hide();
  EXPECT_FALSE(box->IsShown());
}
