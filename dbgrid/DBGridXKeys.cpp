// Keyboard handling: vertical keys move the current record, horizontal keys the current
// column, Shift extends a selection of rows or cells, Ctrl reaches the clipboard, deletion,
// select-all and searching, and typed characters open the editor or feed a search.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXOutputHooks.h"
#include "dbgrid/DBGridXSteppedCell.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Menus.h"

namespace {
class TGridUpdatesHeld {
public:
  explicit TGridUpdatesHeld(TCustomDBGridX* Grid) : FGrid(Grid) { FGrid->LockUpdates(); }
  ~TGridUpdatesHeld() noexcept(false) {
    auto unlock = [this] { FGrid->UnlockUpdates(); };
    ScopeGuards::RunAtScopeEnd(unlock, FUncaught);
  }
private:
  TCustomDBGridX* FGrid;
  int FUncaught = std::uncaught_exceptions();
};
}  // namespace

bool TCustomDBGridX::SelectionKindAllowed(TDBGridXSelectionType Kind) const {
  if (Kind == gstNon) return true;
  if (!FOptions.Contains(dgMultiSelect) || !FAllowedSelections.Contains(Kind)) return false;
  return !(FOptions.Contains(dgRowSelect) && (Kind == gstRectangle || Kind == gstColumns));
}

void TCustomDBGridX::ClearSelection() {
  if (FOptions.Contains(dgMultiSelect)) FBookmarks->ClearBookmarks();
  FSelectingRows = false;
  if (FSelection->SelectionKind() != gstNon) {
    FSelection->Clear();
    Invalidate();
    ReloadEditor();
  }
}

void TCustomDBGridX::ClearSelectionIfOption() {
  if (FOptionsX.Contains(dghClearSelection)) ClearSelection();
  FSelectingRows = false;
}

// One step of a row extension: marks or unmarks rows so that the rows between the anchor and
// the current record take the anchor's new state, and a step back towards the anchor gives
// the row it leaves its former state.
void TCustomDBGridX::ExtendRowSelection(Integer Step) {
  bool markReached = true;
  if (FSelectingRows) {
    const Integer side = CompareBookmarkStrs(DataSet(), DataSet()->Bookmark(), FSelectionAnchor);
    if ((side > 0 && Step < 0) || (side < 0 && Step > 0)) {
      FBookmarks->MarkCurrentRow(FToggleExtension ? FAnchorWasSelected : false);
      markReached = false;
    }
  } else {
    FSelectingRows = true;
    FSelectionAnchor = DataSet()->Bookmark();
    FAnchorWasSelected = FBookmarks->IsCurrentRowSelected();
    FBookmarks->MarkCurrentRow(FToggleExtension ? !FAnchorWasSelected : true);
  }
  if (FDataLink->MoveBy(Step) == 0) return;
  if (markReached) FBookmarks->MarkCurrentRow(FToggleExtension ? !FAnchorWasSelected : true);
}

// The same marks as ExtendRowSelection stepped to the end gives: rows on the near side of
// the anchor take their former state, rows reached beyond it the anchor's new state.
void TCustomDBGridX::ExtendRowSelectionToEnd(Integer Step) {
  TDataSet* dataSet = DataSet();
  if (dataSet->IsEmpty()) return;
  const bool restored = FToggleExtension ? FAnchorWasSelected : false;
  {
    TDisableControlsLock controls(dataSet);
    TUpdateLock<TBMListX> marks(FBookmarks.get());
    bool markReached = true;
    if (!FSelectingRows) {
      FSelectingRows = true;
      FSelectionAnchor = dataSet->Bookmark();
      FAnchorWasSelected = FBookmarks->IsCurrentRowSelected();
      FBookmarks->TBMListX::MarkCurrentRow(FToggleExtension ? !FAnchorWasSelected : true);
    } else if (CompareBookmarkStrs(dataSet, dataSet->Bookmark(), FSelectionAnchor) * Step < 0) {
      FBookmarks->TBMListX::MarkCurrentRow(FToggleExtension ? FAnchorWasSelected : false);
      markReached = false;
    }
    const bool reached = FToggleExtension ? !FAnchorWasSelected : true;
    for (;;) {
      if (Step > 0) dataSet->Next();
      else dataSet->Prior();
      if (Step > 0 ? dataSet->Eof() : dataSet->Bof()) break;
      const bool nearSide = CompareBookmarkStrs(dataSet, dataSet->Bookmark(), FSelectionAnchor) * Step < 0;
      if (nearSide) FBookmarks->TBMListX::MarkCurrentRow(restored);
      else if (markReached) FBookmarks->TBMListX::MarkCurrentRow(reached);
      markReached = !nearSide;
    }
  }
  if (FSelection->SelectionKind() != gstRecordBookmarks && FBookmarks->GetCount() > 0) {
    FSelection->Clear();
    FSelection->SetSelectionKind(gstRecordBookmarks);
  }
}

