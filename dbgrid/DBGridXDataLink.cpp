// The grid's data link (field mapping and the data set's notifications) and its list of
// selected records.
#include "dbgrid/DBGridX.h"

namespace {
const char* const STooManyColumns = "Grid requested to display more than 256 columns";
}

// ---- data link

bool TGridDataLinkX::AddMapping(const String& FieldName) {
  if (FMappedFieldCount >= MaxMapping) throw EInvalidGridOperationX(QString::fromLatin1(STooManyColumns));
  TDataSet* dataSet = DataSet();
  TField* field = nullptr;
  if (dataSet) field = FSparseMap ? dataSet->FindField(FieldName) : dataSet->FieldByName(FieldName);
  if (FMappedFieldCount >= Integer(FFieldIndexMap.size())) {
    Integer capacity = FFieldIndexMap.empty() ? 8 : Integer(std::min<Int64>(Int64(FFieldIndexMap.size()) * 2, MaxMapping));
    if (capacity <= FMappedFieldCount) capacity = FMappedFieldCount + 1;
    FFieldIndexMap.resize(size_t(capacity), -1);
  }
  FFieldIndexMap[size_t(FMappedFieldCount)] = field ? dataSet->Fields()->IndexOf(field) : -1;
  if (field) field->FreeNotification(FGrid);
  ++FMappedFieldCount;
  return true;
}

void TGridDataLinkX::ClearMapping() {
  FFieldIndexMap.clear();
  FMappedFieldCount = 0;
}

TField* TGridDataLinkX::GetFields(Integer I) const {
  if (I < 0 || I >= FMappedFieldCount) return nullptr;
  const Integer index = FFieldIndexMap[size_t(I)];
  TDataSet* dataSet = DataSet();
  if (index < 0 || !dataSet || index >= dataSet->FieldCount()) return nullptr;
  return dataSet->Fields()->Fields(index);
}

bool TGridDataLinkX::GetDefaultFields() const {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return true;
  bool result = dataSet->DefaultFields();
  if (result && FSparseMap)
    for (Integer i = 0; i < FMappedFieldCount; ++i)
      if (FFieldIndexMap[size_t(i)] < 0) return false;
  return result;
}

void TGridDataLinkX::Reset() {
  if (FEditorModified) RecordChanged(nullptr);
  else if (DataSet()) DataSet()->Cancel();
}

void TGridDataLinkX::NoteBookmark() {
  if (Active() && DataSet()) FLastBookmark = DataSet()->Bookmark();
}

void TGridDataLinkX::ActiveChanged() {
  FGrid->HandleLinkActiveChange(Active());
  FEditorModified = false;
  NoteBookmark();
}

void TGridDataLinkX::DataEvent(TDataEvent Event, intptr_t Info) {
  TDataLink::DataEvent(Event, Info);
  if (Event == deDisabledStateChange) FGrid->Columns()->ClearFieldCaches();
}

void TGridDataLinkX::DataSetChanged() {
  FGrid->HandleDataSetChange();
  FEditorModified = false;
  NoteBookmark();
}

void TGridDataLinkX::DataSetScrolled(Integer Distance) {
  FGrid->ScrollByRecords(Distance);
  NoteBookmark();
}

void TGridDataLinkX::LayoutChanged() {
  const bool saved = FGrid->FLinkLayoutChanging;
  FGrid->FLinkLayoutChanging = true;
  try {
    FGrid->RequestLayout();
  } catch (...) {
    FGrid->FLinkLayoutChanging = saved;
    throw;
  }
  FGrid->FLinkLayoutChanging = saved;
  TDataLink::LayoutChanged();
}

void TGridDataLinkX::FocusControl(TField*& Field) {
  if (!Field) return;
  FGrid->SelectColumnOfField(Field);
  if (FGrid->SelectedField() == Field && FGrid->TakeFocus()) {
    Field = nullptr;
    FGrid->SetEditorMode(true);
  }
}

void TCustomDBGridX::SelectColumnOfField(TField* Field) {
  for (Integer i = 0; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->Field() == Field) SetSelectedIndex(i);
}

void TGridDataLinkX::EditingChanged() { FGrid->InvalidateIndicator(); }

void TGridDataLinkX::RecordChanged(TField* Field) {
  FGrid->HandleRecordChange(Field);
  FEditorModified = false;
}

void TGridDataLinkX::UpdateData() {
  if (FUpdatingData) return;
  FUpdatingData = true;
  try {
    if (FEditorModified) {
      FGrid->CommitEditorText();
      FGrid->UpdateData();
      FEditorModified = false;
    }
  } catch (...) {
    FUpdatingData = false;
    throw;
  }
  FUpdatingData = false;
}

// ---- selected records

TDataSet* TBookmarkListX::GetDataSet() const { return FGrid->DataSet(); }

void TBookmarkListX::RefreshView() { FGrid->Invalidate(); }

void TBookmarkListX::MarkCurrentRow(bool Select) {
  TDataSet* dataSet = GetDataSet();
  if (Select && (!dataSet || dataSet->IsEmpty())) return;
  TBMListX::MarkCurrentRow(Select);
  FGrid->InvalidateCurrentRow();
  TDBGridXSelection* selection = FGrid->Selection();
  if (selection->SelectionKind() != gstRecordBookmarks && GetCount() > 0) {
    selection->Clear();
    selection->SetSelectionKind(gstRecordBookmarks);
  }
}

void TBookmarkListX::ListChanged() {
  TBMListX::ListChanged();
  FGrid->Selection()->DropEmptyKind();
  FGrid->Selection()->SelectionChanged();
}

void TBookmarkListX::SelectionChanged() { FGrid->Selection()->DropEmptyKind(); }

void TBookmarkListX::ClearBookmarks() {
  TBMListX::ClearBookmarks();
  FGrid->Selection()->SelectionChanged();
}

void TBookmarkListX::SelectionToGridRect(TGridRectX& Rect) {
  Rect = {-1, -1, -1, -1};
  TGridDataLinkX* link = FGrid->GridDataLink();
  if (!link->Active() || GetCount() == 0) return;
  Integer first = -1, last = -1;
  const Integer saved = link->ActiveRecord();
  for (Integer row = 0; row < link->RecordCount(); ++row) {
    link->SetActiveRecord(row);
    if (IndexOfBookmark(CurrentBookmark()) >= 0) {
      if (first < 0) first = row;
      last = row;
    }
  }
  link->SetActiveRecord(saved);
  if (first < 0) return;
  const Integer header = FGrid->HeaderRowCount();
  Rect = {0, header + first, FGrid->ColCount() - 1, header + last};
}
