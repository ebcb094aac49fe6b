// Month and record maintenance of the main window: adding, renaming and
// deleting months, changing and deleting records, copying records between
// months. Every statement quotes its texts; the steps that change several
// tables run in one transaction.
#include "app/AppMessages.h"
#include "app/PayItemSets.h"
#include "app/RecordColumns.h"
#include "app/uDM.h"
#include "app/uGZDetailEdit.h"
#include "app/uMain.h"
#include "app/uSelectHisMonth.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Dialogs.h"

namespace {

// A warning box with Yes and No; only Yes goes ahead.
bool Confirmed(const String& Text) {
  return TDialogs::MessageBox(Text, Application->Title(), MB_YESNO | MB_ICONWARNING) == IDYES;
}

// Runs Steps in one transaction of the payroll connection: all or nothing.
template <class TSteps>
void InTransaction(TSteps Steps) {
  TADOConnection* Connection = DM->ADOLocal;
  Connection->BeginTrans();
  TScopeGuard Rollback([Connection] { Connection->RollbackTrans(); });
  Steps();
  Connection->CommitTrans();
  Rollback.Dismiss();
}

void Execute(const String& Sql) { DM->ADOLocal->ExecuteSql(Sql); }

// A month called "BASE" would take the default pay items as its own and
// delete them with itself.
bool RefusedAsBase(const String& Month) {
  if (!IsBaseItemSet(Month)) return false;
  ShowAppMessage(QStringLiteral("[") + Month + QStringLiteral("]是系统默认工资结构的名称，不能作为月度名称！"));
  return true;
}

}  // namespace

void TfrmMainGZT::Button1Click(TObject*) {
  String Month = FormatDateTime(QStringLiteral("yyyyMM"), Now());
  if (!TDialogs::InputQuery(QStringLiteral("请输入新的工资发放月度"), QStringLiteral("请输入新的工资发放月度："), Month) ||
      Month.isEmpty() || RefusedAsBase(Month))
    return;
  if (!DM->GetDataBySQL(QStringLiteral("Select GZMonth from TGZMonth where GZMonth=") + QuotedStr(Month)).isEmpty()) {
    ShowAppMessage(QStringLiteral("名称为[") + Month + QStringLiteral("]的月度已经存在！"));
    return;
  }
  try {
    dsGZMonth->Append();
    dsGZMonth->FieldByName(QStringLiteral("GZMonth"))->SetAsString(Month);
    dsGZMonth->Post();
  } catch (const Exception&) {
    dsGZMonth->Cancel();
    ShowAppMessage(QStringLiteral("保存数据发生错误！"));
    return;
  }
  ShowAppMessage(QStringLiteral("注意，需要选择复制哪个月度的工资结构，如果不选择，则采用系统默认工资结构！"));
  String Model;
  if (!SelectHisMonth(Model)) Model = QStringLiteral("BASE");
  AddBaseGZSet(Month, Model);
  dsGZMonthAfterScroll(dsGZMonth);
}

