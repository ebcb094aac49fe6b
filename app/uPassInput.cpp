#include "app/uPassInput.h"
#include "app/FormControls.h"
#include "platform/ui/StdCtrls.h"

TfrmPassInput::TfrmPassInput(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(QStringLiteral("请输入密码"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(300);
  SetClientHeight(110);

  lblHint = PlaceControl<TLabel>(this, QStringLiteral("lblHint"), 20, 14, 260, 16);
  // The first control in tab order: it has the focus when the prompt opens.
  EditPass = PlaceControl<TEdit>(this, QStringLiteral("EditPass"), 20, 36, 260, 22);
  EditPass->SetPasswordChar(u'*');
  btnOK = PlaceControl<TButton>(this, QStringLiteral("btnOK"), 60, 72, 80, 26);
  btnOK->SetCaption(QStringLiteral("确认(&E)"));
  btnOK->SetDefault(true);
  btnOK->SetModalResult(mrOk);
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 160, 72, 80, 26);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
}

String InputPass(const String& Caption, const String& Hint) {
  TfrmPassInput Form(nullptr);
  Form.SetCaption(Caption);
  Form.lblHint->SetCaption(Hint);
  Form.ShowModal();
  return Form.EditPass->Text();
}
