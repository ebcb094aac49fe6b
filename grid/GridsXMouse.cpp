// The mouse side of the grid: selecting, sizing lines by their borders, moving rows and
// columns by their fixed cells with auto-scrolling, hot tracking, cell clicks and the
// feedback drawn meanwhile (kept as overlay state and painted with the grid).
#include "grid/GridsX.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/SystemColors.h"
#include <algorithm>

namespace {
constexpr Cardinal SelectTimerInterval = 60;
constexpr Cardinal SlowMoveInterval = 360;
constexpr Integer PaceRange = 200;

// Half the grab zone left of a border, for lines up to 6 pixels.
Integer GrabOffset(Integer LineWidth) { return (7 - LineWidth) / 2; }

bool InGrabZone(Integer Pos, Integer Border, Integer LineWidth) {
  if (LineWidth > 6) return Pos >= Border && Pos <= Border + LineWidth;
  const Integer start = Border - GrabOffset(LineWidth);
  return Pos >= start && Pos <= start + 7;
}

// Finds a sizable border on one axis; the first hit wins.
bool SearchBorders(const TGridAxisDrawInfoX& A, Integer Pos, Integer& Index, Integer& SizingPos, Integer& SizingOfs) {
  auto hit = [&](Integer line, Integer border) {
    Index = line;
    SizingPos = border;
    SizingOfs = border - Pos;
    return true;
  };
  Integer p = A.FrozenStart;
  for (Integer line = A.FixedCount - A.FrozenCount; line < A.FixedCount; ++line) {
    p += A.ExtentOf(line);
    if (InGrabZone(Pos, p, A.LineWidth)) return hit(line, p);
    p += A.LineWidth;
  }
  p = A.DataStart;
  for (Integer line = A.FirstDataCell; line < A.DataCount; ++line) {
    p += A.ExtentOf(line);
    if (p > A.DataEnd) break;
    if (InGrabZone(Pos, p, A.LineWidth)) return hit(line, p);
    p += A.LineWidth;
  }
  const Integer d = GrabOffset(A.LineWidth);
  if (A.DataLimit == A.DataEnd && Pos >= A.DataLimit - d && Pos <= A.DataLimit) {
    const bool anyFull = A.LastFullCellEnd > A.FixedEnd;
    Index = anyFull ? A.LastFullCell + 1 : A.LastFullCell;
    SizingPos = A.DataLimit;
    SizingOfs = A.DataLimit - Pos;
    return true;
  }
  if (A.ContraCount == 0) return false;
  if (Pos >= A.ContraStart && Pos <= A.DataLimit + d) return hit(A.DataCount, A.DataLimit);
  // Contra lines are sized at their left edge: the border after line i sizes line i + 1.
  p = A.ContraStart + A.LineWidth;
  for (Integer line = A.DataCount; line < A.FullCount - 1; ++line) {
    p += A.ExtentOf(line);
    if (p > A.LinesEnd) break;
    if (InGrabZone(Pos, p, A.LineWidth)) return hit(line + 1, p);
    p += A.LineWidth;
  }
  return false;
}
}  // namespace

// ---- sizing

void TCustomGridX::HitTestSizing(Integer X, Integer Y, const TGridDrawInfoX& DrawInfo, TGridMouseStateX& State,
                                 Integer& Index, Integer& SizingPos, Integer& SizingOfs) {
  State = msIdle;
  Index = -1;
  TGridOptionsX options = FGridOptions;
  if (Designing()) options = options + FDesignOptionsBoost;
  const bool colSizing = options.Contains(goColSizing), rowSizing = options.Contains(goRowSizing);
  if (!colSizing && !rowSizing) return;
  const TGridAxisDrawInfoX& H = DrawInfo.Horz;
  const TGridAxisDrawInfoX& V = DrawInfo.Vert;
  const Integer x = RightToLeft() ? GridClientWidth() - X : X;
  if (colSizing && x > H.FrozenStart && Y >= V.StartIndent && Y < V.FrozenStart) {
    if (SearchBorders(H, x, Index, SizingPos, SizingOfs)) State = msColSizing;
  } else if (rowSizing && Y > V.FrozenStart && x >= H.StartIndent && x < H.FrozenStart) {
    if (SearchBorders(V, Y, Index, SizingPos, SizingOfs)) State = msRowSizing;
  }
}

