#include "app/uPassSet.h"
#include "app/FormControls.h"
#include "app/AppMessages.h"
#include "app/LoginPassword.h"
#include "app/uDM.h"
#include "platform/ui/StdCtrls.h"

TfrmPassSet::TfrmPassSet(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(QStringLiteral("参数修改密码设置"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(340);
  SetClientHeight(260);

  struct TBox { const char* Name; const char* Caption; TEdit** Edit; };
  Integer Top = 16;
  for (const TBox& Box : {TBox{"EditOldPass", "原密码", &EditOldPass}, TBox{"EditNewPass", "新密码", &EditNewPass},
                          TBox{"EditConfirmPass", "确认新密码", &EditConfirmPass}}) {
    const String Name = QString::fromLatin1(Box.Name);
    PlaceControl<TLabel>(this, QStringLiteral("lbl") + Name.mid(4), 20, Top + 4, 80, 16)
        ->SetCaption(QString::fromUtf8(Box.Caption));
    *Box.Edit = PlaceControl<TEdit>(this, Name, 110, Top, 200, 22);
    (*Box.Edit)->SetPasswordChar(u'*');
    Top += 30;
  }
  PlaceControl<TLabel>(this, QStringLiteral("lblInitial"), 110, Top, 200, 16)->SetCaption(QStringLiteral("初始密码为729"));

  grpHint = PlaceControl<TGroupBox>(this, QStringLiteral("grpHint"), 12, Top + 24, 316, 84);
  grpHint->SetCaption(QStringLiteral("提示"));
  Integer LineTop = 18;
  for (const char* Line : {"如果密码修改为初始密码为空（或729），则表示", "登陆不需要输入密码！否则，表示登陆（清除数据",
                           "以及还原数据）需要输入密码。"}) {
    PlaceControl<TLabel>(grpHint, QStringLiteral("lblHint%1").arg(LineTop), 10, LineTop, 296, 16)
        ->SetCaption(QString::fromUtf8(Line));
    LineTop += 20;
  }

  btnOK = PlaceControl<TButton>(this, QStringLiteral("btnOK"), 80, 222, 80, 26);
  btnOK->SetCaption(QStringLiteral("确认(&E)"));
  btnOK->OnClick = [this](TObject*) { btnOKClick(); };
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 180, 222, 80, 26);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
}

void TfrmPassSet::btnOKClick() {
  if (EditNewPass->Text() != EditConfirmPass->Text()) {
    ShowAppMessage(QStringLiteral("新密码与确认输入的新密码不一致！"));
    EditNewPass->Clear();
    EditConfirmPass->Clear();
    return;
  }
  String Stored;
  try {
    TADODataSet Para;
    Para.SetConnection(DM->ADOLocal);
    Para.SetCommandText(QStringLiteral("Select LogPass from TPara LIMIT 1"));
    Para.Open();
    if (Para.IsEmpty()) throw EDatabaseError(QStringLiteral("no settings row"));
    Stored = Para.Fields()->Fields(0)->AsString();
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("读取数据文件发生错误！"));
    return;
  }
  if (!PasswordMatches(Stored, EditOldPass->Text())) {
    ShowAppMessage(QStringLiteral("要修改密码，必须输入正确的原密码！"));
    EditOldPass->Clear();
    if (EditOldPass->CanFocus()) EditOldPass->SetFocus();
    return;
  }
  try {
    StoreLoginPassword(EditNewPass->Text());
    ShowAppMessage(QStringLiteral("修改密码成功！"));
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("存储数据发生错误！"));
  }
  SetModalResult(mrOk);
}

void ShowPassSet() {
  TfrmPassSet Form(nullptr);
  Form.ShowModal();
}
