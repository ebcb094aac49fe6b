// The column filter: parsing a typed condition into a copy of the expression, the texts the
// filter cell and the custom filter dialog show, key values of lookup columns, and the checked
// values of the drop-down list.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DBGridXFilterEdit.h"

namespace {

std::vector<Variant> ValueItems(const Variant& Value) {
  if (!Value.IsArray()) return {Value};
  std::vector<Variant> items;
  for (int i = 0; i < Value.ArrayLength(); ++i) items.push_back(Value[i]);
  return items;
}

// Applies Recode to a value or to every item of a list.
template <class TRecode>
Variant RecodeItems(const Variant& Value, TRecode Recode) {
  if (!Value.IsArray()) return Recode(Value);
  std::vector<Variant> items;
  for (const Variant& item : ValueItems(Value)) items.push_back(Recode(item));
  return Variant::Array(std::move(items));
}

String PlainText(const Variant& Value) {
  if (Value.IsNull() || Value.IsEmpty()) return String();
  return VarToStr(Value);
}

// A text the parser reads back as the same single value.
String Quoted(const String& Text) { return QuotedStr(Text); }

// The text of one value in the filter cell: numbers and dates as they are shown, everything
// else quoted.
String ValueDisplayText(const Variant& Value) {
  switch (Value.VarType()) {
    case varDouble:
    case varSingle: return FloatToStr(Value.AsDouble());
    case varDate: return DateToStr(Value.AsDateTime());
    default: return Quoted(PlainText(Value));
  }
}

String ConditionDisplayText(TSTOperatorX Operator, const Variant& Value) {
  const String symbol = QString::fromLatin1(STOperatorSymbols[Operator]);
  switch (Operator) {
    case stoIsNullX: return QStringLiteral("=Null");
    case stoIsNotNullX: return QStringLiteral("<>Null");
    case stoInListX:
    case stoNotInListX: {
      QStringList items;
      for (const Variant& item : ValueItems(Value)) items << ValueDisplayText(item);
      return symbol + QStringLiteral(" (") + items.join(u',') + u')';
    }
    default: return symbol + u' ' + ValueDisplayText(Value);
  }
}

}  // namespace

TSTColumnFilterX::TSTColumnFilterX(TColumnX* Column)
    : FColumn(Column), FListLink(std::make_unique<TFieldDataLinkX>()) {
  FListLink->ActiveChangeHandler = [this](TObject*) { ListSourceActiveChanged(); };
}

// The link lets go of its source last, after the value list it would reset has gone.
TSTColumnFilterX::~TSTColumnFilterX() { FListLink->ActiveChangeHandler = nullptr; }

void TSTColumnFilterX::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  if (TCustomDBGridX* grid = FColumn->Grid()) grid->Invalidate();
}

void TSTColumnFilterX::SetListSource(TDataSource* Value) {
  if (Value == ListSource()) return;
  FListLink->SetDataSource(Value);
  FValueList.reset();
}

// A list with its own key and display fields is read through once, so that every value is
// at hand when shown values are turned into keys.
void TSTColumnFilterX::ListSourceActiveChanged() {
  TDataSet* list = FListLink->DataSet();
  if (FListLink->Active() && list && !FListField.isEmpty() && !FKeyField.isEmpty()) {
    TDisableControlsLock controls(list);
    list->First();
    while (!list->Eof()) list->Next();
    list->First();
  }
  FValueList.reset();
}

String TSTColumnFilterX::FilterFieldName() const {
  if (!FDataField.isEmpty()) return FDataField;
  TCustomDBGridX* grid = FColumn->Grid();
  TField* field = FColumn->Field();
  if (grid && grid->GridDataLink()->Active() && field && field->Lookup()) return field->KeyFields();
  return FColumn->FieldName();
}

namespace {
TField* ActiveLookupField(TColumnX* Column) {
  TCustomDBGridX* grid = Column->Grid();
  TField* field = Column->Field();
  return grid && grid->GridDataLink()->Active() && field && field->Lookup() ? field : nullptr;
}
}  // namespace

String TSTColumnFilterX::EffectiveKeyField() const {
  if (!FKeyField.isEmpty()) return FKeyField;
  TField* lookup = ActiveLookupField(FColumn);
  return lookup ? lookup->LookupKeyFields() : String();
}

