// What a column shows and writes for the data set's current record: cell kinds, display and
// edit texts through key and pick lists, check-box states, stepping, and the one road by
// which values go back into the field.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXGlobals.h"
#include "grid/LibraryRoutinesX.h"

namespace {
bool IsCheckboxNumericType(TFieldType Type) {
  switch (Type) {
    case ftSmallint: case ftInteger: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: return true;
    default: return false;
  }
}

bool IsSteppableType(TFieldType Type) { return IsCheckboxNumericType(Type) || Type == ftWord; }

bool IsMemoType(TFieldType Type) { return Type == ftMemo || Type == ftOraClob; }

String FirstValueOf(const String& Items) {
  const qsizetype end = Items.indexOf(u';');
  return (end < 0 ? Items : Items.left(end)).trimmed();
}

// Key values of a lookup field's KeyFields in its own data set.
Variant KeyValuesOf(TField* Field) { return Field->DataSet()->FieldValues(Field->KeyFields()); }
}  // namespace

String FormatFieldValue(TField* Field, const String& Format) {
  if (Format.isEmpty()) return Field->DisplayText();
  if (Field->IsNull()) return String();
  if (dynamic_cast<TNumericField*>(Field)) return FormatFloat(Format, Field->AsFloat());
  if (dynamic_cast<TDateTimeField*>(Field) || Field->DataType() == ftTimeStamp)
    return FormatDateTime(Format, Field->AsDateTime());
  return String();
}

bool MatchesValueList(const String& Items, const String& Text) {
  if (Items.isEmpty() && Text.isEmpty()) return true;
  for (const String& value : Items.split(u';'))
    if (AnsiSameText(value.trimmed(), Text)) {
      if (!value.trimmed().isEmpty() || Text.isEmpty()) return true;
    }
  return Items.endsWith(u';') && Text.isEmpty();
}

bool LookupValueExists(TField* Field) {
  return Field->LookupDataSet() && Field->LookupDataSet()->Active() && !Field->IsNull();
}

TColumnX::TCellKindX TColumnX::CellKind() const {
  if (Checkboxes()) return ckCheckbox;
  TField* field = Field();
  if (field && field->IsBlob() && field->DataType() == ftGraphic && Grid() && Grid()->DrawGraphicData())
    return ckGraphic;
  if (field && field->Lookup()) return ckLookup;
  const bool picks = PickList()->Count() > 0;
  const bool keys = KeyList()->Count() > 0;
  if (picks && !keys) return ckPickList;
  if (FImageList && !FShowImageAndText) return ckImageList;
  if (keys && picks) return ckKeyList;
  return ckText;
}

String TColumnX::DisplayText() const {
  TField* field = Field();
  if (!field) return String();
  const TCellKindX kind = CellKind();
  if (kind == ckImageList) return String();
  if (KeyList()->Count() > 0) {
    const Integer i = KeyList()->IndexOf(field->Text());
    if (i >= 0 && i < PickList()->Count()) return PickList()->Strings(i);
    if (FNotInKeyListIndex >= 0 && FNotInKeyListIndex < PickList()->Count())
      return PickList()->Strings(FNotInKeyListIndex);
    return String();
  }
  if (IsMemoType(field->DataType()) && Grid() && Grid()->DrawMemoText()) return field->AsString();
  if (kind == ckLookup && FDropDownSpecRow->Visible() && !field->KeyFields().isEmpty()) {
    const Variant keys = KeyValuesOf(field);
    if (VariantValuesEqual(keys, FDropDownSpecRow->Value()) ||
        (FDropDownSpecRow->ShowIfNotInKeyList() && !LookupValueExists(field)))
      return FDropDownSpecRow->ReadCellText(0);
  }
  return FormatFieldValue(field, FDisplayFormat);
}

String TColumnX::EditText() const {
  TField* field = Field();
  if (!field || CellKind() == ckImageList) return String();
  if (KeyList()->Count() > 0 || CellKind() == ckLookup) return DisplayText();
  TCustomDBGridX* grid = Grid();
  if (grid && grid->DrawMemoText() && IsMemoType(field->DataType())) return field->AsString();
  return field->Text();
}

