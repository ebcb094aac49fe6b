#include "app/uBMYCalcParams.h"
#include "app/FormControls.h"
#include "app/AppMessages.h"
#include "app/PayRecordCalc.h"
#include "app/uPub.h"
#include "platform/ui/Mask.h"

namespace {

// The box's number; the mask leaves blanks in the positions not typed.
Extended BoxNumber(const TMaskEdit* Box) {
  return StrToFloat(NormalizeNumText(Box->Text()));
}

}  // namespace

TfrmBMYCalcParams::TfrmBMYCalcParams(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(QStringLiteral("应发工资不满1月自动计算参数"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(280);
  SetClientHeight(128);

  Label1 = PlaceControl<TLabel>(this, QStringLiteral("Label1"), 24, 22, 110, 16);
  Label1->SetCaption(QStringLiteral("本月应上班天数"));
  EditDaysToWork = PlaceControl<TMaskEdit>(this, QStringLiteral("EditDaysToWork"), 150, 18, 80, 22);
  EditDaysToWork->SetEditMask(QStringLiteral("99"));
  EditDaysToWork->SetText(QStringLiteral("22"));

  Label2 = PlaceControl<TLabel>(this, QStringLiteral("Label2"), 24, 54, 120, 16);
  Label2->SetCaption(QStringLiteral("本月实际上班天数"));
  EditDaysWorked = PlaceControl<TMaskEdit>(this, QStringLiteral("EditDaysWorked"), 150, 50, 80, 22);
  EditDaysWorked->SetEditMask(QStringLiteral("99.99"));

  btnOK = PlaceControl<TButton>(this, QStringLiteral("btnOK"), 50, 90, 80, 26);
  btnOK->SetCaption(QStringLiteral("确认(&E)"));
  btnOK->OnClick = [this](TObject* Sender) { btnOKClick(Sender); };
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 150, 90, 80, 26);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetModalResult(mrCancel);
}

Extended TfrmBMYCalcParams::DaysToWork() const { return BoxNumber(EditDaysToWork); }

Extended TfrmBMYCalcParams::DaysWorked() const { return BoxNumber(EditDaysWorked); }

void TfrmBMYCalcParams::SetDaysWorked(Extended Value) {
  EditDaysWorked->SetText(FormatFloat(QStringLiteral("0.00"), Value));
}

void TfrmBMYCalcParams::btnOKClick(TObject*) {
  const String Refused = ProrationParamsError(DaysToWork(), DaysWorked());
  if (Refused.isEmpty())
    SetModalResult(mrOk);
  else
    ShowAppMessage(Refused);
}

bool EditBMYCalcParams(Extended& DaysToWork, Extended& DaysWorked) {
  TfrmBMYCalcParams Form(nullptr);
  Form.SetDaysWorked(DaysWorked);
  if (Form.ShowModal() != mrOk) return false;
  DaysToWork = Form.DaysToWork();
  DaysWorked = Form.DaysWorked();
  return true;
}