String TSTColumnFilterX::EffectiveListField() const {
  if (!FListField.isEmpty()) return FListField;
  TField* lookup = ActiveLookupField(FColumn);
  return lookup ? lookup->LookupResultField() : String();
}

TDataSet* TSTColumnFilterX::ListDataSet() const {
  if (ListSource()) return ListSource()->DataSet();
  TField* lookup = ActiveLookupField(FColumn);
  return lookup ? lookup->LookupDataSet() : nullptr;
}

bool TSTColumnFilterX::IsLookupFilter() const {
  return !EffectiveKeyField().isEmpty() && ListDataSet() && !EffectiveListField().isEmpty();
}

// A shown value without a match in the list becomes Null, so it matches no record.
Variant TSTColumnFilterX::DisplayToKey(const Variant& Value) const {
  if (Value.IsNull()) return Value;
  return ListDataSet()->Lookup(EffectiveListField(), Value, EffectiveKeyField());
}

Variant TSTColumnFilterX::KeyToDisplay(const Variant& Value) const {
  if (Value.IsNull()) return Value;
  return ListDataSet()->Lookup(EffectiveKeyField(), Value, EffectiveListField());
}

Variant TSTColumnFilterX::FirstFilterValue() const {
  return EffectiveKeyField().isEmpty() ? FExpression.FirstOperand : FKeyValue;
}

void TSTColumnFilterX::ParseIntoExpression(const String& Text, TSTFilterExpressionX& Expression) const {
  TField* field = FColumn->Field();
  const bool keyedPicks = FColumn->KeyList()->Count() > 0 && FColumn->PickList()->Count() > 0;
  Expression.ValueKind = keyedPicks ? stvkTextX : field ? STValueKindOfFieldType.at(field->DataType()) : stvkOtherX;
  const TSTAssumedOperatorX assumed = DBGridXCenter().ValueKindFlag(FColumn->Grid(), FColumn, Expression);
  ParseFilterText(Text, Expression, assumed);
  RecodePickValues(Expression);
}

// The user types pick-list texts; the data holds the key-list values at the same places.
void TSTColumnFilterX::RecodePickValues(TSTFilterExpressionX& Expression) const {
  TStrings* pickList = FColumn->PickList();
  TStrings* keyList = FColumn->KeyList();
  if (keyList->Count() == 0 || pickList->Count() == 0) return;
  auto recode = [&](const Variant& item) -> Variant {
    if (item.IsNull()) return item;
    const Integer index = pickList->IndexOf(VarToStr(item));
    return index >= 0 && index < keyList->Count() ? Variant(keyList->Strings(index)) : item;
  };
  if (Expression.FirstOperator >= stoEqualX && Expression.FirstOperator <= stoNotInListX)
    Expression.FirstOperand = RecodeItems(Expression.FirstOperand, recode);
  if (Expression.SecondOperator >= stoEqualX && Expression.SecondOperator <= stoNotInListX)
    Expression.SecondOperand = RecodeItems(Expression.SecondOperand, recode);
}

void TSTColumnFilterX::SetExpressionText(const String& Text) {
  // Parsed into a copy: a text the parser refuses leaves the filter exactly as it was, so the
  // grid never filters by something other than the text it shows.
  TSTFilterExpressionX expression = FExpression;
  ParseIntoExpression(Text, expression);
  if (IsLookupFilter()) {
    auto toKey = [this](const Variant& item) { return DisplayToKey(item); };
    if (expression.FirstOperator != stoNoneX) expression.FirstOperand = RecodeItems(expression.FirstOperand, toKey);
    if (expression.SecondOperator != stoNoneX) expression.SecondOperand = RecodeItems(expression.SecondOperand, toKey);
  }
  FExpression = expression;
  FExpressionStr = Text;
}

void TSTColumnFilterX::SetFilterText(const String& Text) {
  SetExpressionText(Text);
  TCustomDBGridX* grid = FColumn->Grid();
  if (!grid) return;
  grid->Invalidate();
  if (grid->FilterEditor() && grid->FilterEditor()->Visible()) grid->UpdateFilterEditor(true);
}

void TSTColumnFilterX::Clear() {
  FKeyValue = Variant::Null();
  SetFilterText(String());
}