void TfrmMainGZT::Button2Click(TObject*) {
  const String Old = CurrentMonth();
  if (Old.isEmpty()) return;
  const String New = TDialogs::InputBox(QStringLiteral("请输入新的工资发放月度名称"),
                                        QStringLiteral("请输入新的工资发放月度名称："), Old);
  if (New.isEmpty() || RefusedAsBase(New)) return;
  const String Id = dsGZMonth->FieldByName(QStringLiteral("ID"))->AsString();
  if (!DM->GetDataBySQL(QStringLiteral("Select GZMonth from TGZMonth where GZMonth=") + QuotedStr(New) +
                        QStringLiteral(" and ID<>") + Id)
           .isEmpty()) {
    ShowAppMessage(QStringLiteral("名称为：") + New + QStringLiteral("的月度已经存在！"));
    return;
  }
  try {
    InTransaction([&] {
      Execute(QStringLiteral("Update TGZ Set GZMonth=") + QuotedStr(New) + QStringLiteral(" where GZMonth=") +
              QuotedStr(Old));
      // The items of a month named "BASE" before such names were refused are
      // the default items: the renamed month takes a copy and they stay.
      if (IsBaseItemSet(Old))
        Execute(QStringLiteral("Insert into TGZSet (GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr, GZMonth) "
                               "Select GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr, ") +
                QuotedStr(New) + QStringLiteral(" from TGZSet where GZMonth=") + QuotedStr(Old));
      else
        Execute(QStringLiteral("Update TGZSet Set GZMonth=") + QuotedStr(New) + QStringLiteral(" where GZMonth=") +
                QuotedStr(Old));
      dsGZMonth->Edit();
      dsGZMonth->FieldByName(QStringLiteral("GZMonth"))->SetAsString(New);
      dsGZMonth->Post();
    });
  } catch (const Exception&) {
    if (dsGZMonth->State() != dsBrowse) dsGZMonth->Cancel();
    ShowAppMessage(QStringLiteral("保存数据发生错误！"));
    ReadyMonth();
    return;
  }
  dsGZMonthAfterScroll(dsGZMonth);
}

void TfrmMainGZT::Button3Click(TObject*) {
  const String Month = CurrentMonth();
  if (Month.isEmpty()) return;
  if (!Confirmed(QStringLiteral("您确认删除选定月度的数据吗？相应的工资发放明细也将一并删除！"))) return;
  try {
    InTransaction([&] {
      Execute(QStringLiteral("Delete from TGZ where GZMonth=") + QuotedStr(Month));
      // A month named "BASE" shares the default items; they stay.
      if (!IsBaseItemSet(Month)) Execute(QStringLiteral("Delete from TGZSet where GZMonth=") + QuotedStr(Month));
      dsGZMonth->Delete();
    });
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("删除数据发生错误！"));
    ReadyMonth();
    return;
  }
  // The neighbouring month's records were loaded by the move; without one the list empties.
  if (dsGZMonth->IsEmpty()) dsGZMonthAfterScroll(dsGZMonth);
}

void TfrmMainGZT::Button4Click(TObject*) {
  const String Month = CurrentMonth();
  if (Month.isEmpty()) {
    ShowAppMessage(QStringLiteral("请首先增加月度！"));
    return;
  }
  if (EditGZDetail(-1, Month)) dsGZMonthAfterScroll(dsGZMonth);
}

void TfrmMainGZT::Button5Click(TObject*) {
  const String Month = CurrentMonth();
  if (Month.isEmpty()) {
    ShowAppMessage(QStringLiteral("请首先增加月度！"));
    return;
  }
  const bool HasRecord = dsGZDetail->Active() && !dsGZDetail->IsEmpty();
  const Integer Id = HasRecord ? dsGZDetail->FieldByName(QStringLiteral("ID"))->AsInteger() : 0;
  if (!EditGZDetail(Id, Month)) return;
  dsGZMonthAfterScroll(dsGZMonth);
  try {
    if (!FSavedSort.isEmpty()) dsGZDetail->SetSort(FSavedSort);
    dsGZDetail->Locate(QStringLiteral("ID"), Variant(Id), {});
  } catch (const Exception&) {
  }
}

void TfrmMainGZT::Button6Click(TObject*) {
  if (!dsGZDetail->Active() || dsGZDetail->IsEmpty()) return;
  if (!Confirmed(QStringLiteral("您确认删除选定的工资记录吗？"))) return;
  try {
    dsGZDetail->Delete();
    dsGZDetail->UpdateBatch();
  } catch (const Exception&) {
    dsGZDetail->CancelBatch();
    ShowAppMessage(QStringLiteral("删除数据发生错误！"));
  }
}