String TColumnX::LoadEditorText(Variant& Key) {
  String text;
  Key = Variant::Null();
  TCustomDBGridX* grid = Grid();
  TField* field = Field();
  if (!grid || !grid->GridDataLink()->Active() || !field) return text;
  if (KeyList()->Count() > 0) {
    const Integer i = KeyList()->IndexOf(field->Text());
    if (i >= 0 && i < PickList()->Count()) text = PickList()->Strings(i);
  } else if (grid->DrawMemoText() && IsMemoType(field->DataType())) {
    text = field->AsString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
  } else {
    text = field->Text();
  }
  if (field->Lookup() && !field->KeyFields().isEmpty()) {
    const Variant keys = KeyValuesOf(field);
    if (FDropDownSpecRow->Visible() && (VariantValuesEqual(keys, FDropDownSpecRow->Value()) ||
                                        (FDropDownSpecRow->ShowIfNotInKeyList() && !LocateLookupRecord()))) {
      Key = FDropDownSpecRow->Value();
      text = FDropDownSpecRow->ReadCellText(0);
    } else {
      Key = keys;
    }
  }
  TColCellParamsX params;
  params.Text = text;
  params.Font = grid->Canvas()->Font();
  FireGetCellParams(true, &params);
  return params.Text;
}

TDataSet* TColumnX::LookupDataSet() const {
  TField* field = Field();
  return field ? field->LookupDataSet() : nullptr;
}

TDataSet* TColumnX::ListDataSet() const {
  TDataSource* source = FDropDownBox->ListSource();
  if (source && source->DataSet()) return source->DataSet();
  return LookupDataSet();
}

bool TColumnX::LocateLookupRecord() const {
  TField* field = Field();
  TDataSet* list = ListDataSet();
  if (!field || !list || !list->Active()) return false;
  TDataSet* lookup = LookupDataSet();
  if (!lookup) return false;
  return lookup->Locate(field->LookupKeyFields(), KeyValuesOf(field), TLocateOptions{loCaseInsensitive});
}

Integer TColumnX::CheckboxState() const {
  TField* field = Field();
  if (!field) return 0;
  const bool keys = KeyList()->Count() > 0;
  if (field->DataType() == ftBoolean && !keys) return field->IsNull() ? 2 : field->AsBoolean() ? 1 : 0;
  if (IsCheckboxNumericType(field->DataType()) && !keys) return field->IsNull() ? 2 : field->AsFloat() == 1 ? 1 : 0;
  const String text = field->Text();
  if (KeyList()->Count() > 0 && MatchesValueList(KeyList()->Strings(0), text)) return 1;
  if (KeyList()->Count() > 1 && MatchesValueList(KeyList()->Strings(1), text)) return 0;
  return 2;
}

void TColumnX::SetCheckboxState(Integer State) {
  TField* field = Field();
  if (!field) return;
  if (State == 2) {
    ApplyValue(String(), Variant::Null(), false);
  } else if (field->DataType() == ftBoolean) {
    ApplyValue(String(), Variant(State == 1), false);
  } else if (IsCheckboxNumericType(field->DataType())) {
    ApplyValue(String(), Variant(State == 1 ? 1 : 0), false);
  } else {
    const Integer item = State == 1 ? 0 : 1;
    const String text = item < KeyList()->Count() ? FirstValueOf(KeyList()->Strings(item)) : String();
    ApplyValue(text, Variant(text), true);
  }
}

Integer TColumnX::ImageIndexOfValue() const {
  TField* field = Field();
  if (!field) return -1;
  Integer index = -1;
  if (KeyList()->Count() > 0) {
    index = KeyList()->IndexOf(field->Text());
  } else if (PickList()->Count() > 0) {
    index = PickList()->IndexOf(field->Text());
  } else if (IsNumericFieldType(field->DataType()) && !field->IsNull()) {
    const double value = field->AsFloat();
    if (value >= -2147483648.0 && value <= 2147483647.0) index = Integer(value);
  }
  return index == -1 ? FNotInKeyListIndex : index;
}

