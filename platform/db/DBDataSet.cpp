// Data set life cycle, fields and their values, state and notifications.
#include "platform/db/DB.h"
#include "platform/db/DBFilter.h"
#include <algorithm>
#include <limits>

TDataSet::TDataSet(TComponent* AOwner)
    : TComponent(AOwner), FFields(new TFields(this)), FFieldDefs(new TFieldDefs) {}

TDataSet::~TDataSet() {
  // Marked as going first, so that whoever learns of it below does not call back into the
  // parts of a derived data set already destroyed.
  Destroying();
  // Close quietly: handlers may belong to objects already gone, so no events run here,
  // but the sources and links still learn that the data set is going.
  FState = dsInactive;
  for (TDataSource* source : std::vector<TDataSource*>(FDataSources)) source->SetDataSet(nullptr);
  FDefaultFieldsOwned.clear();
  for (TField* field : FFields->FList) field->FDataSet = nullptr;
  FFields->FList.clear();
}

void TDataSet::CheckActive() const {
  if (!Active()) Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) Error(QStringLiteral("Cannot modify a read-only dataset"));
}

// ---------------------------------------------------------------------------------------
// Opening and closing

void TDataSet::SetActive(bool Value) {
  if (Value == Active()) return;
  if (Value) DoOpen();
  else DoClose();
}

TStoreKind TDataSet::StoreKindOf(TFieldType Type) {
  switch (Type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftBoolean: return TStoreKind::Integer;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: return TStoreKind::Float;
    default: return TStoreKind::Bytes;
  }
}

void TDataSet::InitStore() {
  std::vector<TStoreKind> kinds;
  for (Integer i = 0; i < FFieldDefs->Count(); ++i) kinds.push_back(StoreKindOf(FFieldDefs->Items(i)->DataType()));
  FStore.Reset(kinds);
  FHidden.clear();
}

TRowId TDataSet::AddStoreRow() {
  const TRowId row = FStore.AddRow();
  FHidden.push_back(false);
  return row;
}

void TDataSet::DoOpen() {
  Fire(BeforeOpen);
  FFieldDefs->Clear();
  try {
    InternalOpen();
    BindFields();
    FSortKeys = FSort.isEmpty() ? std::vector<std::pair<int, bool>>() : ParseSortText(FSort);
    if (FFiltered) PrepareFilter();
    else FFilterExpr.reset();
    BuildView();
  } catch (...) {
    // A failed open leaves the data set closed, as it was, whatever step failed.
    InternalClose();
    DestroyDefaultFields();
    FFieldDefs->Clear();
    FStore.Reset({});
    FHidden.clear();
    FView.clear();
    FPositionsValid = false;
    throw;
  }
  ++FGeneration;
  FSnapshot.reset();
  FEditRow.reset();
  FModified = false;
  UpdateBufferCount();
  FFirst = 0;
  FActiveRecord = 0;
  FRecordCount = std::min<Integer>(FBufferCount, Integer(FView.size()));
  FBof = true;
  FEof = FView.empty();
  SetState(dsBrowse);
  Fire(AfterOpen);
  if (!IsEmpty()) Fire(AfterScroll);
}

void TDataSet::DoClose() {
  Fire(BeforeClose);
  SetState(dsInactive);
  InternalClose();
  FEditRow.reset();
  FSnapshot.reset();
  FReadAtRows.clear();
  FView.clear();
  FPositionsValid = false;
  FCalcCache.clear();
  FStore.Reset({});
  FHidden.clear();
  FFilterExpr.reset();
  ClearWindow();
  DestroyDefaultFields();
  FFieldDefs->Clear();
  Fire(AfterClose);
}

// ---------------------------------------------------------------------------------------
// Fields

void TDataSet::AddField(TField* Field) {
  FFields->FList.push_back(Field);
  Field->FDataSet = this;
}

void TDataSet::RemoveField(TField* Field) {
  auto& list = FFields->FList;
  list.erase(std::remove(list.begin(), list.end(), Field), list.end());
  Field->FDataSet = nullptr;
}

bool TDataSet::DefaultFields() const {
  return std::all_of(FFields->FList.begin(), FFields->FList.end(), [](const TField* f) { return f->FDefault; });
}

