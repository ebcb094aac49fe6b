// Moving the view of the grid: by cells and by pixels, the scroll bars in cell and pixel
// mode, the current cell, and changes of the line counts.
#include "grid/GridsX.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>
#include <cstdlib>

namespace {
constexpr Integer CellModeRange = 127;
}

// ---- current cell

void TCustomGridX::DoMoveToCell(Integer ACol, Integer ARow, bool MoveAnchor, bool ShowHorz, bool ShowVert) {
  if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
    throw EInvalidGridOperationX(QString::fromUtf8(SGridIndexOutOfRange));
  if (!MayMoveToCell(ACol, ARow)) return;
  const TGridRectX oldSelection = SelectedRange();
  const TGridCoord oldCurrent = FCurrent;
  FCurrent = {ACol, ARow};
  if (!FGridOptions.Contains(goAlwaysShowEditor)) LeaveEditorMode();
  const bool rowSelect = FGridOptions.Contains(goRowSelect);
  if (MoveAnchor || !FGridOptions.Contains(goRangeSelect)) {
    FAnchor = FCurrent;
    if (rowSelect) FAnchor.X = FColCount - 1;
  }
  if (rowSelect) FCurrent.X = FTopLeft.X;
  if (ShowHorz || ShowVert) ScrollCellIntoView(FCurrent, ShowHorz && !rowSelect, ShowVert);
  InvalidateSelectionChange(oldSelection);
  InvalidateCellArea(oldCurrent.X, oldCurrent.Y);
  InvalidateCellArea(FCurrent.X, FCurrent.Y);
}

void TCustomGridX::ScrollCellIntoView(const TGridCoord& Cell, bool ShowHorz, bool ShowVert) {
  if (!HandleAllocated()) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  if (Cell.X <= di.Horz.LastFullCell && Cell.Y <= di.Vert.LastFullCell && Cell.X >= FTopLeft.X &&
      Cell.Y >= FTopLeft.Y && !(FTopLeft.X == Cell.X && FLeftColOffset > 0) &&
      !(FTopLeft.Y == Cell.Y && FTopRowOffset > 0))
    return;
  const TGridCoord oldTopLeft = FTopLeft;
  const Integer oldLeftOffset = FLeftColOffset, oldTopOffset = FTopRowOffset;
  const TMaxFirst maxH = CalcMaxFirstLine(di.Horz, Cell.X);
  const TMaxFirst maxV = CalcMaxFirstLine(di.Vert, Cell.Y);
  Update();
  auto show = [](Integer cell, Integer fixedCount, const TGridAxisDrawInfoX& axis, const TMaxFirst& max, bool smooth,
                 Integer& first, Integer& offset) {
    if (cell == first && offset > 0) {
      offset = 0;
    } else if (cell >= fixedCount && cell < first) {
      first = cell;
      offset = 0;
    } else if (cell > axis.LastFullCell) {
      first = max.Line;
      offset = 0;
      // Smooth scrolling hides part of the line before, so the cell ends exactly at the limit.
      if (smooth && first > fixedCount && max.HiddenLine >= fixedCount && max.HiddenPixels != 0) {
        first = max.HiddenLine;
        offset = max.HiddenPixels;
      }
    }
  };
  if (ShowHorz) show(Cell.X, FFixedCols, di.Horz, maxH, IsSmoothHorzScroll(), FTopLeft.X, FLeftColOffset);
  if (ShowVert) show(Cell.Y, FFixedRows, di.Vert, maxV, IsSmoothVertScroll(), FTopLeft.Y, FTopRowOffset);
  TopLeftMoved(oldTopLeft, oldLeftOffset, oldTopOffset);
}

// ---- moving the view

void TCustomGridX::MoveTopLeft(Integer ALeft, Integer ATop) {
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  Update();
  const TGridCoord oldTopLeft = FTopLeft;
  const Integer oldLeftOffset = FLeftColOffset, oldTopOffset = FTopRowOffset;
  FTopLeft = {ALeft, ATop};
  if (ALeft != oldTopLeft.X) FLeftColOffset = 0;
  if (ATop != oldTopLeft.Y) FTopRowOffset = 0;
  TopLeftMoved(oldTopLeft, oldLeftOffset, oldTopOffset);
}

