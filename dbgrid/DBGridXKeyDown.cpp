// The grid's key handler: KeyDown runs its steps in order, and the key tables for Ctrl and
// for plain keys give each key one line.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXOutputHooks.h"
#include "dbgrid/DBGridXSteppedCell.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Menus.h"

void TCustomDBGridX::KeyDown(Word& Key, TShiftState Shift) {
  if (RouteKeyToFilterList(Key, Shift)) return;
  FToggleExtension = Shift.Contains(ssCtrl) || !FOptionsX.Contains(dghClearSelection);
  FKeyShift = Shift;
  TCustomControl::KeyDown(Key, Shift);  // OnKeyDown
  EnterFilterRowByUpKey(Key, Shift);
  MirrorHorizontalKeys(Key);
  if (Key == 0 || !FDataLink->Active() || !GridAcceptsKey(Key, Shift)) return;
  if (GroupRowTakesKey(Key, Shift)) return;
  SearchAndShortcutKeys(Key, Shift);
  if (Shift.Contains(ssCtrl)) CtrlKeyDown(Key, Shift);
  else PlainKeyDown(Key, Shift);
  ClearSteppedCellOnDelete(Key, Shift);
}

// ---- the steps

// Keys typed while the title filter list is open steer the list.
bool TCustomDBGridX::RouteKeyToFilterList(Word& Key, TShiftState Shift) {
  if (!FFilterListDropped) return false;
  FilterListKeyDown(Key, Shift);
  return Key == 0;
}

// Up from the first record, or Ctrl+Up from anywhere, climbs into the filter row.
void TCustomDBGridX::EnterFilterRowByUpKey(Word& Key, TShiftState Shift) {
  if (Key != VK_UP || !FDataLink->Active() || !FSTFilter->Visible() ||
      FSTFilter->Location() != stflUnderTitleFilterX || UnderTitleRowCount() == 0 ||
      !(DataSet()->Bof() || Shift.Contains(ssCtrl)))
    return;
  Integer filterCol = SelectedIndex();
  if (FOptions.Contains(dgRowSelect)) {
    // Row selection has no current column: the filter column used last, while it is in view,
    // else the first filter column from the left edge.
    const auto inView = [this](Integer GridCol) {
      return GridCol >= FIndicatorColCount &&
             (GridCol < FixedCols() || (GridCol >= LeftCol() && GridCol < LeftCol() + FullyVisibleColCount()));
    };
    filterCol = FFilterCol >= 0 && inView(ColumnIndexToGridCol(FFilterCol)) ? FFilterCol : -1;
    for (Integer col = FIndicatorColCount; col < ColCount() && filterCol < 0; ++col)
      if (inView(col) && CanFilterColumn(GridColToColumnIndex(col))) filterCol = GridColToColumnIndex(col);
  }
  ShowFilterEditor(filterCol);
  Key = 0;
}

void TCustomDBGridX::MirrorHorizontalKeys(Word& Key) {
  if (!RightToLeft()) return;
  if (Key == VK_LEFT) Key = VK_RIGHT;
  else if (Key == VK_RIGHT) Key = VK_LEFT;
}

bool TCustomDBGridX::GroupRowTakesKey(Word& Key, TShiftState Shift) {
  return FDataGrouping->GroupingWorks() && GroupRowKeyDown(Key, Shift);
}

void TCustomDBGridX::SearchAndShortcutKeys(Word& Key, TShiftState Shift) {
  TDBGridXGlobals& globals = DBGridXGlobals();
  const TShortCut shortCut = ::ShortCut(Key, Shift);
  const bool noModifiers = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  TColumnX* selected = SelectedColumn();
  if (shortCut == globals.FilterShortCut && FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterX &&
      selected && selected->STFilter()->Visible()) {
    DropDownColumnFilterList(selected);
  } else if (shortCut == globals.PreviousValueShortCut) {
    CopyFromPreviousRecord();
  } else if (shortCut == globals.IncSearchShortCut && FOptionsX.Contains(dghIncSearch)) {
    if (FIncSearching && FOptionsX.Contains(dghDialogFind) && globals.FindDialogShortCut == globals.IncSearchShortCut) {
      StopIncSearch();
      ShowFindDialog(String(), String(), FindDialogModal());
    } else {
      IncSearchStep(String(), -1, 2);
    }
  } else if (shortCut == globals.FindDialogShortCut && FOptionsX.Contains(dghDialogFind)) {
    ShowFindDialog(String(), String(), FindDialogModal());
  } else if (FIncSearching) {
    if (noModifiers && (Key == VK_RETURN || Key == VK_ESCAPE || Key == GridEditKey)) {
      StopIncSearch();
    } else if (noModifiers && Key == VK_BACK) {
      FIncSearchText.chop(1);
      InvalidateCurrentRow();
      StartIncSearchTimer();
    } else if (shortCut == globals.NextMatchShortCut) {
      IncSearchStep(String(), FIncSearchTimeout, 1);
    } else if (shortCut == globals.PriorMatchShortCut) {
      IncSearchStep(String(), FIncSearchTimeout, 0);
    }
  }
}