void TDataSet::BindFields() {
  std::vector<TField*> ordered;
  std::vector<TField*> persistent = FFields->FList;
  for (Integer i = 0; i < FFieldDefs->Count(); ++i) {
    const TFieldDef* def = FFieldDefs->Items(i);
    auto it = std::find_if(persistent.begin(), persistent.end(), [&](const TField* f) {
      return f->FFieldKind == fkData && f->FFieldName.compare(def->Name(), Qt::CaseInsensitive) == 0;
    });
    TField* field = nullptr;
    if (it != persistent.end()) {
      field = *it;
      persistent.erase(it);
    } else {
      std::unique_ptr<TField> made = CreateFieldOfType(def->DataType(), nullptr);
      made->FFieldName = def->Name();
      made->FDataType = def->DataType();
      if (def->Size() > 0) made->FSize = def->Size();
      made->FRequired = def->Required();
      made->FDefault = true;
      made->FDataSet = this;
      field = made.get();
      FDefaultFieldsOwned.push_back(std::move(made));
    }
    field->FStoreColumn = i;
    field->FFieldNo = i + 1;
    ordered.push_back(field);
  }
  FCalcCount = 0;
  for (TField* field : persistent) {
    if (field->FFieldKind == fkData) {
      DestroyDefaultFields();
      Error(QStringLiteral("Field '%1' not found").arg(field->FFieldName));
    }
    field->FStoreColumn = -1;
    field->FFieldNo = 0;
    field->FCalcIndex = FCalcCount++;
    ordered.push_back(field);
  }
  FFields->FList = ordered;
}

void TDataSet::DestroyDefaultFields() {
  // Deleting a field removes it from the list and tells whoever asked to be notified.
  FDefaultFieldsOwned.clear();
  for (TField* field : FFields->FList) field->FStoreColumn = -1;
  FCalcCount = 0;
}

void TDataSet::GetFieldList(std::vector<TField*>& List, const String& FieldNames) const {
  Integer pos = 1;
  while (pos <= FieldNames.size()) {
    const String name = ExtractFieldName(FieldNames, pos);
    if (!name.isEmpty()) List.push_back(FieldByName(name));
  }
}

Variant TDataSet::FieldValues(const String& FieldNames) const {
  std::vector<TField*> fields;
  GetFieldList(fields, FieldNames);
  if (fields.size() == 1) return fields[0]->Value();
  std::vector<Variant> values;
  for (TField* f : fields) values.push_back(f->Value());
  return Variant::Array(std::move(values));
}

void TDataSet::SetFieldValues(const String& FieldNames, const Variant& Value) {
  std::vector<TField*> fields;
  GetFieldList(fields, FieldNames);
  if (fields.size() == 1) {
    fields[0]->SetValue(Value);
    return;
  }
  for (size_t i = 0; i < fields.size(); ++i)
    fields[i]->SetValue(VarIsClear(Value) ? Value : Value[int(i)]);
}

// ---------------------------------------------------------------------------------------
// Values

bool TDataSet::ReadRow(TRowId& Row) const {
  if (FState == dsCalcFields && FCalcRow) {
    Row = *FCalcRow;
    return true;
  }
  if (!FReadAtRows.empty()) {
    Row = FReadAtRows.back();
    return true;
  }
  if (FActiveRecord < 0 || FActiveRecord >= FRecordCount) return false;
  Row = FView[size_t(FFirst + FActiveRecord)];
  return true;
}

void TDataSet::BeginReadAt(Integer Position) {
  if (Position < 0 || Position >= Integer(FView.size()))
    Error(QStringLiteral("Record index out of range: %1").arg(Position));
  FReadAtRows.push_back(FView[size_t(Position)]);
}

void TDataSet::EndReadAt() {
  if (!FReadAtRows.empty()) FReadAtRows.pop_back();
}

Variant TDataSet::StoreValue(TRowId Row, const TField* Field) const {
  const int col = Field->FStoreColumn;
  if (col < 0 || FStore.IsNull(Row, col)) return Variant::Null();
  switch (FStore.Kind(col)) {
    case TStoreKind::Integer: {
      const Int64 v = FStore.GetInt(Row, col);
      switch (Field->DataType()) {
        case ftBoolean: return Variant(v != 0);
        case ftLargeint: return Variant(v);
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
          // SQLite keeps 64-bit integers in any integer column: a value beyond 32 bits stays whole.
          return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max() ? Variant(int(v))
                                                                                             : Variant(v);
        default: return Variant(v);
      }
    }
    case TStoreKind::Float: {
      const double v = FStore.GetFloat(Row, col);
      switch (Field->DataType()) {
        case ftDate:
        case ftTime:
        case ftDateTime:
        case ftTimeStamp: return Variant::FromDate(v);
        case ftCurrency:
        case ftBCD:
        case ftFMTBcd: return Variant::FromCurrency(Currency::FromDouble(v));
        default: return Variant(v);
      }
    }
    case TStoreKind::Bytes: {
      const std::string_view bytes = FStore.GetBytes(Row, col);
      return Variant(String::fromUtf8(bytes.data(), qsizetype(bytes.size())));
    }
  }
  return Variant::Null();
}

