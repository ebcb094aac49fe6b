#pragma once
// Reading painted grids: pixels, the background of a cell, and a grid that counts the cells
// it paints per row.
#include "DBGridXTestSupport.h"
#include "dbgrid/DBGridXGlobals.h"
#include <map>

namespace dbgridtest {

inline TColor Rgb(TColor C) { return ColorToRGB(C); }
inline TColor PixelAt(const QImage& Image, Integer X, Integer Y) { return QColorToColor(Image.pixelColor(X, Y)); }

// Counts every painted cell by its row.
class TCountingGrid : public TDBGridX {
public:
  using TDBGridX::TDBGridX;
  std::map<Integer, Integer> PaintedRows;
  void PaintCell(Integer ACol, Integer ARow, TGridDrawState State, TRect R) override {
    ++PaintedRows[ARow];
    TDBGridX::PaintCell(ACol, ARow, State, R);
  }
};

// Whether any pixel of R has the colour C.
inline bool AnyPixel(const QImage& Image, const TRect& R, TColor C) {
  for (Integer y = R.Top; y < R.Bottom; ++y)
    for (Integer x = R.Left; x < R.Right; ++x)
      if (PixelAt(Image, x, y) == C) return true;
  return false;
}

// The colour most pixels inside R's frame have: a cell's background, whatever text it shows.
inline TColor BackgroundOf(const QImage& Image, const TRect& R) {
  std::map<TColor, Integer> counts;
  for (Integer y = R.Top + 2; y < R.Bottom - 2; ++y)
    for (Integer x = R.Left + 2; x < R.Right - 2; ++x) ++counts[PixelAt(Image, x, y)];
  return std::max_element(counts.begin(), counts.end(), [](auto& A, auto& B) { return A.second < B.second; })->first;
}

// While it lives there is no shared style: Grid, and grids made meanwhile, keep the colour
// rules of a grid without one.
class TWithoutGridStyle {
public:
  explicit TWithoutGridStyle(TCustomDBGridX* Grid) : FSaved(std::move(DBGridXGlobals().Style)) { Grid->SetStyle(nullptr); }
  ~TWithoutGridStyle() { DBGridXGlobals().Style = std::move(FSaved); }
private:
  std::unique_ptr<TDBGridXStyle> FSaved;
};

}  // namespace dbgridtest