bool TColumnX::CanEditValue(bool BeginEdit) {
  TCustomDBGridX* grid = Grid();
  bool allowed = !grid || (!grid->ReadOnly() && grid->GridDataLink()->Active() && !grid->GridDataLink()->ReadOnly());
  allowed = allowed && !ReadOnly();
  TField* field = Field();
  if (!field) return false;
  TField* tested = field;
  if (field->Lookup()) {
    if (field->KeyFields().isEmpty()) return false;
    std::vector<TField*> keys;
    field->DataSet()->GetFieldList(keys, field->KeyFields());
    for (TField* key : keys) allowed = allowed && key->CanModify();
    tested = keys.empty() ? nullptr : keys.front();
    if (!tested) return false;
  }
  allowed = allowed && tested->CanModify();
  if (tested->IsBlob())
    allowed = allowed && (tested->OnSetText || (grid && grid->DrawMemoText() && IsMemoType(tested->DataType())));
  if (grid) {
    TDataSet* dataSet = grid->DataSet();
    const TDBGridXAllowedOperations ops = grid->AllowedOperations();
    allowed = allowed && grid->GridDataLink()->Active() &&
              (ops.Contains(alopUpdateX) || (dataSet && dataSet->State() == dsInsert)) &&
              ((dataSet && !dataSet->IsEmpty()) || ops.Contains(alopInsertX) || ops.Contains(alopAppendX));
  }
  if (allowed && grid) {
    TColCellParamsX* params = grid->CellParams();
    params->ReadOnly = ReadOnly();
    FireGetCellParams(true, params);
    allowed = !params->ReadOnly;
  }
  if (BeginEdit && allowed && grid) {
    grid->GridDataLink()->Edit();
    allowed = grid->GridDataLink()->Editing();
    if (allowed) grid->GridDataLink()->MarkModified();
  }
  return allowed;
}

void TColumnX::ApplyValue(String Text, Variant Value, bool UseText) {
  TCustomDBGridX* grid = Grid();
  if (!grid) return;
  bool handled = false;
  if (OnUpdateData) OnUpdateData(this, Text, Value, UseText, handled);
  if (handled) return;
  TField* field = Field();
  if (!field) return;
  if (!UseText) {
    if (field->Lookup() && !field->KeyFields().isEmpty()) field->DataSet()->SetFieldValues(field->KeyFields(), Value);
    else field->SetValue(Value);
  } else if (grid->DrawMemoText() && IsMemoType(field->DataType())) {
    field->SetAsString(Text);
  } else {
    field->SetText(Text);
  }
  TInplaceEdit* editor = grid->InplaceEditor();
  if (FMRUList->Active() && FMRUList->AutoAdd() && editor && editor->IsWindowShown()) FMRUList->AddRecent(Text);
}