bool TDataSet::ReadStoredRow(TStoredRow& Row) const {
  if (!Active() || !ReadRow(Row.Row)) return false;
  Row.Store = &FStore;
  return true;
}

QByteArray TDataSet::GetFieldBytes(const TField* Field) const {
  TRowId row = 0;
  if (!Active() || !ReadRow(row)) return QByteArray();
  const int col = Field->FStoreColumn;
  if (col < 0 || FStore.Kind(col) != TStoreKind::Bytes) return VarToStr(ValueAt(row, Field)).toUtf8();
  if (FStore.IsNull(row, col)) return QByteArray();
  const std::string_view bytes = FStore.GetBytes(row, col);
  return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

void TDataSet::WriteStore(TRowId Row, const TField* Field, const Variant& Value) {
  const int col = Field->FStoreColumn;
  if (VarIsClear(Value)) {
    FStore.SetNull(Row, col);
    return;
  }
  switch (FStore.Kind(col)) {
    case TStoreKind::Integer:
      FStore.SetInt(Row, col, Value.VarType() == varBoolean ? (Value.AsBoolean() ? 1 : 0) : Value.AsInt64());
      break;
    case TStoreKind::Float:
      FStore.SetFloat(Row, col, Value.VarType() == varDate ? Value.AsDateTime() : Value.AsDouble());
      break;
    case TStoreKind::Bytes: {
      const QByteArray utf8 = Value.AsString().toUtf8();
      FStore.SetBytes(Row, col, std::string_view(utf8.constData(), size_t(utf8.size())));
      break;
    }
  }
}

Variant TDataSet::ValueAt(TRowId Row, const TField* Field) const {
  if (Field->FStoreColumn >= 0) return StoreValue(Row, Field);
  if (Field->FCalcIndex < 0) return Variant::Null();
  if (FState == dsCalcFields && FCalcRow == Row && FCalcTarget) return (*FCalcTarget)[size_t(Field->FCalcIndex)];
  return CalcValues(Row)[size_t(Field->FCalcIndex)];
}

Variant TDataSet::GetFieldValue(const TField* Field) const {
  TRowId row = 0;
  if (!Active() || !ReadRow(row)) return Variant::Null();
  return ValueAt(row, Field);
}

const std::vector<Variant>& TDataSet::CalcValues(TRowId Row) const {
  auto it = FCalcCache.find(Row);
  if (it != FCalcCache.end()) return it->second;
  std::vector<Variant> values(size_t(FCalcCount), Variant::Null());
  CalculateRow(Row, values);
  return FCalcCache.emplace(Row, std::move(values)).first->second;
}

void TDataSet::CalculateRow(TRowId Row, std::vector<Variant>& Values) const {
  auto* self = const_cast<TDataSet*>(this);
  const TDataSetState savedState = FState;
  const std::optional<TRowId> savedRow = FCalcRow;
  std::vector<Variant>* savedTarget = FCalcTarget;
  TScopeGuard restore([&] {
    self->FState = savedState;
    FCalcRow = savedRow;
    self->FCalcTarget = savedTarget;
  });
  self->FState = dsCalcFields;
  FCalcRow = Row;
  self->FCalcTarget = &Values;
  for (TField* field : FFields->FList) {
    if (field->FFieldKind != fkLookup || !field->FLookupDataSet || !field->FLookupDataSet->Active()) continue;
    const Variant keys = FieldValues(field->FKeyFields);
    Values[size_t(field->FCalcIndex)] =
        field->FLookupDataSet->Lookup(field->FLookupKeyFields, keys, field->FLookupResultField);
  }
  if (OnCalcFields) self->OnCalcFields(self);
}

void TDataSet::SetFieldValue(TField* Field, const Variant& Value) {
  if (FState == dsCalcFields) {
    if (Field->FCalcIndex < 0 || !FCalcTarget)
      Error(QStringLiteral("Field '%1' cannot be modified").arg(Field->DisplayName()));
    (*FCalcTarget)[size_t(Field->FCalcIndex)] = Value;
    return;
  }
  if (!InEditModes(FState)) Error(QStringLiteral("Dataset not in edit or insert mode"));
  if (Field->ReadOnly() || (Field->FStoreColumn < 0 && Field->FCalcIndex < 0))
    Error(QStringLiteral("Field '%1' cannot be modified").arg(Field->DisplayName()));
  const TRowId row = *FEditRow;
  if (Field->FStoreColumn < 0) {
    // A calculated or lookup value written while editing (a grid showing the text it
    // chose) stands until the row is calculated again.
    const_cast<std::vector<Variant>&>(CalcValues(row))[size_t(Field->FCalcIndex)] = Value;
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
    if (Field->OnChange) Field->OnChange(Field);
    return;
  }
  const Variant old = StoreValue(row, Field);
  ChangeStoredField(
      Field, [&](TRowId Row) { WriteStore(Row, Field, Value); }, [&](TRowId Row) { WriteStore(Row, Field, old); });
}

void TDataSet::ChangeStoredField(TField* Field, const std::function<void(TRowId)>& Write,
                                 const std::function<void(TRowId)>& Undo) {
  const TRowId row = *FEditRow;
  Write(row);
  if (Field->OnValidate) {
    try {
      Field->OnValidate(Field);
    } catch (...) {
      // A rejected value does not stay in the record.
      Undo(row);
      throw;
    }
  }
  FCalcCache.erase(row);
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(Field));
  if (Field->OnChange) Field->OnChange(Field);
}

