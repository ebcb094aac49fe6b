#include "app/uGSBaseSetEdit.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "app/MaskedNumber.h"
#include "app/uPub.h"
#include "platform/db/ADODB.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

namespace {

const String AmountMask = QStringLiteral("999999999.99;1;_");

TMaskEdit* NumberBox(TForm* Form, const String& Name, const String& Caption, Integer Top, const String& Mask) {
  auto* Label = PlaceControl<TLabel>(Form, String(), 16, Top + 4, 150, 16);
  Label->SetCaption(Caption);
  auto* Box = PlaceControl<TMaskEdit>(Form, Name, 170, Top, 130, 22);
  Box->SetEditMask(Mask);
  return Box;
}

Extended Number(const TMaskEdit* Box) { return StrToFloat(NormalizeNumText(Box->Text())); }

void ShowNumber(TMaskEdit* Box, Extended Value) {
  Box->SetText(AlignToNumberMask(FormatFloat(QStringLiteral("0.00"), Value), Box->EditMask()));
}

}  // namespace

TfrmGSBaseSetEdit::TfrmGSBaseSetEdit(TComponent* AOwner, TADODataSet* Brackets, TGSModelEditMode Mode)
    : TForm(AOwner), FBrackets(Brackets), FMode(Mode) {
  SetName(QStringLiteral("frmGSBaseSetEdit"));
  SetCaption(QStringLiteral("新增/修改个税设置"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(330);
  SetClientHeight(190);

  auto* LevelLabel = PlaceControl<TLabel>(this, String(), 16, 20, 150, 16);
  LevelLabel->SetCaption(QStringLiteral("等级"));
  cmbClassIdx = PlaceControl<TComboBox>(this, QStringLiteral("cmbClassIdx"), 170, 16, 60, 22);
  cmbClassIdx->SetStyle(csDropDownList);
  for (int Level = 1; Level <= 9; ++Level) cmbClassIdx->Items()->Add(String::number(Level));
  cmbClassIdx->SetEnabled(false);
  EditYNSTotal = NumberBox(this, QStringLiteral("EditYNSTotal"), QStringLiteral("全月应纳税所得额<="), 46, AmountMask);
  EditSLRate = NumberBox(this, QStringLiteral("EditSLRate"), QStringLiteral("税率(%)"), 76, QStringLiteral("99.99;1;_"));
  EditSQKCS = NumberBox(this, QStringLiteral("EditSQKCS"), QStringLiteral("速算扣除数"), 106, AmountMask);

  btnOk = PlaceControl<TButton>(this, QStringLiteral("btnOk"), 110, 148, 96, 28);
  btnOk->SetCaption(QStringLiteral("确认(&E)"));
  btnOk->OnClick = [this](TObject*) { btnOkClick(); };
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 216, 148, 96, 28);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { EnterToNextControl(this, Key, Shift); };
  OnShow = [this](TObject*) { SetActiveControl(EditYNSTotal); };

  if (Mode == gemEdit) {
    ShowNumber(EditYNSTotal, Brackets->FieldByName(QStringLiteral("YNSTotal"))->AsFloat());
    ShowNumber(EditSLRate, Brackets->FieldByName(QStringLiteral("SLRate"))->AsFloat());
    ShowNumber(EditSQKCS, Brackets->FieldByName(QStringLiteral("SQKCS"))->AsFloat());
    cmbClassIdx->SetItemIndex(Brackets->FieldByName(QStringLiteral("ClassIdx"))->AsInteger() - 1);
  } else {
    // The next level; none when all nine exist.
    const Integer Next = Brackets->RecordCount();
    cmbClassIdx->SetItemIndex(Next < cmbClassIdx->Items()->Count() ? Next : -1);
  }
}

void TfrmGSBaseSetEdit::btnOkClick() {
  try {
    const Extended Bound = Number(EditYNSTotal);
    if (FMode == gemAdd) FBrackets->Append();
    else FBrackets->Edit();
    FBrackets->FieldByName(QStringLiteral("YNSTotal"))->SetAsFloat(Bound);
    FBrackets->FieldByName(QStringLiteral("YNSTotalNJ"))->SetAsFloat(Bound);
    FBrackets->FieldByName(QStringLiteral("SLRate"))->SetAsFloat(Number(EditSLRate));
    FBrackets->FieldByName(QStringLiteral("SQKCS"))->SetAsFloat(Number(EditSQKCS));
    FBrackets->FieldByName(QStringLiteral("ClassIdx"))->SetAsInteger(cmbClassIdx->ItemIndex() + 1);
    FBrackets->Post();
  } catch (const Exception&) {
    if (FBrackets->State() != dsBrowse) FBrackets->Cancel();
    ShowAppMessage(QStringLiteral("存储数据发生错误！"));
    return;
  }
  SetModalResult(mrOk);
}

void EditGSModel(TADODataSet* Brackets, TGSModelEditMode Mode) {
  TfrmGSBaseSetEdit Form(nullptr, Brackets, Mode);
  Form.ShowModal();
}