// How far the content moved on one axis; TooFar when it moved beyond the visible band,
// which is then repainted instead of scrolled.
Integer TCustomGridX::ScrollShift(const TGridAxisDrawInfoX& A, Integer OldFirst, Integer OldOffset, Integer NewFirst,
                                  Integer NewOffset, bool& TooFar) const {
  const Integer band = A.DataEnd - A.FixedEnd;
  const bool forward = NewFirst > OldFirst;
  const Integer from = forward ? OldFirst : NewFirst, to = forward ? NewFirst : OldFirst;
  Integer sum = 0;
  for (Integer line = from; line < to; ++line) {
    sum += A.ExtentOf(line) + A.LineWidth;
    if (sum > band + std::max(OldOffset, NewOffset)) {
      TooFar = true;
      return 0;
    }
  }
  const Integer shift = forward ? -(NewOffset + sum - OldOffset) : OldOffset + sum - NewOffset;
  if (std::abs(shift) > band) TooFar = true;
  return shift;
}

void TCustomGridX::TopLeftMoved(const TGridCoord& OldTopLeft, Integer OldLeftOffset, Integer OldTopOffset) {
  UpdateScrollPos();
  TGridDrawInfoX di;
  FillDrawInfo(di);
  bool tooFar = false;
  const Integer dx = ScrollShift(di.Horz, OldTopLeft.X, OldLeftOffset, FTopLeft.X, FLeftColOffset, tooFar);
  const Integer dy = ScrollShift(di.Vert, OldTopLeft.Y, OldTopOffset, FTopLeft.Y, FTopRowOffset, tooFar);
  if (tooFar) Invalidate();
  else if (dx != 0 || dy != 0) BaseScrollDataArea(dx, dy);
  ScrollPositionChanged();
}

void TCustomGridX::ScrollDataArea(Integer DX, Integer DY) { BaseScrollDataArea(DX, DY); }

void TCustomGridX::BaseScrollDataArea(Integer DX, Integer DY) {
  if (!HandleAllocated()) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TGridAxisDrawInfoX& H = di.Horz;
  const TGridAxisDrawInfoX& V = di.Vert;
  const Cardinal flags = SW_INVALIDATE | (FDefaultCellDrawing ? 0 : SW_ERASE);
  auto scroll = [&](TRect r, Integer dx, Integer dy) { ScrollWindowEx(dx, dy, &r, &r, flags); };
  if (DX != 0 && DY != 0) {
    scroll(TRect(H.FixedEnd, V.StartIndent, H.DataLimit, V.FixedEnd), DX, 0);
    scroll(TRect(H.StartIndent, V.FixedEnd, H.FixedEnd, V.DataLimit), 0, DY);
    scroll(TRect(H.FixedEnd, V.FixedEnd, H.DataLimit, V.DataLimit), DX, DY);
    scroll(TRect(H.FixedEnd, V.DataLimit, H.DataLimit, V.CellAreaEnd), DX, 0);
    scroll(TRect(H.DataLimit, V.FixedEnd, H.CellAreaEnd, V.DataLimit), 0, DY);
  } else if (DY != 0) {
    scroll(TRect(H.StartIndent, V.FixedEnd, H.CellAreaEnd, V.DataLimit), 0, DY);
  } else if (DX != 0) {
    TRect r(H.FixedEnd, V.StartIndent, H.DataLimit, V.CellAreaEnd);
    if (RightToLeft()) {
      const Integer w = GridClientWidth(), left = r.Left;
      r.Left = w - r.Right;
      r.Right = w - left;
      DX = -DX;
    }
    scroll(r, DX, 0);
  }
  if (FGridOptions.Contains(goRowSelect)) InvalidateGridRect(SelectedRange());
}

void TCustomGridX::ScrollPositionChanged() {
  if (FEditorMode && FInplaceEditor) {
    TRect r;
    GetEditorRect(FCurrent.X, FCurrent.Y, r);
    FInplaceEditor->MoveToRect(r);
  }
  const TPoint p = ScreenToClient(GetCursorPos());
  UpdateHotTrack(p.X, p.Y);
}

// ---- pixel scrolling

