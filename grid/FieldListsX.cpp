#include "grid/FieldListsX.h"
#include "grid/LibraryRoutinesX.h"
#include "platform/rtl/SysUtils.h"

void CollectListedFields(std::vector<TField*>* List, const TDataSet* DataSet, TComponent* Component,
                         const String& FieldNames) {
  Integer Pos = 1;
  while (Pos <= FieldNames.size()) {
    const String Name = ExtractFieldName(FieldNames, Pos);
    TField* Field = DataSet->FindField(Name);
    if (!Field) DatabaseError(QStringLiteral("Field '%1' not found").arg(Name), Component);
    if (List) List->push_back(Field);
  }
}

void ResolveFieldsArray(const TDataSet* DataSet, TComponent* Component, const String& FieldNames, TFieldsArrX& Fields) {
  std::vector<TField*> Found;
  CollectListedFields(&Found, DataSet, Component, FieldNames);
  Fields = std::move(Found);
}

void AssignFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value) {
  if (VariantValuesEqual(Value, Variant::Null())) {
    std::vector<TField*> Fields;
    DataSet->GetFieldList(Fields, FieldNames);
    for (TField* Field : Fields) Field->Clear();
    return;
  }
  DataSet->SetFieldValues(FieldNames, Value);
}