String TSTColumnFilterX::ExpressionDisplayText() const {
  if (FExpression.ValueKind == stvkOtherX || FExpression.FirstOperator == stoNoneX) return String();
  if (ListSource()) {
    if (!FExpression.FirstOperand.IsArray()) return PlainText(FExpression.FirstOperand);
    QStringList items;
    for (const Variant& item : ValueItems(FExpression.FirstOperand)) items << Quoted(PlainText(item));
    return items.join(u',');
  }
  String text = ConditionDisplayText(FExpression.FirstOperator, FExpression.FirstOperand);
  if (FExpression.Junction != stoNoneX)
    text += u' ' + QString::fromLatin1(STOperatorSymbols[FExpression.Junction]) + u' ' +
            ConditionDisplayText(FExpression.SecondOperator, FExpression.SecondOperand);
  return text;
}

String TSTColumnFilterX::ValuesAsEditText(TSTOperatorX Operator, const Variant& Value) const {
  const bool lookup = IsLookupFilter();
  auto itemText = [&](const Variant& item) {
    const String text = PlainText(lookup ? KeyToDisplay(item) : item);
    const String upper = text.toUpper();
    const bool quote = ((Operator == stoInListX || Operator == stoNotInListX) && text.contains(u',')) ||
                       text.startsWith(u' ') || text.startsWith(u'\'') || text.endsWith(u' ') ||
                       upper.endsWith(QStringLiteral(" OR")) || upper.endsWith(QStringLiteral(" AND")) ||
                       upper == QStringLiteral("OR") || upper == QStringLiteral("AND");
    return quote ? Quoted(text) : text;
  };
  QStringList items;
  for (const Variant& item : ValueItems(Value)) items << itemText(item);
  return items.join(u',');
}

IMemTableDataFieldValueListX* TSTColumnFilterX::CreateListValueList() {
  TCustomDBGridX* grid = FColumn->Grid();
  TDataSource* source = ListSource();
  if (!grid || !grid->GridDataLink()->Active() || !source || !source->DataSet() || !source->DataSet()->Active())
    return nullptr;
  const String fieldName = FListField.isEmpty() ? FColumn->FieldName() : FListField;
  if (!source->DataSet()->FindField(fieldName)) return nullptr;
  if (!FValueList) {
    FValueList = std::make_unique<TDatasetFieldValueListX>();
    FValueList->SetFieldName(fieldName);
    FValueList->SetDataSource(source);
  }
  return FValueList.get();
}

void TSTColumnFilterX::MarkCheckedItems(TStrings* Items) {
  std::vector<Variant> values;
  if (FExpression.FirstOperator == stoInListX) {
    values = ValueItems(FExpression.FirstOperand);
  } else if (FExpression.FirstOperator == stoEqualX) {
    values.push_back(FExpression.FirstOperand);
    if (FExpression.Junction == stoOrX && FExpression.SecondOperator == stoEqualX)
      values.push_back(FExpression.SecondOperand);
  }
  const bool lookup = IsLookupFilter();
  FCheckStates.resize(size_t(Items->Count()), false);
  for (const Variant& value : values) {
    const String text = PlainText(lookup ? KeyToDisplay(value) : value);
    for (Integer i = 0; i < Items->Count(); ++i)
      if (IsFilterValueItem(Items->Objects(i)) && Items->Strings(i) == text) FCheckStates[size_t(i)] = true;
  }
}

void TSTColumnFilterX::FilterTextFromCheckedItems(TStrings* Items) {
  QStringList values;
  for (Integer i = 0; i < Items->Count() && size_t(i) < FCheckStates.size(); ++i)
    if (FCheckStates[size_t(i)] && IsFilterValueItem(Items->Objects(i))) values << QuotedStr(Items->Strings(i));
  String text;
  if (values.size() == 1) text = u'=' + values.first();
  else if (values.size() > 1) text = QStringLiteral("in (") + values.join(u',') + u')';
  SetExpressionText(text);
  TCustomDBGridX* grid = FColumn->Grid();
  if (!grid) return;
  if (grid->FilterEditor() && grid->FilterEditor()->Visible()) grid->FilterEditor()->LoadValueAndText(Variant::Null(), text);
  grid->Invalidate();
  if (grid->STFilter()->InstantApply()) grid->ApplyFilter();
}
