#include "grid/DatasetFieldValueListX.h"
#include "platform/db/DBFilter.h"
#include "platform/rtl/ScopeGuards.h"
#include <optional>

namespace {
// The filter bound to DataSet's fields; none when it names a field the data set does not
// have or compares one with a value of another kind: its conditions are then about other
// records than these, and narrow nothing here.
std::optional<TFilterExpression> BoundFilter(const String& Text, TDataSet* DataSet) {
  if (Text.trimmed().isEmpty()) return std::nullopt;
  try {
    TFilterExpression filter(Text);
    bool known = true;
    filter.Bind([&](const String& Name, TFilterOperandKind& Kind) {
      TField* field = DataSet->FindField(Name);
      if (!field) {
        known = false;
        return -1;
      }
      Kind = FilterOperandKindOf(field->DataType());
      return int(DataSet->Fields()->IndexOf(field));
    });
    if (!known) return std::nullopt;
    return filter;
  } catch (const EDatabaseError&) {
    return std::nullopt;
  }
}
}  // namespace

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

void TDatasetFieldValueListX::SetFilter(const String& FilterText) {
  if (FilterText == FFilterText) return;
  FFilterText = FilterText;
  FOutOfDate = true;
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
    const std::optional<TFilterExpression> filter = BoundFilter(FFilterText, DataSet);
    TFields* fields = DataSet->Fields();
    auto passes = [&] { return !filter || filter->Matches([fields](int Index) { return fields->Fields(Index)->Value(); }); };
    for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
      if (passes()) FValues->Add(Field->AsString());
  }
  FOutOfDate = false;
}
