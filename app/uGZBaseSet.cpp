#include "app/uGZBaseSet.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "app/uDM.h"
#include "app/uGZSetEdit.h"
#include "dbgrid/DBGridX.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/StdCtrls.h"

namespace {

TADODataSet* ItemList(TComponent* Owner, const String& Name) {
  auto* DataSet = new TADODataSet(Owner);
  DataSet->SetName(Name);
  DataSet->SetConnection(DM->ADOLocal);
  DataSet->SetCursorType(ctStatic);
  DataSet->SetLockType(ltBatchOptimistic);
  return DataSet;
}

TDBGridX* ItemGrid(TWinControl* Parent, const String& Name, TDataSource* Source) {
  auto* Grid = PlaceControl<TDBGridX>(Parent, Name, 8, 20, 560, 210);
  Grid->SetDataSource(Source);
  Grid->SetReadOnly(true);
  Grid->SetOptions(Grid->Options() + TDBGridOptions{dgRowSelect, dgAlwaysShowSelection} - TDBGridOptions{dgEditing});
  for (const auto& [Field, Title, Width] : {std::tuple{"SortIdx", "序号", 40}, std::tuple{"GZName", "工资项目名称", 150},
                                            std::tuple{"SHowStu", "是否启用", 70}, std::tuple{"CalcStr", "计算公式", 270}}) {
    TColumnX* Column = Grid->Columns()->Add();
    Column->SetFieldName(QString::fromUtf8(Field));
    Column->Title()->SetCaption(QString::fromUtf8(Title));
    Column->SetWidth(Width);
  }
  TColumnX* State = Grid->Columns()->Items(2);
  State->KeyList()->Add(QStringLiteral("0"));
  State->KeyList()->Add(QStringLiteral("1"));
  State->PickList()->Add(QStringLiteral("启用"));
  State->PickList()->Add(QStringLiteral("禁用"));
  return Grid;
}

}  // namespace

