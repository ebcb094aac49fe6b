// The moves the keys make: vertical keys move the current record, horizontal keys the
// current column, Shift extends a selection of rows or cells; typed characters open the
// editor, step check-box cells, feed a search or go to the filter editor.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXFilterEdit.h"
#include "dbgrid/DBGridXGlobals.h"
#include "dbgrid/DBGridXSteppedCell.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/ScopeGuards.h"
#include <QCoreApplication>
#include <QKeyEvent>

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

// A handler that moves the current column itself would report its exit again.
void TCustomDBGridX::FireColExit() {
  if (!OnColExit) return;
  FColExitFiring = true;
  TScopeGuard done([this] { FColExitFiring = false; });
  OnColExit(this);
}

void TCustomDBGridX::FireColEnter() {
  ApplyIme();
  if (OnColEnter) OnColEnter(this);
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
    if (!FColExitFiring) FireColExit();
    if (SelectedIndex() != before) return;
    if (!FOptions.Contains(dgAlwaysShowEditor)) SetEditorMode(false);
    if (FRowPanel->Active()) SetPanelColumn(DataCol);
    else if (!FOptions.Contains(dgRowSelect)) SetCol(FIndicatorColCount + DataCol);
    const TColumnX::TCellKindX kind = FColumns->Items(DataCol)->CellKind();
    if (FOptions.Contains(dgAlwaysShowEditor) && kind != TColumnX::ckCheckbox && kind != TColumnX::ckImageList &&
        !FFilterEditMode)
      SetEditorMode(true);
    FireColEnter();
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
  const bool typed = key == u'\b' || key.unicode() >= 32;
  if (FFilterEditMode && FFilterEdit && typed) {
    PassCharToFilterEditor(key);
    return;
  }
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
  if (search && typed && FDataLink->Active() && !InEditModes(DataSet()->State())) {
    KeyPress(key);
    return;
  }
  if (KeypadOperatesTreeOrPanel() && (key == u'*' || key == u'+' || key == u'-')) {
    KeyPress(key);
    return;
  }
  TCustomGridX::WMChar(Message);
}

// A character typed while the filter row is in use goes to the filter editor, shown for it.
void TCustomDBGridX::PassCharToFilterEditor(QChar Key) {
  UpdateFilterEditor(false);
  if (!FFilterEdit->HandleAllocated()) return;
  const int qtKey = Key == u'\b' ? Qt::Key_Backspace : 0;
  QCoreApplication::postEvent(FFilterEdit->Handle(), new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(Key)));
}