Integer TCustomGridX::ClampPixelDelta(const TGridAxisDrawInfoX& A, Integer Delta) const {
  if (Delta >= 0) {
    Integer end = A.FixedEnd - A.FirstCellOffset - Delta;
    for (Integer line = A.FirstDataCell; line < A.DataCount && end < A.DataLimit; ++line)
      end += A.ExtentOf(line) + A.LineWidth;
    if (end < A.DataLimit) Delta = std::max(0, Delta - (A.DataLimit - end));
    return Delta;
  }
  const Integer needed = -A.FirstCellOffset - Delta;
  Integer covered = 0;
  for (Integer line = A.FirstDataCell - 1; line >= A.FixedCount && covered < needed; --line)
    covered += A.ExtentOf(line) + A.LineWidth;
  if (covered < needed) Delta += needed - covered;
  return Delta;
}

void TCustomGridX::ApplyPixelDelta(const TGridAxisDrawInfoX& A, Integer Delta, Integer& First, Integer& Offset) const {
  Integer rest = Offset + Delta;
  if (Delta > 0) {
    while (First < A.DataCount - 1 && A.ExtentOf(First) + A.LineWidth <= rest) {
      rest -= A.ExtentOf(First) + A.LineWidth;
      ++First;
    }
  } else {
    while (rest < 0 && First > A.FixedCount) {
      --First;
      rest += A.ExtentOf(First) + A.LineWidth;
    }
  }
  Offset = std::max(0, rest);
}

void TCustomGridX::ScrollByPixels(Integer DX, Integer DY) {
  if (!IsSmoothHorzScroll()) DX = 0;
  if (!IsSmoothVertScroll()) DY = 0;
  if (DX == 0 && DY == 0) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  DX = ClampPixelDelta(di.Horz, DX);
  DY = ClampPixelDelta(di.Vert, DY);
  if (DX == 0 && DY == 0) return;
  const TGridCoord oldTopLeft = FTopLeft;
  const Integer oldLeftOffset = FLeftColOffset, oldTopOffset = FTopRowOffset;
  if (DX != 0) ApplyPixelDelta(di.Horz, DX, FTopLeft.X, FLeftColOffset);
  if (DY != 0) ApplyPixelDelta(di.Vert, DY, FTopLeft.Y, FTopRowOffset);
  TopLeftMoved(oldTopLeft, oldLeftOffset, oldTopOffset);
}

// ---- extents of the scrolling lines and the scroll bars

namespace {
// Pixels of the scrolling lines before First, always counting the grid line width.
Integer PixelsBefore(const TIntegerArray& Extents, Integer Default, Integer LineWidth, Integer FixedCount, Integer First,
                     const std::function<Integer(Integer)>& ExtentOf) {
  if (First <= FixedCount) return 0;
  if (Extents.empty()) return (First - FixedCount) * (Default + LineWidth);
  Integer sum = 0;
  for (Integer line = FixedCount; line < First; ++line) sum += ExtentOf(line) + LineWidth;
  return sum;
}

// The cell-mode position of First between the fixed count and the largest first line;
// 0 when there is nothing to scroll.
Integer CellModePos(Integer First, Integer FixedCount, Integer MaxFirst) {
  if (MaxFirst <= FixedCount) return 0;
  return std::clamp(MulDiv(First - FixedCount, CellModeRange, MaxFirst - FixedCount), 0, CellModeRange);
}
}  // namespace

void TCustomGridX::CalcScrollExtent(bool Rows) {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TGridAxisDrawInfoX& A = Rows ? di.Vert : di.Horz;
  (Rows ? FVertTotalExtent : FHorzTotalExtent) =
      PixelsBefore(Rows ? FRowHeights : FColWidths, Rows ? FDefaultRowHeight : FDefaultColWidth, FGridLineWidth,
                   A.FixedCount, A.DataCount, A.ExtentOf);
  (Rows ? FVertPageExtent : FHorzPageExtent) = std::max(0, A.DataLimit - A.FixedEnd);
  UpdateScrollPos();
}

