// Footer totals the exporter sums itself over exactly the records it writes, in fixed point
// scaled by 10 000 so that money adds without binary drift (0.1 + 0.2 + 0.3 is 0.6).
#include "gridout/DBGridXImpExp.h"
#include <cmath>

namespace {
constexpr long double Scale = 10000;
}

TField* TDBGridXExport::FooterField(Integer FooterRow, Integer ColumnPos) const {
  TColumnX* column = FExportColumns->Items(ColumnPos);
  const TColumnFooterX* footer = column->FooterAt(FooterRow);
  TDataSet* dataSet = FGrid->DataSet();
  if (!dataSet) return nullptr;
  return dataSet->FindField(footer->FieldName().isEmpty() ? column->FieldName() : footer->FieldName());
}

// A field the store holds as the number the field reads is summed from the store.
TDBGridXExport::TSummedFooter::TRead TDBGridXExport::FooterReadOf(const TField* Field, bool Count) {
  using TRead = TSummedFooter::TRead;
  if (Count) return TRead::Count;
  if (Field->StoreColumn() < 0 || !Field->DataSet()->Active()) return TRead::Field;
  const TStoreKind stored = Field->DataSet()->StoredKind(Field);
  switch (Field->DataType()) {
    case ftFloat: return stored == TStoreKind::Float ? TRead::StoredFloat : TRead::Field;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint: return stored == TStoreKind::Integer ? TRead::StoredInteger : TRead::Field;
    default: return TRead::Field;
  }
}

// The fields are looked up once per export: the data set's fields do not change during a walk.
void TDBGridXExport::ResolveSummedFooters() {
  FSummedFooters.clear();
  const Integer count = FExportColumns ? FExportColumns->Count() : 0;
  for (Integer r = 0; r < FGrid->FooterRowCount(); ++r)
    for (Integer i = 0; i < count; ++i) {
      const TFooterValueType type = FExportColumns->Items(i)->FooterAt(r)->ValueType();
      if (type != fvtSum && type != fvtCount) continue;
      if (TField* field = FooterField(r, i))
        FSummedFooters.push_back({size_t(i + r * count), field, FooterReadOf(field, type == fvtCount)});
    }
}

// A null reads as 0, which adds nothing; rint rounds as nearbyint does, without the call
// that keeps the inexact flag.
void TDBGridXExport::SumFooterValues() {
  using TRead = TSummedFooter::TRead;
  TStoredRow row;
  const bool stored = FGrid->DataSet() && FGrid->DataSet()->ReadStoredRow(row);
  for (const TSummedFooter& footer : FSummedFooters) {
    Int64& total = FFooterTotals[footer.Index];
    if (footer.Read == TRead::Count) {
      total += Int64(Scale);
      continue;
    }
    const int column = footer.Field->StoreColumn();
    if (footer.Read != TRead::Field && (!stored || row.Store->IsNull(row.Row, column))) continue;
    double value = 0;
    switch (footer.Read) {
      case TRead::StoredFloat: value = row.Store->GetFloat(row.Row, column); break;
      case TRead::StoredInteger: value = double(row.Store->GetInt(row.Row, column)); break;
      default: value = footer.Field->AsFloat(); break;
    }
    total += Int64(std::rint(static_cast<long double>(value) * Scale));
  }
}

double TDBGridXExport::FooterTotalValue(Integer FooterRow, Integer ColumnPos) const {
  const size_t index = size_t(ColumnPos + FooterRow * FExportColumns->Count());
  return index < FFooterTotals.size() ? double(static_cast<long double>(FFooterTotals[index]) / Scale) : 0.0;
}

String TDBGridXExport::FooterTotalText(Integer FooterRow, Integer ColumnPos) {
  const TColumnFooterX* footer = FExportColumns->Items(ColumnPos)->FooterAt(FooterRow);
  const double value = FooterTotalValue(FooterRow, ColumnPos);
  if (footer->ValueType() == fvtCount) return FloatToStr(value);
  if (footer->ValueType() != fvtSum) return String();
  TField* field = FooterField(FooterRow, ColumnPos);
  if (!field) return String();
  const auto* numeric = dynamic_cast<const TNumericField*>(field);
  const String format = numeric ? numeric->DisplayFormat() : String();
  switch (field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      if (!format.isEmpty()) return FormatFloat(format, value);
      return QString::number(Int64(std::nearbyint(value)));
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: {
      if (!format.isEmpty()) return FormatFloat(format, value);
      const auto* floating = dynamic_cast<const TFloatField*>(field);
      const bool currency = floating && floating->Currency();
      const Integer precision = floating ? floating->Precision() : 15;
      return currency ? FloatToStrF(value, ffCurrency, precision, CurrencyDecimals)
                      : FloatToStrF(value, ffGeneral, precision, 0);
    }
    default: return String();
  }
}
