// A memory table shown row by row: every record of the table is a grid row, the current row
// is the table's current record, and the vertical bar scrolls by rows instead of moving the
// record. Used while the table offers its record positions and the vertical bar scrolls
// smoothly, without grouping or a tree view (those have rows of their own).
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>

bool TCustomDBGridX::MemTablePixelScroll() const {
  return FMemTable && (!FCenter || FCenter->UseMemTableFeatures);
}

bool TCustomDBGridX::ScrollsByMemTableRows() const {
  return MemTablePixelScroll() && FVertScrollBar->SmoothStep() && FDataLink->Active() &&
         !FDataGrouping->GroupingWorks() && !FMemTable->TreeViewActive();
}

Integer TCustomDBGridX::RecordRowCount() const {
  if (FMemTable && FDataGrouping->GroupingWorks()) return FDataGrouping->Tree()->FlatCount();
  if (ScrollsByMemTableRows()) return FMemTable->MemRecordCount();
  return FDataLink->RecordCount();
}

bool TCustomDBGridX::IsActiveRow(Integer Row) const {
  if (FMemTable && FDataGrouping->GroupingWorks()) {
    const TGroupDataTreeNodeX* node = FDataGrouping->Tree()->FlatNode(Row);
    return node && !node->IsGroupNode && node->RecordIndex == FMemTable->CurrentRecordIndex();
  }
  if (ScrollsByMemTableRows()) return Row == FMemTable->CurrentRecordIndex();
  return Row == FDataLink->ActiveRecord();
}

Integer TCustomDBGridX::ActiveDataRow() const {
  if (FMemTable && FDataGrouping->GroupingWorks()) return Row() - HeaderRowCount();
  return ScrollsByMemTableRows() ? FMemTable->CurrentRecordIndex() : FDataLink->ActiveRecord();
}

void TCustomDBGridX::UpdateMemTableRowCount() {
  const Integer header = HeaderRowCount();
  const Integer line = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
  TCustomGridX::SetContraRowCount(0);
  SetRowCount(std::max(RowCount(), header + 1));
  SetFixedRows(header);
  SetDefaultRowHeight(FStdRowHeight);
  if (FOptions.Contains(dgTitles)) SetRowHeights(0, FTitleRowHeight);
  Integer fixedHeight = FOptions.Contains(dgTitles) ? FTitleRowHeight + line : 0;
  fixedHeight += UnderTitleRowCount() * (FStdRowHeight + line);
  if (FFooterRowCount > 0) fixedHeight += FFooterRowCount * (FStdRowHeight + line) + line;
  if (HandleAllocated())
    FDataLink->SetBufferCount(std::max<Integer>(1, (GridClientHeight() - fixedHeight) / (FStdRowHeight + line)));
  SetRowCount(header + std::max<Integer>(FMemTable->MemRecordCount(), 1));
  TCustomGridX::SetContraRowCount(FFooterRowCount);
  for (Integer i = 0; i < FFooterRowCount; ++i) SetRowHeights(RowCount() + i, FStdRowHeight);
  UpdateDataRowHeights();
  ClampTopRow();
  FollowMemTableRecord(0);
  Invalidate();
}

void TCustomDBGridX::FollowMemTableRecord(Integer Distance) {
  if (!FKeepSearch) StopIncSearch();
  if (!FDataLink->Active() || !HandleAllocated() || ComponentState().Contains(csLoading)) return;
  InvalidateCurrentRow();
  const Integer header = HeaderRowCount();
  Integer target = FMemTable->CurrentRecordIndex() + header;
  if (target < header || target >= RowCount()) target = header;
  const Integer oldTop = TopRow();
  if (target != Row()) {
    if (!EditorAlwaysShown()) HideInplaceEditor();
    const bool showHorz = !FInMouseMove && !FRowPanel->Active();
    MoveToCell(std::max(Col(), FixedCols()), target, true, showHorz, true);
    ReloadEditor();
    InvalidateCurrentRow();
  }
  if (EditorVisible()) ReloadEditorAfterChange(nullptr);
  if (Distance != 0 && TopRow() != oldTop && AnyColumnHidesDuplicates()) {
    InvalidateRowArea(oldTop);
    InvalidateRowArea(TopRow());
  }
  InvalidateFooter();
  UpdateVertScrollBar();
}

Integer TCustomDBGridX::LastTopRow() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return std::max(FixedRows(), CalcMaxTopLeft({Col(), RowCount() - 1}, di).Y);
}

Integer TCustomDBGridX::LastFullyVisibleRow() {
  TGridDrawInfoX di;
  FillDrawInfo(di);
  return std::max(TopRow(), di.Vert.LastFullCell);
}

void TCustomDBGridX::ClampTopRow() {
  if (!HandleAllocated() || RowCount() <= FixedRows()) return;
  const Integer last = LastTopRow();
  if (TopRow() > last) SetTopRow(last);
}