void TCustomGridX::UpdateScrollPos() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const bool bars = HandleAllocated() && FScrollBars != ssNone;
  const bool horzBar = bars && (FScrollBars == ssHorizontal || FScrollBars == ssBoth);
  const bool vertBar = bars && (FScrollBars == ssVertical || FScrollBars == ssBoth);
  if (IsSmoothHorzScroll()) {
    FHorzScrollPos = PixelsBefore(FColWidths, FDefaultColWidth, FGridLineWidth, FFixedCols, FTopLeft.X,
                                  di.Horz.ExtentOf) + FLeftColOffset;
    if (RightToLeft()) FHorzScrollPos = FHorzTotalExtent - FHorzScrollPos - FHorzPageExtent;
    if (horzBar) SetBarInfo(SB_HORZ, 0, FHorzTotalExtent - 1, FHorzPageExtent, FHorzScrollPos);
  } else {
    FHorzScrollPos = PixelsBefore(FColWidths, FDefaultColWidth, FGridLineWidth, FFixedCols, FTopLeft.X, di.Horz.ExtentOf);
    if (horzBar) {
      Integer pos = CellModePos(FTopLeft.X, FFixedCols, CalcMaxFirstLine(di.Horz, FColCount - 1).Line);
      if (RightToLeft()) pos = CellModeRange - pos;
      if (GetScrollPos(SB_HORZ) != pos) SetScrollPos(SB_HORZ, pos, true);
    }
  }
  if (IsSmoothVertScroll()) {
    FVertScrollPos = PixelsBefore(FRowHeights, FDefaultRowHeight, FGridLineWidth, FFixedRows, FTopLeft.Y,
                                  di.Vert.ExtentOf) + FTopRowOffset;
    if (vertBar) SetBarInfo(SB_VERT, 0, FVertTotalExtent - 1, FVertPageExtent, FVertScrollPos);
  } else {
    FVertScrollPos = PixelsBefore(FRowHeights, FDefaultRowHeight, FGridLineWidth, FFixedRows, FTopLeft.Y, di.Vert.ExtentOf);
    if (vertBar) {
      const Integer pos = CellModePos(FTopLeft.Y, FFixedRows, CalcMaxFirstLine(di.Vert, FRowCount - 1).Line);
      if (GetScrollPos(SB_VERT) != pos) SetScrollPos(SB_VERT, pos, true);
    }
  }
}

void TCustomGridX::SetBarInfo(Integer Bar, Integer Min, Integer Max, Integer Page, Integer Pos) {
  TScrollInfo current;
  current.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  GetScrollInfo(Bar, current);
  if (current.nMin == Min && current.nMax == Max && Integer(current.nPage) == Page && current.nPos == Pos) return;
  TScrollInfo info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = Min;
  info.nMax = Max;
  info.nPage = Cardinal(std::max(0, Page));
  info.nPos = Pos;
  SetScrollInfo(Bar, info, true);
}

void TCustomGridX::RefreshBar(bool Horz) {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TGridAxisDrawInfoX& A = Horz ? di.Horz : di.Vert;
  const Integer bar = Horz ? SB_HORZ : SB_VERT;
  if (Horz ? IsSmoothHorzScroll() : IsSmoothVertScroll()) {
    const Integer page = std::max(0, A.DataLimit - A.FixedEnd);
    const Integer total = Horz ? FHorzTotalExtent : FVertTotalExtent;
    const Integer maxPos = std::max(0, total - page);
    const Integer pos = Horz ? FHorzScrollPos : FVertScrollPos;
    if (pos > maxPos) {
      if (Horz) ScrollByPixels(maxPos - pos, 0);
      else ScrollByPixels(0, maxPos - pos);
    }
    (Horz ? FHorzPageExtent : FVertPageExtent) = page;
    SetBarInfo(bar, 0, total - 1, page, Horz ? FHorzScrollPos : FVertScrollPos);
    return;
  }
  const Integer maxFirst = CalcMaxFirstLine(A, A.DataCount - 1).Line;
  SetBarInfo(bar, 0, maxFirst > A.FixedCount ? CellModeRange : 0, 0, GetScrollPos(bar));
  Integer& first = Horz ? FTopLeft.X : FTopLeft.Y;
  if (first > maxFirst) {
    Update();
    first = maxFirst;
    (Horz ? FLeftColOffset : FTopRowOffset) = 0;
  }
}

void TCustomGridX::RefreshScrollBars() {
  if (FScrollBars == ssNone || !HandleAllocated() || !Showing() || UpdateLocked() || FRefreshingBars) return;
  // Changing a bar can change the client size and bring a WM_SIZE back here.
  const TGridCoord oldTopLeft = FTopLeft;
  {
    FRefreshingBars = true;
    TScopeGuard refreshed([this] { FRefreshingBars = false; });
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) RefreshBar(true);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) RefreshBar(false);
  }
  UpdateScrollPos();
  const bool moved = IsSmoothHorzScroll() ? FTopLeft.Y != oldTopLeft.Y : !(FTopLeft == oldTopLeft);
  if (moved) TopLeftMoved(oldTopLeft, FLeftColOffset, FTopRowOffset);
}

