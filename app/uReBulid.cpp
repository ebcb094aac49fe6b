#include "app/uReBulid.h"
#include "app/AppMessages.h"
#include "app/uDM.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"

namespace {

template <class TControlClass>
TControlClass* Place(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width, Integer Height) {
  auto* Control = new TControlClass(Parent);
  Control->SetName(Name);
  Control->SetParent(Parent);
  Control->SetBounds(Left, Top, Width, Height);
  return Control;
}

const QLatin1String BasicPrefix("B_");

}  // namespace

TfrmReBulid::TfrmReBulid(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(QStringLiteral("系统重建"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(420);
  SetClientHeight(250);

  GroupBox1 = Place<TGroupBox>(this, QStringLiteral("GroupBox1"), 10, 8, 400, 150);
  GroupBox1->SetCaption(QStringLiteral("警告！！！"));
  Memo1 = Place<TMemo>(GroupBox1, QStringLiteral("Memo1"), 10, 20, 380, 120);
  Memo1->SetReadOnly(true);
  Memo1->SetWordWrap(true);
  Memo1->Font()->SetColor(clRed);
  Memo1->Lines()->SetText(QStringLiteral(
      "系统重建将清除系统中的所有业务信息（全部发放月度及工资明细），"
      "用于清除熟悉本系统过程中录入的测试数据。\r\n"
      "清除后数据无法恢复，执行前请先备份数据库！"));

  chkBusiness = Place<TCheckBox>(this, QStringLiteral("chkBusiness"), 20, 170, 180, 20);
  chkBusiness->SetCaption(QStringLiteral("清除业务数据"));
  chkBasic = Place<TCheckBox>(this, QStringLiteral("chkBasic"), 210, 170, 180, 20);
  chkBasic->SetCaption(QStringLiteral("清除基本信息"));
  chkBasic->SetVisible(false);
  // Basic information cannot go without the business data that refers to it.
  chkBasic->OnClick = [this](TObject*) {
    if (chkBasic->Checked() && !chkBusiness->Checked()) chkBusiness->SetChecked(true);
  };
  chkBusiness->OnClick = [this](TObject*) {
    if (!chkBusiness->Checked() && chkBasic->Checked()) chkBasic->SetChecked(false);
  };

  lstSQL = Place<TListBox>(this, QStringLiteral("lstSQL"), 0, 0, 10, 10);
  lstSQL->SetVisible(false);
  lstSQL->Items()->Add(QStringLiteral("Delete from TGZMonth"));
  lstSQL->Items()->Add(QStringLiteral("Delete from TGZ"));

  btnRebuild = Place<TButton>(this, QStringLiteral("btnRebuild"), 200, 205, 100, 28);
  btnRebuild->SetCaption(QStringLiteral("系统重建"));
  btnRebuild->OnClick = [this](TObject* Sender) { btnRebuildClick(Sender); };
  btnCancel = Place<TButton>(this, QStringLiteral("btnCancel"), 310, 205, 100, 28);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
}

void TfrmReBulid::ExecAllSQL(bool ClearBasic) {
  TADOConnection* Connection = DM->ADOLocal;
  Connection->BeginTrans();
  TScopeGuard Rollback([Connection] { Connection->RollbackTrans(); });
  for (Integer i = 0; i < lstSQL->Items()->Count(); ++i) {
    const String Statement = lstSQL->Items()->Strings(i);
    if (!Statement.startsWith(BasicPrefix))
      Connection->ExecuteSql(Statement);
    else if (ClearBasic)
      Connection->ExecuteSql(Statement.mid(BasicPrefix.size()));
  }
  Connection->CommitTrans();
  Rollback.Dismiss();
}

void TfrmReBulid::btnRebuildClick(TObject*) {
  if (!chkBusiness->Checked() && !chkBasic->Checked()) {
    ShowAppMessage(QStringLiteral("至少需要选择一项清除项目！"));
    return;
  }
  if (TDialogs::MessageBox(QStringLiteral("系统重建将清除所有数据，请确认您已经备份了数据库，是否继续？"), Caption(),
                           MB_YESNO | MB_ICONWARNING) != IDYES)
    return;
  const bool ClearBasic = chkBasic->Checked();
  try {
    ExecAllSQL(ClearBasic);
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("系统重建失败，数据没有清除！\n") + E.Message());
    return;
  }
  const String AppPath = Settings().GAppPath;
  ClearFolder(ResolvePath(AppPath, QStringLiteral("db/ContractFile")));
  if (ClearBasic) ClearFolder(ResolvePath(AppPath, QStringLiteral("db/ModelFiles")));
  FRebuilt = true;
  ShowAppMessage(QStringLiteral("系统重建完成！"));
  SetModalResult(mrOk);
}

bool ShowReBulid() {
  TfrmReBulid Form(nullptr);
  Form.ShowModal();
  return Form.Rebuilt();
}
