// The controls of the pay record editor, created in tab order.
#include "app/uGZDetailEdit.h"
#include "app/FormControls.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

namespace {

TLabel* AddLabel(TWinControl* Parent, const String& Name, const String& Text, Integer Left, Integer Top) {
  auto* Label = PlaceControl<TLabel>(Parent, Name, Left, Top + 4, 70, 16);
  Label->SetCaption(Text);
  return Label;
}

TEdit* ReadOnlyBox(TWinControl* Parent, const String& Name, Integer Left, Integer Top, Integer Width) {
  auto* Box = PlaceControl<TEdit>(Parent, Name, Left, Top, Width, 22);
  Box->SetReadOnly(true);
  Box->SetColor(clBtnFace);
  Box->SetTabStop(false);
  return Box;
}

constexpr Integer SlotColumns = 5;
constexpr Integer SlotWidth = 136;
constexpr Integer SlotPitchX = 146;
constexpr Integer SlotPitchY = 40;

}  // namespace

void TfrmGZDetailEdit::CreateControls() {
  SetCaption(QStringLiteral("新增/修改工资明细"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(760);
  SetClientHeight(628);

  AddLabel(this, QStringLiteral("lblMonth"), QStringLiteral("月度"), 12, 12);
  EditMonth = ReadOnlyBox(this, QStringLiteral("EditMonth"), 84, 12, 100);
  AddLabel(this, QStringLiteral("lblDepart"), QStringLiteral("部门"), 200, 12);
  cmbDepart = PlaceControl<TComboBox>(this, QStringLiteral("cmbDepart"), 272, 12, 120, 22);
  AddLabel(this, QStringLiteral("lblEmpName"), QStringLiteral("姓名"), 408, 12);
  cmbEmpName = PlaceControl<TComboBox>(this, QStringLiteral("cmbEmpName"), 480, 12, 100, 22);
  AddLabel(this, QStringLiteral("lblEmpCode"), QStringLiteral("职员编码"), 596, 12);
  EditEmpCode = PlaceControl<TEdit>(this, QStringLiteral("EditEmpCode"), 668, 12, 80, 22);

  AddLabel(this, QStringLiteral("lblZWName"), QStringLiteral("职务"), 12, 42);
  cmbZWName = PlaceControl<TComboBox>(this, QStringLiteral("cmbZWName"), 84, 42, 100, 22);
  lblDays = AddLabel(this, QStringLiteral("lblDays"), QStringLiteral("出勤天数"), 200, 42);
  EditDays = PlaceControl<TMaskEdit>(this, QStringLiteral("EditDays"), 272, 42, 120, 22);
  EditDays->SetEditMask(QStringLiteral("999.99"));
  lblHours = AddLabel(this, QStringLiteral("lblHours"), QStringLiteral("出勤小时"), 408, 42);
  EditHours = PlaceControl<TMaskEdit>(this, QStringLiteral("EditHours"), 480, 42, 100, 22);
  EditHours->SetEditMask(QStringLiteral("9999.9"));
  lblPayStandard = AddLabel(this, QStringLiteral("lblPayStandard"), QStringLiteral("工资/天"), 596, 42);
  EditPayStandard = PlaceControl<TEdit>(this, QStringLiteral("EditPayStandard"), 668, 42, 80, 22);
  EditPayStandard->OnKeyPress = [this](TObject*, QChar& Key) { AmountKeyPress(Key); };

  AddLabel(this, QStringLiteral("lblEMail"), QStringLiteral("E-Mail"), 12, 72);
  EditEMail = PlaceControl<TEdit>(this, QStringLiteral("EditEMail"), 84, 72, 180, 22);
  EditEMail->SetHint(QStringLiteral("需要自动发送电子工资条时设定"));
  EditEMail->SetShowHint(true);
  AddLabel(this, QStringLiteral("lblMobileCode"), QStringLiteral("手机号码"), 280, 72);
  EditMobileCode = PlaceControl<TEdit>(this, QStringLiteral("EditMobileCode"), 352, 72, 140, 22);
  AddLabel(this, QStringLiteral("lblBankNo"), QStringLiteral("银行账号"), 508, 72);
  EditBankNo = PlaceControl<TEdit>(this, QStringLiteral("EditBankNo"), 580, 72, 168, 22);
  AddLabel(this, QStringLiteral("lblQM"), QStringLiteral("签名/备注"), 12, 102);
  EditQM = PlaceControl<TEdit>(this, QStringLiteral("EditQM"), 84, 102, 664, 22);

  grpEarnings = PlaceControl<TGroupBox>(this, QStringLiteral("grpEarnings"), 8, 132, 744, 6 * SlotPitchY + 24);
  grpEarnings->SetCaption(QStringLiteral("应发工资项目"));
  CreateSlots(sgEarnings);
  grpDeductions = PlaceControl<TGroupBox>(this, QStringLiteral("grpDeductions"), 8, 404, 744, 3 * SlotPitchY + 24);
  grpDeductions->SetCaption(QStringLiteral("应扣代扣工资项目"));
  CreateSlots(sgDeductions);

  AddLabel(this, QStringLiteral("lblYFTotal"), QStringLiteral("应发合计"), 12, 558);
  EditYFTotal = ReadOnlyBox(this, QStringLiteral("EditYFTotal"), 84, 558, 120);
  AddLabel(this, QStringLiteral("lblKKTotal"), QStringLiteral("应扣合计"), 260, 558);
  EditKKTotal = ReadOnlyBox(this, QStringLiteral("EditKKTotal"), 332, 558, 120);
  AddLabel(this, QStringLiteral("lblGZTotal"), QStringLiteral("实发工资"), 508, 558);
  EditGZTotal = ReadOnlyBox(this, QStringLiteral("EditGZTotal"), 580, 558, 120);

  btnProrate = PlaceControl<TButton>(this, QStringLiteral("btnProrate"), 8, 592, 170, 28);
  btnProrate->SetCaption(QStringLiteral("应发工资不满1月自动计算"));
  btnProrate->OnClick = [this](TObject*) { btnProrateClick(); };
  btnAttendance = PlaceControl<TButton>(this, QStringLiteral("btnAttendance"), 184, 592, 190, 28);
  btnAttendance->SetCaption(QStringLiteral("第一应发项目=出勤时间X单价"));
  btnAttendance->OnClick = [this](TObject*) { btnAttendanceClick(); };
  btnCalculator = PlaceControl<TButton>(this, QStringLiteral("btnCalculator"), 380, 592, 120, 28);
  btnCalculator->SetCaption(QStringLiteral("调用系统计算器"));
  btnCalculator->OnClick = [](TObject*) { StartCalculator(); };
  btnSave = PlaceControl<TButton>(this, QStringLiteral("btnSave"), 564, 592, 88, 28);
  btnSave->SetCaption(QStringLiteral("保存(&S)"));
  btnSave->OnClick = [this](TObject*) { btnSaveClick(); };
  btnCancel = PlaceControl<TButton>(this, QStringLiteral("btnCancel"), 660, 592, 88, 28);
  btnCancel->SetCaption(QStringLiteral("取消(&X)"));
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
}

void TfrmGZDetailEdit::CreateSlots(TSlotGroup Group) {
  const bool Earnings = Group == sgEarnings;
  TGroupBox* Parent = Earnings ? grpEarnings : grpDeductions;
  const String Prefix = Earnings ? QStringLiteral("YF") : QStringLiteral("KK");
  for (Integer k = 0; k < FCalc.SlotCount(Group); ++k) {
    const Integer Left = 10 + (k % SlotColumns) * SlotPitchX;
    const Integer Top = 18 + (k / SlotColumns) * SlotPitchY;
    auto* Label = PlaceControl<TLabel>(Parent, QStringLiteral("lbl%1%2").arg(Prefix).arg(k + 1), Left, Top, SlotWidth, 16);
    auto* Box = PlaceControl<TEdit>(Parent, QStringLiteral("Edit%1%2").arg(Prefix).arg(k + 1), Left, Top + 16, SlotWidth, 22);
    Box->OnChange = [this, Group, k](TObject*) { SlotChanged(Group, k); };
    Box->OnExit = [this](TObject*) { SlotExit(); };
    Box->OnKeyPress = [this](TObject*, QChar& Key) { AmountKeyPress(Key); };
    (Earnings ? FEarningLabels[size_t(k)] : FDeductionLabels[size_t(k)]) = Label;
    (Earnings ? FEarningBoxes[size_t(k)] : FDeductionBoxes[size_t(k)]) = Box;
  }
}
