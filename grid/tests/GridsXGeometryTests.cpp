// Drawing geometry, hit tests and scrolling of the base grid. Until the window exists the
// control size (320 x 120 by default: 64 x 24 cells with one-pixel lines) is the client.
#include "grid/tests/GridsXTestGrid.h"
#include <gtest/gtest.h>

TEST(GridsXGeometry, AxesOfAFreshGrid) {
  TTestGrid g(nullptr);
  const TGridDrawInfoX di = g.Info();
  EXPECT_EQ(di.Horz.FixedEnd, 65);
  EXPECT_EQ(di.Horz.DataEnd, 320) << "the column cut by the edge ends at the limit";
  EXPECT_EQ(di.Horz.LastFullCell, 3);
  EXPECT_EQ(di.Horz.LastFullCellEnd, 260);
  EXPECT_EQ(di.Vert.FixedEnd, 25);
  EXPECT_EQ(di.Vert.LastFullCell, 3);
  EXPECT_EQ(di.Vert.ContraStart, 120);
  EXPECT_EQ(g.FullyVisibleColCount(), 3);
}

TEST(GridsXGeometry, CellsUnderPoints) {
  TTestGrid g(nullptr);
  g.SetContraColCount(1);  // contra column 5 at the right edge: ContraStart = 320 - 65 - 1
  struct Case {
    Integer X, Y;
    TGridCoord Cell;
  };
  for (const Case& c : std::initializer_list<Case>{
           {0, 0, {0, 0}},
           {64, 24, {0, 0}},     // the grid line belongs to the cell before it
           {65, 25, {1, 1}},
           {129, 49, {1, 1}},
           {254, 30, {3, 1}},    // exactly at ContraStart: still the data lines
           {255, 30, {5, 1}},    // the contra column
           {200, 130, {-1, -1}}, // below the last row
           {-1, 10, {-1, -1}}})
    EXPECT_EQ(g.CellAtPoint(c.X, c.Y), c.Cell) << c.X << "," << c.Y;
}

TEST(GridsXGeometry, ScreenRectanglesOfCellsAndRanges) {
  TTestGrid g(nullptr);
  EXPECT_EQ(g.CellRect(1, 1), TRect(65, 25, 129, 49));
  EXPECT_EQ(g.CellRect(4, 1), TRect(260, 25, 320, 49)) << "a cut cell is clipped to the data band";
  TRect withLines;
  g.GridRectToScreen({1, 1, 2, 2}, withLines, true);
  EXPECT_EQ(withLines, TRect(65, 25, 195, 75));
  g.SetLeftCol(2);
  EXPECT_TRUE(g.CellRect(1, 1).IsEmpty()) << "a scrolled-out cell has no rectangle";
  EXPECT_EQ(g.CellRect(0, 1), TRect(0, 25, 64, 49));
  EXPECT_EQ(g.CellAtPoint(70, 30), (TGridCoord{2, 1}));
}

TEST(GridsXGeometry, HiddenLinesTakeNoSpaceAndAreSteppedOver) {
  TTestGrid g(nullptr);
  g.SetColCount(10);
  g.SetColWidths(2, -1);
  g.SetColWidths(3, 0);
  EXPECT_EQ(g.CellAtPoint(130, 30).X, 3) << "a width of 0 still holds its grid line";
  EXPECT_EQ(g.CellAtPoint(131, 30).X, 4);
  EXPECT_EQ(g.CellRect(4, 1).Left, 131);
  g.ModifyScrollBar(SB_HORZ, SB_LINEDOWN, 0, true);
  EXPECT_EQ(g.LeftCol(), 4) << "a line step passes the columns that show nothing";
}

TEST(GridsXGeometry, FrozenColumnsAreFixedOnScreenButSelectable) {
  TTestGrid g(nullptr);
  g.SetFixedCols(2);
  g.SetFrozenColCount(1);
  const TGridDrawInfoX di = g.Info();
  EXPECT_EQ(di.Horz.FrozenStart, 65);
  EXPECT_EQ(di.Horz.FixedEnd, 130);
  g.MoveToCell(1, 2, true, false, false);
  g.SetLeftCol(3);
  EXPECT_EQ(g.CellAtPoint(70, 60), (TGridCoord{1, 2}));
  TTestGrid* grid = &g;
  Word home = VK_HOME;
  grid->KeyDown(home, {});
  EXPECT_EQ(g.Col(), 2);
  Word left = VK_LEFT;
  grid->KeyDown(left, {});
  EXPECT_EQ(g.Col(), 1) << "the frozen column can hold the current cell";
  grid->KeyDown(left, {});
  EXPECT_EQ(g.Col(), 1);
}

