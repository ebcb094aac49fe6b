// The grid's side of grouping: the memory-table link and its record notices, the rows of the
// group tree's flat list, their heights, the group cursor and the keys of group rows.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "grid/ButtonFacesX.h"
#include "grid/PaintHelpersX.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SystemColors.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>

namespace {
constexpr Integer GroupLevelIndent = 18;
}

void TCustomDBGridX::UpdateMemTable() {
  TDataSet* dataSet = DataSet();
  IMemTableX* next = nullptr;
  const bool used = !FCenter || FCenter->UseMemTableFeatures;
  if (used && FDataLink && FDataLink->Active() && dataSet && !dataSet->ComponentState().Contains(csDestroying))
    next = dynamic_cast<IMemTableX*>(dataSet);
  if (next == FMemTable) return;
  // A data set on its way out has lost its derived parts already: it is not called back.
  const bool oldGoing = FMemTableDataSet && FMemTableDataSet->ComponentState().Contains(csDestroying);
  if (FMemTable && !oldGoing) FMemTable->UnregisterGrid(this);
  if (FMemTableDataSet && !oldGoing) FMemTableDataSet->RemoveFreeNotification(this);
  FMemTable = next;
  FMemTableDataSet = next ? dataSet : nullptr;
  FCurrentGroupNode = nullptr;
  if (FMemTableDataSet) FMemTableDataSet->FreeNotification(this);
  if (FMemTable) FMemTable->RegisterGrid(this);
}

void TCustomDBGridX::MemTableRecordChanged(Integer RecordIndex, TMemTableChangeKindX Kind, Integer) {
  if (!FMemTable || FMemTable->TreeViewActive()) return;
  if (!FDataGrouping->GroupingWorks()) {
    if (ScrollsByMemTableRows()) {
      // Rows are the table's records: a changed record is measured again, any other notice
      // counts and measures the rows anew.
      const Integer row = HeaderRowCount() + RecordIndex;
      if (Kind == mtcRecordChangedX && RecordIndex >= 0 && row < RowCount()) SetRowHeights(row, DataRowHeight(RecordIndex));
      else UpdateMemTableRowCount();
    }
    if (Kind == mtcDataResetX) RebuildGroupTree();
    Invalidate();
    return;
  }
  TGridGroupDataTreeX* tree = FDataGrouping->Tree();
  FCurrentGroupNode = nullptr;
  switch (Kind) {
    case mtcRecordInsertedX: tree->RecordInserted(RecordIndex); break;
    case mtcRecordChangedX: tree->RecordChanged(RecordIndex); break;
    case mtcRecordDeletedX: tree->RecordDeleted(RecordIndex); break;
    case mtcRecordMovedX: break;
    case mtcDataResetX:
      RebuildGroupTree();
      LocateGroupNodeForRecord(FMemTable->CurrentRecordIndex(), true);
      break;
  }
}

void TCustomDBGridX::RebuildGroupTree() {
  if (ComponentState().Contains(csLoading) || FDestroying) return;
  FCurrentGroupNode = nullptr;
  if (FDataGrouping->GroupingWorks()) FDataGrouping->Tree()->RebuildFromMemTable(FMemTable);
  else if (FDataGrouping->Tree()->GetFirst()) FDataGrouping->Tree()->Clear();
}

void TCustomDBGridX::UpdateGroupRowCount() {
  if (FDestroying || !FDataGrouping->GroupingWorks()) return;
  TGridGroupDataTreeX* tree = FDataGrouping->Tree();
  const Integer header = HeaderRowCount();
  const Integer empty = FMemTable->MemRecordCount() == 0 ? 1 : 0;
  SetRowCount(header + std::max<Integer>(tree->FlatCount() + empty, 1));
  for (Integer i = 0; i < tree->FlatCount(); ++i) SetRowHeights(header + i, tree->NodeHeight(tree->FlatNode(i)));
  for (Integer i = 0; i < FooterRowCount(); ++i) SetRowHeights(RowCount() + i, FStdRowHeight);
  Invalidate();
}

