// Selecting, sizing and moving by mouse, auto-scrolling by timer ticks, cell clicks and
// keyboard navigation of the base grid.
#include "grid/tests/GridsXTestGrid.h"
#include <gtest/gtest.h>

namespace {
TPoint Middle(TTestGrid& G, Integer ACol, Integer ARow) {
  const TRect r = G.CellRect(ACol, ARow);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

void Tick(TTestGrid& G) { G.Perform(WM_TIMER, GridMoveTimerId); }
}  // namespace

TEST(GridsXMouse, ClickSelectsAndShiftOrDragExtends) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  const TPoint a = Middle(g, 3, 2), b = Middle(g, 4, 4);
  f.Click(a.X, a.Y);
  EXPECT_EQ(g.Current(), (TGridCoord{3, 2}));
  EXPECT_EQ(g.GridState(), msIdle);
  f.Click(b.X, b.Y, MK_SHIFT);
  EXPECT_EQ(g.Current(), (TGridCoord{3, 2}));
  EXPECT_EQ(g.SelectedRange(), (TGridRectX{3, 2, 4, 4}));

  const TPoint c = Middle(g, 1, 1), d = Middle(g, 2, 3);
  f.Mouse(WM_LBUTTONDOWN, c.X, c.Y, MK_LBUTTON);
  EXPECT_EQ(g.GridState(), msSelecting);
  EXPECT_EQ(g.AutoScrollInterval(), 60u);
  f.Mouse(WM_MOUSEMOVE, d.X, d.Y, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, d.X, d.Y);
  EXPECT_EQ(g.SelectedRange(), (TGridRectX{1, 1, 2, 3}));
  EXPECT_EQ(g.AutoScrollInterval(), 0u);
}

TEST(GridsXMouse, SelectingBelowTheRowsScrollsOneRowPerTick) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetRowCount(50);
  const TPoint start = Middle(g, 2, 2);
  f.Mouse(WM_LBUTTONDOWN, start.X, start.Y, MK_LBUTTON);
  const Integer below = g.Info().Vert.LastFullCellEnd + 5;
  f.Mouse(WM_MOUSEMOVE, start.X, below, MK_LBUTTON);
  const Integer anchor = g.Anchor().Y, top = g.TopRow();
  for (int i = 0; i < 3; ++i) Tick(g);
  EXPECT_EQ(g.Anchor().Y, anchor + 3);
  EXPECT_GT(g.TopRow(), top) << "the anchor is kept in view";
  f.Mouse(WM_LBUTTONUP, start.X, below);
  const Integer released = g.Anchor().Y;
  Tick(g);
  EXPECT_EQ(g.Anchor().Y, released) << "ticks after the button is up do nothing";
  EXPECT_EQ(g.Current(), (TGridCoord{2, 2}));
}

TEST(GridsXMouse, ColumnBordersHaveAGrabZoneAroundTheLine) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goColSizing});
  const Integer border = g.CellRect(1, 0).Right;  // the line pixel after column 1
  struct Case {
    Integer X;
    bool Sizes;
  };
  for (const Case& c : std::initializer_list<Case>{{border - 3, true}, {border - 4, false}, {border + 4, true}, {border + 5, false}})
    EXPECT_EQ(g.IsOverSizingLine(c.X, 10), c.Sizes) << c.X - border;
  EXPECT_FALSE(g.IsOverSizingLine(border, 40)) << "only in the title rows";
}

