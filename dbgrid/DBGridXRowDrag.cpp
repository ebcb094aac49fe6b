// Dragging records by their indicator cell to another place in the data set: the grid
// tracks the target row, scrolls one record per timer tick outside the rows, and hands the
// move to OnMoveRecords or the memory table.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "platform/rtl/Clock.h"
#include <algorithm>

namespace {
constexpr Cardinal RecordDragInterval = 60;

// A bookmark list that holds one given bookmark, for dragging a record that is not selected.
class TSingleBookmarkList : public TBMListX {
public:
  TSingleBookmarkList(TDataSet* DataSet, const TBookmarkStr& Bookmark) : FDataSet(DataSet) { AppendBookmark(Bookmark); }
  TDataSet* GetDataSet() const override { return FDataSet; }
private:
  TDataSet* FDataSet;
};
}  // namespace

bool TCustomDBGridX::StartRecordDrag(Integer X, Integer Y, TShiftState Shift, bool CheckOnly) {
  TDataSet* dataSet = DataSet();
  if (!FDataLink->Active() || !FOptionsX.Contains(dghRecordMoving) || !dataSet || dataSet->IsEmpty()) return false;
  const TGridCoord cell = CellAtPoint(X, Y);
  Integer dataCol = 0, dataRow = 0;
  const TCellTypeX type = GetCellType(cell.X, cell.Y, dataCol, dataRow);
  if (type.ColKind != cacIndicator || type.RowKind != carData || dataRow >= FDataLink->RecordCount()) return false;
  TBookmarkStr bookmark;
  bool selected = false;
  Integer level = -1;
  SetActiveRow(dataRow);
  {
    TScopeGuard restore([&] { RestoreActiveRow(); });
    bookmark = dataSet->Bookmark();
    selected = FBookmarks->IndexOfBookmark(bookmark) >= 0;
    if (TreeViewShown()) level = FMemTable->RecordNodeInfo(RecordIndexOfDataRow(dataRow)).Level;
  }
  if (SelectionKindAllowed(gstRecordBookmarks) &&
      (!selected || Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)))
    return false;
  if (CheckOnly) return true;
  if (!CanStartRecordDrag()) return false;
  FRecordDragging = true;
  FDragBookmark = bookmark;
  FDragSourceRow = FDragTargetRow = cell.Y;
  FDragSourceLevel = FDragTargetLevel = level;
  FDragMousePos = TPoint(X, Y);
  FDragLastStep = GetTickCount();
  Invalidate();
  if (HandleAllocated()) SetTimer(GridMoveTimerId, RecordDragInterval);
  return true;
}

Integer TCustomDBGridX::TrackRecordDrag(Integer X, Integer Y) {
  if (!FRecordDragging) return 0;
  FDragMousePos = TPoint(X, Y);
  const Integer header = HeaderRowCount();
  const Integer firstRow = header, lastRow = header + std::max<Integer>(FDataLink->RecordCount(), 1) - 1;
  const TRect lastCell = CellRect(0, lastRow);
  const TRect firstCell = CellRect(0, firstRow);
  Integer target = FDragTargetRow;
  const bool below = Y >= lastCell.Bottom || X >= ClientWidth();
  const bool above = Y < firstCell.Top;
  if (below || above) {
    // Outside the rows the window scrolls one record per interval of the clock.
    const Cardinal now = GetTickCount();
    if (now - FDragLastStep >= RecordDragInterval) {
      FDragLastStep = now;
      const Integer active = FDataLink->ActiveRecord();
      if (below) MoveRecordsBy(FDataLink->RecordCount() - active);
      else MoveRecordsBy(-active - 1);
    }
    target = below ? lastRow : firstRow;
  } else {
    const Integer row = CellAtPoint(X, Y).Y;
    if (row >= firstRow && row <= lastRow) target = row;
  }
  if (MoveDraggedRecords(target - header, FDragTargetLevel, true)) FDragTargetRow = target;
  return X;
}

void TCustomDBGridX::FinishRecordDrag(Integer, Integer, bool Drop) {
  if (!FRecordDragging) return;
  if (HandleAllocated()) KillTimer(GridMoveTimerId);
  FRecordDragging = false;
  Invalidate();
  if (Drop && (FDragTargetRow != FDragSourceRow || FDragTargetLevel != FDragSourceLevel))
    MoveDraggedRecords(FDragTargetRow - HeaderRowCount(), FDragTargetLevel, false);
}

bool TCustomDBGridX::MoveDraggedRecords(Integer ToRow, Integer TreeLevel, bool CheckOnly) {
  if (FBookmarks->GetCount() > 0) return RequestMoveRecords(FBookmarks.get(), ToRow, TreeLevel, CheckOnly);
  TSingleBookmarkList single(DataSet(), FDragBookmark);
  return RequestMoveRecords(&single, ToRow, TreeLevel, CheckOnly);
}

bool TCustomDBGridX::RequestMoveRecords(TBMListX* BookmarkList, Integer ToRow, Integer TreeLevel, bool CheckOnly) {
  const Integer toRecNo = ToRow >= 0 && ToRow < FDataLink->RecordCount() ? RecNoOfBufferRow(ToRow) : -1;
  if (OnMoveRecords) return OnMoveRecords(this, BookmarkList, toRecNo, TreeLevel, CheckOnly);
  return MoveRecordsInDataset(BookmarkList, toRecNo, CheckOnly, TreeLevel);
}

bool TCustomDBGridX::MoveRecordsInDataset(TBMListX* BookmarkList, Integer ToRecNo, bool CheckOnly, Integer TreeLevel) {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return false;
  if (!FMemTable) return FCenter && FCenter->MoveRecords(this, BookmarkList, ToRecNo, CheckOnly);
  if (CheckOnly) return true;
  std::vector<Integer> indexes;
  const TBookmarkStr current = dataSet->Bookmark();
  {
    TDisableControlsLock controls(dataSet);
    for (Integer i = 0; i < BookmarkList->GetCount(); ++i) {
      if (!dataSet->BookmarkValid(BookmarkList->GetBookmark(i))) continue;
      dataSet->SetBookmark(BookmarkList->GetBookmark(i));
      indexes.push_back(FMemTable->CurrentRecordIndex());
    }
    if (dataSet->BookmarkValid(current)) dataSet->SetBookmark(current);
  }
  return FMemTable->MoveRecords(indexes, ToRecNo - 1, std::max<Integer>(TreeLevel, 0));
}

void TCustomDBGridX::RecordDragTimerTick() {
  if (FRecordDragging) TrackRecordDrag(FDragMousePos.X, FDragMousePos.Y);
}
