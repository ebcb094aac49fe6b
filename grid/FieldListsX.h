#pragma once
// Helpers over ';'-separated field-name lists.
#include "platform/db/DB.h"
#include <vector>

using TFieldsArrX = std::vector<TField*>;

// Looks every listed name up in DataSet and adds the fields to List (nullptr only checks);
// an unknown name raises "Field '%s' not found" for Component.
void CollectListedFields(std::vector<TField*>* List, const TDataSet* DataSet, TComponent* Component,
                         const String& FieldNames);
// Fields is left untouched when a name is unknown.
void ResolveFieldsArray(const TDataSet* DataSet, TComponent* Component, const String& FieldNames, TFieldsArrX& Fields);
// Null clears every listed field; any other value goes to the fields (an array for several).
void AssignFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value);