TEST(GridsXMouse, DraggingABorderSizesTheColumnUnlessItWouldVanish) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goColSizing, goRowSizing});
  const Integer border = g.CellRect(1, 0).Right;
  f.Mouse(WM_LBUTTONDOWN, border - 2, 10, MK_LBUTTON);
  EXPECT_EQ(g.GridState(), msColSizing);
  EXPECT_TRUE(g.SizingLineShown());
  f.Mouse(WM_MOUSEMOVE, border + 18, 10, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, border + 18, 10);
  EXPECT_EQ(g.ColWidths(1), 84);
  EXPECT_FALSE(g.SizingLineShown());
  EXPECT_EQ(g.GridState(), msIdle);

  const Integer left = g.CellRect(1, 0).Left;
  const Integer newBorder = g.CellRect(1, 0).Right;
  f.Mouse(WM_LBUTTONDOWN, newBorder, 10, MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, left + 1, 10, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, left + 1, 10);
  EXPECT_EQ(g.ColWidths(1), 84) << "a width of 1 pixel or less is refused";

  const Integer rowBorder = g.CellRect(0, 2).Bottom;
  f.Mouse(WM_LBUTTONDOWN, 20, rowBorder, MK_LBUTTON);
  EXPECT_EQ(g.GridState(), msRowSizing);
  f.Mouse(WM_MOUSEMOVE, 20, rowBorder + 6, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, 20, rowBorder + 6);
  EXPECT_EQ(g.RowHeights(2), 30);
}

// Contra lines are sized at their leading edge, so dragging it towards the data widens them;
// frozen lines size at their trailing edge like data lines.
TEST(GridsXMouse, ContraAndFrozenLinesSizeByTheirBorders) {
  struct Case {
    const char* Name;
    std::function<void(TTestGrid&)> Setup;
    bool Rows;
    std::function<Integer(TTestGrid&)> Border;
    Integer Drag, Index, Extent;
  };
  const Case cases[] = {
      {"contra column", [](TTestGrid& g) { g.SetContraColCount(1); }, false,
       [](TTestGrid& g) { return g.Info().Horz.ContraStart + 2; }, -10, 5, 74},
      {"contra row", [](TTestGrid& g) { g.SetContraRowCount(1); }, true,
       [](TTestGrid& g) { return g.Info().Vert.ContraStart + 1; }, -6, 5, 30},
      {"frozen column",
       [](TTestGrid& g) {
         g.SetFixedCols(2);
         g.SetFrozenColCount(1);
       },
       false, [](TTestGrid& g) { return g.Info().Horz.FixedEnd - 1; }, 10, 1, 74},
  };
  for (const Case& c : cases) {
    TGridOnForm f;
    TTestGrid& g = *f.Grid;
    g.SetGridOptions(g.GridOptions() + TGridOptionsX{goColSizing, goRowSizing});
    c.Setup(g);
    const Integer border = c.Border(g);
    auto at = [&](Integer pos) { return c.Rows ? TPoint{20, pos} : TPoint{pos, 10}; };
    const TPoint press = at(border), release = at(border + c.Drag);
    f.Mouse(WM_LBUTTONDOWN, press.X, press.Y, MK_LBUTTON);
    EXPECT_EQ(g.GridState(), c.Rows ? msRowSizing : msColSizing) << c.Name;
    EXPECT_EQ(g.SizingIndex(), c.Index) << c.Name;
    f.Mouse(WM_MOUSEMOVE, release.X, release.Y, MK_LBUTTON);
    f.Mouse(WM_LBUTTONUP, release.X, release.Y);
    EXPECT_EQ(c.Rows ? g.RowHeights(c.Index) : g.ColWidths(c.Index), c.Extent) << c.Name;
  }
  TTestGrid g(nullptr);
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goColSizing});
  g.SetFixedCols(2);
  g.SetFrozenColCount(1);
  EXPECT_FALSE(g.IsOverSizingLine(64, 10)) << "the fixed column left of the frozen one keeps its width";
}

TEST(GridsXMouse, MovedColumnsDropAfterTheTargetGoingRightAndBeforeItGoingLeft) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goColMoving});
  auto drag = [&](Integer from, Integer to) {
    const TPoint a = Middle(g, from, 0), b = Middle(g, to, 0);
    f.Mouse(WM_LBUTTONDOWN, a.X, a.Y, MK_LBUTTON);
    EXPECT_EQ(g.GridState(), msColMoving);
    EXPECT_TRUE(GetGridMoveLine()->IsShown());
    f.Mouse(WM_MOUSEMOVE, b.X, b.Y, MK_LBUTTON);
    Tick(g);
    const TRect target = g.CellRect(to, 0);
    const Integer edge = from < to ? target.Right : target.Left - 1;
    EXPECT_EQ(GetGridMoveLine()->Left(), g.ClientToScreen({edge, 0}).X - 3) << "the mark stands at the drop edge";
    f.Mouse(WM_LBUTTONUP, b.X, b.Y);
    EXPECT_FALSE(GetGridMoveLine()->IsShown());
    EXPECT_EQ(g.GridState(), msIdle);
  };
  drag(1, 2);
  drag(3, 1);
  EXPECT_EQ(g.ColumnMoves, (std::vector<std::pair<Integer, Integer>>{{1, 2}, {3, 1}}));
}

