#include "dbgrid/DBGridXInterceptors.h"

void TColumnXPropertyInterceptor::SetWidth(Integer Value) {
  auto* column = static_cast<TColumnX*>(Target());
  TCustomDBGridX* grid = column->Grid();
  // While the grid fits its columns the stored width is the one it distributes from.
  if (grid && grid->AutoFitColWidths()) column->SetDesignWidth(Value);
  else column->SetWidth(Value);
}

String TColumnsXPropertyInterceptor::ColumnsIndex() const {
  auto* columns = static_cast<TDBGridColumnsX*>(Target());
  QStringList names;
  for (Integer i = 0; i < columns->Count(); ++i)
    names << QStringLiteral("\"%1\"").arg(columns->Items(i)->FieldName());
  return names.join(u',');
}

void TColumnsXPropertyInterceptor::SetColumnsIndex(const String& Value) {
  FColumnsIndex = Value;
  auto* columns = static_cast<TDBGridColumnsX*>(Target());
  TStringList names;
  names.SetCommaText(Value);
  columns->BeginUpdate();
  try {
    for (Integer i = 0; i < names.Count() && i < columns->Count(); ++i)
      for (Integer k = 0; k < columns->Count(); ++k)
        if (AnsiCompareStr(columns->Items(k)->FieldName(), names.Strings(i)) == 0) {
          columns->Items(k)->TCollectionItem::SetIndex(i);
          break;
        }
  } catch (...) {
    columns->EndUpdate();
    throw;
  }
  columns->EndUpdate();
}

void RegisterGridInterceptors() {
  RegisterInterceptorClass<TColumnX, TColumnXPropertyInterceptor>();
  RegisterInterceptorClass<TDBGridColumnsX, TColumnsXPropertyInterceptor>();
}
