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

TImportRun ImportSheetRows(const TSheetTable& Sheet, const QList<TImportMapping>& Mapping, const String& Month) {
  TImportRun Run;
  TADODataSet Target(nullptr);
  Target.SetConnection(DM->ADOLocal);
  Target.SetCommandText(QStringLiteral("Select * from TGZ where ID=-1"));
  for (qsizetype Row = 0; Row < Sheet.Rows.size(); ++Row) {
    const QStringList& Values = Sheet.Rows[Row];
    try {
      if (!Target.Active()) Target.Open();
      Target.Append();
      for (const TImportMapping& Map : Mapping) {
        if (Map.SheetColumn.isEmpty()) continue;
        const Integer Column = FindSheetColumn(Sheet, Map.SheetColumn);
        if (Column < 0) throw EDatabaseError(QStringLiteral("工作表没有列“%1”").arg(Map.SheetColumn));
        const String Text = Column < Values.size() ? Values[Column] : String();
        TField* Field = Target.FieldByName(Map.FieldName);
        try {
          Field->SetAsString(Text);
        } catch (const Exception& E) {
          throw EDatabaseError(QStringLiteral("“%1”列的值“%2”不能存入%3：%4").arg(Map.SheetColumn, Text, Map.FieldName, E.Message()));
        }
      }
      Target.FieldByName(QStringLiteral("GZMonth"))->SetAsString(Month);
      TField* Title = Target.FieldByName(QStringLiteral("ZWName"));
      if (Title->AsString().isEmpty()) Title->SetAsString(QStringLiteral(" "));
      Target.FieldByName(QStringLiteral("LogTime"))->SetAsDateTime(Now());
      Target.Post();
      ++Run.Imported;
    } catch (const Exception& E) {
      if (Target.Active() && Target.State() != dsBrowse) Target.Cancel();
      Run.Skipped << TImportRowFailure{Integer(Row) + 2, E.Message()};
    }
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