void TCustomDBGridX::SelectionMoveBy(bool Select, Integer Distance, bool RowsOnly, bool ToEnd) {
  if (RowsOnly || FOptions.Contains(dgRowSelect)) {
    const bool extend = Select && SelectionKindAllowed(gstRecordBookmarks);
    if (ToEnd && extend && FOptions.Contains(dgMultiSelect) && FDataLink->Active()) {
      TGridUpdatesHeld held(this);
      ExtendRowSelectionToEnd(Distance > 0 ? 1 : -1);
    } else {
      TGridUpdatesHeld held(this);
      while (Distance != 0) {
        const Integer step = Distance > 0 ? 1 : -1;
        if (FOptions.Contains(dgMultiSelect) && FDataLink->Active()) {
          if (!extend) ClearSelectionIfOption();
          else {
            const TBookmarkStr before = DataSet()->Bookmark();
            ExtendRowSelection(step);
            if (DataSet()->Bookmark() == before) break;
            if (!ToEnd) Distance -= step;
            continue;
          }
        }
        if (FDataLink->MoveBy(step) == 0) break;
        if (!ToEnd) Distance -= step;
      }
    }
  } else if (Select && SelectionKindAllowed(gstRectangle)) {
    TGridUpdatesHeld held(this);
    if (FSelection->SelectionKind() != gstRectangle) {
      FSelection->Clear();
      FSelection->Rect()->SelectCell(SelectedIndex(), DataSet()->Bookmark(), false);
    }
    if (ToEnd && Distance == 1) DataSet()->Last();
    else if (ToEnd) DataSet()->First();
    else FDataLink->MoveBy(Distance);
    FSelection->Rect()->SelectCell(SelectedIndex(), DataSet()->Bookmark(), true);
  } else if (ToEnd) {
    if (Distance == 1) DataSet()->Last();
    else DataSet()->First();
  } else {
    FDataLink->MoveBy(Distance);
  }
  if (FUpdateLock == 0) Invalidate();
}

void TCustomDBGridX::MoveCol(Integer DataCol, Integer Direction, bool Select) {
  const bool rectangle = Select && !FOptions.Contains(dgRowSelect) && SelectionKindAllowed(gstRectangle);
  if (rectangle && FSelection->SelectionKind() != gstRectangle && FDataLink->Active()) {
    FSelection->Clear();
    FSelection->Rect()->SelectCell(SelectedIndex(), DataSet()->Bookmark(), false);
  }
  FDataLink->UpdateRecord();
  const Integer count = FColumns->Count();
  if (count == 0) return;
  DataCol = std::clamp(DataCol, 0, count - 1);
  if (Direction != 0) {
    while (!FColumns->Items(DataCol)->Visible()) {
      DataCol += Direction;
      if (DataCol < 0 || DataCol >= count) return;
    }
  }
  if (DataCol != SelectedIndex()) {
    const Integer before = SelectedIndex();
    if (OnColExit) OnColExit(this);
    if (SelectedIndex() != before) return;
    if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
    if (FRowPanel->Active()) SetPanelColumn(DataCol);
    else if (!FOptions.Contains(dgRowSelect)) SetCol(FIndicatorColCount + DataCol);
    const TColumnX::TCellKindX kind = FColumns->Items(DataCol)->CellKind();
    if (FOptions.Contains(dgAlwaysShowEditor) && kind != TColumnX::ckCheckbox && kind != TColumnX::ckImageList)
      SetEditorMode(true);
    if (OnColEnter) OnColEnter(this);
  }
  if (rectangle && FDataLink->Active()) FSelection->Rect()->SelectCell(SelectedIndex(), DataSet()->Bookmark(), true);
  if (!FKeepSearch) StopIncSearch();
}

namespace {
// A record being inserted is in the data set's order, so it may be the last one without Eof.
bool AtLastRecord(TDataSet* DataSet) { return DataSet->Eof() || DataSet->RecNo() == DataSet->RecordCount(); }
}  // namespace