TEST(GridsXMouse, RowsMoveByTheirFixedColumn) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goRowMoving});
  g.SetRowHeights(1, 30);
  const TPoint a = Middle(g, 0, 1), b = Middle(g, 0, 3);
  f.Mouse(WM_LBUTTONDOWN, a.X, a.Y, MK_LBUTTON);
  EXPECT_EQ(g.GridState(), msRowMoving);
  EXPECT_TRUE(g.MoveMarkShown());
  f.Mouse(WM_MOUSEMOVE, b.X, b.Y, MK_LBUTTON);
  Tick(g);
  f.Mouse(WM_LBUTTONUP, b.X, b.Y);
  EXPECT_FALSE(g.MoveMarkShown());
  EXPECT_EQ(g.RowMoves, (std::vector<std::pair<Integer, Integer>>{{1, 3}}));
  EXPECT_EQ(g.RowHeights(3), 30) << "the height moves with its row";
  EXPECT_EQ(g.Row(), 3) << "and so does the current row";
}

TEST(GridsXMouse, ColumnMovesScrollFasterFurtherOutside) {
  TGridOnForm f(300, 200);
  TTestGrid& g = *f.Grid;
  g.SetColCount(30);
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goColMoving});
  const TPoint a = Middle(g, 2, 0);
  f.Mouse(WM_LBUTTONDOWN, a.X, a.Y, MK_LBUTTON);
  const Integer limit = g.Info().Horz.DataLimit;
  struct Case {
    Integer Outside;
    Cardinal Interval;
  };
  for (const Case& c : std::initializer_list<Case>{{200, 61}, {1, 360}, {50, 67}}) {
    f.Mouse(WM_MOUSEMOVE, limit + c.Outside, a.Y, MK_LBUTTON);
    const Integer left = g.LeftCol();
    Tick(g);
    EXPECT_EQ(g.AutoScrollInterval(), c.Interval) << c.Outside;
    EXPECT_GE(g.LeftCol(), left);
  }
  EXPECT_GT(g.LeftCol(), 1) << "the view followed the mouse";
  f.Mouse(WM_LBUTTONUP, limit + 1, a.Y);
  EXPECT_EQ(g.AutoScrollInterval(), 0u);
}

TEST(GridsXMouse, CellClicksNeedPressAndReleaseOnTheSameCell) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  std::vector<std::pair<TGridCoord, TMouseButton>> clicks;
  g.OnCellMouseClick = [&](TCustomGridX*, TGridCoord Cell, TMouseButton Button, TShiftState, Integer, Integer) {
    clicks.push_back({Cell, Button});
  };
  const TPoint cell = Middle(g, 2, 2);
  f.Mouse(WM_RBUTTONDOWN, cell.X, cell.Y, MK_RBUTTON);
  f.Mouse(WM_RBUTTONUP, cell.X + 2, cell.Y);
  const TGridDrawInfoX di = g.Info();
  f.Mouse(WM_RBUTTONDOWN, cell.X, cell.Y, MK_RBUTTON);
  f.Mouse(WM_RBUTTONUP, di.Horz.DataEnd + 5, di.Vert.DataEnd + 5);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].first, (TGridCoord{2, 2}));
  EXPECT_EQ(clicks[0].second, mbRight);
}