bool TCustomGridX::IsOverSizingLine(Integer X, Integer Y) {
  if (FGridState != msIdle) return true;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  TGridMouseStateX state;
  Integer index, pos, ofs;
  HitTestSizing(X, Y, di, state, index, pos, ofs);
  return state != msIdle;
}

Integer TCustomGridX::ResizeLine(const TGridDrawInfoX& DI) {
  const TGridAxisDrawInfoX& A = FGridState == msColSizing ? DI.Horz : DI.Vert;
  const Integer i = FSizingIndex;
  if (i >= A.DataCount) return A.ContraStart - A.LineWidth + A.SpanOf(A.DataCount, i + 1) - FSizingPos;
  if (i < A.FixedCount) return FSizingPos - (A.FrozenStart + A.SpanOf(A.FixedCount - A.FrozenCount, i));
  return FSizingPos - (A.DataStart + A.SpanOf(A.FirstDataCell, i));
}

void TCustomGridX::GetSizingLineExtent(const TGridDrawInfoX& DrawInfo, Integer& StartPos, Integer& EndPos) {
  if (FGridState == msColSizing) {
    StartPos = DrawInfo.Vert.StartIndent;
    EndPos = DrawInfo.Vert.LinesEnd;
  } else if (RightToLeft()) {
    StartPos = DrawInfo.Horz.CellAreaEnd;
    EndPos = DrawInfo.Horz.CellAreaEnd - DrawInfo.Horz.LinesEnd;
  } else {
    StartPos = DrawInfo.Horz.StartIndent;
    EndPos = DrawInfo.Horz.LinesEnd;
  }
}

// The sizing line is overlay state: each call shows or hides it and repaints its strip.
void TCustomGridX::XorSizingLine(const TGridDrawInfoX& DrawInfo) {
  FSizingLineShown = !FSizingLineShown;
  if (!HandleAllocated()) return;
  Integer start = 0, end = 0;
  GetSizingLineExtent(DrawInfo, start, end);
  const TRect strip = FGridState == msColSizing
                          ? TRect(FSizingPos - 1, std::min(start, end), FSizingPos + 2, std::max(start, end) + 1)
                          : TRect(0, FSizingPos - 1, GridClientWidth(), FSizingPos + 2);
  InvalidateRect(&strip, false);
}

// ---- move mark

TRect TCustomGridX::MoveMarkRect(const TGridDrawInfoX& DI) {
  const Integer top = DI.Vert.LinePos(FMovePos);
  const Integer y = FMoveIndex < FMovePos ? top + RowHeights(FMovePos) : top;
  return TRect(0, y - 2, GridClientWidth(), y + 3);
}

// The column mark is the application's insertion mark window, at the edge of the cell the
// column goes before or after; the row mark is a band painted over the grid.
void TCustomGridX::SetMoveMarkShown(bool Value) {
  if (FGridState == msColMoving) {
    FMoveMarkShown = Value;
    if (!Value) {
      GetGridMoveLine()->Hide();
      return;
    }
    if (!HandleAllocated()) return;
    TGridDrawInfoX di;
    FillDrawInfo(di);
    const Integer left = di.Horz.LinePos(FMovePos);
    Integer x = FMoveInsertAfter ? left + ColWidths(FMovePos) : left - 1;
    if (RightToLeft()) x = GridClientWidth() - 1 - x;
    const TPoint at{x, di.Vert.StartIndent};
    TGridMoveLineX* mark = GetGridMoveLine();
    if (mark->IsShown()) mark->MoveToPoint(this, at);
    else mark->ShowMoveLine(this, at, true, di.Vert.LinesEnd - di.Vert.StartIndent);
    return;
  }
  if (Value == FMoveMarkShown) return;
  FMoveMarkShown = Value;
  if (!HandleAllocated()) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TRect r = MoveMarkRect(di);
  InvalidateRect(&r, false);
}

