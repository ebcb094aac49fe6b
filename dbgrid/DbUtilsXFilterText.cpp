// The data-set filter text of a grid's column filters, and the column filter's own parsing.
#include "dbgrid/DBGridX.h"
#include "dbgrid/DBGridXCenter.h"
#include "dbgrid/DbUtilsX.h"
#include "platform/db/SqlText.h"

namespace {

String FilterWord(TSTOperatorX Operator) { return QString::fromLatin1(STOperatorFilterWords[Operator]); }

// Numbers are written with '.', as the data sets' filter language reads them whatever the
// program's decimal separator; text is quoted with its quotes doubled, so a value such as
// O'Brien stays one literal.
String FilterLiteral(const Variant& Value, TDataSet* DataSet, TSTDateLiteralProcX DateLiteral) {
  switch (Value.VarType()) {
    case varDouble:
    case varSingle: return FloatToStr(Value.AsDouble()).replace(DecimalSeparator, u'.');
    case varDate:
      if (DateLiteral) return DateLiteral(DataSet, Value);
      return QuotedStr(QString::fromLatin1(SqlDateTimeText(Value.AsDateTime(), TSqlDateTimePart::DateTime)));
    default: return QuotedStr(VarToStr(Value));
  }
}

std::vector<Variant> ListItems(const Variant& Value) {
  if (!Value.IsArray()) return {Value};
  std::vector<Variant> items;
  for (int i = 0; i < Value.ArrayLength(); ++i) items.push_back(Value[i]);
  return items;
}

String ColumnFilterText(TColumnX* Column, TSTConditionTextProcX ConditionText, TSTDateLiteralProcX DateLiteral,
                        bool UseFieldOrigin, bool LikeSupported) {
  TField* field = Column->Field();
  const TSTColumnFilterX* filter = Column->STFilter();
  const TSTFilterExpressionX expression = filter->Expression();
  if (!field || expression.ValueKind == stvkOtherX || expression.FirstOperator == stoNoneX) return String();
  const String name = UseFieldOrigin && !field->Origin().isEmpty() && filter->DataField().isEmpty()
                          ? field->Origin()
                          : filter->FilterFieldName();
  TDataSet* dataSet = Column->Grid()->DataSet();
  String text = ConditionText(expression.FirstOperator, expression.FirstOperand, name, dataSet, DateLiteral,
                              LikeSupported);
  // A junction typed with nothing after it joins nothing.
  if (expression.Junction != stoNoneX && expression.SecondOperator != stoNoneX) {
    text += u' ' + FilterWord(expression.Junction) +
            ConditionText(expression.SecondOperator, expression.SecondOperand, name, dataSet, DateLiteral,
                          LikeSupported);
    if (expression.Junction == stoOrX) text = u'(' + text + u')';
  }
  return text;
}

}  // namespace

String LocalFilterConditionText(TSTOperatorX Operator, const Variant& Value, const String& FieldName,
                                TDataSet* DataSet, TSTDateLiteralProcX DateLiteral, bool LikeSupported) {
  const String field = u'[' + FieldName + u']';
  const bool listOperator = Operator == stoInListX || Operator == stoNotInListX;
  const bool nullOperator = Operator == stoIsNullX || Operator == stoIsNotNullX;
  if (Value.IsArray() && !listOperator && !nullOperator) {
    // A list typed after an operator that takes one value: a condition per item; a negative
    // operator must hold for every item, any other for one of them.
    const bool negative = Operator == stoNotEqualX || Operator == stoNotLikeX;
    QStringList conditions;
    for (const Variant& item : ListItems(Value))
      conditions << LocalFilterConditionText(Operator, item, FieldName, DataSet, DateLiteral, LikeSupported).trimmed();
    return QStringLiteral(" (") + conditions.join(negative ? QStringLiteral(" AND ") : QStringLiteral(" OR ")) + u')';
  }
  auto anyOf = [&] {
    QStringList conditions;
    for (const Variant& item : ListItems(Value))
      conditions << field + QStringLiteral(" = ") + FilterLiteral(item, DataSet, DateLiteral);
    return u'(' + conditions.join(QStringLiteral(" OR ")) + u')';
  };
  switch (Operator) {
    case stoInListX: return u' ' + anyOf();
    // Every record the list does not select, those with no value included.
    case stoNotInListX: return QStringLiteral(" (") + field + QStringLiteral(" IS NULL OR NOT ") + anyOf() + u')';
    case stoLikeX:
    case stoNotLikeX: {
      const bool like = Operator == stoLikeX;
      const String word = LikeSupported ? (like ? QStringLiteral("] Like ") : QStringLiteral("] Not Like "))
                                        : (like ? QStringLiteral("] = ") : QStringLiteral("] <> "));
      return QStringLiteral(" [") + FieldName + word + FilterLiteral(Value, DataSet, DateLiteral);
    }
    case stoIsNullX:
    case stoIsNotNullX: return u' ' + field + u' ' + FilterWord(Operator);
    default: return u' ' + field + u' ' + FilterWord(Operator) + u' ' + FilterLiteral(Value, DataSet, DateLiteral);
  }
}

String BuildDataSetFilterText(TCustomDBGridX* Grid, TSTConditionTextProcX ConditionText,
                              TSTDateLiteralProcX DateLiteral, bool UseFieldOrigin, bool LikeSupported) {
  if (!Grid->DataSource() || !Grid->DataSet()) return String();
  String text;
  TDBGridColumnsX* columns = Grid->Columns();
  for (Integer i = 0; i < columns->Count(); ++i) {
    const String condition =
        ColumnFilterText(columns->Items(i), ConditionText, DateLiteral, UseFieldOrigin, LikeSupported);
    if (!condition.isEmpty()) text += condition + QStringLiteral(" AND ");
  }
  text.chop(std::min<qsizetype>(4, text.size()));
  return text;
}
