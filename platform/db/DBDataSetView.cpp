// The view: which rows show, in which order (local Filter and Sort).
#include "platform/db/DB.h"
#include "platform/db/DBFilter.h"
#include <QStringList>
#include <algorithm>

void TDataSet::BuildView() {
  FView.clear();
  FView.reserve(FStore.RowSlots());
  FCalcCache.clear();
  FPositionsValid = false;
  const bool filtering = FFiltered && FFilterExpr && !FFilterExpr->IsEmpty();
  for (TRowId row = 0; row < FStore.RowSlots(); ++row)
    if (!FHidden[row] && (!filtering || RowPassesFilter(row))) FView.push_back(row);
  ApplySortToView();
}

void TDataSet::ApplySortToView() {
  if (FSortKeys.empty()) return;
  std::stable_sort(FView.begin(), FView.end(), [this](TRowId a, TRowId b) {
    for (const auto& [col, descending] : FSortKeys) {
      const int order = FStore.Compare(a, b, col, true);
      if (order != 0) return descending ? order > 0 : order < 0;
    }
    return false;
  });
  FPositionsValid = false;
}

void TDataSet::RefreshView() {
  TRowId row = 0;
  const bool hadRow = ReadRow(row);
  BuildView();
  const Integer p = hadRow ? PositionOf(row) : -1;
  Resync(p >= 0 ? p : CursorPosition(), false);
}

std::vector<std::pair<int, bool>> TDataSet::ParseSortText(const String& Text) const {
  std::vector<std::pair<int, bool>> keys;
  for (const String& part : Text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    String item = part.trimmed();
    bool descending = false;
    const String upper = item.toUpper();
    if (upper.endsWith(QLatin1String(" DESC"))) {
      descending = true;
      item.chop(5);
    } else if (upper.endsWith(QLatin1String(" ASC"))) {
      item.chop(4);
    }
    item = item.trimmed();
    if (item.startsWith(QLatin1Char('[')) && item.endsWith(QLatin1Char(']'))) item = item.mid(1, item.size() - 2);
    if (item.isEmpty()) continue;
    const TField* field = FieldByName(item);
    if (field->FStoreColumn < 0) Error(QStringLiteral("Cannot sort on field '%1'").arg(field->FieldName()));
    keys.emplace_back(field->FStoreColumn, descending);
  }
  return keys;
}

void TDataSet::SetSort(const String& Value) {
  if (!Active()) {
    FSort = Value;
    return;
  }
  CheckBrowseMode();
  std::vector<std::pair<int, bool>> keys = ParseSortText(Value);
  FSort = Value;
  FSortKeys = std::move(keys);
  TRowId row = 0;
  const bool hadRow = ReadRow(row);
  if (FSortKeys.empty()) BuildView();
  else ApplySortToView();
  FCalcCache.clear();
  Resync(hadRow ? PositionOf(row) : 0, false);
}

bool TDataSet::RowPassesFilter(TRowId Row) const {
  return FFilterExpr->Matches([&](int Field) { return ValueAt(Row, FFields->FList[size_t(Field)]); });
}

TFilterOperandKind FilterOperandKindOf(TFieldType DataType) {
  switch (DataType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return TFilterOperandKind::Number;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp: return TFilterOperandKind::DateTime;
    case ftBoolean: return TFilterOperandKind::Boolean;
    default: return TFilterOperandKind::Text;
  }
}

void TDataSet::PrepareFilter() {
  auto expr = std::make_unique<TFilterExpression>(FFilter);
  expr->Bind([this](const String& Name, TFilterOperandKind& Kind) {
    const TField* field = FieldByName(Name);
    Kind = FilterOperandKindOf(field->DataType());
    return FFields->IndexOf(field);
  });
  FFilterExpr = std::move(expr);
}

void TDataSet::SetFilter(const String& Value) {
  if (Value == FFilter) return;
  if (!Active() || !FFiltered) {
    FFilter = Value;
    return;
  }
  CheckBrowseMode();
  const String old = FFilter;
  FFilter = Value;
  try {
    PrepareFilter();
  } catch (...) {
    // A filter text that does not parse leaves the previous filter in force.
    FFilter = old;
    throw;
  }
  BuildView();
  First();
}

void TDataSet::SetFiltered(bool Value) {
  if (Value == FFiltered) return;
  if (!Active()) {
    FFiltered = Value;
    return;
  }
  CheckBrowseMode();
  if (Value) PrepareFilter();
  else FFilterExpr.reset();
  FFiltered = Value;
  BuildView();
  First();
}
