// Counts, extents and options of the base grid, checked without a window.
#include "grid/tests/GridsXTestGrid.h"
#include <gtest/gtest.h>

namespace {
String ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return {};
}
}  // namespace

TEST(GridsXModel, FreshGridHasItsDefaults) {
  TTestGrid g(nullptr);
  EXPECT_EQ(g.Width(), 320);
  EXPECT_EQ(g.Height(), 120);
  EXPECT_EQ(g.ColCount(), 5);
  EXPECT_EQ(g.RowCount(), 5);
  EXPECT_EQ(g.FixedCols(), 1);
  EXPECT_EQ(g.FixedRows(), 1);
  EXPECT_EQ(g.Current(), (TGridCoord{1, 1}));
  EXPECT_EQ(g.TopLeft(), (TGridCoord{1, 1}));
  EXPECT_EQ(g.GridOptions(), (TGridOptionsX{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}));
  EXPECT_TRUE(g.ColWidthsArray().empty());
}

TEST(GridsXModel, CountSettersKeepTheInvariants) {
  TTestGrid g(nullptr);
  g.SetColCount(0);
  EXPECT_EQ(g.ColCount(), 1);
  EXPECT_EQ(g.FixedCols(), 0);

  TTestGrid h(nullptr);
  h.MoveToCell(4, 4, true, false, false);
  h.SetRowCount(3);
  EXPECT_EQ(h.Row(), 2) << "the current cell follows the last row";
}

TEST(GridsXModel, InvalidValuesRaiseAndChangeNothing) {
  TTestGrid g(nullptr);
  struct Case {
    std::function<void()> Action;
    const char* Message;
  };
  for (const Case& c : std::initializer_list<Case>{
           {[&] { g.SetFixedCols(5); }, "Fixed column count must be less than column count"},
           {[&] { g.SetFixedRows(5); }, "Fixed row count must be less than row count"},
           {[&] { g.SetFixedCols(-1); }, "Grid index out of range"},
           {[&] { g.SetColWidths(5, 10); }, "Grid index out of range"},
           {[&] { g.SetTabStops(-1, false); }, "Grid index out of range"},
           {[&] { g.MoveToCell(5, 1, true, false, false); }, "Grid index out of range"},
           {[&] { g.SetContraColCount(-1); }, "FContraColCount can not be negative."},
           {[&] { g.SetContraRowCount(-2); }, "FContraRowCount can not be negative."}})
    EXPECT_EQ(ErrorOf(c.Action), QString::fromUtf8(c.Message));
  EXPECT_EQ(g.FixedCols(), 1);
  EXPECT_EQ(g.FixedRows(), 1);
  EXPECT_TRUE(g.ColWidthsArray().empty());
  EXPECT_EQ(g.Current(), (TGridCoord{1, 1}));
}

TEST(GridsXModel, ExtentArraysInsertAndDeleteInPlace) {
  struct Case {
    TIntegerArray Before;
    Integer Index, Amount;
    TIntegerArray After;
    const char* Error;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{3, 10, 20, 30}, 1, 2, {5, 10, 7, 7, 20, 30}, nullptr},
           {{3, 10, 20, 30}, 3, 1, {4, 10, 20, 30, 7}, nullptr},
           {{3, 10, 20, 30}, 1, -1, {2, 10, 30}, nullptr},
           {{3, 10, 20, 30}, 0, -3, {}, nullptr},
           {{}, 0, 2, {2, 7, 7}, nullptr},
           {{3, 10, 20, 30}, 4, 1, {3, 10, 20, 30}, "Grid index out of range"},
           {{3, 10, 20, 30}, 2, -2, {3, 10, 20, 30}, "Too many rows or columns deleted"},
           {{3, 10, 20, 30}, 0, 134217723, {3, 10, 20, 30}, "Grid too large for operation"}}) {
    TIntegerArray a = c.Before;
    const String error = ErrorOf([&] { ModifyExtents(a, c.Index, c.Amount, 7); });
    EXPECT_EQ(error, c.Error ? QString::fromUtf8(c.Error) : String()) << c.Index << " " << c.Amount;
    EXPECT_EQ(a, c.After) << c.Index << " " << c.Amount;
  }
}

