#include "app/uSelectHisMonth.h"
#include "app/AppMessages.h"
#include "app/uDM.h"
#include "platform/ui/StdCtrls.h"

TfrmSelectHisMonth::TfrmSelectHisMonth(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmSelectHisMonth"));
  SetCaption(QStringLiteral("选择历史发放月度"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(260);
  SetClientHeight(320);

  lstMonths = new TListBox(this);
  lstMonths->SetName(QStringLiteral("lstMonths"));
  lstMonths->SetParent(this);
  lstMonths->SetBounds(8, 8, 244, 264);
  lstMonths->OnDblClick = [this](TObject*) { Choose(); };

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
  TADODataSet* Query = DM->dsQuery;
  try {
    Query->Close();
    Query->SetCommandText(QStringLiteral("select Distinct GZMonth from TGZ Order by GZMonth Desc"));
    Query->Open();
    lstMonths->Items()->Clear();
    for (Query->First(); !Query->Eof(); Query->Next()) lstMonths->Items()->Add(Query->Fields()->Fields(0)->AsString());
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("读取数据库发生错误！"));
    return false;
  }
  if (lstMonths->Items()->Count() > 0) lstMonths->SetItemIndex(0);
  return true;
}

void TfrmSelectHisMonth::Choose() {
  const Integer Index = lstMonths->ItemIndex();
  if (Index < 0) return;
  FChosen = lstMonths->Items()->Strings(Index);
  SetModalResult(mrOk);
}

bool SelectHisMonth(String& Month) {
  TfrmSelectHisMonth Form(nullptr);
  if (!Form.ReadyData()) return false;
  if (Form.ShowModal() != mrOk || Form.Chosen().isEmpty()) return false;
  Month = Form.Chosen();
  return true;
}