Integer TCustomDBGridX::GroupRowHeight(TGroupDataTreeNodeX* Node) {
  TGridDataGroupLevelX* level = Node->GroupLevel;
  TFont* font = level ? level->Font() : FDataGrouping->Font();
  TCanvas measure;
  measure.SetFont(font);
  const Integer textHeight = measure.TextHeight(QStringLiteral("Wg"));
  if (level && (level->RowHeight() > 0 || level->RowLines() > 0))
    return (level->RowLines() > 0 ? level->RowLines() * textHeight : 0) + level->RowHeight();
  Integer height = textHeight + (Flat() ? 1 : 3);
  if (FOptions.Contains(dgRowLines)) height += GridLineWidth();
  return height;
}

Integer TCustomDBGridX::CalcRecordHeight() {
  Integer height = FStdRowHeight;
  if (FOptionsX.Contains(dghAutoFitRowHeight))
    for (Integer i = 0; i < FVisibleColumns.Count(); ++i) height = std::max(height, FVisibleColumns[i]->RowHeightNeed());
  if (OnGetRowHeight) OnGetRowHeight(this, height);
  return height;
}

void TCustomDBGridX::SetDataRowHeight(Integer FlatIndex) {
  TGroupDataTreeNodeX* node = FDataGrouping->Tree()->FlatNode(FlatIndex);
  if (!node) return;
  node->HeightDirty = true;
  SetRowHeights(HeaderRowCount() + FlatIndex, FDataGrouping->Tree()->NodeHeight(node));
}

TGroupDataTreeNodeX* TCustomDBGridX::GroupNodeAtRow(Integer Row) const {
  if (!FDataGrouping->GroupingWorks()) return nullptr;
  return FDataGrouping->Tree()->FlatNode(Row - HeaderRowCount());
}

void TCustomDBGridX::SelectGroupNode(TGroupDataTreeNodeX* Node) {
  if (!Node) return;
  TGridGroupDataTreeX* tree = FDataGrouping->Tree();
  for (TBaseTreeNodeX* p = Node->Parent(); p && p != tree->Root(); p = p->Parent()) p->SetExpanded(true);
  FCurrentGroupNode = Node;
  const Integer flatIndex = tree->FlatIndexOf(Node);
  if (flatIndex < 0) return;
  const Integer row = std::min(HeaderRowCount() + flatIndex, RowCount() - 1);
  if (row != Row()) {
    InvalidateRowArea(Row());
    SetRow(row);
    InvalidateRowArea(row);
  }
  SyncDataSetToGroupNode();
}

void TCustomDBGridX::SyncDataSetToGroupNode() {
  if (FSyncingGroupNode || !FDataLink->Active() || !FDataGrouping->GroupingWorks() || !FCurrentGroupNode) return;
  FSyncingGroupNode = true;
  TScopeGuard done([this] { FSyncingGroupNode = false; });
  TGroupDataTreeNodeX* recordNode = FCurrentGroupNode;
  while (recordNode && recordNode->IsGroupNode) recordNode = static_cast<TGroupDataTreeNodeX*>(recordNode->GetItem(0));
  if (recordNode && FMemTable->CurrentRecordIndex() != recordNode->RecordIndex)
    FMemTable->SetCurrentRecordIndex(recordNode->RecordIndex);
}

void TCustomDBGridX::SelectNearestVisibleGroupNode(TGroupDataTreeNodeX* Node) {
  TGridGroupDataTreeX* tree = FDataGrouping->Tree();
  TBaseTreeNodeX* shown = Node;
  while (shown && shown != tree->Root() && tree->FlatIndexOf(shown) < 0) shown = shown->Parent();
  if (shown && shown != tree->Root()) SelectGroupNode(static_cast<TGroupDataTreeNodeX*>(shown));
}

void TCustomDBGridX::LocateGroupNodeForRecord(Integer RecordIndex, bool Expand) {
  TGroupDataTreeNodeX* node = FDataGrouping->Tree()->FindRecordNode(RecordIndex);
  if (!node) return;
  if (Expand) SelectGroupNode(node);
  else SelectNearestVisibleGroupNode(node);
}

void TCustomDBGridX::InsertRecordInGroup() {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  if (FDataGrouping->GroupingWorks()) {
    const Integer current = FMemTable->CurrentRecordIndex();
    if (current >= 0) FDataGrouping->SetPendingKeyValues(FDataGrouping->RecordKeyValues(current));
  }
  dataSet->Insert();
}

void TCustomDBGridX::AppendRecord() {
  if (TDataSet* dataSet = DataSet()) dataSet->Append();
}