void TCustomGridX::ModifyScrollBar(Integer Bar, Integer ScrollCode, Integer Pos, bool UseRightToLeft) {
  if (Visible() && CanFocus() && TabStop() && !Designing()) SetFocus();
  const bool horz = Bar == SB_HORZ;
  const bool mirrored = horz && RightToLeft() && UseRightToLeft;
  const Integer direction = mirrored ? -1 : 1;
  const bool thumb = ScrollCode == SB_THUMBPOSITION || (ScrollCode == SB_THUMBTRACK && FGridOptions.Contains(goThumbTracking));
  if (horz ? IsSmoothHorzScroll() : IsSmoothVertScroll()) {
    const Integer step = horz ? GetHorzScrollStep() : GetVertScrollStep();
    const Integer page = horz ? FHorzPageExtent : FVertPageExtent;
    const Integer current = horz ? FHorzScrollPos : FVertScrollPos;
    const Integer total = horz ? FHorzTotalExtent : FVertTotalExtent;
    Integer delta = 0;
    if (ScrollCode == SB_LINEUP) delta = -step * direction;
    else if (ScrollCode == SB_LINEDOWN) delta = step * direction;
    else if (ScrollCode == SB_PAGEUP) delta = -page * direction;
    else if (ScrollCode == SB_PAGEDOWN) delta = page * direction;
    else if (thumb) delta = mirrored ? current - Pos : Pos - current;
    else if (ScrollCode == SB_TOP) delta = -total;
    else if (ScrollCode == SB_BOTTOM) delta = total;
    if (delta != 0) ScrollByPixels(horz ? delta : 0, horz ? 0 : delta);
    return;
  }
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TGridAxisDrawInfoX& A = horz ? di.Horz : di.Vert;
  const Integer maxFirst = CalcMaxFirstLine(A, A.DataCount - 1).Line;
  const Integer first = horz ? FTopLeft.X : FTopLeft.Y;
  Integer line = first;
  for (;;) {
    const Integer before = line;
    if (ScrollCode == SB_LINEUP) line -= direction;
    else if (ScrollCode == SB_LINEDOWN) line += direction;
    else if (ScrollCode == SB_PAGEUP) line -= direction * std::max(1, first - CalcMaxFirstLine(A, first).Line);
    else if (ScrollCode == SB_PAGEDOWN) line += direction * std::max(1, A.LastFullCell - first);
    else if (thumb) {
      const Integer share = MulDiv(Pos, maxFirst - A.FixedCount, CellModeRange);
      line = mirrored ? maxFirst - share : A.FixedCount + share;
    } else if (ScrollCode == SB_TOP) line = A.FixedCount;
    else if (ScrollCode == SB_BOTTOM) line = maxFirst;
    // Hidden lines are stepped over so that every step shows something new.
    if (line == before || line <= A.FixedCount || line >= maxFirst || A.ExtentOf(line) > 0) break;
  }
  line = std::clamp(line, A.FixedCount, std::max(A.FixedCount, maxFirst));
  if (horz) MoveTopLeft(line, FTopLeft.Y);
  else MoveTopLeft(FTopLeft.X, line);
}

// ---- line counts

