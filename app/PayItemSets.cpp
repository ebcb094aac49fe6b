#include "app/PayItemSets.h"
#include "app/AppMessages.h"
#include "app/uDM.h"
#include "platform/rtl/ScopeGuards.h"
#include <QSet>

namespace {

const String BaseMonth = QStringLiteral("BASE");

// Month names match without case, as the database compares them.
bool SameMonth(const String& A, const String& B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

String ItemsOfMonth(const String& Month) {
  return QStringLiteral("Select * from TGZSet where GZMonth=") + QuotedStr(Month);
}

// A data set on the payroll database whose changes are written by one UpdateBatch.
void PrepareBatch(TADODataSet& DataSet, const String& CommandText) {
  DataSet.SetConnection(DM->ADOLocal);
  DataSet.SetCursorType(ctStatic);
  DataSet.SetLockType(ltBatchOptimistic);
  DataSet.SetCommandText(CommandText);
  DataSet.Open();
}

// Appends the item rows Month lacks and writes them; a month without any
// item is left to use "BASE" unless it is "BASE" itself.
void CompleteItemSet(const String& Month) {
  TADODataSet Items;
  PrepareBatch(Items, ItemsOfMonth(Month));
  if (Items.IsEmpty() && !SameMonth(Month, BaseMonth)) return;
  QSet<String> Present;
  for (Items.First(); !Items.Eof(); Items.Next())
    Present.insert(Items.FieldByName(QStringLiteral("GZField1"))->AsString().toUpper());
  const auto AddMissing = [&](const String& Prefix, int Count, int Type) {
    for (int n = 1; n <= Count; ++n) {
      const String Field = Prefix + QString::number(n);
      if (Present.contains(Field)) continue;
      Items.Append();
      Items.FieldByName(QStringLiteral("GZField1"))->SetAsString(Field);
      Items.FieldByName(QStringLiteral("GZName"))->SetAsString(QStringLiteral("工资项目"));
      Items.FieldByName(QStringLiteral("GZType"))->SetAsInteger(Type);
      Items.FieldByName(QStringLiteral("SortIdx"))->SetAsInteger(n);
      Items.FieldByName(QStringLiteral("ShowStu"))->SetAsInteger(1);
      Items.FieldByName(QStringLiteral("GZMonth"))->SetAsString(Month);
      Items.Post();
    }
  };
  AddMissing(QStringLiteral("GZ"), 30, 0);
  AddMissing(QStringLiteral("KK"), 15, 1);
  Items.UpdateBatch();
}

}  // namespace

void StructUpdate() {
  try {
    CompleteItemSet(BaseMonth);
  } catch (const Exception&) {
  }
  TADODataSet Months;
  try {
    PrepareBatch(Months, QStringLiteral("select * from  TGZMonth"));
  } catch (const Exception&) {
    return;
  }
  for (Months.First(); !Months.Eof(); Months.Next()) {
    try {
      CompleteItemSet(Months.FieldByName(QStringLiteral("GZMonth"))->AsString());
    } catch (const Exception&) {
    }
  }
}

bool AddBaseGZSet(const String& Target, const String& Source) {
  try {
    TADODataSet Copy, Model;
    PrepareBatch(Copy, QStringLiteral("Select * from TGZSet where ID=-1"));
    PrepareBatch(Model, ItemsOfMonth(Source));
    String ModelMonth = Source;
    if (Model.IsEmpty()) {
      ModelMonth = BaseMonth;
      Model.Close();
      Model.SetCommandText(ItemsOfMonth(BaseMonth));
      Model.Open();
    }
    // A month is its own model: its items are already what a copy would give.
    if (SameMonth(Target, ModelMonth)) return true;
    for (Model.First(); !Model.Eof(); Model.Next()) {
      Copy.Append();
      for (const char* Name : {"GZField1", "GZName", "GZType", "SortIdx", "ShowStu"})
        Copy.FieldByName(QLatin1String(Name))->SetValue(Model.FieldByName(QLatin1String(Name))->Value());
      const String Formula = Model.FieldByName(QStringLiteral("CalcStr"))->AsString();
      Copy.FieldByName(QStringLiteral("CalcStr"))->SetAsString(Formula.isEmpty() ? QStringLiteral(" ") : Formula);
      Copy.FieldByName(QStringLiteral("GZMonth"))->SetAsString(Target);
      Copy.Post();
    }
    // The old items go only together with the arrival of the new ones, so a
    // failure never leaves the month without its items.
    TADOConnection* Connection = DM->ADOLocal;
    Connection->ExecuteSql(QStringLiteral("SAVEPOINT AddBaseGZSet"));
    TScopeGuard rollback(
        [Connection] { Connection->ExecuteSql(QStringLiteral("ROLLBACK TO AddBaseGZSet; RELEASE AddBaseGZSet")); });
    Connection->ExecuteSql(QStringLiteral("Delete from TGZSet where GZMonth=") + QuotedStr(Target));
    Copy.UpdateBatch();
    Connection->ExecuteSql(QStringLiteral("RELEASE AddBaseGZSet"));
    rollback.Dismiss();
    return true;
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("增加新月度的工资项目模板失败！"));
    return false;
  }
}

bool IsBaseItemSet(const String& Month) { return SameMonth(Month, BaseMonth); }
