// Editing: edit, insert, append, post, cancel and delete of the current row.
#include "platform/db/DB.h"

void TDataSet::Edit() {
  if (InEditModes(FState)) return;
  CheckActive();
  if (FRecordCount == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  Fire(BeforeEdit);
  const TRowId row = FView[size_t(CursorPosition())];
  if (!FSnapshot) {
    FSnapshot = AddStoreRow();
    SetHidden(*FSnapshot, true);
  }
  FStore.CopyRow(row, *FSnapshot);
  FEditRow = row;
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  Fire(AfterEdit);
}

void TDataSet::Insert() { InsertRow(false); }
void TDataSet::Append() { InsertRow(true); }

void TDataSet::InsertRow(bool AtEnd) {
  CheckBrowseMode();
  CheckCanModify();
  Fire(BeforeInsert);
  Fire(BeforeScroll);
  const TRowId row = AddStoreRow();
  const Integer n = Integer(FView.size());
  if (AtEnd || FRecordCount == 0) {
    InsertIntoView(n, row);
    FillWindowAround(n, FBufferCount - 1);
  } else {
    // The new row takes the cursor's window row; the rows below move down one.
    const Integer p = CursorPosition();
    InsertIntoView(p, row);
    FillWindowAround(p, FActiveRecord);
  }
  FBof = false;
  FEof = false;
  FEditRow = row;
  SetState(dsInsert);
  try {
    Fire(OnNewRecord);
  } catch (...) {
    // A new row whose initialisation failed is taken out again.
    const Integer p = PositionOf(row);
    RemoveFromView(p);
    SetHidden(row, true);
    InternalForget(row);
    FEditRow.reset();
    SetState(dsBrowse);
    Resync(p, false);
    throw;
  }
  FModified = false;
  DataEvent(deDataSetChange, 0);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TDataSet::CheckRequiredFields() const {
  for (TField* field : FFields->FList) {
    if (field->FFieldKind != fkData || !field->Required() || field->ReadOnly()) continue;
    if (field->IsNull()) {
      field->FocusControl();
      Error(QStringLiteral("Field '%1' must have a value").arg(field->DisplayName()));
    }
  }
}

void TDataSet::Post() {
  UpdateRecord();
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforePost);
  CheckRequiredFields();
  const TRowId row = *FEditRow;
  InternalPost(row, FState == dsInsert);
  FEditRow.reset();
  SetState(dsBrowse);
  FCalcCache.erase(row);
  Resync(PositionOf(row), false);
  Fire(AfterPost);
}

void TDataSet::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeCancel);
  const bool inserting = FState == dsInsert;
  if (inserting) Fire(BeforeScroll);
  const TRowId row = *FEditRow;
  const Integer p = PositionOf(row);
  if (inserting) {
    RemoveFromView(p);
    SetHidden(row, true);
    InternalForget(row);
  } else {
    FStore.CopyRow(*FSnapshot, row);
  }
  FEditRow.reset();
  SetState(dsBrowse);
  FCalcCache.clear();
  Resync(p, false);
  Fire(AfterCancel);
  if (inserting) Fire(AfterScroll);
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert || FState == dsSetKey) {
    Cancel();
    return;
  }
  if (FRecordCount == 0) Error(QStringLiteral("Cannot perform this operation on an empty dataset"));
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  const TRowId row = FView[size_t(CursorPosition())];
  if (FState == dsEdit) FStore.CopyRow(*FSnapshot, row);
  InternalDelete(row);
  const Integer p = PositionOf(row);
  RemoveFromView(p);
  SetHidden(row, true);
  FEditRow.reset();
  SetState(dsBrowse);
  FCalcCache.clear();
  Resync(p, false);
  Fire(AfterDelete);
  Fire(AfterScroll);
}
