// The display text of a footer: the one routine the painter, the export and the printing
// share, so the three always agree.
#include "dbgrid/DBGridX.h"
#include <cmath>

namespace {
TGroupOperation OperationOf(TFooterValueType Type) {
  return Type == fvtSum ? goSum : Type == fvtAvg ? goAvg : goCount;
}

String FieldPattern(TField* Field) {
  auto* numeric = dynamic_cast<TNumericField*>(Field);
  return numeric ? numeric->DisplayFormat() : String();
}

String AggregateText(TField* Field, const String& Format, Currency Value) {
  const Extended v = Value.ToDouble();
  const String pattern = Format.isEmpty() ? FieldPattern(Field) : Format;
  auto* floatField = dynamic_cast<TFloatField*>(Field);
  switch (Field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
      if (!pattern.isEmpty()) return FormatFloat(pattern, v);
      return QString::number(std::llround(double(v)));
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
      if (!pattern.isEmpty()) return FormatFloat(pattern, v);
      if (floatField && floatField->Currency()) return FloatToStrF(v, ffCurrency, 15, CurrencyDecimals);
      return FloatToStrF(v, ffGeneral, floatField ? floatField->Precision() : 15, 0);
    default:
      return QStringLiteral("0");
  }
}
}  // namespace

String TCustomDBGridX::FooterValueText(Integer Row, Integer DataCol) {
  if (DataCol < 0 || DataCol >= FColumns->Count()) return String();
  TColumnX* column = FColumns->Items(DataCol);
  TColumnFooterX* footer = column->FooterAt(Row);
  TDataSet* dataSet = DataSet();
  switch (footer->ValueType()) {
    case fvtSum:
    case fvtAvg: {
      if (!dataSet) return QStringLiteral("0");
      TField* field = dataSet->FindField(footer->FieldName().isEmpty() ? column->FieldName() : footer->FieldName());
      if (!field) return QStringLiteral("0");
      // A footer whose item is missing shows "0", like one whose field is missing.
      TDBSum* sum = FSumList->SumCollection()->FindSum(OperationOf(footer->ValueType()), field->FieldName());
      if (!sum) return QStringLiteral("0");
      return AggregateText(field, footer->DisplayFormat(), Currency::FromScaled(sum->SumValue()));
    }
    case fvtCount: {
      TDBSum* count = FSumList->SumCollection()->FindSum(goCount, String());
      const Extended n = count ? Currency::FromScaled(count->SumValue()).ToDouble() : 0;
      if (!footer->DisplayFormat().isEmpty()) return FormatFloat(footer->DisplayFormat(), n);
      return FloatToStrF(n, ffGeneral, 15, 0);
    }
    case fvtFieldValue: {
      if (!dataSet || !dataSet->Active() || footer->FieldName().isEmpty()) return String();
      // A footer naming a field the data set lacks shows nothing rather than failing every
      // paint, export and printout.
      TField* field = dataSet->FindField(footer->FieldName());
      return field ? FormatFieldValue(field, footer->DisplayFormat()) : String();
    }
    case fvtStaticText:
      return footer->Value();
    case fvtNon:
      break;
  }
  return String();
}