void TCustomGridX::HideMoveLine() {
  FMoveMarkShown = false;
  GetGridMoveLine()->Hide();
}

bool TCustomGridX::InsertAfterFor(Integer CellHit, Integer Mouse, const TGridDrawInfoX& DI, bool Horz) {
  const TGridAxisDrawInfoX& A = Horz ? DI.Horz : DI.Vert;
  if (FMoveIndex >= CellHit) return false;
  if (A.ExtentOf(FMoveIndex) < 1) {
    // A hidden line dropped on the first visible line after it goes before that line
    // while the mouse is on its first half.
    Integer hidden = 0;
    for (Integer line = FMoveIndex + 1; line < A.DataCount && A.ExtentOf(line) <= 0; ++line) ++hidden;
    if (CellHit == FMoveIndex + 1 + hidden && Mouse < A.LinePos(CellHit) + A.ExtentOf(CellHit) / 2) return false;
  }
  return true;
}

void TCustomGridX::MoveAndScroll(Integer Mouse, Integer CellHit, const TPoint& MousePt, bool Horz) {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  if (Horz && RightToLeft()) Mouse = GridClientWidth() - Mouse;
  const bool insertAfter = InsertAfterFor(CellHit, Mouse, di, Horz);
  const TGridAxisDrawInfoX* A = Horz ? &di.Horz : &di.Vert;
  const Integer offset = Horz ? FLeftColOffset : FTopRowOffset;
  if ((CellHit == FMovePos && insertAfter == FMoveInsertAfter) ||
      (offset == 0 && FMovePos == A->FixedCount && Mouse < A->FixedEnd) ||
      (FMovePos == A->DataCount - 1 && Mouse > A->DataEnd))
    return;
  if (!Horz) SetMoveMarkShown(false);
  const Integer bar = Horz ? SB_HORZ : SB_VERT;
  if (Mouse < A->FixedEnd) {
    if (FMovePos > A->FixedCount || offset != 0) {
      ModifyScrollBar(bar, SB_LINEUP, 0, false);
      Update();
      FillDrawInfo(di);
    }
    CellHit = A->FirstDataCell;
  } else if (Mouse >= A->LastFullCellEnd) {
    if (FMovePos == A->LastFullCell && FMovePos < A->DataCount - 1) {
      ModifyScrollBar(bar, SB_LINEDOWN, 0, false);
      Update();
      FillDrawInfo(di);
    }
    CellHit = A->LastFullCell;
  } else if (CellHit < 0) {
    CellHit = FMovePos;
  }
  Integer origin = FMoveIndex, destination = CellHit;
  if (Horz ? MayMoveColumnTo(origin, destination, MousePt) : MayMoveRowTo(origin, destination, MousePt)) {
    FMovePos = destination;
    FMoveInsertAfter = insertAfter;
  }
  SetMoveMarkShown(true);
}

void TCustomGridX::StartColumnMove(Integer Index, Integer X, Integer Y, const TGridDrawInfoX& DrawInfo) {
  FMoveIndex = Index;
  FMovePos = std::max(CellAtPoint(X, Y).X, DrawInfo.Horz.FirstDataCell);
  const Integer mouse = RightToLeft() ? GridClientWidth() - X : X;
  FMoveInsertAfter = InsertAfterFor(FMovePos, mouse, DrawInfo, true);
  if (!MayStartColumnMove(FMoveIndex, FMovePos, TPoint{X, Y})) return;
  FGridState = msColMoving;
  Update();
  SetMoveMarkShown(true);
  StartMoveTimer(SelectTimerInterval);
}

// ---- timer

void TCustomGridX::StartMoveTimer(Cardinal Interval) {
  FTimerInterval = Interval;
  if (HandleAllocated()) SetTimer(GridMoveTimerId, Interval);
}