void TCustomDBGridX::NextRow(bool Select) {
  TDataSet* dataSet = DataSet();
  if (dataSet->State() == dsInsert && !dataSet->Modified() && !FDataLink->EditorModified()) {
    if (!AtLastRecord(dataSet)) dataSet->Cancel();
    return;
  }
  const bool rowsOnly = !FAllowedSelections.Contains(gstRectangle);
  if (FKeyShift.Contains(ssShift)) SelectionMoveBy(Select, 1, rowsOnly, false);
  else SelectionMoveBy(false, 1, true, false);
  if (dataSet->Eof() && dataSet->CanModify() && !FReadOnly && FOptions.Contains(dgEditing) &&
      FAllowedOperations.Contains(alopAppendX))
    AppendRecord();
}

void TCustomDBGridX::PriorRow(bool Select) {
  TDataSet* dataSet = DataSet();
  if (dataSet->State() == dsInsert && !dataSet->Modified() && !FDataLink->EditorModified() &&
      AtLastRecord(dataSet)) {
    dataSet->Cancel();
    return;
  }
  const bool rowsOnly = !FAllowedSelections.Contains(gstRectangle);
  if (FKeyShift.Contains(ssShift)) SelectionMoveBy(Select, -1, rowsOnly, false);
  else SelectionMoveBy(false, -1, true, false);
}

void TCustomDBGridX::TabMove(bool Forward) {
  ClearSelectionIfOption();
  TGridUpdatesHeld held(this);
  FColumns->SetVertMoveAnchor(nullptr);
  if (TColumnX* current = SelectedColumn()) {
    TColumnX* next = FColumns->NextTabColumn(current, Forward);
    if (next != current) {
      SetSelectedIndex(next->Index());
      return;
    }
  }
  if (Forward) NextRow(false);
  else PriorRow(false);
  if (TColumnX* wrapped = Forward ? FColumns->FirstTabColumn() : FColumns->LastTabColumn())
    SetSelectedIndex(wrapped->Index());
}

bool TCustomDBGridX::PanelCellToCell() const {
  return FRowPanel->Active() && FRowPanel->NavKeysNavigationType() == rpntCellToCellX && SelectedColumn();
}

void TCustomDBGridX::PanelVerticalMove(bool Down) {
  TColumnX* current = SelectedColumn();
  if (!FColumns->VertMoveAnchor()) FColumns->SetVertMoveAnchor(current);
  TColumnX* next = FColumns->NextVertical(current, Down);
  if (next != current) {
    MoveCol(next->Index(), 0, false);
    return;
  }
  if (Down) NextRow(true);
  else PriorRow(true);
  if (Down ? DataSet()->Eof() : DataSet()->Bof()) return;
  TColumnX* landing = Down ? FColumns->TopmostVertical(current) : FColumns->BottommostVertical(current);
  MoveCol(landing->Index(), 0, false);
}

// Deleting records changes data, so it needs an editing grid as well as the rights.
void TCustomDBGridX::DeleteRecordsAsked() {
  TDataSet* dataSet = DataSet();
  if (FReadOnly || !FOptions.Contains(dgEditing) || dataSet->IsEmpty() || !dataSet->CanModify() ||
      !FAllowedOperations.Contains(alopDeleteX))
    return;
  if (!ConfirmDelete()) return;
  if (FSelection->SelectionKind() == gstAll) {
    TDisableControlsLock controls(dataSet);
    dataSet->First();
    while (!dataSet->IsEmpty()) dataSet->Delete();
    FSelection->Clear();
  } else if (FBookmarks->GetCount() == 0) {
    dataSet->Delete();
  } else {
    FBookmarks->DeleteRecords();
  }
}

// The current column's value of the record above (a lookup's key), when the grid may edit
// that cell; the first buffered row has none.
void TCustomDBGridX::CopyFromPreviousRecord() {
  TColumnX* column = SelectedColumn();
  if (!FDataLink->Active() || !column || !column->Field()) return;
  const Integer active = FDataLink->ActiveRecord();
  if (active <= 0 || !CanEditColumn(SelectedIndex()) || !column->CanEditValue(true)) return;
  TField* field = column->Field();
  Variant value;
  String text;
  {
    FDataLink->SetActiveRecord(active - 1);
    TScopeGuard restore([&] { FDataLink->SetActiveRecord(active); });
    value = field->Lookup() ? field->DataSet()->FieldValues(field->KeyFields()) : field->Value();
    text = field->Text();
  }
  ClearSelection();
  column->ApplyValue(text, value, false);
  SetEditorMode(true);
  if (InplaceEditor()) InplaceEditor()->SelectAll();
}

