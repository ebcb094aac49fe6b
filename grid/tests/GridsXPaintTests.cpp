// Pixels of the painted grid on the offscreen platform, sampled away from edges and text.
#include "grid/tests/GridsXTestGrid.h"
#include <gtest/gtest.h>

namespace {
TColor Rgb(TColor C) { return ColorToRGB(C); }

// The middle of a cell, away from its 3-D edges and focus rectangle.
TPoint Middle(TTestGrid& G, Integer ACol, Integer ARow) {
  const TRect r = G.CellRect(ACol, ARow);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// One expected colour at one point of a painted grid.
struct TPixelProbe {
  TPoint At;
  TColor Color;
  const char* What;
};

void ExpectPixels(const QImage& Image, std::initializer_list<TPixelProbe> Probes) {
  for (const TPixelProbe& p : Probes)
    EXPECT_EQ(PixelAt(Image, p.At.X, p.At.Y), p.Color) << p.What << " at " << p.At.X << "," << p.At.Y;
}
}  // namespace

TEST(GridsXPaint, BandsCellsAndLines) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  const QImage img = f.Grab();
  const TPoint fixed = Middle(g, 2, 0), data = Middle(g, 2, 2);
  const TRect cell = g.CellRect(2, 2);
  const TGridDrawInfoX di = g.Info();
  ExpectPixels(img, {{fixed, Rgb(clBtnFace), "a fixed cell"},
                     {data, Rgb(clWindow), "a data cell"},
                     {{cell.Right, data.Y}, Rgb(clSilver), "data lines take the bright line colour"},
                     {{data.X, cell.Bottom}, Rgb(clSilver), "across as well"},
                     {{di.Horz.DataEnd + 10, 40}, Rgb(clWindow), "empty space beside the cells"},
                     {{40, di.Vert.DataEnd + 10}, Rgb(clWindow), "and below them"}});
  EXPECT_FALSE(g.Painted.empty());
  for (const TGridCoord& c : g.Painted) EXPECT_LT(c.X, 5);
}

TEST(GridsXPaint, SelectionIsHighlightedButNotTheFocusedCell) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.MoveToCell(2, 2, true, false, false);
  g.MoveAnchor({3, 3}, false);
  const QImage img = f.Grab();
  const TPoint anchor = Middle(g, 3, 3), current = Middle(g, 2, 2);
  EXPECT_EQ(PixelAt(img, anchor.X, anchor.Y), Rgb(clHighlight));
  EXPECT_EQ(PixelAt(img, current.X, current.Y), Rgb(clWindow));
  EXPECT_TRUE(g.StateOf(2, 2).Contains(gdFocused));
  EXPECT_TRUE(g.StateOf(3, 3).Contains(gdSelected));
  EXPECT_TRUE(g.StateOf(2, 0).Contains(gdFixed));

  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goDrawFocusSelected});
  const QImage again = f.Grab();
  EXPECT_EQ(PixelAt(again, current.X, current.Y), Rgb(clHighlight));
}

TEST(GridsXPaint, ScrolledOutPixelsOfTheFirstRowStayUnderTheFixedRows) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetRowCount(30);
  g.SmoothVert = true;
  g.CalcVertScrollExtent();
  g.ScrollByPixels(0, 5);
  ASSERT_EQ(g.TopRowOffset(), 5);
  EXPECT_EQ(g.CellRect(2, 1).Top, 25) << "the first row is clipped at the fixed rows";
  const QImage img = f.Grab();
  EXPECT_EQ(PixelAt(img, Middle(g, 2, 0).X, 20), Rgb(clBtnFace));
  EXPECT_EQ(PixelAt(img, Middle(g, 2, 1).X, 30), Rgb(clWindow));
}

