#include "app/uSelectHisMonth.h"
#include "app/AppMessages.h"
#include "app/uDM.h"
#include "dbgrid/DBGridX.h"
#include "platform/ui/StdCtrls.h"

TfrmSelectHisMonth::TfrmSelectHisMonth(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmSelectHisMonth"));
  SetCaption(QStringLiteral("选择历史发放月度"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(260);
  SetClientHeight(320);

  dsMonths = new TADODataSet(this);
  dsMonths->SetName(QStringLiteral("dsMonths"));
  dsMonths->SetConnection(DM->ADOLocal);
  dsMonths->SetCursorType(ctStatic);
  dsMonths->SetLockType(ltReadOnly);
  DataSource1 = new TDataSource(this);
  DataSource1->SetDataSet(dsMonths);

  DBGridEh1 = new TDBGridX(this);
  DBGridEh1->SetName(QStringLiteral("DBGridEh1"));
  DBGridEh1->SetParent(this);
  DBGridEh1->SetBounds(8, 8, 244, 264);
  DBGridEh1->SetDataSource(DataSource1);
  DBGridEh1->SetReadOnly(true);
  DBGridEh1->SetOptions(DBGridEh1->Options() + TDBGridOptions{dgRowSelect, dgAlwaysShowSelection} -
                        TDBGridOptions{dgEditing});
  TColumnX* Column = DBGridEh1->Columns()->Add();
  Column->SetFieldName(QStringLiteral("GZMonth"));
  Column->Title()->SetCaption(QStringLiteral("发放月度"));
  Column->SetWidth(200);
  DBGridEh1->OnDblClick = [this](TObject*) { Choose(); };

  btnSelect = new TButton(this);
  btnSelect->SetParent(this);
  btnSelect->SetCaption(QStringLiteral("选中(&S)"));
  btnSelect->SetBounds(50, 282, 90, 28);
  btnSelect->OnClick = [this](TObject*) { Choose(); };
  btnCancel = new TButton(this);
  btnCancel->SetParent(this);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetBounds(150, 282, 90, 28);
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
}

bool TfrmSelectHisMonth::ReadyData() {
  try {
    dsMonths->Close();
    dsMonths->SetCommandText(QStringLiteral("select Distinct GZMonth from TGZ Order by GZMonth Desc"));
    dsMonths->Open();
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
    return false;
  }
  return true;
}

void TfrmSelectHisMonth::Choose() {
  if (!dsMonths->Active() || dsMonths->IsEmpty()) return;
  FChosen = dsMonths->FieldByName(QStringLiteral("GZMonth"))->AsString();
  SetModalResult(mrOk);
}

bool SelectHisMonth(String& Month) {
  TfrmSelectHisMonth Form(nullptr);
  if (!Form.ReadyData()) return false;
  if (Form.ShowModal() != mrOk || Form.Chosen().isEmpty()) return false;
  Month = Form.Chosen();
  return true;
}
