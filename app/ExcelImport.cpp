#include "app/ExcelImport.h"
#include "app/RecordColumns.h"
#include "app/uDM.h"
#include "dbgrid/DBGridX.h"

namespace {

// Record-grid positions of the importable columns: "DepartName" to "EMail".
constexpr Integer FirstImportColumn = 3;
constexpr Integer LastImportColumn = 61;

String ItemSum(const char* Prefix, int Count) {
  QStringList Terms;
  for (int n = 1; n <= Count; ++n) Terms << QStringLiteral("IFNULL(%1%2,0)").arg(QLatin1String(Prefix)).arg(n);
  return Terms.join(u'+');
}

}  // namespace

QList<TImportField> ImportFields(TDBGridX* Grid) {
  QList<TImportField> Fields;
  for (Integer i = FirstImportColumn; i <= LastImportColumn && i < Grid->Columns()->Count(); ++i) {
    TColumnX* Column = Grid->Columns()->Items(i);
    if (!Column->Visible()) continue;
    const String Field = Column->FieldName();
    if (Field.compare(QStringLiteral("YFTotal"), Qt::CaseInsensitive) == 0 ||
        Field.compare(QStringLiteral("KKTotal"), Qt::CaseInsensitive) == 0 ||
        Field.compare(QStringLiteral("GZTotal"), Qt::CaseInsensitive) == 0)
      continue;
    Fields << TImportField{Column->Title()->Caption(), Field};
  }
  return Fields;
}

Integer FindSheetColumn(const TSheetTable& Sheet, const String& Name) {
  for (qsizetype i = 0; i < Sheet.Columns.size(); ++i)
    if (Sheet.Columns[i].compare(Name, Qt::CaseInsensitive) == 0) return Integer(i);
  return -1;
}

TImportRun ImportSheetRows(const TSheetTable& Sheet, const QList<TImportMapping>& Mapping, const String& Month,
                           const TImportProgress& Progress) {
  TImportRun Run;
  const Integer Count = Integer(Sheet.Rows.size());
  // The rows gather in memory and go to the database together at the end, so
  // a sheet of tens of thousands of rows is one write, not one per row.
  TADODataSet Target(nullptr);
  Target.SetConnection(DM->ADOLocal);
  Target.SetLockType(ltBatchOptimistic);
  Target.SetCommandText(QStringLiteral("Select * from TGZ where ID=-1"));
  struct TColumnFill {
    TField* Field;
    Integer Column;
    String SheetColumn;
  };
  QList<TColumnFill> Fills;
  TField* MonthField = nullptr;
  TField* Title = nullptr;
  TField* LogTime = nullptr;
  try {
    Target.Open();
    for (const TImportMapping& Map : Mapping)
      if (!Map.SheetColumn.isEmpty())
        Fills << TColumnFill{Target.FieldByName(Map.FieldName), FindSheetColumn(Sheet, Map.SheetColumn), Map.SheetColumn};
    MonthField = Target.FieldByName(QStringLiteral("GZMonth"));
    Title = Target.FieldByName(QStringLiteral("ZWName"));
    LogTime = Target.FieldByName(QStringLiteral("LogTime"));
  } catch (const Exception& E) {
    Run.Failure = E.Message();
    return Run;
  }
  const TDateTime Stamp = Now();
  constexpr Integer ProgressStep = 512;
  const TDisableControlsLock Quiet(&Target);
  for (Integer Row = 0; Row < Count; ++Row) {
    const QStringList& Values = Sheet.Rows[Row];
    try {
      Target.Append();
      for (const TColumnFill& Fill : Fills) {
        if (Fill.Column < 0) throw EDatabaseError(QStringLiteral("工作表没有列“%1”").arg(Fill.SheetColumn));
        const String Text = Fill.Column < Values.size() ? Values[Fill.Column] : String();
        const auto Unreadable = Sheet.Unreadable.constFind(qMakePair(int(Row), int(Fill.Column)));
        if (Unreadable != Sheet.Unreadable.constEnd())
          throw EDatabaseError(QStringLiteral("“%1”列的值不能读取：%2").arg(Fill.SheetColumn, *Unreadable));
        try {
          Fill.Field->SetAsString(Text);
        } catch (const Exception& E) {
          throw EDatabaseError(QStringLiteral("“%1”列的值“%2”不能存入%3：%4")
                                   .arg(Fill.SheetColumn, Text, Fill.Field->FieldName(), E.Message()));
        }
      }
      MonthField->SetAsString(Month);
      if (Title->AsString().isEmpty()) Title->SetAsString(QStringLiteral(" "));
      LogTime->SetAsDateTime(Stamp);
      Target.Post();
      ++Run.Imported;
    } catch (const Exception& E) {
      if (Target.State() != dsBrowse) Target.Cancel();
      Run.Skipped << TImportRowFailure{Row + 2, E.Message()};
    }
    if (Progress && ((Row + 1) % ProgressStep == 0 || Row + 1 == Count) && !Progress(Row + 1, Count)) {
      Target.CancelBatch();
      Run.Imported = 0;
      Run.Cancelled = true;
      return Run;
    }
  }
  try {
    Target.UpdateBatch();  // one transaction: every row or none
  } catch (const Exception& E) {
    Run.Imported = 0;
    Run.Failure = E.Message();
  }
  return Run;
}

void RecomputeMonthTotals(const String& Month) {
  const String Earnings = ItemSum("GZ", 30);
  const String Deductions = ItemSum("KK", 15);
  DM->ADOLocal->ExecuteSql(QStringLiteral("Update TGZ Set YFTotal=") + Earnings + QStringLiteral(", KKTotal=") +
                           Deductions + QStringLiteral(", GZTotal=") + Earnings + QStringLiteral("-(") + Deductions +
                           QStringLiteral(")  where GZMonth=") + QuotedStr(Month));
}