TEST(GridsXGeometry, RightToLeftMirrorsTheHorizontalAxis) {
  TTestGrid g(nullptr);
  g.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(g.CellAtPoint(310, 10), (TGridCoord{0, 0}));
  EXPECT_EQ(g.CellAtPoint(250, 30), (TGridCoord{1, 1}));
  EXPECT_EQ(g.CellRect(0, 0), TRect(256, 0, 320, 24));
}

TEST(GridsXGeometry, PixelScrollingStopsAtBothEnds) {
  TTestGrid g(nullptr);
  g.SetColCount(10);
  g.SmoothHorz = true;
  g.CalcHorzScrollExtent();
  g.ScrollByPixels(10000, 0);
  EXPECT_EQ(g.LeftCol(), 6);
  EXPECT_EQ(g.LeftColOffset(), 5);
  const TGridDrawInfoX di = g.Info();
  EXPECT_EQ(di.Horz.LastFullCell, 9);
  EXPECT_EQ(di.Horz.LastFullCellEnd, di.Horz.DataLimit) << "the last column ends at the edge";
  EXPECT_EQ(g.HorzScrollPos(), 330);
  g.ScrollByPixels(-10000, 0);
  EXPECT_EQ(g.LeftCol(), 1);
  EXPECT_EQ(g.LeftColOffset(), 0);
  EXPECT_EQ(g.HorzScrollPos(), 0);
}

TEST(GridsXGeometry, PixelScrollingIsOffForCellModeAxes) {
  TTestGrid g(nullptr);
  g.SetColCount(10);
  g.ScrollByPixels(30, 30);
  EXPECT_EQ(g.TopLeft(), (TGridCoord{1, 1}));
  EXPECT_EQ(g.LeftColOffset(), 0);
}

TEST(GridsXGeometry, CellModeThumbCoversFixedColsToTheLargestFirstColumn) {
  TTestGrid g(nullptr);
  g.SetColCount(20);
  g.ModifyScrollBar(SB_HORZ, SB_THUMBPOSITION, 127, true);
  EXPECT_EQ(g.LeftCol(), 17) << "columns 17..19 are the most that fit";
  g.ModifyScrollBar(SB_HORZ, SB_LINEDOWN, 0, true);
  EXPECT_EQ(g.LeftCol(), 17);
  g.ModifyScrollBar(SB_HORZ, SB_THUMBPOSITION, 0, true);
  EXPECT_EQ(g.LeftCol(), 1);
  g.ModifyScrollBar(SB_HORZ, SB_PAGEDOWN, 0, true);
  EXPECT_EQ(g.LeftCol(), 3) << "a page is the fully shown columns but the first";
  g.ModifyScrollBar(SB_HORZ, SB_BOTTOM, 0, true);
  EXPECT_EQ(g.LeftCol(), 17);
}

TEST(GridsXGeometry, BringingCellsIntoViewWithAWindow) {
  TGridOnForm f(300, 200);
  TTestGrid& g = *f.Grid;
  g.SetColCount(10);
  g.SmoothHorz = true;
  g.MoveToCell(8, 1, true, true, true);
  const TGridDrawInfoX di = g.Info();
  const TRect r = g.CellRect(8, 1);
  EXPECT_EQ(r.Width(), 64) << "the cell is wholly shown";
  EXPECT_EQ(r.Right, di.Horz.DataLimit) << "and ends at the right edge, its line just beyond";
  EXPECT_GT(g.LeftColOffset(), 0);

  g.SetColWidths(3, 1000);
  g.MoveToCell(3, 1, true, true, true);
  EXPECT_EQ(g.LeftCol(), 3);
  EXPECT_EQ(g.LeftColOffset(), 0) << "a column wider than the band starts at the fixed end";
  EXPECT_EQ(g.CellRect(3, 1).Left, g.Info().Horz.FixedEnd);
}

TEST(GridsXGeometry, ScrollBarsFollowTheView) {
  TGridOnForm f(300, 200);
  TTestGrid& g = *f.Grid;
  g.SetRowCount(100);
  g.MoveToCell(1, 99, true, true, true);
  EXPECT_EQ(g.GetScrollPos(SB_VERT), 127);
  g.Perform(WM_VSCROLL, TWMScroll::Pack(SB_TOP, 0));
  EXPECT_EQ(g.TopRow(), 1);
  EXPECT_EQ(g.GetScrollPos(SB_VERT), 0);
  g.SetColCount(2);  // everything fits: nothing to scroll horizontally
  TScrollInfo info;
  g.GetScrollInfo(SB_HORZ, info);
  EXPECT_EQ(info.nMax, 0);
  EXPECT_EQ(info.nPos, 0);
}