void TCustomDBGridX::CtrlKeyDown(Word& Key, TShiftState Shift) {
  const bool multiShift = Shift.Contains(ssShift) && FOptions.Contains(dgMultiSelect);
  if (!Shift.Contains(ssShift) &&
      (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN))
    ClearSelectionIfOption();
  switch (Key) {
    case VK_PRIOR: case VK_UP: case VK_NEXT: case VK_END: case VK_HOME: CtrlVerticalKey(Key, multiShift); break;
    case VK_DOWN:
      if (FRowDetailPanel->Active()) OpenDetailPanelByKey();
      else CtrlVerticalKey(Key, multiShift);
      break;
    case VK_LEFT: MoveCol(0, 1, false); break;
    case VK_RIGHT: MoveCol(FColumns->Count() - 1, -1, false); break;
    case VK_INSERT: case 'C': if (CanCopy() && FEditActions.Contains(geaCopyX)) RunGridOutputHook(goaCopyX, this, false); break;
    case VK_DELETE: CtrlDeleteKey(); break;
    case 'A': if (CanSelectAll() && FEditActions.Contains(geaSelectAllX)) FSelection->SelectAllCells(); break;
    case 'V':
      if (FIncSearching) IncSearchStep(Clipboard()->AsText(), FIncSearchTimeout, 2);
      else if (CanPaste() && FEditActions.Contains(geaPasteX)) RunGridOutputHook(goaPasteX, this, false);
      break;
    case 'X': if (CanCut() && FEditActions.Contains(geaCutX)) RunGridOutputHook(goaCutX, this, false); break;
    default: break;
  }
}

void TCustomDBGridX::PlainKeyDown(Word& Key, TShiftState Shift) {
  const bool multiShift = Shift.Contains(ssShift) && FOptions.Contains(dgMultiSelect);
  switch (Key) {
    case VK_TAB: if (!Shift.Contains(ssAlt)) TabMove(!Shift.Contains(ssShift)); break;
    case VK_RETURN: if (FOptionsX.Contains(dghEnterAsTab)) TabMove(!Shift.Contains(ssShift)); break;
    case VK_ESCAPE: EscapeKey(); break;
    case VK_PRIOR: case VK_NEXT: PageKey(Key, multiShift); break;
    case VK_END: case VK_HOME: HomeEndKey(Key, multiShift); break;
    case VK_LEFT: case VK_RIGHT: HorizontalKey(Key, multiShift); break;
    case VK_UP: UpKey(); break;
    case VK_DOWN: DownKey(); break;
    case VK_INSERT: InsertKey(Shift); break;
    case VK_DELETE: if (Shift.Contains(ssShift) && CanCut() && FEditActions.Contains(geaCutX)) RunGridOutputHook(goaCutX, this, false); break;
    case VK_MULTIPLY: case VK_ADD: case VK_SUBTRACT: KeypadNodeKey(Key); break;
    case GridEditKey: SetEditorMode(true); break;
    default: break;
  }
}

// Delete empties a check-box or image cell the column may change.
void TCustomDBGridX::ClearSteppedCellOnDelete(Word Key, TShiftState Shift) {
  if (Key != VK_DELETE || Shift.Contains(ssCtrl) || FOptions.Contains(dgRowSelect)) return;
  TColumnX* column = SelectedColumn();
  if (column && column->Field() && !column->Field()->ReadOnly() && SteppedCell(column) && column->CanEditValue(true))
    column->Field()->Clear();
}

// ---- the keys

void TCustomDBGridX::CtrlVerticalKey(Word Key, bool MultiShift) {
  const Integer active = FDataLink->ActiveRecord();
  switch (Key) {
    case VK_PRIOR:
    case VK_UP:
      if (MultiShift) SelectionMoveBy(true, -active, false, false);
      else FDataLink->MoveBy(-active);
      break;
    case VK_NEXT:
    case VK_DOWN:
      if (MultiShift) SelectionMoveBy(true, FDataLink->RecordCount() - active - 1, false, false);
      else FDataLink->MoveBy(FDataLink->RecordCount() - active - 1);
      break;
    case VK_END:
      if (MultiShift) SelectionMoveBy(true, 1, false, true);
      else DataSet()->Last();
      break;
    case VK_HOME:
      if (MultiShift) SelectionMoveBy(true, -1, false, true);
      else DataSet()->First();
      break;
    default: break;
  }
}

void TCustomDBGridX::CtrlDeleteKey() {
  if (!FEditActions.Contains(geaDeleteX) || FSelection->SelectionKind() == gstNon) DeleteRecordsAsked();
  else if (CanDelete()) RunGridOutputHook(goaDeleteSelectionX, this, false);
}

void TCustomDBGridX::EscapeKey() {
  FDataLink->Reset();
  ClearSelection();
  if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
  if (GridState() != msIdle || RecordDragging() || GroupPanelDragging() || PanelTitleDragging())
    Perform(WM_CANCELMODE, 0, 0);
}