void TCustomDBGridX::KeyDown(Word& Key, TShiftState Shift) {
  if (FFilterListDropped) {
    FilterListKeyDown(Key, Shift);
    if (Key == 0) return;
  }
  FToggleExtension = Shift.Contains(ssCtrl) || !FOptionsX.Contains(dghClearSelection);
  FKeyShift = Shift;
  TCustomControl::KeyDown(Key, Shift);
  // Up from the first record, or Ctrl+Up from anywhere, climbs into the filter row.
  if (Key == VK_UP && FDataLink->Active() && FSTFilter->Visible() &&
      FSTFilter->Location() == stflUnderTitleFilterX && UnderTitleRowCount() > 0 &&
      (DataSet()->Bof() || Shift.Contains(ssCtrl))) {
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
  if (Key == 0 || !FDataLink->Active() || !GridAcceptsKey(Key, Shift)) return;
  if (FDataGrouping->GroupingWorks() && GroupRowKeyDown(Key, Shift)) return;
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

  TDataSet* dataSet = DataSet();
  const bool multiShift = Shift.Contains(ssShift) && FOptions.Contains(dgMultiSelect);
  const bool rowsOnly = !FAllowedSelections.Contains(gstRectangle);
  const bool rowWise = FOptions.Contains(dgRowSelect) || FVisibleColumns.Count() == 1;
  if (Shift.Contains(ssCtrl)) {
    if (!Shift.Contains(ssShift) &&
        (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN))
      ClearSelectionIfOption();
    const Integer active = FDataLink->ActiveRecord();
    switch (Key) {
      case VK_PRIOR:
      case VK_UP:
        if (multiShift) SelectionMoveBy(true, -active, false, false);
        else FDataLink->MoveBy(-active);
        break;
      case VK_NEXT:
      case VK_DOWN:
        if (multiShift) SelectionMoveBy(true, FDataLink->RecordCount() - active - 1, false, false);
        else FDataLink->MoveBy(FDataLink->RecordCount() - active - 1);
        break;
      case VK_END:
        if (multiShift) SelectionMoveBy(true, 1, false, true);
        else dataSet->Last();
        break;
      case VK_HOME:
        if (multiShift) SelectionMoveBy(true, -1, false, true);
        else dataSet->First();
        break;
      case VK_LEFT: MoveCol(0, 1, false); break;
      case VK_RIGHT: MoveCol(FColumns->Count() - 1, -1, false); break;
      case VK_INSERT:
      case 'C':
        if (CanCopy() && FEditActions.Contains(geaCopyX)) RunGridOutputHook(goaCopyX, this, false);
        break;
      case VK_DELETE:
        if (!FEditActions.Contains(geaDeleteX) || FSelection->SelectionKind() == gstNon) DeleteRecordsAsked();
        else if (CanDelete()) RunGridOutputHook(goaDeleteSelectionX, this, false);
        break;
      case 'A':
        if (CanSelectAll() && FEditActions.Contains(geaSelectAllX)) FSelection->SelectAllCells();
        break;
      case 'V':
        if (FIncSearching) IncSearchStep(Clipboard()->AsText(), FIncSearchTimeout, 2);
        else if (CanPaste() && FEditActions.Contains(geaPasteX)) RunGridOutputHook(goaPasteX, this, false);
        break;
      case 'X':
        if (CanCut() && FEditActions.Contains(geaCutX)) RunGridOutputHook(goaCutX, this, false);
        break;
      default: break;
    }
  } else {
    const Integer current = SelectedIndex();
    switch (Key) {
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) TabMove(!Shift.Contains(ssShift));
        break;
      case VK_RETURN:
        if (FOptionsX.Contains(dghEnterAsTab)) TabMove(!Shift.Contains(ssShift));
        break;
      case VK_ESCAPE:
        FDataLink->Reset();
        ClearSelection();
        if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
        if (GridState() != msIdle || RecordDragging() || GroupPanelDragging() || PanelTitleDragging())
          Perform(WM_CANCELMODE, 0, 0);
        break;
      case VK_PRIOR:
      case VK_NEXT: {
        const Integer page = Key == VK_PRIOR ? -FDataLink->BufferCount() : FDataLink->BufferCount();
        if (multiShift) SelectionMoveBy(true, page, rowsOnly, false);
        else {
          ClearSelectionIfOption();
          FDataLink->MoveBy(page);
        }
        break;
      }
      case VK_END:
      case VK_HOME: {
        const bool end = Key == VK_END;
        if (rowWise) {
          if (multiShift) SelectionMoveBy(true, end ? 1 : -1, false, true);
          else {
            ClearSelectionIfOption();
            if (end) dataSet->Last();
            else dataSet->First();
          }
        } else if (end) {
          MoveCol(FColumns->Count() - 1, -1, multiShift);
        } else {
          MoveCol(0, 1, multiShift);
        }
        break;
      }
      case VK_LEFT:
      case VK_RIGHT: {
        const bool left = (Key == VK_LEFT) != RightToLeft();
        if (FOptions.Contains(dgRowSelect)) {
          ScrollByPixels(left ? -GetHorzScrollStep() : GetHorzScrollStep(), 0);
        } else if (multiShift) {
          MoveCol(current + (left ? -1 : 1), left ? -1 : 1, true);
        } else if (PanelCellToCell()) {
          ClearSelectionIfOption();
          FColumns->SetVertMoveAnchor(nullptr);
          MoveCol(FColumns->NextInLine(SelectedColumn(), !left, false, false)->Index(), 0, false);
        } else {
          ClearSelectionIfOption();
          MoveCol(current + (left ? -1 : 1), left ? -1 : 1, false);
        }
        break;
      }
      case VK_UP:
        if (PanelCellToCell()) PanelVerticalMove(false);
        else PriorRow(true);
        break;
      case VK_DOWN:
        if (FRowDetailPanel->Active() && FRowDetailPanel->Shown()) FocusDetailPanel();
        else if (PanelCellToCell()) PanelVerticalMove(true);
        else NextRow(true);
        break;
      case VK_INSERT:
        if (Shift.Contains(ssShift)) {
          if (CanPaste() && FEditActions.Contains(geaPasteX)) RunGridOutputHook(goaPasteX, this, false);
        } else if (dataSet->CanModify() && !FReadOnly && FOptions.Contains(dgEditing)) {
          ClearSelectionIfOption();
          if (FAllowedOperations.Contains(alopInsertX)) dataSet->Insert();
          else if (FAllowedOperations.Contains(alopAppendX)) dataSet->Append();
        }
        break;
      case VK_DELETE:
        if (Shift.Contains(ssShift) && CanCut() && FEditActions.Contains(geaCutX))
          RunGridOutputHook(goaCutX, this, false);
        break;
      case GridEditKey: SetEditorMode(true); break;
      default: break;
    }
  }
  if (Key == VK_DELETE && !Shift.Contains(ssCtrl) && !FOptions.Contains(dgRowSelect)) {
    TColumnX* column = SelectedColumn();
    if (column && column->Field() && !column->Field()->ReadOnly() &&
        SteppedCell(column) && column->CanEditValue(true))
      column->Field()->Clear();
  }
}