void TCustomGridX::StopMoveTimer() {
  FTimerInterval = 0;
  if (HandleAllocated()) KillTimer(GridMoveTimerId);
}

// While the grid holds the mouse, the last position it saw is where the cursor is.
void TCustomGridX::HandleTimer() {
  if (FGridState != msSelecting && FGridState != msRowMoving && FGridState != msColMoving) return;
  const TPoint p = FLastMousePos;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const TGridCoord cell = CellAtPoint(p.X, p.Y);
  if (FGridState == msSelecting) {
    const TGridAxisDrawInfoX& H = di.Horz;
    const TGridAxisDrawInfoX& V = di.Vert;
    Byte direction = 0;
    if (RightToLeft()) {
      const Integer w = GridClientWidth();
      if (p.X < w - H.LastFullCellEnd) direction |= 2;
      if (p.X > w - H.FixedEnd) direction |= 1;
    } else {
      if (p.X < H.FixedEnd) direction |= 1;
      if (p.X > H.LastFullCellEnd) direction |= 2;
    }
    if (p.Y < V.FixedEnd) direction |= 4;
    if (p.Y > V.LastFullCellEnd) direction |= 8;
    if (direction != 0) AutoScrollStep(direction);
  } else if (FGridState == msRowMoving) {
    MoveAndScroll(p.Y, cell.Y, p, false);
  } else {
    const Integer oldLeftCol = FTopLeft.X, oldScrollPos = FHorzScrollPos;
    MoveAndScroll(p.X, cell.X, p, true);
    FillDrawInfo(di);
    PaceMoveTimer(p.X, di, oldLeftCol, oldScrollPos);
  }
}

// Column moves scroll faster the further the mouse is outside the data band.
void TCustomGridX::PaceMoveTimer(Integer X, const TGridDrawInfoX& DI, Integer OldLeftCol, Integer OldHorzScrollPos) {
  const TGridAxisDrawInfoX& H = DI.Horz;
  auto paced = [](Integer range, Integer dist) {
    dist = std::min(range, dist);
    const Integer d = dist <= 10 ? 1 : dist - 10;
    return Cardinal(SelectTimerInterval + Cardinal(1.5 * range / d));
  };
  Cardinal interval = SelectTimerInterval;
  if (FMovePos >= H.FixedCount) {
    if (X < H.FixedEnd) {
      const Integer screenFixedEnd = ClientToScreen(TPoint{H.FixedEnd, 0}).X;
      interval = paced(std::min(PaceRange, screenFixedEnd), H.FixedEnd - X);
    } else if (X < H.DataLimit) {
      const bool moved = FTopLeft.X > OldLeftCol || FHorzScrollPos > OldHorzScrollPos;
      interval = moved ? SlowMoveInterval : SelectTimerInterval;
    } else {
      const Integer screenLimit = ClientToScreen(TPoint{H.DataLimit, 0}).X;
      interval = paced(std::min(PaceRange, GetSystemMetrics(SM_CXSCREEN) - screenLimit), X - H.DataLimit);
    }
  }
  StartMoveTimer(interval);
}

void TCustomGridX::AutoScrollStep(Byte Direction) {
  TGridCoord anchor = FAnchor;
  if ((Direction & 1) && anchor.X > FFixedCols) --anchor.X;
  if ((Direction & 2) && anchor.X < FColCount - 1) ++anchor.X;
  if ((Direction & 4) && anchor.Y > FFixedRows) --anchor.Y;
  if ((Direction & 8) && anchor.Y < FRowCount - 1) ++anchor.Y;
  if (!(anchor == FAnchor)) MoveAnchor(anchor, true);
}

// ---- selection and relocation