Integer TCustomDBGridX::ScrollToRow(Integer Row, bool OnlyCompute) {
  if (RowCount() <= FixedRows()) return TopRow();
  Row = std::clamp(Row, FixedRows(), RowCount() - 1);
  Row = std::min(Row, LastTopRow());
  if (OnlyCompute || Row == TopRow()) return Row;
  const Integer oldTop = TopRow();
  SetTopRow(Row);
  UpdateVertScrollBarByRows();
  if (AnyColumnHidesDuplicates()) {
    InvalidateRowArea(oldTop);
    InvalidateRowArea(Row);
  }
  return Row;
}

void TCustomDBGridX::HandleVScroll(TMessage& Message) {
  if (!FDataLink->Active()) {
    UpdateVertScrollBarByRows();
    return;
  }
  const TWMScroll scroll{Message};
  const Integer top = TopRow();
  Integer row = top;
  switch (scroll.ScrollCode()) {
    case SB_LINEUP: row = top - 1; break;
    case SB_LINEDOWN: row = top + 1; break;
    case SB_PAGEUP: {
      // As many rows as fit above the top row, at least one.
      Integer room = GridClientHeight() - CellRect(0, top).Top, rows = 0;
      for (Integer r = top - 1; r >= FixedRows() && room >= RowHeights(r); --r, ++rows) room -= RowHeights(r);
      row = top - std::max<Integer>(rows, 1);
      break;
    }
    case SB_PAGEDOWN: row = top + std::max<Integer>(LastFullyVisibleRow() - top + 1, 1); break;
    case SB_TOP: row = FixedRows(); break;
    case SB_BOTTOM: row = RowCount(); break;
    case SB_THUMBTRACK:
      if (!FVertScrollBar->Tracking()) return;
      row = FixedRows() + scroll.Pos() - 1;
      break;
    case SB_THUMBPOSITION: row = FixedRows() + scroll.Pos() - 1; break;
    default: UpdateVertScrollBarByRows(); return;
  }
  ScrollToRow(row, false);
  UpdateVertScrollBarByRows();
}

void TCustomDBGridX::UpdateVertScrollBarByRows() {
  if (!HandleAllocated()) return;
  TScrollInfo info;
  info.nMin = 1;
  const Integer lastTop = LastTopRow();
  if (FOptionsX.Contains(dghAutoFitRowHeight)) {
    info.nPage = 0;
    info.nMax = lastTop - FixedRows() + 1;
  } else {
    info.nPage = Cardinal(std::max<Integer>(LastFullyVisibleRow() - TopRow() + 1, 1));
    info.nMax = std::max<Integer>(RowCount() - FixedRows(), 1);
  }
  info.nPos = TopRow() - FixedRows() + 1;
  WriteVertBarInfo(info);
}

void TCustomDBGridX::WriteVertBarInfo(TScrollInfo& Info) {
  const TScrollBarVisibleModeX mode = FVertScrollBar->VisibleMode();
  Info.fMask = SIF_ALL;
  if (mode == sbAlwaysShowX) Info.fMask |= SIF_DISABLENOSCROLL;
  if (!FVertScrollBar->ExtScrollBar() && mode == sbNeverShowX) Info.nMax = Info.nMin;
  FVertScrollBar->WriteScrollInfo(Info, true);
  if (!FVertScrollBar->ExtScrollBar()) {
    const bool covered = Info.nMax <= Info.nMin || Int64(Info.nPage) > Int64(Info.nMax) - Info.nMin;
    ShowScrollBar(SB_VERT, mode == sbAlwaysShowX || (mode == sbAutoShowX && !covered));
  }
  FLastVertBarMode = mode;
}

Integer TCustomDBGridX::DataRowHeight(Integer Row) {
  if (!FDataLink->Active()) return FStdRowHeight;
  if (FMemTable && FDataGrouping->GroupingWorks()) {
    TGroupDataTreeNodeX* node = FDataGrouping->Tree()->FlatNode(Row);
    if (node && node->IsGroupNode) return GroupRowHeight(node);
  }
  SetActiveRow(Row);
  TScopeGuard restore([&] { RestoreActiveRow(); });
  return CalcRecordHeight();
}

void TCustomDBGridX::UpdateDataRowHeights() {
  const Integer header = HeaderRowCount();
  if (!FDataLink->Active() || !ScrollsByMemTableRows()) {
    if (header < RowCount()) SetRowHeights(header, FStdRowHeight);
    return;
  }
  LockUpdate();
  TScopeGuard unlock([this] { UnlockUpdate(); });
  const Integer records = FMemTable->MemRecordCount();
  for (Integer i = 0; i < records && header + i < RowCount(); ++i) SetRowHeights(header + i, DataRowHeight(i));
}