void TCustomGridX::ChangeSize(Integer NewColCount, Integer NewRowCount) {
  TGridDrawInfoX oldInfo;
  FillDrawInfo(oldInfo);
  const Integer oldCols = FColCount, oldRows = FRowCount;
  const Integer oldFixedCols = FFixedCols, oldFixedRows = FFixedRows;
  const Integer oldHorzTotal = FHorzTotalExtent, oldVertTotal = FVertTotalExtent;
  auto apply = [&] {
    if (!FColWidths.empty()) UpdateExtents(FColWidths, FullColCount(), FDefaultColWidth);
    if (!FTabStops.empty()) UpdateExtents(FTabStops, FullColCount(), 1);
    if (!FRowHeights.empty()) UpdateExtents(FRowHeights, FullRowCount(), FDefaultRowHeight);
    const TGridCoord clamped{std::min(FCurrent.X, FColCount - 1), std::min(FCurrent.Y, FRowCount - 1)};
    if (!(clamped == FCurrent)) DoMoveToCell(clamped.X, clamped.Y, true, true, true);
    if (!(FAnchor == clamped)) MoveAnchor(clamped, false);
    if (HandleAllocated()) {
      if (FFullRepaintOnResize || FTopLeft.X != oldInfo.Horz.FirstDataCell || FTopLeft.Y != oldInfo.Vert.FirstDataCell) {
        Invalidate();
      } else {
        TGridDrawInfoX info;
        FillDrawInfo(info);
        const Integer col = std::min(oldInfo.Horz.LastFullCell, info.Horz.LastFullCell);
        const Integer row = std::min(oldInfo.Vert.LastFullCell, info.Vert.LastFullCell);
        const TRect cols(info.Horz.LinePos(col), 0, GridClientWidth(), GridClientHeight());
        const TRect rows(0, info.Vert.LinePos(row), GridClientWidth(), GridClientHeight());
        InvalidateRect(&cols, false);
        InvalidateRect(&rows, false);
      }
    }
    RefreshScrollBars();
    CountsChanged(oldCols, oldRows);
  };
  FColCount = NewColCount;
  FRowCount = NewRowCount;
  if (FFixedCols >= FColCount) FFixedCols = FColCount - 1;
  if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
  try {
    apply();
  } catch (...) {
    // A size the grid cannot take is undone: the old counts and extents come back.
    FColCount = oldCols;
    FRowCount = oldRows;
    FFixedCols = oldFixedCols;
    FFixedRows = oldFixedRows;
    FHorzTotalExtent = oldHorzTotal;
    FVertTotalExtent = oldVertTotal;
    apply();
    Invalidate();
    throw;
  }
}

Integer TCustomGridX::ChangeLineCount(Integer& Count, TIntegerArray* Extents, Integer Default, Integer& CurrentIndex,
                                      Integer Index, Integer Delta) {
  const Integer oldCount = Count;
  if (oldCount + Delta < Index) throw EInvalidGridOperationX(QString::fromUtf8(STooManyDeleted));
  Integer distance = Delta * Default;
  if (Extents && !Extents->empty()) {
    if (Delta < 0) {
      distance = 0;
      for (Integer line = Index; line < Index - Delta && line + 1 < Integer(Extents->size()); ++line)
        distance -= (*Extents)[size_t(line) + 1];
    }
    ModifyExtents(*Extents, Index, Delta, Default);
  }
  Count = oldCount + Delta;
  if (CurrentIndex >= Index) {
    if (Delta < 0 && CurrentIndex < Index - Delta) CurrentIndex = Index;
    else CurrentIndex += Delta;
  }
  if (CurrentIndex > Count - 1) CurrentIndex = Count - 1;
  return distance;
}

void TCustomGridX::InsertDeleteLines(Integer Index, Integer Count, bool IsRows) {
  if (Count == 0) return;
  const TGridCoord oldCurrent = FCurrent;
  const Integer oldCols = FColCount, oldRows = FRowCount;
  TGridRectX range{FFixedCols, FFixedRows, FColCount - 1, FRowCount - 1};
  Integer distance;
  if (IsRows) {
    distance = ChangeLineCount(FRowCount, &FRowHeights, FDefaultRowHeight, FCurrent.Y, Index, Count);
    range.Top = Index;
    if (FTopLeft.Y >= Index + std::abs(Count)) range.Bottom = FTopLeft.Y - 1;
  } else {
    Integer tabCount = FColCount, tabCurrent = FCurrent.X;
    ChangeLineCount(tabCount, &FTabStops, 1, tabCurrent, Index, Count);
    distance = ChangeLineCount(FColCount, &FColWidths, FDefaultColWidth, FCurrent.X, Index, Count);
    range.Left = Index;
    if (FTopLeft.X >= Index + std::abs(Count)) range.Right = FTopLeft.X - 1;
  }
  TRect r;
  GridRectToScreen(range, r, true);
  if (!r.IsEmpty() && HandleAllocated()) {
    ScrollWindowEx(IsRows ? 0 : distance, IsRows ? distance : 0, &r, &r, SW_INVALIDATE);
    Update();
  }
  if (FContraColCount > 0 || FContraRowCount > 0) Invalidate();
  CountsChanged(oldCols, oldRows);
  if (!(FCurrent == oldCurrent)) DoMoveToCell(FCurrent.X, FCurrent.Y, true, true, true);
  RefreshScrollBars();
}
