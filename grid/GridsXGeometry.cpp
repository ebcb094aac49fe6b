// Drawing geometry of the grid: the positions of both axes, cells under points and the
// screen rectangles of cell ranges. Everything is computed on demand from the counts,
// extents and the first shown lines; nothing is cached between calls.
#include "grid/GridsX.h"
#include <algorithm>

namespace {
// Walks lines From.. from Start; the first line whose running end lies beyond Pos.
Integer WalkTo(const TGridAxisDrawInfoX& A, Integer Start, Integer From, Integer To, Integer Pos) {
  Integer p = Start;
  for (Integer line = From; line <= To; ++line) {
    p += A.ExtentOf(line) + A.LineWidth;
    if (p > Pos) return line;
  }
  return -1;
}
}  // namespace

Integer TGridAxisDrawInfoX::SpanOf(Integer From, Integer To) const {
  Integer sum = 0;
  for (Integer line = From; line < To; ++line) sum += ExtentOf(line) + LineWidth;
  return sum;
}

TGridAxisPartX TGridAxisDrawInfoX::PartAt(Integer Pos) const {
  if (Pos < FrozenStart) return apFixedX;
  if (Pos < FixedEnd) return apFrozenX;
  if (Pos > ContraStart) return apContraX;
  return apDataX;
}

Integer TGridAxisDrawInfoX::LineAt(Integer Pos) const {
  if (Pos < StartIndent) return -1;
  const TGridAxisSpanX& part = Part(PartAt(Pos));
  return WalkTo(*this, part.Start, part.FirstLine, part.LineLimit - 1, Pos);
}

Integer TGridAxisDrawInfoX::LinePos(Integer Line) const {
  Integer pos, from;
  if (Line < FixedCount) {
    pos = StartIndent;
    from = 0;
  } else if (Line < DataCount) {
    if (Line < FirstDataCell) return 0;
    pos = DataStart;
    from = FirstDataCell;
  } else {
    pos = ContraStart + LineWidth;
    from = DataCount;
  }
  for (Integer line = from; line < Line; ++line) {
    pos += ExtentOf(line) + LineWidth;
    if (pos > CellAreaEnd) return 0;
  }
  return pos;
}

void TCustomGridX::CalcAxisDrawInfo(TGridAxisDrawInfoX& A, bool IsRows, Integer ClientExtent) {
  const TGridOptionsX o = FGridOptions;
  const bool lines = IsRows ? (o.Contains(goFixedHorzLine) || o.Contains(goHorzLine))
                            : (o.Contains(goFixedVertLine) || o.Contains(goVertLine));
  A.LineWidth = lines ? FGridLineWidth : 0;
  if (IsRows) A.ExtentOf = [this](Integer i) { return RowHeights(i); };
  else A.ExtentOf = [this](Integer i) { return ColWidths(i); };
  A.FixedCount = IsRows ? FFixedRows : FFixedCols;
  A.FirstDataCell = IsRows ? FTopLeft.Y : FTopLeft.X;
  A.DataCount = IsRows ? FRowCount : FColCount;
  A.ContraCount = IsRows ? FContraRowCount : FContraColCount;
  A.FullCount = A.DataCount + A.ContraCount;
  A.FrozenCount = IsRows ? FFrozenRowCount : FFrozenColCount;
  A.FirstCellOffset = IsRows ? FTopRowOffset : FLeftColOffset;
  A.ClientExtent = ClientExtent;
  A.ContraStart = ClientExtent - A.SpanOf(A.DataCount, A.FullCount) - (A.ContraCount > 0 ? A.LineWidth : 0);
  const TGridOutBoundaryDataX& ob = *FOutBoundaryData;
  A.StartIndent = IsRows ? ob.TopIndent() : ob.LeftIndent;
  A.EndIndent = IsRows ? ob.BottomIndent : ob.RightIndent;
  A.FixedEnd = A.StartIndent + A.SpanOf(0, A.FixedCount);
  A.FrozenStart = A.FixedEnd - A.SpanOf(std::max(0, A.FixedCount - A.FrozenCount), A.FixedCount);
  A.CellAreaEnd = ClientExtent - A.EndIndent;
  A.DataLimit = A.ContraStart;
  A.DataStart = A.FixedEnd - A.FirstCellOffset;
  A.DataEnd = A.DataStart;
  A.LastFullCell = A.FirstDataCell;
  A.LastFullCellEnd = A.FixedEnd;
  for (Integer line = A.FirstDataCell; line < A.DataCount; ++line) {
    const Integer p = A.DataEnd + A.ExtentOf(line) + A.LineWidth;
    if (p > A.DataLimit) {
      A.DataEnd = A.DataLimit;
      break;
    }
    A.DataEnd = p;
    A.LastFullCell = line;
    A.LastFullCellEnd = p;
  }
  A.LinesEnd = A.ContraCount > 0 ? A.CellAreaEnd : A.DataEnd;
  const Integer firstFrozen = std::max(0, A.FixedCount - A.FrozenCount);
  A.Parts[apFixedX] = {A.StartIndent, A.FrozenStart, 0, A.DataCount};
  A.Parts[apFrozenX] = {A.FrozenStart, A.FixedEnd, firstFrozen, A.DataCount};
  A.Parts[apDataX] = {A.DataStart, A.DataEnd, A.FirstDataCell, A.DataCount};
  A.Parts[apContraX] = {A.ContraStart + A.LineWidth, A.CellAreaEnd, A.DataCount, A.FullCount};
}