Integer TCustomDBGridX::GroupFlatIndexOfCurrentRecord() {
  TGridGroupDataTreeX* tree = FDataGrouping->Tree();
  const Integer current = FMemTable ? FMemTable->CurrentRecordIndex() : -1;
  const Integer shown = FCurrentGroupNode ? tree->FlatIndexOf(FCurrentGroupNode) : -1;
  if (shown >= 0) {
    TGroupDataTreeNodeX* first = FCurrentGroupNode;
    while (first && first->IsGroupNode) first = static_cast<TGroupDataTreeNodeX*>(first->GetItem(0));
    if (first && first->RecordIndex == current) return shown;
  }
  FCurrentGroupNode = nullptr;
  TGroupDataTreeNodeX* node = tree->FindRecordNode(current);
  for (TBaseTreeNodeX* p = node; p && p != tree->Root(); p = p->Parent())
    if (tree->FlatIndexOf(p) >= 0) {
      FCurrentGroupNode = static_cast<TGroupDataTreeNodeX*>(p);
      return tree->FlatIndexOf(p);
    }
  return -1;
}

Integer TCustomDBGridX::MoveGroupCursor(Integer Delta) {
  TGridGroupDataTreeX* tree = FDataGrouping->Tree();
  if (!FDataGrouping->GroupingWorks() || tree->FlatCount() == 0) return 0;
  FDataLink->UpdateRecord();
  TDataSet* dataSet = DataSet();
  if (Delta != 0 && dataSet && InEditModes(dataSet->State())) {
    if (dataSet->Modified()) dataSet->Post();
    else dataSet->Cancel();
  }
  TGroupDataTreeNodeX* node = GroupNodeAtRow(Row());
  const Integer from = node ? tree->FlatIndexOf(node) : 0;
  const Integer target = std::clamp(from + Delta, 0, tree->FlatCount() - 1);
  SelectGroupNode(tree->FlatNode(target));
  return target - from;
}