TEST(GridsXMouse, HotTrackingFollowsTheMouse) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.HotTracking = true;
  const TPoint cell = Middle(g, 2, 3);
  f.Mouse(WM_MOUSEMOVE, cell.X, cell.Y);
  EXPECT_EQ(g.HotTrackCell(), (TGridCoord{2, 3}));
  EXPECT_EQ(g.HotTrackOffset().X, cell.X - g.CellRect(2, 3).Left);
  g.HotTracking = false;
  f.Mouse(WM_MOUSEMOVE, cell.X, cell.Y);
  EXPECT_EQ(g.HotTrackCell(), (TGridCoord{-1, -1}));
}

TEST(GridsXKeys, ArrowsPagesAndCorners) {
  TTestGrid g(nullptr);
  g.SetRowCount(20);
  struct Case {
    Word Key;
    TShiftState Shift;
    TGridCoord After;
  };
  for (const Case& c : std::initializer_list<Case>{{VK_RIGHT, {}, {2, 1}},
                                                   {VK_DOWN, {}, {2, 2}},
                                                   {VK_END, {}, {4, 2}},
                                                   {VK_HOME, {}, {1, 2}},
                                                   {VK_NEXT, {}, {1, 4}},
                                                   {VK_END, {ssCtrl}, {4, 19}},
                                                   {VK_UP, {}, {4, 18}},
                                                   {VK_HOME, {ssCtrl}, {1, 1}},
                                                   {VK_LEFT, {}, {1, 1}}}) {
    Word key = c.Key;
    g.KeyDown(key, c.Shift);
    EXPECT_EQ(g.Current(), c.After) << c.Key;
  }
}

TEST(GridsXKeys, TabSkipsColumnsWithoutTabStopAndWrapsRows) {
  TTestGrid g(nullptr);
  g.SetTabStops(2, false);
  g.SetTabStops(4, false);
  struct Case {
    TShiftState Shift;
    TGridCoord After;
  };
  for (const Case& c : std::initializer_list<Case>{{{}, {3, 1}}, {{}, {1, 2}}, {{ssShift}, {3, 1}}, {{ssShift}, {1, 1}},
                                                   {{ssShift}, {3, 4}}}) {
    Word key = VK_TAB;
    g.KeyDown(key, c.Shift);
    EXPECT_EQ(g.Current(), c.After);
    EXPECT_EQ(g.Anchor(), c.After) << "the anchor moves with the cell";
  }
}

TEST(GridsXKeys, RowSelectScrollsSidewaysByPixels) {
  TTestGrid g(nullptr);
  g.SetColCount(10);
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goRowSelect});
  const Integer step = g.GetHorzScrollStep();
  EXPECT_EQ(step, (320 - 65) / 20);
  Word right = VK_RIGHT;
  g.KeyDown(right, {});
  EXPECT_EQ(g.LeftColOffset(), step);
  EXPECT_EQ(g.Current(), (TGridCoord{1, 1}));
  Word left = VK_LEFT;
  g.KeyDown(left, {});
  EXPECT_EQ(g.LeftColOffset(), 0);
}

TEST(GridsXKeys, RefusedKeysAreDropped) {
  struct TRefusingGrid : TTestGrid {
    using TTestGrid::TTestGrid;
    bool GridAcceptsKey(Word Key, TShiftState) override { return Key != VK_DOWN; }
  } g(nullptr);
  Word down = VK_DOWN;
  g.KeyDown(down, {});
  EXPECT_EQ(down, 0);
  EXPECT_EQ(g.Current(), (TGridCoord{1, 1}));
}

TEST(GridsXMouse, TheWheelMovesTheCurrentRowOrScrollsSmoothGrids) {
  TTestGrid g(nullptr);
  EXPECT_TRUE(g.DoMouseWheelDown({}, {}));
  EXPECT_EQ(g.Row(), 2);
  g.DoMouseWheelUp({}, {});
  g.DoMouseWheelUp({}, {});
  EXPECT_EQ(g.Row(), 1) << "not into the fixed rows";
  g.SetRowCount(30);
  g.SmoothVert = true;
  g.CalcVertScrollExtent();
  g.DoMouseWheelDown({}, {});
  EXPECT_EQ(g.TopRowOffset(), g.GetVertScrollStep());
  EXPECT_EQ(g.Row(), 1);
}
