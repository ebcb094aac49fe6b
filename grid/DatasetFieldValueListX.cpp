#include "grid/DatasetFieldValueListX.h"
#include "platform/rtl/ScopeGuards.h"

TDatasetFieldValueListX::TDatasetFieldValueListX() : FValues(std::make_unique<TStringList>()) {
  FValues->SetSorted(true);
  FValues->SetDuplicates(dupIgnore);
  FDataLink.OnDataEvent = [this](TDataEvent Event, intptr_t Info) { HandleDataEvent(Event, Info); };
}

void TDatasetFieldValueListX::SetFieldName(const String& Name) {
  if (Name == FFieldName) return;
  FOutOfDate = true;
  FFieldName = Name;
}

void TDatasetFieldValueListX::SetDataSource(TDataSource* Source) {
  if (Source == FDataLink.DataSource()) return;
  FOutOfDate = true;
  FDataLink.SetDataSource(Source);
}

TStrings* TDatasetFieldValueListX::GetValueList() {
  if (FOutOfDate) RefreshValues();
  return FValues.get();
}

void TDatasetFieldValueListX::HandleDataEvent(TDataEvent Event, intptr_t) {
  if (Event == deDataSetChange || Event == dePropertyChange || Event == deFieldListChange) FOutOfDate = true;
}

void TDatasetFieldValueListX::RefreshValues() {
  FValues->Clear();
  if (!FDataLink.Active()) return;
  TDataSet* DataSet = FDataLink.DataSet();
  TField* Field = DataSet->FindField(FFieldName);
  if (!Field) return;
  // The walk must not cost the user the record they stand on.
  const TBookmarkStr Saved = DataSet->Bookmark();
  {
    TDisableControlsLock controlsLock(DataSet);
    TScopeGuard backToSaved([&] {
      if (DataSet->BookmarkValid(Saved)) DataSet->SetBookmark(Saved);
    });
    TUpdateLock lock(FValues.get());
    for (DataSet->First(); !DataSet->Eof(); DataSet->Next()) FValues->Add(Field->AsString());
  }
  FOutOfDate = false;
}
