// Data sources pass the data set's events to their links; links keep their own window
// of rows inside the data set's buffer window.
#include "platform/db/DB.h"
#include <algorithm>

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  OnStateChange = nullptr;
  OnDataChange = nullptr;
  SetDataSet(nullptr);
  while (!FDataLinks.empty()) RemoveDataLink(FDataLinks.back());
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) {
    FDataSet->RemoveFreeNotification(this);
    FDataSet->RemoveDataSource(this);
  }
  if (Value) {
    Value->AddDataSource(this);
    Value->FreeNotification(this);
  }
}

void TDataSource::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateState();
}

void TDataSource::Edit() {
  if (FAutoEdit && FState == dsBrowse && FDataSet) FDataSet->Edit();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDataSet) SetDataSet(nullptr);
}

void TDataSource::UpdateState() {
  const TDataSetState state = FEnabled && FDataSet ? FDataSet->State() : dsInactive;
  if (state == FState) return;
  const TDataSetState prior = FState;
  FState = state;
  for (TDataLink* link : std::vector<TDataLink*>(FDataLinks)) link->DataEvent(deUpdateState, 0);
  if (ComponentState().Contains(csDestroying)) return;
  if (OnStateChange) OnStateChange(this);
  if (prior == dsInactive && OnDataChange) OnDataChange(this, nullptr);
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (FState == dsInactive) return;
  for (TDataLink* link : std::vector<TDataLink*>(FDataLinks)) link->DataEvent(Event, Info);
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(this, Event == deFieldChange ? reinterpret_cast<TField*>(Info) : nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default:
      break;
  }
}

void TDataSource::AddDataLink(TDataLink* Link) {
  FDataLinks.push_back(Link);
  Link->FDataSource = this;
  if (FDataSet) FDataSet->UpdateBufferCount();
  Link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* Link) {
  Link->FDataSource = nullptr;
  FDataLinks.erase(std::remove(FDataLinks.begin(), FDataLinks.end(), Link), FDataLinks.end());
  Link->UpdateState();
  if (FDataSet) FDataSet->UpdateBufferCount();
}

// ---------------------------------------------------------------------------------------

TDataLink::~TDataLink() {
  // No notifications to a link that is half destroyed.
  FActive = false;
  FEditing = false;
  if (FDataSource) {
    TDataSource* source = FDataSource;
    FDataSource = nullptr;
    source->FDataLinks.erase(std::remove(source->FDataLinks.begin(), source->FDataLinks.end(), this),
                             source->FDataLinks.end());
    if (source->FDataSet) source->FDataSet->UpdateBufferCount();
  }
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  if (FDataSourceFixed) DatabaseError(QStringLiteral("Operation not allowed: the data source is fixed"));
  if (FDataSource) FDataSource->RemoveDataLink(this);
  if (Value) Value->AddDataLink(this);
}

TDataSet* TDataLink::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

void TDataLink::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  UpdateState();
}

void TDataLink::UpdateState() {
  const TDataSetState state = FDataSource ? FDataSource->State() : dsInactive;
  SetActive(state != dsInactive);
  SetEditing(InEditModes(state) && !FReadOnly);
}

void TDataLink::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  if (Value) UpdateRange();
  else FFirstRecord = 0;
  ActiveChanged();
}

void TDataLink::SetEditing(bool Value) {
  if (Value == FEditing) return;
  FEditing = Value;
  EditingChanged();
}

void TDataLink::KeepActiveInWindow(Integer WindowRows) {
  const TDataSet* ds = DataSet();
  const Integer lowest = std::max(0, ds->FActiveRecord - FBufferCount + 1);
  const Integer highest = std::max(lowest, std::min(WindowRows - FBufferCount, ds->FActiveRecord));
  FFirstRecord = std::clamp(FFirstRecord, lowest, highest);
}

void TDataLink::UpdateRange() {
  TDataSet* ds = DataSet();
  if (!ds) return;
  KeepActiveInWindow(ds->FBufferCount);
  ds->UpdateBufferCount();
}

Integer TDataLink::ActiveRecord() const {
  TDataSet* ds = DataSet();
  if (!ds || !FActive || FDataSource->State() == dsSetKey) return 0;
  return ds->FActiveRecord - FFirstRecord;
}

void TDataLink::SetActiveRecord(Integer Value) {
  TDataSet* ds = DataSet();
  if (ds && FActive && FDataSource->State() != dsSetKey) ds->FActiveRecord = Value + FFirstRecord;
}

void TDataLink::SetBufferCount(Integer Value) {
  if (Value < 1) Value = 1;
  if (Value == FBufferCount) return;
  FBufferCount = Value;
  if (FActive) UpdateRange();
}

Integer TDataLink::RecordCount() const {
  TDataSet* ds = DataSet();
  if (!ds || !FActive) return 0;
  return std::clamp(ds->FRecordCount - FFirstRecord, 0, FBufferCount);
}

bool TDataLink::Edit() {
  if (!FReadOnly && FDataSource) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateRecord() {
  FUpdating = true;
  TScopeGuard updated([this] { FUpdating = false; });
  UpdateData();
}

Integer TDataLink::MoveBy(Integer Distance) {
  TDataSet* ds = DataSet();
  return ds ? ds->MoveBy(Distance) : 0;
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!FActive) return;
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (!FUpdating) RecordChanged(reinterpret_cast<TField*>(Info));
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      Integer count = 0;
      if (FDataSource->State() != dsSetKey) {
        const Integer active = DataSet()->FActiveRecord;
        const Integer first = FFirstRecord + Integer(Info);
        const Integer last = first + FBufferCount - 1;
        if (active > last) count = active - last;
        else if (active < first) count = active - first;
        FFirstRecord = std::max(0, first + count);
      }
      if (Event == deDataSetChange) DataSetChanged();
      else if (Event == deDataSetScroll) DataSetScrolled(count);
      else LayoutChanged();
      break;
    }
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(*reinterpret_cast<TField**>(Info));
      break;
    case deDisabledStateChange:
      if (Info) UpdateRange();
      else FFirstRecord = 0;
      break;
    default:
      break;
  }
}