void TCustomGridX::MoveAnchor(const TGridCoord& NewAnchor, bool Show) {
  if (FGridOptions.Contains(goRangeSelect) && !FGridOptions.Contains(goEditing)) {
    const TGridRectX oldSelection = SelectedRange();
    FAnchor = NewAnchor;
    if (FGridOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    ScrollCellIntoView(FAnchor, true, true);
    InvalidateSelectionChange(oldSelection);
  } else {
    DoMoveToCell(NewAnchor.X, NewAnchor.Y, true, Show, Show);
  }
}

namespace {
// Where an index lands when the line at From moves to To.
Integer Relocated(Integer Index, Integer From, Integer To) {
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (To < From && Index >= To && Index < From) return Index + 1;
  return Index;
}
}  // namespace

// Widths and tab stops each move with their column, whichever of them is stored.
void TCustomGridX::RelocateColumn(Integer FromIndex, Integer ToIndex) {
  if (FromIndex == ToIndex) return;
  const bool widths = !FColWidths.empty();
  if (widths) MoveExtent(FColWidths, FromIndex + 1, ToIndex + 1);
  if (!FTabStops.empty()) MoveExtent(FTabStops, FromIndex + 1, ToIndex + 1);
  FCurrent.X = Relocated(FCurrent.X, FromIndex, ToIndex);
  FAnchor.X = Relocated(FAnchor.X, FromIndex, ToIndex);
  if (FInplaceCol != -1) FInplaceCol = Relocated(FInplaceCol, FromIndex, ToIndex);
  InvalidateGridRect({std::min(FromIndex, ToIndex), 0, std::max(FromIndex, ToIndex), FullRowCount() - 1});
  ColumnMoved(FromIndex, ToIndex);
  if (widths) ColWidthsChanged();
  SyncEditor();
}

void TCustomGridX::RelocateRow(Integer FromIndex, Integer ToIndex) {
  if (FromIndex == ToIndex) return;
  const bool heights = !FRowHeights.empty();
  if (heights) MoveExtent(FRowHeights, FromIndex + 1, ToIndex + 1);
  FCurrent.Y = Relocated(FCurrent.Y, FromIndex, ToIndex);
  FAnchor.Y = Relocated(FAnchor.Y, FromIndex, ToIndex);
  if (FInplaceRow != -1) FInplaceRow = Relocated(FInplaceRow, FromIndex, ToIndex);
  InvalidateGridRect({0, std::min(FromIndex, ToIndex), FullColCount() - 1, std::max(FromIndex, ToIndex)});
  RowRelocated(FromIndex, ToIndex);
  if (heights) RowHeightsUpdated();
  SyncEditor();
}

// ---- mouse events

bool TCustomGridX::SelectableCell(const TGridCoord& Cell) const {
  return Cell.X >= 0 && Cell.Y >= 0 && Cell.X >= FFixedCols - FFrozenColCount && Cell.Y >= FFixedRows - FFrozenRowCount &&
         Cell.X < FColCount && Cell.Y < FRowCount;
}

void TCustomGridX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HideInplaceEditor();
  FLastMousePos = {X, Y};
  if (!Designing() && (CanFocus() || !GetParentForm(this))) {
    if (CanFocus()) SetFocus();
    if (!IsFocusOwner()) {
      SetMouseCapture(false);
      return;
    }
  }
  if (Button == mbLeft && Shift.Contains(ssDouble)) {
    DblClick();
  } else if (Button == mbLeft) {
    TGridDrawInfoX di;
    FillDrawInfo(di);
    HitTestSizing(X, Y, di, FGridState, FSizingIndex, FSizingPos, FSizingOfs);
    if (FGridState != msIdle) {
      if (FGridState == msColSizing && RightToLeft()) FSizingPos = GridClientWidth() - FSizingPos;
      XorSizingLine(di);
      return;
    }
    const TGridCoord cell = CellAtPoint(X, Y);
    const TPoint point{X, Y};
    if (!SelectableCell(cell)) {
      const bool rowMove = FGridOptions.Contains(goRowMoving) && cell.X >= 0 && cell.X < FFixedCols &&
                           cell.Y >= FFixedRows && cell.Y < FRowCount;
      const bool colMove = !rowMove && FGridOptions.Contains(goColMoving) && cell.Y >= 0 && cell.Y < FFixedRows &&
                           cell.X >= FFixedCols && cell.X < FColCount;
      if (rowMove || colMove) {
        FMoveIndex = FMovePos = rowMove ? cell.Y : cell.X;
        FMoveInsertAfter = false;
        const bool allowed = rowMove ? MayStartRowMove(FMoveIndex, FMovePos, point)
                                     : MayStartColumnMove(FMoveIndex, FMovePos, point);
        if (allowed) {
          FGridState = rowMove ? msRowMoving : msColMoving;
          Update();
          SetMoveMarkShown(true);
          StartMoveTimer(SelectTimerInterval);
        }
      }
    } else if (FGridOptions.Contains(goEditing)) {
      if (cell == FCurrent) {
        EnterEditorMode();
      } else {
        DoMoveToCell(cell.X, cell.Y, true, true, true);
        SyncEditor();
      }
      Click();
    } else {
      FGridState = msSelecting;
      StartMoveTimer(SelectTimerInterval);
      if (Shift.Contains(ssShift)) MoveAnchor(cell, true);
      else DoMoveToCell(cell.X, cell.Y, true, true, true);
    }
  }
  try {
    TCustomControl::MouseDown(Button, Shift, X, Y);
  } catch (const Exception&) {
    // The handler's failure must not leave the mark of a move that will not happen.
    SetMoveMarkShown(false);
  }
}