void TCustomDBGridX::KeyPress(QChar& Key) {
  if (FOptionsX.Contains(dghEnterAsTab) && Key == u'\r') Key = u'\t';
  if (!FOptions.Contains(dgAlwaysShowEditor) && Key == u'\r') FDataLink->UpdateRecord();
  TCustomGridX::KeyPress(Key);
  const bool searchWanted =
      FIncSearching || (FOptionsX.Contains(dghPreferIncSearch) && !FOptions.Contains(dgAlwaysShowEditor) &&
                        !(InplaceEditor() && InplaceEditor()->Visible()));
  if (searchWanted && Key.unicode() >= 32 && FDataLink->Active() && !InEditModes(DataSet()->State())) {
    IncSearchStep(String(Key), FIncSearching ? FIncSearchTimeout : Integer(DBGridXGlobals().IncSearchTimeout), 2);
    Key = QChar();
  }
}

void TCustomDBGridX::WMChar(TMessage& Message) {
  QChar key(ushort(Message.WParam));
  TColumnX* column = SelectedColumn();
  const bool steppedCell = column && SteppedCell(column);
  if (key == u' ' && steppedCell && !FOptions.Contains(dgRowSelect)) {
    KeyPress(key);
    if (key == u' ') column->StepValue(FKeyShift.Contains(ssShift) ? -1 : 1);
    return;
  }
  const bool columnEditable = column && FOptions.Contains(dgEditing) && CanEditColumn(SelectedIndex());
  const bool search = FIncSearching || (FOptionsX.Contains(dghIncSearch) && !columnEditable) ||
                      (FOptionsX.Contains(dghPreferIncSearch) && !FOptions.Contains(dgAlwaysShowEditor) &&
                       !(InplaceEditor() && InplaceEditor()->Visible()));
  if (search && (key == u'\b' || key.unicode() >= 32) && FDataLink->Active() && !InEditModes(DataSet()->State())) {
    KeyPress(key);
    return;
  }
  TCustomGridX::WMChar(Message);
}
