#include "grid/FieldDataLinkX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/ui/Controls.h"
#include <algorithm>

TFieldDataLinkX::TFieldDataLinkX() { SetVisualControl(true); }

void TFieldDataLinkX::Fire(const TNotifyEvent& Handler) {
  if (Handler) Handler(this);
}

bool TFieldDataLinkX::IsLinkField(const TField* Field) const {
  return std::find(FFieldList.begin(), FFieldList.end(), Field) != FFieldList.end();
}

void TFieldDataLinkX::SetFieldName(const String& Value) {
  if (Value == FFieldName) return;
  FFieldName = Value;
  RebindFields();
  RefreshUnbound();
}

void TFieldDataLinkX::SetMultiField(bool Value) {
  if (Value == FMultiField) return;
  FMultiField = Value;
  RebindFields();
}

void TFieldDataLinkX::SetDataSource(TDataSource* Value) {
  if (Value == DataSource()) return;
  TDataLink::SetDataSource(Value);
  RefreshUnbound();
}

bool TFieldDataLinkX::ComputeUnbound() const { return DataSource() == nullptr && FFieldName.isEmpty(); }

void TFieldDataLinkX::RefreshUnbound() {
  const bool unbound = ComputeUnbound();
  if (unbound == FUnbound) return;
  FUnbound = unbound;
  FUnboundValue = Variant::Null();
  LayoutChanged();
  if (FUnbound) RecordChanged(nullptr);
}

void TFieldDataLinkX::RebindFields() {
  TFieldsArrX fields;
  if (Active() && !FFieldName.isEmpty()) try {
    TDataSet* dataSet = DataSet();
    if (FMultiField) {
      if (BoundControl) CollectListedFields(&fields, dataSet, BoundControl, FFieldName);
      else dataSet->GetFieldList(fields, FFieldName);
    } else if (BoundControl) {
      TField* field = dataSet->FindField(FFieldName);
      if (!field) DatabaseError(QStringLiteral("Field '%1' not found").arg(FFieldName), BoundControl);
      fields.push_back(field);
    } else {
      fields.push_back(dataSet->FieldByName(FFieldName));
    }
  } catch (...) {
    // A name that does not resolve leaves the control without a field, never on the old one.
    AssignFields(TFieldsArrX());
    throw;
  }
  AssignFields(fields);
}

void TFieldDataLinkX::AssignFields(const TFieldsArrX& Fields) {
  FFieldList = Fields;
  EditingChanged();
  RecordChanged(nullptr);
}

void TFieldDataLinkX::SetInEdit(bool Value) {
  if (Value == FInEdit) return;
  FInEdit = Value;
  FValueModified = false;
  Fire(EditingChangeHandler);
}

bool TFieldDataLinkX::IsActive() const { return FUnbound || (Active() && FirstField()); }

bool TFieldDataLinkX::CanChange() const {
  if (FUnbound) return true;
  const TField* field = FirstField();
  return field && field->CanModify();
}

bool TFieldDataLinkX::BeginValueEdit() {
  if (FUnbound) {
    if (!FInEdit && !ReadOnly()) {
      FInEdit = true;
      FValueModified = false;
      Fire(EditingChangeHandler);
    }
  } else if (CanChange()) {
    Edit();
  }
  return FInEdit;
}

void TFieldDataLinkX::WriteText(const String& Text) {
  if (FUnbound) {
    FUnboundValue = Variant(Text);
    RecordChanged(nullptr);
    return;
  }
  TField* field = FirstField();
  if (!field) return;
  if (field->DataType() == ftMemo) field->SetAsString(Text);
  else field->SetText(Text);
}

void TFieldDataLinkX::WriteFieldValue(const Variant& Value) {
  if (FUnbound) {
    FUnboundValue = Value;
    RecordChanged(nullptr);
    return;
  }
  if (FFieldList.size() > 1) {
    const bool null = VariantValuesEqual(Value, Variant::Null());
    for (size_t i = 0; i < FFieldList.size(); ++i)
      FFieldList[i]->SetValue(null ? Variant::Null() : Value[int(i)]);
    return;
  }
  if (TField* field = FirstField()) field->SetValue(Value);
}

void TFieldDataLinkX::ActiveChanged() {
  RebindFields();
  Fire(ActiveChangeHandler);
}

void TFieldDataLinkX::LayoutChanged() { RebindFields(); }

void TFieldDataLinkX::DataEvent(TDataEvent Event, intptr_t Info) {
  TDataLink::DataEvent(Event, Info);
  if (Event != deDisabledStateChange) return;
  if (Info) RebindFields();
  else FFieldList.clear();
}

void TFieldDataLinkX::EditingChanged() { SetInEdit(Editing() && CanChange()); }

void TFieldDataLinkX::RecordChanged(TField* Field) {
  if (Field && !IsLinkField(Field)) return;
  Fire(DataChangeHandler);
  FValueModified = false;
}

void TFieldDataLinkX::UpdateData() {
  if (FUnbound) {
    if (FValueModified) Fire(UpdateDataHandler);
    FInEdit = false;
  } else if (FValueModified && FirstField()) {
    Fire(UpdateDataHandler);
  }
  FValueModified = false;
}

void TFieldDataLinkX::FocusControl(TField*& Field) {
  if (!Field || !IsLinkField(Field)) return;
  auto* control = dynamic_cast<TWinControl*>(BoundControl);
  if (!control || !control->CanFocus()) return;
  Field = nullptr;
  control->SetFocus();
}