void TCustomGridX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  FLastMousePos = {X, Y};
  TGridDrawInfoX di;
  FillDrawInfo(di);
  switch (FGridState) {
    case msRowSizing:
    case msColSizing:
      XorSizingLine(di);
      FSizingPos = (FGridState == msRowSizing ? Y : X) + FSizingOfs;
      XorSizingLine(di);
      break;
    case msSelecting:
    case msRowMoving:
    case msColMoving: {
      const TGridCoord cell = CellAtPoint(X, Y);
      const bool counts = Designing() ||
                          (cell.X >= FFixedCols - FFrozenColCount && cell.Y >= FFixedRows - FFrozenRowCount &&
                           cell.X <= std::min(di.Horz.LastFullCell + 1, FColCount - 1) &&
                           cell.Y <= std::min(di.Vert.LastFullCell + 1, FRowCount - 1));
      if (!counts) break;
      if (FGridState == msRowMoving) MoveAndScroll(Y, cell.Y, TPoint{X, Y}, false);
      else if (FGridState == msColMoving) MoveAndScroll(X, cell.X, TPoint{X, Y}, true);
      else if (!(cell == FAnchor)) MoveAnchor(cell, true);
      break;
    }
    default: UpdateHotTrack(X, Y);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGridX::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  const TPoint point{X, Y};
  {
    // The grid is idle again before the control's own handling, however the action ends.
    TScopeGuard idle([this] { FGridState = msIdle; });
    TGridDrawInfoX di;
    FillDrawInfo(di);
    switch (FGridState) {
      case msSelecting:
        MouseMove(Shift, X, Y);
        StopMoveTimer();
        SyncEditor();
        Click();
        break;
      case msRowSizing:
      case msColSizing: {
        XorSizingLine(di);
        if (FGridState == msColSizing && RightToLeft()) FSizingPos = GridClientWidth() - FSizingPos;
        const Integer size = ResizeLine(di);
        if (size > 1) {
          if (FGridState == msColSizing) SetColWidths(FSizingIndex, size);
          else SetRowHeights(FSizingIndex, size);
        }
        break;
      }
      case msRowMoving:
        SetMoveMarkShown(false);
        StopMoveTimer();
        if (MayFinishRowMove(FMoveIndex, FMovePos, point) && FMoveIndex != FMovePos) RelocateRow(FMoveIndex, FMovePos);
        SyncEditor();
        break;
      case msColMoving:
        HideMoveLine();
        StopMoveTimer();
        if (MayFinishColumnMove(FMoveIndex, FMovePos, point) && FMoveIndex != FMovePos)
          RelocateColumn(FMoveIndex, FMovePos);
        SyncEditor();
        break;
      default: SyncEditor();
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGridX::StopMouseTracking() {
  TScopeGuard idle([this] { FGridState = msIdle; });
  switch (FGridState) {
    case msSelecting: StopMoveTimer(); break;
    case msRowSizing:
    case msColSizing:
      if (FSizingLineShown) {
        TGridDrawInfoX di;
        FillDrawInfo(di);
        XorSizingLine(di);
      }
      break;
    case msRowMoving:
      SetMoveMarkShown(false);
      StopMoveTimer();
      break;
    case msColMoving:
      HideMoveLine();
      StopMoveTimer();
      break;
    default: break;
  }
}

void TCustomGridX::UpdateHotTrack(Integer X, Integer Y) {
  if (Designing()) return;
  const TGridCoord cell = CellAtPoint(X, Y);
  const bool valid = FHotTrackCell.X >= 0 && FHotTrackCell.Y >= 0;
  if (cell.X >= 0 && CanHotTrackCell(cell.X, cell.Y)) {
    if (!(cell == FHotTrackCell)) {
      if (valid) InvalidateCellArea(FHotTrackCell.X, FHotTrackCell.Y);
      InvalidateCellArea(cell.X, cell.Y);
      FHotTrackCell = cell;
    }
  } else {
    if (valid) InvalidateCellArea(FHotTrackCell.X, FHotTrackCell.Y);
    FHotTrackCell = {-1, -1};
  }
  if (FHotTrackCell.X >= 0 && FHotTrackCell.Y >= 0) {
    TRect r;
    CellBounds(FHotTrackCell.X, FHotTrackCell.Y, r);
    FHotTrackOffset = {X - r.Left, Y - r.Top};
  }
}

bool TCustomGridX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (IsSmoothVertScroll()) ScrollByPixels(0, GetVertScrollStep());
  else if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
  return true;
}

bool TCustomGridX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (IsSmoothVertScroll()) ScrollByPixels(0, -GetVertScrollStep());
  else if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
  return true;
}

// ---- button messages: cell clicks and the editor's double-click test

void TCustomGridX::HandleButtonDown(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FInplaceEditor) FInplaceEditor->SetClickTime(GetTickCount());
  const TPoint p = LParamToPoint(Message.LParam);
  FMouseDownCell = CellAtPoint(p.X, p.Y);
}

