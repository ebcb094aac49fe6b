#pragma once
// The link between a control and one field of a data set. Without a data source and a
// field name the link is unbound and keeps the control's value itself, so the same
// control works on a form with no data behind it.
#include "grid/FieldListsX.h"

class TFieldDataLinkX : public TDataLink {
public:
  TFieldDataLinkX();

  // The control that owns the link: field-name errors name it, and it takes the focus
  // when a field asks for its control.
  TComponent* BoundControl = nullptr;

  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  const TFieldsArrX& FieldList() const { return FFieldList; }
  TField* FirstField() const { return FFieldList.empty() ? nullptr : FFieldList.front(); }
  // Names may list several ';'-separated fields; the value is then an array.
  bool MultiField() const { return FMultiField; }
  void SetMultiField(bool Value);

  TNotifyEvent DataChangeHandler;     // the record or one of the link's fields changed
  TNotifyEvent EditingChangeHandler;  // InEdit changed
  TNotifyEvent UpdateDataHandler;     // a modified value must be stored
  TNotifyEvent ActiveChangeHandler;   // the link became active or inactive

  bool Unbound() const { return FUnbound; }
  bool InEdit() const { return FInEdit; }
  bool ValueModified() const { return FValueModified; }
  const Variant& UnboundValue() const { return FUnboundValue; }

  void SetDataSource(TDataSource* Value) override;

  // Unbound, or active with a field.
  bool IsActive() const;
  // The field may be written now (always for an unbound link).
  bool CanChange() const;
  // Starts editing: an unbound link by itself, a bound one by putting the data set into
  // edit mode. Answers whether editing is on.
  bool BeginValueEdit();
  // Text goes through the field's own parsing; an unbound link keeps it as a string.
  void WriteText(const String& Text);
  void WriteFieldValue(const Variant& Value);
  void MarkModified() { FValueModified = true; }
  // Reloads the control from the field (or the unbound value), dropping its changes.
  void Revert() { RecordChanged(nullptr); }

protected:
  virtual void RebindFields();
  virtual bool ComputeUnbound() const;

  void ActiveChanged() override;
  void DataEvent(TDataEvent Event, intptr_t Info) override;
  void EditingChanged() override;
  void FocusControl(TField*& Field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* Field) override;
  void UpdateData() override;

private:
  void AssignFields(const TFieldsArrX& Fields);
  void SetInEdit(bool Value);
  void RefreshUnbound();
  void Fire(const TNotifyEvent& Handler);
  bool IsLinkField(const TField* Field) const;

  String FFieldName;
  TFieldsArrX FFieldList;
  bool FMultiField = false;
  bool FUnbound = true;
  bool FInEdit = false;
  bool FValueModified = false;
  Variant FUnboundValue = Variant::Null();
};
