// Arbitrary text as a column filter of every value kind and assumed operator: the parse must
// end with an expression or an exception, and the condition text written for a parsed
// expression must read back as a data-set filter.
#include "dbgrid/DbUtilsX.h"
#include "platform/db/DBFilter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  TSTFilterExpressionX expression;
  expression.ValueKind = TSTValueKindX(Data[0] % 5);
  const auto assumed = TSTAssumedOperatorX((Data[0] / 5) % 17);
  const String text = QString::fromUtf8(reinterpret_cast<const char*>(Data + 1), qsizetype(Size - 1));
  try {
    ParseFilterText(text, expression, assumed);
  } catch (const Exception&) {
    return 0;
  }
  const String field = QStringLiteral("F");
  String condition;
  if (expression.FirstOperator != stoNoneX && expression.FirstOperator < stoAndX)
    condition = LocalFilterConditionText(expression.FirstOperator, expression.FirstOperand, field, nullptr, nullptr, true);
  if (expression.SecondOperator != stoNoneX && expression.SecondOperator < stoAndX)
    condition += QStringLiteral(" AND ") +
                 LocalFilterConditionText(expression.SecondOperator, expression.SecondOperand, field, nullptr, nullptr, true);
  if (condition.isEmpty()) return 0;
  try {
    TFilterExpression filter(condition);
  } catch (const EDatabaseError&) {
    // Only values the data set cannot hold in any case may fail: an empty list item.
    if (!condition.contains(QStringLiteral("''")) && !condition.contains(QStringLiteral("= )")))
      __builtin_trap();
  }
  return 0;
}