void TColumnX::StepValue(Extended Step) {
  TCustomDBGridX* grid = Grid();
  TField* field = Field();
  if (!grid || !field) return;
  // Permission as for editing, where a blob passes only with its own text handler.
  bool allowed = !grid->ReadOnly() && grid->GridDataLink()->Active() && !grid->GridDataLink()->ReadOnly() &&
                 !ReadOnly() && TCustomDBGridX::FieldCanModifyX(field) && (!field->IsBlob() || field->OnSetText);
  if (!allowed) return;
  TColCellParamsX* params = grid->CellParams();
  params->ReadOnly = !CanEditValue(false);
  FireGetCellParams(true, params);
  if (params->ReadOnly) return;
  grid->GridDataLink()->Edit();
  if (!grid->GridDataLink()->Editing()) return;
  grid->GridDataLink()->MarkModified();
  TInplaceEdit* editor = grid->InplaceEditor();
  const String oldText = editor && editor->IsWindowShown() ? editor->Text() : field->Text();
  const bool forward = Step == 1;
  // The neighbour of Index in a list of Count items, wrapping at both ends; -1 when empty.
  const auto neighbour = [forward](Integer Index, Integer Count) -> Integer {
    if (Count == 0) return -1;
    if (forward) return Index < 0 || Index >= Count - 1 ? 0 : Index + 1;
    return Index <= 0 ? Count - 1 : Index - 1;
  };
  switch (CellKind()) {
    case ckCheckbox:
      SetCheckboxState(CheckboxState() == 1 ? 0 : 1);
      return;
    case ckKeyList:
    case ckImageList: {
      // An image-list column without keys has nothing to step through.
      const Integer next = neighbour(KeyList()->IndexOf(field->Text()), KeyList()->Count());
      if (next >= 0) ApplyValue(oldText, Variant(KeyList()->Strings(next)), false);
      return;
    }
    case ckPickList: {
      const Integer count = PickList()->Count();
      const Integer current = PickList()->IndexOf(field->Text());
      const Integer next = neighbour(current, count);
      const bool wraps = forward ? (current < 0 || current >= count - 1) : current <= 0;
      if (wraps) field->SetText(PickList()->Strings(next));
      else ApplyValue(PickList()->Strings(next), Variant(PickList()->Strings(next)), true);
      return;
    }
    case ckLookup: {
      TDataSet* list = ListDataSet();
      if (!list || field->KeyFields().isEmpty()) return;
      if (field->IsNull() || !list->Locate(field->LookupKeyFields(), KeyValuesOf(field), {})) {
        list->First();
      } else if (forward) {
        if (list->Eof() || list->MoveBy(1) == 0 || list->Eof()) list->First();
      } else if (list->Bof() || list->MoveBy(-1) == 0 || list->Bof()) {
        list->Last();
      }
      ApplyValue(oldText, list->FieldValues(field->LookupKeyFields()), false);
      if (TField* result = list->FindField(field->LookupResultField())) field->SetText(result->Text());
      return;
    }
    default:
      break;
  }
  if (!IsSteppableType(field->DataType())) return;
  try {
    const bool integral = field->DataType() == ftSmallint || field->DataType() == ftInteger ||
                          field->DataType() == ftWord;
    const Extended base = field->IsNull() ? -Step : Extended(field->AsFloat());
    const Variant value = integral ? Variant(Integer(base + Step)) : Variant(double(base + Step));
    ApplyValue(oldText, value, false);
  } catch (const EDatabaseError&) {
    // A value outside the field's range is not stepped to.
  }
}

bool TColumnX::AcceptsChar(QChar Ch) const {
  TField* field = Field();
  if (!field) return bool(OnUpdateData);
  if (KeyList()->Count() > 0) return true;
  return field->IsValidChar(Ch);
}

String TColumnX::StripInvalidChars(const String& Text) const {
  String result;
  for (const QChar ch : Text)
    if (AcceptsChar(ch)) result += ch;
  return result;
}

String TColumnX::EffectiveEditMask() const {
  TCustomDBGridX* grid = Grid();
  if (!grid || !grid->GridDataLink()->Active()) return String();
  if (!FEditMask.isEmpty()) return FEditMask;
  TField* field = Field();
  if (!field || KeyList()->Count() > 0) return String();
  return field->EditMask();
}

void TColumnX::FillCellParams(TColCellParamsX* Params) const {
  Params->Col = -1;
  Params->Row = -1;
  Params->State = {};
  TCustomDBGridX* grid = Grid();
  Params->Font = grid ? grid->CellParamsFont() : nullptr;
  Params->Background = Color();
  Params->Alignment = Byte(Alignment());
  Params->ImageIndex = ImageIndexOfValue();
  Params->Text = DisplayText();
  Params->CheckboxState = Byte(CheckboxState());
  Params->ReadOnly = ReadOnly();
  Params->TextEditing = TextEditing();
  Params->DrawAsFixed = false;
}

bool TColumnX::TextEditingNow() {
  TColCellParamsX* shared = DBGridXGlobals().SharedCellParams.get();
  FillCellParams(shared);
  TCustomDBGridX* grid = Grid();
  if (!grid || !grid->ComponentState().Contains(csLoading)) FireGetCellParams(false, shared);
  return shared->TextEditing;
}

void TColumnX::FireGetCellParams(bool EditMode, TColCellParamsX* Params) {
  if (OnGetCellParams) OnGetCellParams(this, EditMode, Params);
}