TEST(GridsXModel, ColumnWidthsFollowAShrinkingColumnCount) {
  TTestGrid g(nullptr);
  g.SetColWidths(3, 33);
  g.SetColWidths(1, 11);
  g.SetColCount(3);
  EXPECT_EQ(g.ColWidthsArray(), (TIntegerArray{3, 64, 11, 64}));
  g.SetColCount(4);
  EXPECT_EQ(g.ColWidths(3), 64) << "a new column takes the default width";
}

TEST(GridsXModel, ContraWidthsMoveWithTheirColumnsWhenColumnsAreAdded) {
  TTestGrid g(nullptr);
  g.SetContraColCount(2);
  EXPECT_EQ(g.ColWidths(6), 64) << "a contra column reads the default without an array";
  g.SetColWidths(6, 40);
  EXPECT_EQ(g.ColWidthsArray().size(), 8u) << "the array covers every column, contra ones last";
  g.SetColWidths(5, 30);
  g.SetColWidths(2, 50);
  g.SetColCount(6);
  EXPECT_EQ(g.FullColCount(), 8);
  EXPECT_EQ(g.ColWidths(2), 50);
  EXPECT_EQ(g.ColWidths(5), 64) << "the new column is inserted before the contra columns";
  EXPECT_EQ(g.ColWidths(6), 30);
  EXPECT_EQ(g.ColWidths(7), 40);
}

TEST(GridsXModel, FooterRowsKeepTheirHeightsWhileTheRowCountChanges) {
  TTestGrid g(nullptr);
  g.SetContraRowCount(2);
  g.SetRowHeights(5, 30);
  g.SetRowHeights(6, 40);
  g.MoveToCell(1, 4, true, false, false);
  for (Integer rows : {10, 3, 1}) {
    g.SetRowCount(rows);
    EXPECT_EQ(g.FullRowCount(), rows + 2);
    EXPECT_EQ(g.RowHeights(rows), 30) << rows;
    EXPECT_EQ(g.RowHeights(rows + 1), 40) << rows;
    EXPECT_LT(g.Row(), rows) << "the current row stays among the rows";
  }
}

TEST(GridsXModel, RemovingAColumnKeepsTheContraWidths) {
  TTestGrid g(nullptr);
  g.SetContraColCount(1);
  g.SetColWidths(1, 11);
  g.SetColWidths(2, 22);
  g.SetColWidths(5, 55);
  g.RemoveColumn(1);
  EXPECT_EQ(g.ColCount(), 4);
  EXPECT_EQ(g.ColWidths(1), 22);
  EXPECT_EQ(g.ColWidths(4), 55);
}

TEST(GridsXModel, RelocatingAColumnMovesItsTabStopAndTheCurrentColumn) {
  TTestGrid g(nullptr);
  g.SetTabStops(2, false);
  g.MoveToCell(2, 1, true, false, false);
  g.RelocateColumn(2, 4);
  EXPECT_FALSE(g.TabStops(4));
  EXPECT_TRUE(g.TabStops(2));
  EXPECT_EQ(g.Col(), 4);
  EXPECT_EQ(g.ColumnMoves, (std::vector<std::pair<Integer, Integer>>{{2, 4}}));
}

TEST(GridsXModel, RowSelectDropsAlwaysShowEditorAndAnchorsTheLastColumn) {
  TTestGrid g(nullptr);
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goRowSelect, goAlwaysShowEditor});
  EXPECT_TRUE(g.GridOptions().Contains(goRowSelect));
  EXPECT_FALSE(g.GridOptions().Contains(goAlwaysShowEditor));
  EXPECT_EQ(g.Anchor().X, 4);
  EXPECT_EQ(g.SelectedRange(), (TGridRectX{1, 1, 4, 1}));
}

TEST(GridsXModel, DefaultRowHeightDropsStoredHeights) {
  TTestGrid g(nullptr);
  g.SetRowHeights(2, 40);
  g.SetDefaultRowHeight(30);
  EXPECT_TRUE(g.RowHeightsArray().empty());
  EXPECT_EQ(g.RowHeights(2), 30);
}
