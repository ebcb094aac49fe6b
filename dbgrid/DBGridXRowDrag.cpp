// Dragging records by their indicator cell to another place in the data set: the grid
// tracks the target row, scrolls one record per timer tick outside the rows, and hands the
// move to OnMoveRecords or the memory table.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "grid/PaintHelpersX.h"
#include "platform/rtl/Clock.h"
#include <algorithm>

namespace {
constexpr Cardinal RecordDragInterval = 60;
constexpr Integer TreeLevelIndent = 18;

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
  if (type.ColKind != cacIndicator || type.RowKind != carData || dataRow >= RecordRowCount()) return false;
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
  const Integer lineX = TreeDropLevelAt(cell.Y, TPoint(X, Y), FDragTargetLevel);
  DrawRecordMoveLine(lineX, GridClientWidth());
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
  Integer level = -1;
  const Integer lineX = TreeDropLevelAt(target, TPoint(RightToLeft() ? ClientWidth() - 1 - X : X, Y), level);
  if (!MoveDraggedRecords(target - header, level, true)) return FDragLineX;
  FDragTargetRow = target;
  FDragTargetLevel = level;
  DrawRecordMoveLine(lineX, GridClientWidth());
  return lineX;
}

void TCustomDBGridX::FinishRecordDrag(Integer X, Integer Y, bool Drop) {
  if (!FRecordDragging) return;
  if (HandleAllocated()) KillTimer(GridMoveTimerId);
  HideRecordMoveLine();
  FRecordDragging = false;
  Invalidate();
  if (!Drop) return;
  Integer origin = FDragSourceRow, destination = FDragTargetRow;
  if (!MayFinishRowMove(origin, destination, TPoint(X, Y))) return;
  if (FDragTargetRow != FDragSourceRow || FDragTargetLevel != FDragSourceLevel)
    MoveDraggedRecords(FDragTargetRow - HeaderRowCount(), FDragTargetLevel, false);
}

// ---- the drop line

TRect TCustomDBGridX::RecordMoveLineRect() {
  if (!FDragLineShown || FDragTargetRow < 0 || FDragTargetRow >= RowCount()) return TRect();
  const TRect row = CellRect(0, FDragTargetRow);
  if (row.Height() <= 0) return TRect();
  // Below the source the records land after the target row, else before it.
  const bool after = FDragTargetRow > FDragSourceRow ||
                     (FDragTargetRow == FDragSourceRow && FDragTargetLevel > FDragSourceLevel);
  const Integer y = after ? row.Bottom : row.Top - 1;
  return TRect(FDragLineX, y, std::max(FDragLineWidth, FDragLineX), y + 1);
}

void TCustomDBGridX::DrawRecordMoveLine(Integer X, Integer Width) {
  if (!FRecordDragging) return;
  if (FDragLineShown) {
    const TRect old = RecordMoveLineRect();
    if (HandleAllocated() && !old.IsEmpty()) InvalidateRect(&old, false);
  }
  FDragLineShown = true;
  FDragLineX = X;
  FDragLineWidth = Width;
  const TRect now = RecordMoveLineRect();
  if (HandleAllocated() && !now.IsEmpty()) InvalidateRect(&now, false);
}

void TCustomDBGridX::HideRecordMoveLine() {
  if (!FDragLineShown) return;
  const TRect old = RecordMoveLineRect();
  FDragLineShown = false;
  if (HandleAllocated() && !old.IsEmpty()) InvalidateRect(&old, false);
}

void TCustomDBGridX::PaintMouseFeedback(const TGridDrawInfoX&) {
  const TRect line = RecordMoveLineRect();
  if (line.IsEmpty()) return;
  TCanvas* canvas = Canvas();
  TPen* pen = canvas->Pen();
  const TColor savedColor = pen->Color();
  const TPenMode savedMode = pen->Mode();
  const Integer savedWidth = pen->Width();
  pen->SetColor(clSilver);
  pen->SetMode(pmXor);
  pen->SetWidth(1);
  DrawDottedLine(canvas, TPoint(line.Left, line.Top), line.Width(), true, 0);
  pen->SetColor(savedColor);
  pen->SetMode(savedMode);
  pen->SetWidth(savedWidth);
}

Integer TCustomDBGridX::TreeDropLevelAt(Integer Row, TPoint Point, Integer& Level) {
  Level = -1;
  if (!TreeViewShown() || FVisibleColumns.Count() == 0) return 0;
  const Integer header = HeaderRowCount();
  const Integer dataRow = std::clamp<Integer>(Row - header, 0, std::max<Integer>(FDataLink->RecordCount(), 1) - 1);
  const Integer recordIndex = RecordIndexOfDataRow(dataRow);
  const TMemTableNodeInfoX info = FMemTable->RecordNodeInfo(recordIndex);
  const Integer parentLevel = std::max<Integer>(info.Level - 1, 0);
  Integer nextLevel = FMemTable->RecordNodeInfo(recordIndex + 1).Level;
  if (nextLevel <= 0) nextLevel = 1;
  const Integer left = CellRect(ColumnIndexToGridCol(FVisibleColumns[0]->Index()), header + dataRow).Left;
  Level = header + dataRow > FDragSourceRow ? nextLevel : info.Level;
  Integer x = left + TreeLevelIndent * Level;
  if (Point.X > x) {
    Level = std::min<Integer>((Point.X - left) / TreeLevelIndent, parentLevel + 1);
    x = left + TreeLevelIndent * Level;
  }
  return x;
}

Integer TCustomDBGridX::RecNoOfBufferRow(Integer Row) {
  if (!FDataLink->Active()) return 0;
  if (FMemTable) return Row + 1;
  SetActiveRow(Row);
  TScopeGuard restore([&] { RestoreActiveRow(); });
  return DataSet()->RecNo();
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
