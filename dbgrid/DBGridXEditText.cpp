// What the in-place editor starts with for a cell and how its text goes back into the data
// set: through a pick list with the not-in-list event, through a key list into a key, through
// a lookup field's key fields, or as the field's text.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXInplaceEdit.h"

namespace {
bool IsMemoType(TFieldType Type) { return Type == ftMemo || Type == ftOraClob; }
}  // namespace

TInplaceEdit* TCustomDBGridX::MakeInplaceEditor() { return new TDBGridInplaceEdit(this); }

TDBGridInplaceEdit* TCustomDBGridX::DBInplaceEditor() const { return dynamic_cast<TDBGridInplaceEdit*>(InplaceEditor()); }

void TCustomDBGridX::ReloadEditorAfterChange(TField* Field) {
  TDBGridInplaceEdit* editor = DBInplaceEditor();
  TColumnX* column = SelectedColumn();
  TField* selected = SelectedField();
  if (!editor || !editor->IsWindowShown() || !column || !selected || !FDataLink->Active()) return;
  const bool keyOfLookup = Field && selected->Lookup() &&
                           selected->KeyFields().split(u';').contains(Field->FieldName(), Qt::CaseInsensitive);
  if (Field && Field != selected && !keyOfLookup) return;
  Variant key;
  if (column->LoadEditorText(key) == editor->Text()) return;
  editor->ReloadKeepingList();
}

String TCustomDBGridX::GetCellEditText(Integer ACol, Integer) {
  if (!FDataLink->Active()) return String();
  const Integer index = FRowPanel->Active() ? FRowPanelColumn : GridColToColumnIndex(ACol);
  if (index < 0 || index >= FColumns->Count()) return String();
  TColumnX* column = FColumns->Items(index);
  TField* field = column->Field();
  if (!field) return String();
  if (column->KeyList()->Count() > 0) {
    const Integer i = column->KeyList()->IndexOf(field->Text());
    return i >= 0 && i < column->PickList()->Count() ? column->PickList()->Strings(i) : String();
  }
  if (FDrawMemoText && IsMemoType(field->DataType())) {
    String text = field->AsString();
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
  }
  return field->Text();
}

String TCustomDBGridX::GetCellEditMask(Integer ACol, Integer) {
  if (!FDataLink->Active()) return String();
  const Integer index = FRowPanel->Active() ? FRowPanelColumn : GridColToColumnIndex(ACol);
  if (index < 0 || index >= FColumns->Count()) return String();
  TColumnX* column = FColumns->Items(index);
  if (!column->EditMask().isEmpty()) return column->EditMask();
  if (column->Field() && column->KeyList()->Count() == 0) return column->Field()->EditMask();
  return String();
}

// A key-list column edits the shown texts of its keys, which the field's size does not bound.
Integer TCustomDBGridX::GetCellEditMaxLength() {
  TColumnX* column = SelectedColumn();
  TField* field = SelectedField();
  if ((column && column->KeyList()->Count() > 0) || !field) return 0;
  if (field->DataType() != ftString && field->DataType() != ftWideString) return 0;
  return field->Size();
}

void TCustomDBGridX::StoreCellEditText(Integer, Integer, const String& Value) { FEditText = Value; }

bool TCustomDBGridX::GridAllowsEdit() const {
  if (!FDataLink->Active()) return false;
  TDataSet* dataSet = DataSet();
  return (FAllowedOperations.Contains(alopUpdateX) || dataSet->State() == dsInsert) &&
         (!dataSet->IsEmpty() || FAllowedOperations.Contains(alopInsertX) || FAllowedOperations.Contains(alopAppendX));
}

void TCustomDBGridX::FireEditButtonClick() {
  if (OnEditButtonClick) OnEditButtonClick(this);
}

TColumnX* TCustomDBGridX::FindColumnByFieldName(const String& Name) const {
  for (Integer i = 0; i < FColumns->Count(); ++i)
    if (SameText(FColumns->Items(i)->FieldName(), Name)) return FColumns->Items(i);
  return nullptr;
}

void TCustomDBGridX::UpdateData() {
  TColumnX* column = SelectedColumn();
  if (!column) return;
  TField* field = column->Field();
  const String text = FEditText;
  if (!field) {
    column->ApplyValue(text, Variant(text), true);
    return;
  }
  switch (column->CellKind()) {
    case TColumnX::ckPickList:
      if (column->OnNotInList && column->PickList()->IndexOf(text) < 0) {
        bool accept = false;
        column->OnNotInList(column, text, accept);
      }
      column->ApplyValue(text, Variant(text), true);
      return;
    case TColumnX::ckKeyList: {
      const Integer i = column->PickList()->IndexOf(text);
      if (i >= 0 && i < column->KeyList()->Count()) {
        FEditKeyValue = Variant(column->KeyList()->Strings(i));
      } else if (text.isEmpty()) {
        FEditKeyValue = Variant::Null();
      } else if (column->OnNotInList) {
        bool accept = false;
        column->OnNotInList(column, text, accept);
        const Integer again = accept ? column->PickList()->IndexOf(text) : -1;
        FEditKeyValue = again >= 0 && again < column->KeyList()->Count() ? Variant(column->KeyList()->Strings(again))
                                                                          : Variant::Null();
      } else {
        // A text no key stands for leaves the stored key as it is.
        return;
      }
      column->ApplyValue(text, FEditKeyValue, false);
      return;
    }
    default: break;
  }
  if (field->Lookup() && !field->KeyFields().isEmpty()) {
    TDataSet* list = column->ListDataSet();
    const TLocateOptions exact{loCaseInsensitive};
    const auto located = [&] {
      return list && list->Active() && list->Locate(field->LookupResultField(), Variant(text), exact);
    };
    if (FEditKeyValue.IsNull() && !text.isEmpty() && column->OnNotInList && !located()) {
      bool accept = false;
      column->OnNotInList(column, text, accept);
      if (accept && located()) FEditKeyValue = list->FieldValues(field->LookupKeyFields());
    }
    if (FieldCanModifyX(field)) {
      field->DataSet()->Edit();
      column->ApplyValue(text, FEditKeyValue, false);
    }
    if (FDrawMemoText && IsMemoType(field->DataType())) field->SetAsString(text);
    else field->SetText(text);
    return;
  }
  column->ApplyValue(text, Variant(text), true);
}
