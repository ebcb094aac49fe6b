// Records of a memory table shown as a tree: the first visible column is indented by the
// record's node level and carries the tree lines and an expand button.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXUnmirrored.h"
#include "grid/PaintHelpersX.h"

namespace {
constexpr Integer TreeLevelIndent = 18;
}

bool TCustomDBGridX::TreeViewShown() const { return FMemTable && FMemTable->TreeViewActive(); }

Integer TCustomDBGridX::RecordIndexOfDataRow(Integer DataRow) const {
  if (!FMemTable || !FDataLink->Active()) return -1;
  const Integer current = FMemTable->CurrentRecordIndex();
  return current < 0 ? -1 : current + DataRow - FDataLink->ActiveRecord();
}

Integer TCustomDBGridX::TreeNodeIndentOf(Integer RecordIndex) const {
  if (!TreeViewShown() || RecordIndex < 0) return 0;
  return std::max<Integer>(0, TreeLevelIndent * FMemTable->RecordNodeInfo(RecordIndex).Level);
}

Integer TCustomDBGridX::TreeNodeIndent() const {
  return TreeViewShown() ? TreeNodeIndentOf(FMemTable->CurrentRecordIndex()) : 0;
}

void TCustomDBGridX::PaintTreeLines(Integer DataRow, const TRect& R, TGridDrawState State) {
  if (!TreeViewShown()) return;
  const Integer recordIndex = RecordIndexOfDataRow(DataRow);
  const TMemTableNodeInfoX info = FMemTable->RecordNodeInfo(recordIndex);
  if (info.Level <= 0) return;
  TCanvas* canvas = Canvas();
  const bool selected = State.Contains(gdSelected) && State.Contains(gdFocused);
  canvas->Brush()->SetColor(selected ? clHighlight : Color());
  canvas->FillRect(TRect(R.Left, R.Top, R.Left + TreeLevelIndent * info.Level, R.Bottom));
  const Integer parity = (RowHeights(TopRow()) % 2 == 1 && TopRow() % 2 == 1) ? 1 : 0;
  auto hasNext = [&](Integer Level) {
    return Level >= 1 && Level <= Integer(info.LevelHasNextSibling.size()) && info.LevelHasNextSibling[size_t(Level - 1)];
  };
  // A mirrored canvas sets a line's pixels one beside the mirror of its fills; the elements
  // are drawn unmirrored instead, each the tree routine's own mirror image at its place.
  const Integer saved = canvas->SaveState();
  {
    const TUnmirroredCanvas unmirrored(canvas, GridClientWidth());
    const bool mirrored = unmirrored.Mirrored();
    auto band = [&](Integer Level) {
      const Integer left = R.Left + TreeLevelIndent * (Level - 1);
      return unmirrored.Place(TRect(left, R.Top, left + TreeLevelIndent, R.Bottom));
    };
    for (Integer level = 1; level < info.Level; ++level)
      if (hasNext(level)) DrawTreeNodeElement(canvas, band(level), 11, parity, 1.0, 1.0, mirrored);
    const bool following = hasNext(info.Level);
    Integer kind = 0;
    if (info.HasChildren) kind = (info.Expanded ? 0 : 4) + (following ? 0 : 1);
    else kind = following ? 8 : 9;
    DrawTreeNodeElement(canvas, band(info.Level), kind, parity, 1.0, 1.0, mirrored);
    if (FOptions.Contains(dgRowLines)) {
      // The row line runs under the first level always and under a deeper level where the
      // next record reaches past it; a silver line closes the indent on its right.
      const Integer nextLevel = FMemTable->RecordNodeInfo(recordIndex + 1).Level;
      canvas->Pen()->SetColor(LineColors()->BrightLineColor());
      for (Integer level = 1; level <= info.Level; ++level) {
        if (level > 1 && level >= nextLevel && nextLevel >= 0) continue;
        const TRect b = band(level);
        canvas->MoveTo(b.Left, R.Bottom - 1);
        canvas->LineTo(b.Right, R.Bottom - 1);
      }
      const TRect last = band(info.Level);
      const Integer x = mirrored ? last.Left : last.Right - 1;
      canvas->Pen()->SetColor(clSilver);
      canvas->MoveTo(x, R.Bottom - 1);
      canvas->LineTo(x, R.Top - 3);
    }
  }
  canvas->RestoreState(saved);
}

bool TCustomDBGridX::HandleTreeButtonClick(Integer X, Integer Y, bool CheckOnly) {
  if (!TreeViewShown() || FVisibleColumns.Count() == 0) return false;
  const TGridCoord cell = CellAtPoint(X, Y);
  Integer dataCol = 0, dataRow = 0;
  const TCellTypeX type = GetCellType(cell.X, cell.Y, dataCol, dataRow);
  if (type.RowKind != carData || type.ColKind == cacIndicator || dataCol < 0 || dataCol >= FColumns->Count() ||
      FColumns->Items(dataCol) != FVisibleColumns[0])
    return false;
  const Integer recordIndex = RecordIndexOfDataRow(dataRow);
  const Integer indent = TreeNodeIndentOf(recordIndex);
  const TRect r = CellRect(cell.X, cell.Y);
  // A right-to-left grid shows the indent at the cell's right edge, mirrored.
  if (RightToLeft()) X = r.Left + r.Right - 1 - X;
  if (X < r.Left || X >= r.Left + indent) return false;
  if (CheckOnly) return true;
  TDataSet* dataSet = DataSet();
  const Integer topRow = TopRow();
  {
    TDisableControlsLock controls(dataSet);
    Integer target = -1;
    const bool onButton = X >= r.Left + indent - TreeLevelIndent;
    if (onButton) target = FMemTable->SetNodeExpanded(recordIndex, !FMemTable->RecordNodeInfo(recordIndex).Expanded);
    LockUpdates();
    TScopeGuard unlock([&] { UnlockUpdates(); });
    if (onButton && target >= 0 && target != FMemTable->CurrentRecordIndex()) FMemTable->SetCurrentRecordIndex(target);
    else FMemTable->RefreshTreeView();
  }
  if (TopRow() != topRow && topRow < RowCount()) SetTopRow(topRow);
  Invalidate();
  UpdateVertScrollBar();
  return true;
}