bool TCustomDBGridX::GroupRowKeyDown(Word Key, TShiftState Shift) {
  if (Shift.Contains(ssShift) || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return false;
  TGroupDataTreeNodeX* node = GroupNodeAtRow(Row());
  if (!node) return false;
  auto moveBy = [&](Integer Delta) { MoveGroupCursor(Delta); };
  const Integer page = std::max<Integer>(1, VisibleDataRowCount());
  switch (Key) {
    case VK_UP: moveBy(-1); return true;
    case VK_DOWN: moveBy(1); return true;
    case VK_PRIOR: moveBy(-page); return true;
    case VK_NEXT: moveBy(page); return true;
    default: break;
  }
  if (!node->IsGroupNode) return false;
  switch (Key) {
    case VK_LEFT:
      if (node->Expanded()) node->SetExpanded(false);
      else ModifyScrollBar(SB_HORZ, SB_LINEUP, 0, true);
      break;
    case VK_RIGHT:
      if (!node->Expanded()) node->SetExpanded(true);
      else ModifyScrollBar(SB_HORZ, SB_LINEDOWN, 0, true);
      break;
    case VK_MULTIPLY: node->SetExpanded(!node->Expanded()); break;
    case VK_ADD: node->SetExpanded(true); break;
    case VK_SUBTRACT: node->SetExpanded(false); break;
    default: return false;
  }
  SelectGroupNode(node);
  return true;
}

Integer TCustomDBGridX::GroupPanelHeight() const {
  if (!FDataGrouping->GroupPanelVisible()) return 0;
  const std::vector<TRect> boxes = LayoutGroupPanelBoxes();
  return boxes.empty() ? 30 : boxes.back().Bottom + 5;
}

std::vector<TRect> TCustomDBGridX::LayoutGroupPanelBoxes() const {
  TCanvas measure;
  measure.SetFont(Font());
  const Integer w = measure.TextWidth(QStringLiteral("o"));
  const Integer d = 2 * w / 3;
  const Integer height = measure.TextHeight(QStringLiteral("Wg")) + RowTextSpacing + 3;
  std::vector<TRect> boxes;
  Integer left = w, top = d;
  const bool inTitles = FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX;
  const Integer filterButton = !inTitles ? 0 : Flat() ? FlatButtonWidth + 1 : GetSystemMetrics(SM_CXVSCROLL);
  for (Integer i = 0; i < FDataGrouping->ActiveLevelCount(); ++i) {
    TColumnX* column = FDataGrouping->ActiveLevels(i)->Column();
    const Integer width = measure.TextWidth(column->Title()->Caption()) + RowTextSpacing + 3 + 16 + filterButton;
    boxes.emplace_back(left, top, left + width, top + height);
    left += width + d;
    top += height / 2;
  }
  return boxes;
}

void TCustomDBGridX::UpdateGroupPanel() {
  FGroupIndentWidth = FDataGrouping->Active() ? GroupLevelIndent * FDataGrouping->ActiveLevelCount() : 0;
  OutBoundaryData()->SetTopIndent(GroupPanelHeight());
  RequestLayout();
}

void TCustomDBGridX::GroupByColumn(TColumnX* Column, Integer Index) {
  if (!Column || FDataGrouping->LevelOfColumn(Column)) return;
  TGridDataGroupLevelsX* levels = FDataGrouping->GroupLevels();
  levels->BeginUpdate();
  {
    TScopeGuard endUpdate([&] { levels->EndUpdate(); });
    TGridDataGroupLevelX* level = levels->Add();
    level->SetColumn(Column);
    level->SetIndex(std::clamp(Index, 0, levels->Count() - 1));
  }
  Column->SetVisible(false);
}

void TCustomDBGridX::UngroupLevel(Integer LevelIndex) {
  TGridDataGroupLevelsX* levels = FDataGrouping->GroupLevels();
  if (LevelIndex < 0 || LevelIndex >= levels->Count()) return;
  TColumnX* column = levels->Items(LevelIndex)->Column();
  levels->Delete(LevelIndex);
  if (column) column->SetVisible(true);
}

Integer TCustomDBGridX::NextFlatRowLevel(Integer FlatIndex) const {
  TGroupDataTreeNodeX* next = FDataGrouping->Tree()->FlatNode(FlatIndex + 1);
  return next ? next->Level() : 0;
}

void TCustomDBGridX::PaintGroupBands(const TRect& Row, Integer LevelCount, Integer NextLevel) {
  TCanvas* canvas = Canvas();
  const TColor lineColor = LineColors()->BrightLineColor();
  for (Integer level = 1; level <= LevelCount && level <= FDataGrouping->ActiveLevelCount(); ++level) {
    const TRect band(Row.Left + GroupLevelIndent * (level - 1), Row.Top, Row.Left + GroupLevelIndent * level, Row.Bottom);
    canvas->Brush()->SetColor(FDataGrouping->ActiveLevels(level - 1)->Color());
    canvas->FillRect(band);
    canvas->Pen()->SetColor(lineColor);
    canvas->MoveTo(band.Right - 1, band.Top);
    canvas->LineTo(band.Right - 1, band.Bottom);
    if (NextLevel <= level) {
      canvas->MoveTo(band.Left, band.Bottom - 1);
      canvas->LineTo(band.Right, band.Bottom - 1);
    }
  }
}

void TCustomDBGridX::PaintGroupIndent(Integer DataRow, const TRect& R, Integer LevelCount) {
  TCanvas* canvas = Canvas();
  const TRect indent(R.Left, R.Top, R.Left + FGroupIndentWidth, R.Bottom);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(indent);
  canvas->Pen()->SetColor(LineColors()->BrightLineColor());
  canvas->MoveTo(indent.Left, indent.Bottom - 1);
  canvas->LineTo(indent.Right, indent.Bottom - 1);
  PaintGroupBands(indent, LevelCount, NextFlatRowLevel(DataRow));
}

TRect TCustomDBGridX::GroupRowRect(Integer DataCol, const TRect& CellRect) const {
  const Integer line = FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
  const Integer gridCol = FIndicatorColCount + DataCol;
  TRect row = CellRect;
  for (Integer col = FIndicatorColCount; col < gridCol; ++col) row.Left -= ColWidths(col) + line;
  for (Integer col = gridCol + 1; col < ColCount(); ++col) row.Right += ColWidths(col) + line;
  return row;
}

void TCustomDBGridX::PaintGroupRow(Integer DataCol, const TRect& R, TGridDrawState State, TGroupDataTreeNodeX* Node) {
  TGridDataGroupLevelX* level = Node->GroupLevel;
  TCanvas* canvas = Canvas();
  // Every cell the row crosses draws the whole row clipped to itself, so that the text runs
  // on over the columns whatever order the cells are painted in.
  const TRect row = GroupRowRect(DataCol, R);
  const Integer saved = canvas->SaveState();
  TScopeGuard restore([&] { canvas->RestoreState(saved); });
  canvas->IntersectClipRect(R);
  const Integer flatIndex = FDataGrouping->Tree()->FlatIndexOf(Node);
  PaintGroupBands(row, Node->Level() - 1, NextFlatRowLevel(flatIndex));

  const bool currentRow = HeaderRowCount() + flatIndex == Row();
  canvas->SetFont(level ? level->Font() : FDataGrouping->Font());
  TColor color = level ? level->Color() : FDataGrouping->Color();
  PickGroupRowColors(currentRow, canvas->Font(), color, State);
  const Integer boxLeft = row.Left + GroupLevelIndent * (Node->Level() - 1);
  const TRect band(boxLeft, row.Top, row.Right, row.Bottom);
  canvas->Brush()->SetColor(color);
  canvas->FillRect(band);
  const TRect box(boxLeft, row.Top, boxLeft + GroupLevelIndent, row.Bottom);
  DrawTreeNodeElement(canvas, box, Node->Expanded() ? 3 : 7, 0, 1.0, 1.0, false);
  canvas->Pen()->SetColor(Node->Expanded() ? color : LineColors()->BrightLineColor());
  canvas->MoveTo(box.Left, box.Bottom - 1);
  canvas->LineTo(box.Right, box.Bottom - 1);
  String text;
  if (level) level->GroupRowText(Node, text);
  const TRect textRect(box.Right, row.Top, row.Right, row.Bottom - 1);
  WriteCellText(textRect, 2, 2, text, taLeftJustify, tlTop, false, false);
  canvas->Pen()->SetColor(LineColors()->BrightLineColor());
  canvas->MoveTo(box.Right, row.Bottom - 1);
  canvas->LineTo(row.Right, row.Bottom - 1);
  if (currentRow && !Designing() && !FOptions.Contains(dgRowSelect) && FLayoutLock == 0 && IsFocusOwner()) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->ActiveControl() == this) DrawFocusRect(canvas, textRect);
  }
}