TEST(GridsXPaint, ContraRowsAndOutOfBoundaryAreas) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetContraRowCount(1);
  g.SetFixedColor(clYellow);
  g.OutBoundaryData()->SetTopIndent(20);
  const TGridDrawInfoX di = g.Info();
  EXPECT_EQ(g.CellRect(2, 0).Top, 20);
  const QImage img = f.Grab();
  const TPoint footer = Middle(g, 2, 5), footerFixed = Middle(g, 0, 5);
  EXPECT_EQ(footer.Y, di.Vert.ContraStart + 1 + 12);
  ExpectPixels(img, {{{200, 10}, clYellow, "the band above the cells"},
                     {footer, Rgb(clWindow), "a footer cell"},
                     {footerFixed, clYellow, "the footer's fixed cell"},
                     {{footer.X, di.Vert.ContraStart}, Rgb(clGray), "the contra separator is dark"},
                     {{footer.X, di.Vert.ContraStart - 10}, Rgb(clWindow), "space between data and footer"}});
  bool footerPainted = false;
  for (const TGridCoord& c : g.Painted) footerPainted |= c.Y == 5;
  EXPECT_TRUE(footerPainted);
  EXPECT_FALSE(g.StateOf(2, 5).Contains(gdSelected));
}

TEST(GridsXPaint, NoDefaultDrawingLeavesCellsToThePainter) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetDefaultCellDrawing(false);
  g.SetColor(clRed);
  const QImage img = f.Grab();
  const TGridDrawInfoX di = g.Info();
  const TRect cell = g.CellRect(2, 2);
  EXPECT_EQ(PixelAt(img, cell.Right, cell.Top + 5), Rgb(clSilver)) << "lines are still drawn";
  EXPECT_EQ(PixelAt(img, di.Horz.DataEnd + 10, 40), clRed) << "and the empty space";
}

TEST(GridsXPaint, RowsWithoutVerticalLinesAreWidenedOverTheGap) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetGridOptions(g.GridOptions() - TGridOptionsX{goVertLine});
  g.MoveToCell(2, 2, true, false, false);
  g.MoveAnchor({3, 2}, false);
  const QImage img = f.Grab();
  const TRect cell = g.CellRect(3, 2);
  EXPECT_EQ(PixelAt(img, cell.Right, cell.Top + 5), Rgb(clHighlight)) << "the fill covers the missing line";
}

TEST(GridsXPaint, RightToLeftPutsTheFixedColumnAtTheRight) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetBiDiMode(bdRightToLeft);
  const QImage img = f.Grab();
  const Integer w = g.ClientWidth();
  const TRect cell = g.CellRect(1, 1);
  EXPECT_EQ(cell.Right, w - 65);
  ExpectPixels(img, {{{w - 30, 40}, Rgb(clBtnFace), "the fixed column"},
                     {{w - 100, 40}, Rgb(clWindow), "the first data column beside it"},
                     {{cell.Left - 1, 40}, Rgb(clSilver), "its line lies on its left"}});
}

TEST(GridsXPaint, ExtendedVerticalLinesFadeThroughTheEmptySpace) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  const Integer lineX = g.CellRect(2, 1).Right;
  const Integer below = g.Info().Vert.DataEnd + 3;
  EXPECT_EQ(PixelAt(f.Grab(), lineX, below), Rgb(clWindow));
  g.SetGridOptions(g.GridOptions() + TGridOptionsX{goExtendVertLinesX});
  const TColor faded = PixelAt(f.Grab(), lineX, below);
  EXPECT_NE(faded, Rgb(clWindow)) << "the line goes on below the last row";
  EXPECT_GE(GetRValue(faded), GetRValue(Rgb(clSilver))) << "starting from the line colour towards the background";
}

TEST(GridsXPaint, FrozenColumnsPaintAsDataBehindADarkSeparator) {
  TGridOnForm f;
  TTestGrid& g = *f.Grid;
  g.SetFixedCols(2);
  g.SetFrozenColCount(1);
  const QImage img = f.Grab();
  const TPoint frozen = Middle(g, 1, 2), fixed = Middle(g, 0, 2);
  ExpectPixels(img, {{frozen, Rgb(clWindow), "a frozen cell"},
                     {fixed, Rgb(clBtnFace), "a fixed cell"},
                     {{g.Info().Horz.FixedEnd - 1, frozen.Y}, Rgb(clGray), "the separator after the frozen column"}});
  EXPECT_FALSE(g.StateOf(1, 2).Contains(gdFixed));
  EXPECT_TRUE(g.StateOf(0, 2).Contains(gdFixed));
}