TfrmGZBaseSet::TfrmGZBaseSet(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmGZBaseSet"));
  SetCaption(QStringLiteral("基本工资项目设置"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(680);
  SetClientHeight(560);

  dsEarnings = ItemList(this, QStringLiteral("dsEarnings"));
  dsDeductions = ItemList(this, QStringLiteral("dsDeductions"));
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(dsEarnings);
  DataSource2 = new TDataSource(this);
  DataSource2->SetDataSet(dsDeductions);

  auto* MonthLabel = PlaceControl<TLabel>(this, QStringLiteral("lblMonth"), 12, 14, 60, 16);
  MonthLabel->SetCaption(QStringLiteral("所属月度"));
  EditMonth = PlaceControl<TEdit>(this, QStringLiteral("EditMonth"), 76, 10, 120, 22);
  EditMonth->SetReadOnly(true);
  lblNote = PlaceControl<TLabel>(this, QStringLiteral("lblNote"), 210, 14, 460, 16);
  lblNote->SetCaption(QStringLiteral("BASE为基本的工资项，新增月度后，则可为指定月度设置与基本项不同的工资项。"));

  const auto Group = [this](const String& Name, const String& Caption, Integer Top) {
    auto* Box = PlaceControl<TGroupBox>(this, Name, 8, Top, 664, 240);
    Box->SetCaption(Caption);
    return Box;
  };
  grpEarnings = Group(QStringLiteral("grpEarnings"), QStringLiteral("应发工资项目(最多30项)"), 40);
  DBGridEh1 = ItemGrid(grpEarnings, QStringLiteral("DBGridEh1"), DataSource1);
  DBGridEh1->OnDblClick = [this](TObject*) { Button3Click(); };
  Button3 = PlaceControl<TButton>(grpEarnings, QStringLiteral("Button3"), 576, 20, 80, 28);
  Button3->SetCaption(QStringLiteral("修改(&E)"));
  Button3->OnClick = [this](TObject*) { Button3Click(); };

  grpDeductions = Group(QStringLiteral("grpDeductions"), QStringLiteral("应扣(代扣)工资项目(最多15项)"), 284);
  DBGridEh2 = ItemGrid(grpDeductions, QStringLiteral("DBGridEh2"), DataSource2);
  DBGridEh2->OnDblClick = [this](TObject*) { Button4Click(); };
  Button4 = PlaceControl<TButton>(grpDeductions, QStringLiteral("Button4"), 576, 20, 80, 28);
  Button4->SetCaption(QStringLiteral("修改(&E)"));
  Button4->OnClick = [this](TObject*) { Button4Click(); };

  Button1 = PlaceControl<TButton>(this, QStringLiteral("Button1"), 480, 528, 90, 28);
  Button1->SetCaption(QStringLiteral("保存(&S)"));
  Button1->OnClick = [this](TObject*) { Button1Click(); };
  Button2 = PlaceControl<TButton>(this, QStringLiteral("Button2"), 580, 528, 90, 28);
  Button2->SetCaption(QStringLiteral("取消(&X)"));
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
}

bool TfrmGZBaseSet::ReadyData(const String& Month) {
  const auto Open = [](TADODataSet* Items, const String& Type, const String& Owner, const String& Gap) {
    Items->Close();
    Items->SetCommandText(QStringLiteral("Select * from TGZSet where GZType=") + Type + QStringLiteral(" and GZMonth=") +
                          QuotedStr(Owner) + Gap + QStringLiteral("Order by ID"));
    Items->Open();
  };
  String Owner = Month;
  try {
    Open(dsEarnings, QStringLiteral("0"), Owner, QStringLiteral(" "));
    if (dsEarnings->IsEmpty()) {
      Owner = QStringLiteral("BASE");
      Open(dsEarnings, QStringLiteral("0"), Owner, QStringLiteral(" "));
    }
    Open(dsDeductions, QStringLiteral("1"), Owner, String());
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
    return false;
  }
  EditMonth->SetText(Owner);
  return true;
}

void TfrmGZBaseSet::EditItem(TADODataSet* Items) {
  if (!Items->Active() || Items->IsEmpty()) return;
  String Caption = Items->FieldByName(QStringLiteral("GZName"))->AsString();
  String Formula = Items->FieldByName(QStringLiteral("CalcStr"))->AsString();
  Integer State = Items->FieldByName(QStringLiteral("SHowStu"))->AsInteger();
  if (!EditGZSetItem(Caption, Formula, State)) return;
  try {
    Items->Edit();
    Items->FieldByName(QStringLiteral("GZName"))->SetAsString(Caption);
    Items->FieldByName(QStringLiteral("CalcStr"))->SetAsString(Formula);
    Items->FieldByName(QStringLiteral("SHowStu"))->SetAsInteger(State);
    Items->Post();
  } catch (const Exception&) {
    // The local list refuses nothing these three fields can hold; a failure leaves the row as it was.
    Items->Cancel();
  }
}

void TfrmGZBaseSet::Button3Click() { EditItem(dsEarnings); }
void TfrmGZBaseSet::Button4Click() { EditItem(dsDeductions); }

bool TfrmGZBaseSet::SaveData() {
  TADOConnection* Connection = DM->ADOLocal;
  try {
    Connection->BeginTrans();
    TScopeGuard Rollback([Connection] { Connection->RollbackTrans(); });
    // Both lists keep their changes pending until the whole save is committed,
    // so a failure leaves every edit in place to save again.
    dsEarnings->WriteBatch();
    dsDeductions->WriteBatch();
    Connection->CommitTrans();
    Rollback.Dismiss();
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("存储数据发生错误！\n") + E.Message());
    return false;
  }
  dsEarnings->AcceptBatch();
  dsDeductions->AcceptBatch();
  return true;
}

void TfrmGZBaseSet::Button1Click() {
  if (SaveData()) SetModalResult(mrOk);
}

bool ShowGZBaseSet(const String& Month) {
  TfrmGZBaseSet Form(nullptr);
  if (!Form.ReadyData(Month)) return false;
  return Form.ShowModal() == mrOk;
}