void TCustomDBGridX::PickGroupRowColors(bool CurrentRow, TFont* Font, TColor& Color, TGridDrawState State) {
  const bool selectionLook = FOptions.Contains(dgRowSelect) || (FOptionsX.Contains(dghHighlightFocus) && IsFocusOwner());
  if (!selectionLook || !(CurrentRow || State.Contains(gdSelected))) return;
  if (GridOrEditorFocused()) {
    Color = clHighlight;
    Font->SetColor(clHighlightText);
  } else {
    Color = CurrentRow ? clBtnShadow : clBtnFace;
  }
}

bool TCustomDBGridX::GroupRowMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (!FDataGrouping->GroupingWorks() || Shift.Contains(ssDouble)) return false;
  const TGridCoord cell = CellAtPoint(X, Y);
  TGroupDataTreeNodeX* node = cell.X >= FIndicatorColCount ? GroupNodeAtRow(cell.Y) : nullptr;
  if (!node || !node->IsGroupNode) return false;
  HandleGroupRowClick(Button, Shift, node, X, Y);
  return true;
}

void TCustomDBGridX::HandleGroupRowClick(TMouseButton Button, TShiftState Shift, TGroupDataTreeNodeX* Node, Integer X,
                                         Integer Y) {
  const TGridCoord cell = CellAtPoint(X, Y);
  const TRect row = GroupRowRect(GridColToColumnIndex(cell.X), CellRect(cell.X, cell.Y));
  const Integer bandLeft = row.Left + GroupLevelIndent * (Node->Level() - 1);
  if (Button == mbLeft && X >= bandLeft && X < bandLeft + GroupLevelIndent) {
    const bool expand = !Node->Expanded();
    TGridGroupDataTreeX* tree = FDataGrouping->Tree();
    if (!Shift.Contains(ssCtrl)) Node->SetExpanded(expand);
    else if (expand) tree->ExpandLevel(Node->Level());
    else tree->CollapseLevel(Node->Level());
  }
  SelectGroupNode(Node);
}
