// The main window's commands that exchange data with workbooks and mail:
// exports of the record list, imports of records and electronic pay slips.
#include "app/uMain.h"
#include "app/AppMessages.h"
#include "app/EleSlips.h"
#include "app/ExcelExport.h"
#include "app/ExcelImport.h"
#include "app/uExcelLoadIn.h"
#include "app/uDM.h"
#include "app/uEleGZBill.h"
#include "platform/rtl/Files.h"

namespace {

Integer StoredCount(const String& Sql) {
  double Value = 0;
  return TryStrToFloat(DM->GetDataBySQL(Sql).trimmed(), Value) ? Integer(Value) : 0;
}

}  // namespace

void TfrmMainGZT::Button13Click(TObject*) {
  if (dsGZMonth->IsEmpty()) {
    ShowAppMessage(QStringLiteral("请首先建立/选择工资发放月度！"));
    return;
  }
  const String Month = CurrentMonth();
  String Key = Month;
  const String Count = DM->GetDataBySQL(QStringLiteral("Select Count(*) from TGZSet where GZMonth=") + QuotedStr(Key));
  if (Count.isEmpty() || Count == u"0") Key = QStringLiteral("BASE");
  const String KeyTerm = QStringLiteral(" and GZMonth=") + QuotedStr(Key);
  const Integer K = StoredCount(QStringLiteral("Select Count(*) from TGZSet where GZType=1 and ShowStu=0") + KeyTerm);
  const Integer G = StoredCount(QStringLiteral("Select Count(*) from TGZSet where GZType=0 and ShowStu=0") + KeyTerm);
  String PrintDays = DM->GetDataBySQL(QStringLiteral("Select PrintDays from TPara")).trimmed();
  if (PrintDays.isEmpty()) PrintDays = QStringLiteral("0");
  ShowEleGZBill(Month, ResolvePath(Settings().GAppPath, QStringLiteral("RPT/") + EleSlipTemplateName(PrintDays, K, G)));
}

void TfrmMainGZT::Excel1Click(TObject*) {
  DBGridEh2->SetEnabled(false);
  try {
    ExportGridToXls(Caption(), DBGridEh2);
  } catch (const Exception&) {
    // The quick export from the list's menu stays silent; the other command reports failures.
  }
  DBGridEh2->SetEnabled(true);
}

void TfrmMainGZT::Excel2Click(TObject*) { ExportGridToXls(QStringLiteral("工资表"), DBGridEh2); }

void TfrmMainGZT::Excel20101Click(TObject* Sender) { Excel1Click(Sender); }

void TfrmMainGZT::Excel3Click(TObject*) { ExportGridToExcel(QStringLiteral("工资表"), DBGridEh2); }

void TfrmMainGZT::ToolButton7Click(TObject*) {
  if (dsGZMonth->IsEmpty()) {
    ShowAppMessage(QStringLiteral("请首先建立/选择工资发放月度！"));
    return;
  }
  const String Month = CurrentMonth();
  ShowExcelLoadIn(Month, ImportFields(DBGridEh2));
  ReadyGZList(Month);
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct EmpName from TGZ where GZMonth=") + QuotedStr(Month) +
                              QStringLiteral(" order by EmpName"),
                          cmbName->Items(), true);
  ReCalcAll();
}
