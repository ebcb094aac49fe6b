// Auto-scrolling while a selection is dragged beyond the data cells: the further the pointer
// is outside, the more records each tick moves and the sooner the next tick comes.
#include "dbgrid/DBGridX.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>

namespace {
constexpr Integer MaxRecordsPerTick = 8;
constexpr Integer PixelsPerRecord = 6;

// Distance and direction of Pos outside [Low, High): -1 before, +1 at or after High.
void OutsideBy(Integer Pos, Integer Low, Integer High, Integer& Distance, Integer& Direction) {
  Distance = 0;
  Direction = 0;
  if (Pos < Low) {
    Distance = Low - Pos;
    Direction = -1;
  } else if (Pos >= High) {
    Distance = Pos - High + 1;
    Direction = 1;
  }
}
}  // namespace

void TCustomDBGridX::StartAutoScroll(Integer Interval) {
  Interval = std::max(Interval, MinAutoScrollInterval);
  if (FAutoScrollRunning && FAutoScrollInterval == Interval) return;
  if (HandleAllocated()) SetTimer(AutoScrollTimerId, Cardinal(Interval));
  FAutoScrollRunning = true;
  FAutoScrollInterval = Interval;
}

void TCustomDBGridX::StopAutoScroll() {
  if (FAutoScrollRunning && HandleAllocated()) KillTimer(AutoScrollTimerId);
  FAutoScrollRunning = false;
  FAutoScrollInterval = -1;
}

TRect TCustomDBGridX::DataBoxRect() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return TRect(di.Horz.FrozenStart, di.Vert.FixedEnd, di.Horz.DataEnd, di.Vert.DataEnd);
}

TGridRectX TCustomDBGridX::DataBoxCells() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const Integer lastRow = std::min(di.Vert.LastFullCell + 1, RowCount() - 1);
  return TGridRectX{FIndicatorColCount, TopDataRowOffset(), ColCount() - 1, std::max(lastRow, TopDataRowOffset())};
}

void TCustomDBGridX::WMTimer(TMessage& Message) {
  const bool autoScroll = TWMTimer{Message}.TimerID() == AutoScrollTimerId &&
                          (FRowDragSelecting || FCellDragSelecting || FGridMouseState == gmsColumnSelecting);
  if (autoScroll) AutoScrollTick();
  else if (TWMTimer{Message}.TimerID() == AutoScrollTimerId && PanelTitleDragging())
    TrackTitleDrag(FMoveShift, FMovePoint.X, FMovePoint.Y);
  else TCustomGridX::WMTimer(Message);
}

void TCustomDBGridX::AutoScrollTick() {
  const TPoint p = FMovePoint;
  const TRect box = DataBoxRect();
  if (FGridMouseState == gmsColumnSelecting) {
    ScrollColumnSelection(p, box);
    return;
  }
  Integer vertDistance = 0, vertDirection = 0, horzDistance = 0, horzDirection = 0;
  OutsideBy(p.Y, box.Top, box.Bottom, vertDistance, vertDirection);
  if (RightToLeft()) {
    OutsideBy(GridClientWidth() - 1 - p.X, box.Left, box.Right, horzDistance, horzDirection);
  } else {
    OutsideBy(p.X, box.Left, box.Right, horzDistance, horzDirection);
  }
  const Integer distance = std::max(vertDistance, horzDistance);
  if (vertDirection == 0 && horzDirection == 0) {
    StopAutoScroll();
    return;
  }
  const Integer records = std::min(distance / PixelsPerRecord, MaxRecordsPerTick);
  {
    LockUpdates();
    TScopeGuard unlock([this] { UnlockUpdates(); });
    const bool rectangle = FGridMouseState == gmsRectSelecting;
    if (vertDirection != 0 && !rectangle && records > 0 && FDataLink->Active())
      SelectionMoveBy(FRowDragSelecting && FMoveShift.Contains(ssLeft), vertDirection * records, true, false);
    if (horzDirection != 0 && FCellDragSelecting) {
      if (horzDirection > 0 && LeftCol() + FullyVisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
      else if (horzDirection < 0 && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    }
    if (horzDirection != 0 && !FRowDragSelecting && SelectedIndex() + horzDirection >= 0)
      MoveCol(SelectedIndex() + horzDirection, horzDirection, false);
    if (rectangle && FDataLink->Active()) {
      if (vertDirection != 0 && records > 0) MoveRecordsBy(vertDirection * records);
      FSelection->Rect()->SelectCell(std::max(SelectedIndex(), 0), DataSet()->Bookmark(), true);
    }
  }
  if (FUpdateLock == 0) Update();
  StartAutoScroll(200 - 15 * distance);
}

// Dragging across the titles past the data area scrolls a column at a time and extends the
// column selection to the edge of what is visible.
void TCustomDBGridX::ScrollColumnSelection(const TPoint& P, const TRect& Box) {
  TDBGridXSelectionCols* columns = FSelection->Columns();
  const Integer x = RightToLeft() ? GridClientWidth() - 1 - P.X : P.X;
  if (x >= Box.Right) {
    if (LeftCol() + FullyVisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
    const Integer lastFull = std::min(LeftCol() + FullyVisibleColCount() - 1, ColCount() - 1);
    const Integer index = GridColToColumnIndex(lastFull);
    if (index >= 0 && index < FColumns->Count()) columns->ExtendToColumn(FColumns->Items(index));
    StartAutoScroll(200 - 10 * (x - Box.Right + 1));
  } else if (x < Box.Left) {
    if (LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    const Integer index = GridColToColumnIndex(LeftCol());
    if (index >= 0 && index < FColumns->Count()) columns->ExtendToColumn(FColumns->Items(index));
    StartAutoScroll(200 - 10 * (Box.Left - x));
  }
}
