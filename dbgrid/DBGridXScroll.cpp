// Record scrolling and the scroll bars: the grid scrolls its window contents when the data
// link's buffer moves by a few records, and drives the vertical bar from the data set's
// position rather than from its rows.
#include "dbgrid/DBGridX.h"
#include "platform/rtl/ScopeGuards.h"

void TCustomDBGridX::SetActiveRow(Integer Row) {
  if (ScrollsByMemTableRows()) {
    // The record is read where it stands; the table's cursor does not move.
    FSavedActiveRecord = FMemTable->CurrentRecordIndex();
    FMemTableRecordEntered = Row != FSavedActiveRecord;
    if (FMemTableRecordEntered) FMemTable->EnterRecord(Row);
    return;
  }
  FSavedActiveRecord = FDataLink->ActiveRecord();
  FDataLink->SetActiveRecord(Row);
}

void TCustomDBGridX::RestoreActiveRow() {
  if (std::exchange(FMemTableRecordEntered, false)) FMemTable->LeaveRecord();
  else if (FSavedActiveRecord >= 0 && !ScrollsByMemTableRows()) FDataLink->SetActiveRecord(FSavedActiveRecord);
  FSavedActiveRecord = -1;
}

bool TCustomDBGridX::AnyColumnHidesDuplicates() const {
  for (Integer i = 0; i < FVisibleColumns.Count(); ++i)
    if (HidesDuplicatesOf(FVisibleColumns[i])) return true;
  return false;
}

bool TCustomDBGridX::CursorInRect(const TRect& R) { return PtInRect(R, ScreenToClient(GetCursorPos())); }

void TCustomDBGridX::InvalidateFooter() {
  if (!HandleAllocated() || FFooterRowCount == 0) return;
  for (Integer row = RowCount(); row < FullRowCount(); ++row) InvalidateRowArea(row);
}

void TCustomDBGridX::InvalidateIndicator() {
  if (HandleAllocated() && FOptions.Contains(dgIndicator) && FIndicatorColCount > 0 && FIndicatorRow >= 0)
    InvalidateCellArea(0, FIndicatorRow);
}

void TCustomDBGridX::InvalidateCurrentRow() {
  if (HandleAllocated()) InvalidateRowArea(Row());
}

void TCustomDBGridX::ScrollByRecords(Integer Distance) {
  if (Distance != 0 && FRowDetailPanel->Shown()) FRowDetailPanel->SetShown(false);
  if (ScrollsByMemTableRows()) return FollowMemTableRecord(Distance);
  if (!FKeepSearch) StopIncSearch();
  if (!HandleAllocated()) return;
  const Integer oldRow = Row();
  if (FDataLink->ActiveRecord() >= RowCount() - HeaderRowCount()) UpdateRowCount();
  UpdateVertScrollBar();
  FollowActiveRecord();
  InvalidateRowArea(oldRow);
  InvalidateRowArea(Row());
  if (Distance != 0) {
    TScopeGuard reopen([this] {
      if (FOptions.Contains(dgAlwaysShowEditor) && !EditorMode()) SetEditorMode(true);
    });
    if (!FOptions.Contains(dgAlwaysShowEditor)) HideInplaceEditor();
    const Integer dataRows = RowCount() - HeaderRowCount();
    if (std::abs(Distance) >= dataRows) {
      Invalidate();
    } else {
      const Integer line = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
      const Integer height = FStdRowHeight + line;
      if (IndicatorShown()) InvalidateCellArea(0, oldRow);
      const TRect first = CellRect(0, HeaderRowCount());
      const TRect last = CellRect(0, RowCount() - 1);
      TRect area(0, first.Top, GridClientWidth(), last.Bottom + line);
      ScrollWindowEx(0, -height * Distance, &area, &area, SW_INVALIDATE);
      if (IndicatorShown()) InvalidateCellArea(0, Row());
      // The hot row shows the same record after the scroll; the cell under the pointer is
      // found again.
      if (FOptionsX.Contains(dghHotTrack) && HotTrackCell().Y >= 0) {
        const TPoint p = ScreenToClient(GetCursorPos());
        UpdateHotTrack(p.X, p.Y);
      }
      // The first row has no row above it on screen any more: its duplicates show again.
      if (AnyColumnHidesDuplicates()) InvalidateRowArea(HeaderRowCount());
    }
  }
  InvalidateFooter();
}

void TCustomDBGridX::UpdateVertScrollBar() {
  if (!FDataLink || !HandleAllocated()) return;
  if (ScrollsByMemTableRows()) return UpdateVertScrollBarByRows();
  TScrollInfo info;
  info.nMin = 0;
  info.nMax = 1;
  info.nPage = 2;
  info.nPos = 0;
  TDataSet* dataSet = DataSet();
  if (FDataLink->Active() && dataSet) {
    if (dataSet->IsSequenced()) {
      const Integer page = RowCount() - HeaderRowCount();
      info.nMin = 1;
      info.nPage = Cardinal(std::max<Integer>(page, 1));
      info.nMax = std::max<Integer>(dataSet->RecordCount(), 1) + Integer(info.nPage) - 1;
      info.nPos = std::max<Integer>(dataSet->RecNo(), 1);
    } else {
      info.nMin = 0;
      info.nMax = 4;
      info.nPage = 0;
      info.nPos = dataSet->Bof() ? 0 : dataSet->Eof() ? 4 : 2;
    }
  }
  WriteVertBarInfo(info);
}

void TCustomDBGridX::UpdateExtHorzScrollBar() {
  TScrollBar* bar = FHorzScrollBar->ExtScrollBar();
  if (!bar || !HandleAllocated()) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  const Integer page = std::max<Integer>(di.Horz.FullCount, 0);
  const bool allVisible = di.Horz.LastFullCell >= ColCount() - 1 && LeftCol() == FixedCols();
  const Integer max = allVisible ? 0 : 127;
  const Integer range = std::max<Integer>(1, ColCount() - 1 - FixedCols());
  const Integer pos = allVisible ? 0 : std::min<Integer>(127, MulDiv(LeftCol() - FixedCols(), 127, range));
  if (bar->Min() != 0 || bar->Max() != max || bar->Position() != pos || bar->PageSize() != page) {
    bar->SetPageSize(0);
    bar->SetParams(pos, 0, max);
    bar->SetPageSize(std::min(page, max));
  }
}
