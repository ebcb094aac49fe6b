#include "app/uGZSetEdit.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StdCtrls.h"

namespace {

const String TaxFormula = QStringLiteral("[&个税]");

void AddLabel(TForm* Form, const String& Text, Integer Left, Integer Top, Integer Width = 110) {
  auto* Label = PlaceControl<TLabel>(Form, String(), Left, Top + 4, Width, 16);
  Label->SetCaption(Text);
}

}  // namespace

TfrmGZSetEdit::TfrmGZSetEdit(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmGZSetEdit"));
  SetCaption(QStringLiteral("修改工资设置"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(420);
  SetClientHeight(190);

  AddLabel(this, QStringLiteral("工资项目名称"), 16, 16);
  EditName = PlaceControl<TEdit>(this, QStringLiteral("EditName"), 130, 16, 270, 22);
  EditName->OnExit = [this](TObject*) { EditNameExit(); };
  AddLabel(this, QStringLiteral("是否启用"), 16, 48);
  cmbUseStu = PlaceControl<TComboBox>(this, QStringLiteral("cmbUseStu"), 130, 48, 100, 22);
  cmbUseStu->SetStyle(csDropDownList);
  cmbUseStu->Items()->Add(QStringLiteral("启用"));
  cmbUseStu->Items()->Add(QStringLiteral("禁用"));
  AddLabel(this, QStringLiteral("计算公式"), 16, 80);
  EditCalcStr = PlaceControl<TEdit>(this, QStringLiteral("EditCalcStr"), 130, 80, 210, 22);
  btnTax = PlaceControl<TButton>(this, QStringLiteral("btnTax"), 346, 79, 54, 24);
  btnTax->SetCaption(QStringLiteral("个税"));
  btnTax->OnClick = [this](TObject*) { EditCalcStr->SetText(TaxFormula); };
  AddLabel(this, QStringLiteral("如：   ([基本工资]+[岗位工资])*0.15"), 130, 108, 270);

  btnSave = PlaceControl<TButton>(this, QStringLiteral("btnSave"), 200, 148, 96, 28);
  btnSave->SetCaption(QStringLiteral("保存(&S)"));
  btnSave->OnClick = [this](TObject*) { btnSaveClick(); };
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 304, 148, 96, 28);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
  OnShow = [this](TObject*) { SetActiveControl(EditName); };
}

void TfrmGZSetEdit::EditNameExit() {
  const String Caption = EditName->Text();
  if (!Caption.contains(u'个') || !Caption.contains(u'税')) return;
  const String Question = QStringLiteral("当前输入的项目可能是个人所得税。\r本软件支持自动计算个人所得税，是否设置为自动计算？");
  if (TDialogs::MessageBox(Question, Application->Title(), MB_YESNO | MB_ICONINFORMATION) == IDNO) return;
  EditCalcStr->SetText(TaxFormula);
  ShowAppMessage(QStringLiteral("请打开功能 [系统参数设置]\\[个人所得税规则设置] 设置缴税规则和不纳税上限。"));
}

void TfrmGZSetEdit::btnSaveClick() {
  if (EditName->Text().isEmpty()) {
    ShowAppMessage(QStringLiteral("请务必输入工资项目名称！"));
    return;
  }
  SetModalResult(mrOk);
}

bool EditGZSetItem(String& Caption, String& Formula, Integer& State) {
  TfrmGZSetEdit Form(nullptr);
  Form.EditName->SetText(Caption);
  Form.EditCalcStr->SetText(Formula);
  Form.cmbUseStu->SetItemIndex(State == 1 ? 1 : 0);
  const bool Saved = Form.ShowModal() == mrOk;
  Caption = Form.EditName->Text();
  Formula = Form.EditCalcStr->Text();
  State = Form.cmbUseStu->ItemIndex();
  return Saved;
}