void TCustomGridX::FillDrawInfo(TGridDrawInfoX& DrawInfo) {
  CalcAxisDrawInfo(DrawInfo.Horz, false, GridClientWidth());
  CalcAxisDrawInfo(DrawInfo.Vert, true, GridClientHeight());
}

TGridCoord TCustomGridX::CellAtPoint(Integer X, Integer Y) {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  if (RightToLeft()) X = GridClientWidth() - X;
  const Integer col = di.Horz.LineAt(X);
  const Integer row = col < 0 ? -1 : di.Vert.LineAt(Y);
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

namespace {
// One axis of a range's screen rectangle; false when nothing of it is visible.
bool AxisToScreen(const TGridAxisDrawInfoX& A, Integer Min, Integer Max, Integer& ScreenMin, Integer& ScreenMax,
                  bool IncludeLine) {
  if (Min >= A.FullCount) return false;
  if (Min >= A.FixedCount && Min < A.FirstDataCell) {
    if (Max < A.FirstDataCell) return false;
    Min = A.FirstDataCell;
  }
  if (Max > A.LastFullCell) {
    if (Max < A.DataCount) {
      Max = A.LastFullCell;
      if (A.LastFullCell < A.DataCount - 1) {
        ++Max;
        if (A.LinePos(Max) == 0) --Max;
      }
    } else {
      Max = std::min(Max, A.FullCount - 1);
    }
  }
  ScreenMin = A.LinePos(Min);
  const Integer maxPos = A.LinePos(Max);
  ScreenMax = maxPos == 0 ? ScreenMin + A.ExtentOf(Min) : maxPos + A.ExtentOf(Max);
  if (Max >= A.DataCount) ScreenMax = std::min(ScreenMax, A.CellAreaEnd);
  else if (Max >= A.FixedCount) ScreenMax = std::min(ScreenMax, A.DataLimit);
  if (Min >= A.FixedCount && Min < A.DataCount && ScreenMin < A.FixedEnd) ScreenMin = A.FixedEnd;
  if (IncludeLine) ScreenMax += A.LineWidth;
  return true;
}

bool BeginsBeyondView(const TGridAxisDrawInfoX& A, Integer Min, Integer Max) {
  return Min > A.LastFullCell + 1 && Max < A.DataCount;
}
}  // namespace

void TCustomGridX::GridRectToScreen(const TGridRectX& GridRect, TRect& ScreenRect, bool IncludeLine) {
  ScreenRect = TRect();
  if (GridRect.Right < GridRect.Left || GridRect.Bottom < GridRect.Top) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  if (BeginsBeyondView(di.Horz, GridRect.Left, GridRect.Right) || BeginsBeyondView(di.Vert, GridRect.Top, GridRect.Bottom))
    return;
  TRect r;
  if (!AxisToScreen(di.Horz, GridRect.Left, GridRect.Right, r.Left, r.Right, IncludeLine)) return;
  if (!AxisToScreen(di.Vert, GridRect.Top, GridRect.Bottom, r.Top, r.Bottom, IncludeLine)) return;
  if (RightToLeft() && !FPaintingMirrored) {
    const Integer w = GridClientWidth();
    const Integer left = r.Left;
    r.Left = w - r.Right;
    r.Right = w - left;
  }
  ScreenRect = r;
}

void TCustomGridX::CellRangeBounds(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom, TRect& R) {
  GridRectToScreen({ALeft, ATop, ARight, ABottom}, R, false);
}

// The smallest first line from which the lines up to Cell fit the data band. The budget
// starts one line width beyond the limit because the last line's own grid line may sit
// on the limit.
TCustomGridX::TMaxFirst TCustomGridX::CalcMaxFirstLine(const TGridAxisDrawInfoX& A, Integer Cell) const {
  const Integer start = std::max(Cell, A.FixedCount);
  TMaxFirst result{start, -1, 0};
  Integer pos = A.DataLimit + A.LineWidth;
  for (Integer line = start; line >= A.FixedCount; --line) {
    const Integer extent = A.ExtentOf(line);
    if (extent <= 0) continue;
    pos -= extent + A.LineWidth;
    if (pos < A.FixedEnd) {
      if (result.Line == start && A.ExtentOf(start) <= 0) result.Line = line;
      if (line != start) {
        result.HiddenLine = line;
        result.HiddenPixels = A.FixedEnd - pos;
      }
      break;
    }
    result.Line = line;
  }
  return result;
}

TGridCoord TCustomGridX::CalcMaxTopLeft(const TGridCoord& Cell, const TGridDrawInfoX& DrawInfo) const {
  return {CalcMaxFirstLine(DrawInfo.Horz, Cell.X).Line, CalcMaxFirstLine(DrawInfo.Vert, Cell.Y).Line};
}