void TCustomDBGridX::PageKey(Word Key, bool MultiShift) {
  const Integer rows = std::max<Integer>(VisibleDataRowCount(), 1);
  const Integer page = Key == VK_PRIOR ? -rows : rows;
  if (MultiShift) {
    SelectionMoveBy(true, page, !FAllowedSelections.Contains(gstRectangle), false);
    return;
  }
  ClearSelectionIfOption();
  FDataLink->MoveBy(page);
}

void TCustomDBGridX::HomeEndKey(Word Key, bool MultiShift) {
  const bool end = Key == VK_END;
  if (FOptions.Contains(dgRowSelect) || FVisibleColumns.Count() == 1) {
    if (MultiShift) {
      SelectionMoveBy(true, end ? 1 : -1, false, true);
      return;
    }
    ClearSelectionIfOption();
    if (end) DataSet()->Last();
    else DataSet()->First();
  } else if (end) {
    MoveCol(FColumns->Count() - 1, -1, MultiShift);
  } else {
    MoveCol(0, 1, MultiShift);
  }
}

void TCustomDBGridX::HorizontalKey(Word Key, bool MultiShift) {
  const bool left = Key == VK_LEFT;
  const Integer current = SelectedIndex();
  if (FOptions.Contains(dgRowSelect)) {
    ScrollByPixels(left ? -GetHorzScrollStep() : GetHorzScrollStep(), 0);
  } else if (MultiShift) {
    MoveCol(current + (left ? -1 : 1), left ? -1 : 1, true);
  } else if (PanelCellToCell()) {
    ClearSelectionIfOption();
    FColumns->SetVertMoveAnchor(nullptr);
    MoveCol(FColumns->NextInLine(SelectedColumn(), !left, false, false)->Index(), 0, false);
  } else {
    ClearSelectionIfOption();
    MoveCol(current + (left ? -1 : 1), left ? -1 : 1, false);
  }
}

void TCustomDBGridX::UpKey() {
  if (PanelCellToCell()) PanelVerticalMove(false);
  else PriorRow(true);
}

void TCustomDBGridX::DownKey() {
  if (FRowDetailPanel->Active() && FRowDetailPanel->Shown()) FocusDetailPanel();
  else if (PanelCellToCell()) PanelVerticalMove(true);
  else NextRow(true);
}

void TCustomDBGridX::InsertKey(TShiftState Shift) {
  TDataSet* dataSet = DataSet();
  if (Shift.Contains(ssShift)) {
    if (CanPaste() && FEditActions.Contains(geaPasteX)) RunGridOutputHook(goaPasteX, this, false);
  } else if (dataSet->CanModify() && !FReadOnly && FOptions.Contains(dgEditing)) {
    ClearSelectionIfOption();
    if (FAllowedOperations.Contains(alopInsertX)) dataSet->Insert();
    else if (FAllowedOperations.Contains(alopAppendX)) dataSet->Append();
  }
}

void TCustomDBGridX::KeypadNodeKey(Word Key) {
  if (TreeViewShown()) {
    const Integer index = FMemTable->CurrentRecordIndex();
    if (index < 0) return;
    const bool expanded = FMemTable->RecordNodeInfo(index).Expanded;
    const bool expand = Key == VK_MULTIPLY ? !expanded : Key == VK_ADD;
    if (expand == expanded) return;
    TDataSet* dataSet = DataSet();
    const Integer topRow = TopRow();
    {
      TDisableControlsLock controls(dataSet);
      const Integer target = FMemTable->SetNodeExpanded(index, expand);
      LockUpdates();
      TScopeGuard unlock([this] { UnlockUpdates(); });
      if (target >= 0 && target != FMemTable->CurrentRecordIndex()) FMemTable->SetCurrentRecordIndex(target);
      else FMemTable->RefreshTreeView();
    }
    if (TopRow() != topRow && topRow < RowCount()) SetTopRow(topRow);
    Invalidate();
    UpdateVertScrollBar();
    return;
  }
  if (!FRowDetailPanel->Active() || !CurrentRowHasDetailPanel()) return;
  const bool show = Key == VK_MULTIPLY ? !FRowDetailPanel->Shown() : Key == VK_ADD;
  FRowDetailPanel->SetShown(show);
}

bool TCustomDBGridX::CurrentRowHasDetailPanel() {
  bool hasPanel = true;
  if (OnCheckRowHaveDetailPanel) OnCheckRowHaveDetailPanel(this, hasPanel);
  return hasPanel;
}

void TCustomDBGridX::OpenDetailPanelByKey() {
  if (!CurrentRowHasDetailPanel()) return;
  FRowDetailPanel->SetShown(true);
  if (FRowDetailPanel->Shown()) FocusDetailPanel();
}

bool TCustomDBGridX::KeypadOperatesTreeOrPanel() const { return TreeViewShown() || FRowDetailPanel->Active(); }