void TfrmMainGZT::N4Click(TObject*) {
  if (!Confirmed(QStringLiteral("您确认删除选定的工资记录吗？\n批量删除一般用于期初批量导入数据出错的情况！"))) return;
  TBookmarkListX* Selected = DBGridEh2->RecordBookmarks();
  std::vector<TBookmarkStr> Rows;
  for (Integer i = 0; i < Selected->GetCount(); ++i) Rows.push_back(Selected->GetBookmark(i));
  try {
    for (const TBookmarkStr& Row : Rows) {
      dsGZDetail->SetBookmark(Row);
      dsGZDetail->Delete();
    }
    dsGZDetail->UpdateBatch();
  } catch (const Exception&) {
    dsGZDetail->CancelBatch();
    ShowAppMessage(QStringLiteral("删除数据过程中出现错误！"));
  }
}

void TfrmMainGZT::Button9Click(TObject*) {
  const String Month = CurrentMonth();
  if (Month.isEmpty()) {
    ShowAppMessage(QStringLiteral("请首先增加新的工资发放月度作为数据复制的目的月度！"));
    return;
  }
  if (dsGZDetail->Active() && !dsGZDetail->IsEmpty() &&
      !Confirmed(QStringLiteral("月度数据复制应针对新的月度！您确认继续复制吗？\n选定月度下已经有数据，可能会造成数据重复！")))
    return;
  String Source;
  if (!SelectHisMonth(Source)) return;
  try {
    dsTmp->Close();
    dsTmp->SetCommandText(QStringLiteral("Select * from TGZ where GZMonth=") + QuotedStr(Source));
    dsTmp->Open();
    dsTmp1->Close();
    dsTmp1->SetCommandText(QStringLiteral("Select * from TGZ where ID=-1"));
    dsTmp1->Open();
    const TDateTime Created = Now();
    for (dsTmp->First(); !dsTmp->Eof(); dsTmp->Next()) {
      dsTmp1->Append();
      CopyRecordFields(dsTmp, dsTmp1, MonthCopyFields());
      dsTmp1->FieldByName(QStringLiteral("GZMonth"))->SetAsString(Month);
      dsTmp1->FieldByName(QStringLiteral("LOGTime"))->SetAsDateTime(Created);
      dsTmp1->Post();
    }
    dsTmp1->UpdateBatch();
  } catch (const Exception&) {
    if (dsTmp1->Active()) dsTmp1->CancelBatch();
    ShowAppMessage(QStringLiteral("复制数据失败！"));
    return;
  }
  dsGZMonthAfterScroll(dsGZMonth);
  AddBaseGZSet(Month, Source);
}

void TfrmMainGZT::Button10Click(TObject*) {
  if (!dsGZDetail->Active() || dsGZDetail->IsEmpty()) {
    ShowAppMessage(QStringLiteral("没有可复制的职员工资数据记录！"));
    return;
  }
  if (!Confirmed(QStringLiteral("您确认复制选定的工资记录为新记录吗？"))) return;
  String Month = dsGZDetail->FieldByName(QStringLiteral("GZMonth"))->AsString();
  if (!TDialogs::InputQuery(QStringLiteral("请输入新的月度"), QStringLiteral("请输入新的月度:"), Month)) return;
  if (DM->GetDataBySQL(QStringLiteral("Select ID from TGZMonth where GZMonth=") + QuotedStr(Month)).isEmpty()) {
    ShowAppMessage(QStringLiteral("您输入的新月度不存在!"));
    return;
  }
  try {
    dsTmp1->Close();
    dsTmp1->SetCommandText(QStringLiteral("Select * from TGZ where ID=-1"));
    dsTmp1->Open();
    dsTmp1->Append();
    CopyRecordFields(dsGZDetail, dsTmp1, RecordCopyFields());
    dsTmp1->FieldByName(QStringLiteral("GZMonth"))->SetAsString(Month);
    dsTmp1->FieldByName(QStringLiteral("LOGTime"))->SetAsDateTime(Now());
    dsTmp1->Post();
    dsTmp1->UpdateBatch();
  } catch (const Exception&) {
    if (dsTmp1->Active()) dsTmp1->CancelBatch();
    ShowAppMessage(QStringLiteral("复制数据失败！"));
    return;
  }
  dsGZMonthAfterScroll(dsGZMonth);
  ReCalcAll();
}