void TDataSet::SetFieldBytes(TField* Field, const QByteArray& Bytes) {
  const int col = Field->FStoreColumn;
  if (FState == dsCalcFields || col < 0 || FStore.Kind(col) != TStoreKind::Bytes)
    return SetFieldValue(Field, Variant(String::fromUtf8(Bytes)));
  if (!InEditModes(FState)) Error(QStringLiteral("Dataset not in edit or insert mode"));
  if (Field->ReadOnly()) Error(QStringLiteral("Field '%1' cannot be modified").arg(Field->DisplayName()));
  const bool wasNull = FStore.IsNull(*FEditRow, col);
  const std::string_view stored = FStore.GetBytes(*FEditRow, col);
  const std::string old(stored.data(), stored.size());
  ChangeStoredField(
      Field, [&](TRowId Row) { FStore.SetBytes(Row, col, std::string_view(Bytes.constData(), size_t(Bytes.size()))); },
      [&](TRowId Row) {
        if (wasNull)
          FStore.SetNull(Row, col);
        else
          FStore.SetBytes(Row, col, old);
      });
}

// ---------------------------------------------------------------------------------------
// State and notifications

void TDataSet::SetState(TDataSetState Value) {
  if (FState == Value) return;
  // Reopening while controls are disabled may bring other fields: links rebuild then.
  if (ControlsDisabled() && FState == dsInactive) FEnableEvent = deLayoutChange;
  FState = Value;
  FModified = false;
  DataEvent(deUpdateState, 0);
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info) {
  bool notify = !ControlsDisabled() && FState != dsBlockRead;
  switch (Event) {
    case deFieldChange:
      if (reinterpret_cast<TField*>(Info)->FFieldKind == fkData) FModified = true;
      break;
    case deUpdateState:
      if (ControlsDisabled()) {
        Event = deDisabledStateChange;
        Info = FState != dsInactive ? 1 : 0;
        notify = true;
      }
      break;
    default:
      break;
  }
  if (!notify) return;
  for (TDataSource* source : std::vector<TDataSource*>(FDataSources)) source->DataEvent(Event, Info);
}

void TDataSet::DisableControls() {
  if (FDisableCount == 0) {
    FDisableState = FState;
    FEnableEvent = deDataSetChange;
  }
  ++FDisableCount;
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0) return;
  if (--FDisableCount != 0) return;
  if (FDisableState != FState) DataEvent(deUpdateState, 0);
  if (FDisableState != dsInactive && FState != dsInactive) DataEvent(FEnableEvent, 0);
}

void TDataSet::UpdateRecord() {
  if (!InEditModes(FState)) Error(QStringLiteral("Dataset not in edit or insert mode"));
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  if (FState == dsEdit || FState == dsInsert) {
    UpdateRecord();
    if (FModified) Post();
    else Cancel();
  }
}

void TDataSet::AddDataSource(TDataSource* Source) {
  FDataSources.push_back(Source);
  Source->FDataSet = this;
  UpdateBufferCount();
  Source->UpdateState();
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
  Source->FDataSet = nullptr;
  FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), Source), FDataSources.end());
  Source->UpdateState();
  UpdateBufferCount();
}