void TCustomGridX::HandleButtonUp(TMessage& Message, TMouseButton Button, bool Double) {
  const bool allowed = CanCellMouseClick(Message);
  TCustomControl::Dispatch(Message);
  if (!allowed || FMouseDownCell.X < 0 || FMouseDownCell.Y < 0) return;
  const TPoint p = LParamToPoint(Message.LParam);
  const TGridCoord cell = CellAtPoint(p.X, p.Y);
  if (!(cell == FMouseDownCell)) return;
  TShiftState shift = KeysToShiftState(Word(Message.WParam));
  if (Double) shift.Include(ssDouble);
  TRect r;
  CellBounds(cell.X, cell.Y, r);
  CellMouseClick(cell, Button, shift, p.X - r.Left, p.Y - r.Top);
}

void TCustomGridX::WMSetCursor(TMessage& Message) {
  if (TWMSetCursor{Message}.HitTest() == HTCLIENT) {
    TGridMouseStateX state = FGridState;
    if (state == msIdle) {
      TGridDrawInfoX di;
      FillDrawInfo(di);
      Integer index, pos, ofs;
      HitTestSizing(FNCHitPoint.X, FNCHitPoint.Y, di, state, index, pos, ofs);
    }
    if (state == msRowSizing || state == msColSizing) {
      SetCursorShape(state == msRowSizing ? crVSplit : crHSplit);
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::WMSetCursor(Message);
}
