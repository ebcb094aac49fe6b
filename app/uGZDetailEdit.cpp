#include "app/uGZDetailEdit.h"
#include "app/AppMessages.h"
#include "app/MaskedNumber.h"
#include "app/TaxBrackets.h"
#include "app/uBMYCalcParams.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "app/uZWDict.h"
#include "platform/rtl/Files.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const String ReadFailed = QStringLiteral("读取数据库发生错误！");
const String TwoDecimals = QStringLiteral("0.00");
const String BaseMonth = QStringLiteral("BASE");

// The columns an item of the group may name: GZ1..GZ30 or KK1..KK15.
bool IsItemColumn(TSlotGroup Group, const String& Field) {
  static const QRegularExpression Earnings(QStringLiteral("^GZ([1-9]|[12][0-9]|30)$"),
                                           QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression Deductions(QStringLiteral("^KK([1-9]|1[0-5])$"),
                                             QRegularExpression::CaseInsensitiveOption);
  return (Group == sgEarnings ? Earnings : Deductions).match(Field.trimmed()).hasMatch();
}

Extended BoxNumber(const String& Text) { return StrToFloat(NormalizeNumText(Text)); }

}  // namespace

TfrmGZDetailEdit::TfrmGZDetailEdit(TComponent* AOwner, Integer ID, const String& Month)
    : TForm(AOwner), FID(ID), FMonth(Month), dsGZ(new TADODataSet(this)) {
  dsGZ->SetConnection(DM->ADOLocal);
  dsGZ->SetLockType(ltOptimistic);
  CreateControls();
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { EnterToNextControl(this, Key, Shift); };
}

TEdit* TfrmGZDetailEdit::SlotBox(TSlotGroup Group, Integer Index) const {
  return Group == sgEarnings ? FEarningBoxes.at(size_t(Index)) : FDeductionBoxes.at(size_t(Index));
}

TLabel* TfrmGZDetailEdit::SlotLabel(TSlotGroup Group, Integer Index) const {
  return Group == sgEarnings ? FEarningLabels.at(size_t(Index)) : FDeductionLabels.at(size_t(Index));
}

void TfrmGZDetailEdit::ApplyAttendanceMode() {
  const auto SetHoursEnabled = [this](bool Enabled) {
    EditHours->SetEnabled(Enabled);
    EditHours->SetColor(Enabled ? clWindow : clBtnFace);
  };
  const TPubSettings& S = Settings();
  switch (S.GPrintDays) {
    case 1:
      lblPayStandard->SetCaption(QStringLiteral("工资/天"));
      SetHoursEnabled(false);
      break;
    case 2:
      lblPayStandard->SetCaption(QStringLiteral("工资/小时"));
      SetHoursEnabled(true);
      break;
    case 3:
      lblPayStandard->SetCaption(QStringLiteral("工资/") + S.GJJUnit);
      lblDays->SetCaption(QStringLiteral("完工件数"));
      SetHoursEnabled(false);
      EditDays->SetEditMask(QStringLiteral("9999.9"));
      break;
    default:
      break;
  }
}

void TfrmGZDetailEdit::FillLists() {
  // The lists offer what the most recently created other month used.
  String Reference = DM->GetDataBySQL(QStringLiteral("Select GZMonth from TGZMonth where GZMonth<>") +
                                      QuotedStr(FMonth) + QStringLiteral(" Order by ID desc LIMIT 1"));
  if (Reference.isEmpty()) Reference = FMonth;
  const String Where = QStringLiteral(" from TGZ where GZMonth=") + QuotedStr(Reference);
  cmbDepart->Items()->Clear();
  cmbEmpName->Items()->Clear();
  cmbZWName->Items()->Clear();
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct DepartName") + Where + QStringLiteral(" order by DepartName"),
                          cmbDepart->Items(), true);
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct EmpName") + Where + QStringLiteral(" order by EmpName"),
                          cmbEmpName->Items(), true);
  const String TitlesFile = JobTitlesFile();
  if (FileExists(TitlesFile)) {
    try {
      cmbZWName->Items()->LoadFromFile(TitlesFile);
    } catch (const Exception&) {
      cmbZWName->Items()->Clear();
    }
  } else {
    DM->GetDataBySQLToItems(QStringLiteral("Select Distinct ZWName") + Where + QStringLiteral(" order by ZWName"),
                            cmbZWName->Items(), true);
  }
}

void TfrmGZDetailEdit::LoadRecord() {
  dsGZ->Close();
  dsGZ->SetCommandText(QStringLiteral("Select * from TGZ where ID=") + IntToStr(FID));
  dsGZ->Open();
  const auto Text = [this](const char* Field) { return dsGZ->FieldByName(QLatin1String(Field))->AsString(); };
  const auto Number = [this](const char* Field, const String& Format) {
    return FormatFloat(Format, dsGZ->FieldByName(QLatin1String(Field))->AsFloat());
  };
  cmbDepart->SetText(Text("DepartName"));
  cmbEmpName->SetText(Text("EmpName"));
  EditEmpCode->SetText(Text("EmpCode"));
  cmbZWName->SetText(Text("ZWName"));
  EditEMail->SetText(Text("EMail"));
  EditQM->SetText(Text("QM"));
  EditMobileCode->SetText(Text("MobileCode"));
  EditBankNo->SetText(Text("BankNo"));
  EditPayStandard->SetText(Number("OneDayMOney", AmountFormat()));
  EditHours->SetText(AlignToNumberMask(Number("HourCount", QStringLiteral("0.0")), EditHours->EditMask()));
  EditDays->SetText(AlignToNumberMask(Number("WorkDays", TwoDecimals), EditDays->EditMask()));
}

std::vector<TPayItem> TfrmGZDetailEdit::ReadItems(TSlotGroup Group) {
  const String Kind = Group == sgEarnings ? QStringLiteral("0") : QStringLiteral("1");
  TADODataSet Items;
  Items.SetConnection(DM->ADOLocal);
  for (const String& Month : {FMonth, BaseMonth}) {
    Items.Close();
    Items.SetCommandText(QStringLiteral("Select * from TGZSet where GZMonth=") + QuotedStr(Month) +
                         QStringLiteral(" and GZType=") + Kind + QStringLiteral(" and ShowStu=0 Order by SortIdx"));
    Items.Open();
    if (!Items.IsEmpty()) break;
  }
  std::vector<TPayItem> Result;
  for (Items.First(); !Items.Eof() && Integer(Result.size()) < FCalc.SlotCount(Group); Items.Next()) {
    TPayItem Item{Items.FieldByName(QStringLiteral("GZName"))->AsString(),
                  Items.FieldByName(QStringLiteral("GZField1"))->AsString().trimmed(),
                  Items.FieldByName(QStringLiteral("CalcStr"))->AsString()};
    // An item naming another column would overwrite names or totals with its amount.
    if (IsItemColumn(Group, Item.GZField1)) Result.push_back(std::move(Item));
  }
  return Result;
}

void TfrmGZDetailEdit::LoadSlots(TSlotGroup Group) {
  FCalc.SetItems(Group, ReadItems(Group));
  const std::vector<TPayItem>& Items = FCalc.Items(Group);
  for (Integer k = 0; k < FCalc.SlotCount(Group); ++k) {
    TPaySlot& Slot = FCalc.Slot(Group, k);
    if (Slot.Visible) {
      const String Shown = FormatFloat(AmountFormat(), dsGZ->FieldByName(Items[size_t(k)].GZField1)->AsFloat());
      Slot.Text = Shown == QLatin1String("0") ? String() : Shown;
    }
    SlotLabel(Group, k)->SetCaption(Slot.Caption);
    SlotLabel(Group, k)->SetVisible(Slot.Visible);
    SlotBox(Group, k)->SetVisible(Slot.Visible);
  }
}

bool TfrmGZDetailEdit::ReadyData() {
  ApplyAttendanceMode();
  EditMonth->SetText(FMonth);
  FillLists();
  try {
    LoadRecord();
    LoadSlots(sgEarnings);
    LoadSlots(sgDeductions);
    FCalc.TaxBrackets = ReadTaxBrackets();
  } catch (const Exception&) {
    ShowAppMessage(ReadFailed);
    return false;
  }
  FCalc.AutoCalc();
  ShowCalcResults();
  return true;
}

void TfrmGZDetailEdit::ShowCalcResults() {
  FShowingResults = true;
  for (TSlotGroup Group : {sgEarnings, sgDeductions})
    for (Integer k = 0; k < FCalc.SlotCount(Group); ++k) SlotBox(Group, k)->SetText(FCalc.Slot(Group, k).Text);
  EditYFTotal->SetText(FCalc.YFTotalText);
  EditKKTotal->SetText(FCalc.KKTotalText);
  EditGZTotal->SetText(FCalc.GZTotalText);
  FShowingResults = false;
}

void TfrmGZDetailEdit::Calculate(const std::function<void()>& Calculation) {
  FCalc.DaysText = EditDays->Text();
  FCalc.HoursText = EditHours->Text();
  FCalc.PayStandardText = EditPayStandard->Text();
  try {
    Calculation();
  } catch (const EConvertError& E) {
    ShowCalcResults();
    ShowAppMessage(E.Message());
    return;
  }
  ShowCalcResults();
}

void TfrmGZDetailEdit::SlotChanged(TSlotGroup Group, Integer Index) {
  if (FShowingResults) return;
  FCalc.Slot(Group, Index).Text = SlotBox(Group, Index)->Text();
  Calculate([this] { FCalc.AutoCalc(); });
}

void TfrmGZDetailEdit::SlotExit() {
  Calculate([this] { FCalc.ReCalcAll(); });
}

// Control characters are the box's editing commands (Backspace, Ctrl+A, Ctrl+C, Ctrl+V, ...),
// never typed text: they pass, so that selecting all and then typing replaces the amount.
void TfrmGZDetailEdit::AmountKeyPress(QChar& Key) {
  const bool Accepted = Key.unicode() < 0x20 || Key.isDigit() || Key == u'.' || Key == u'-';
  if (!Accepted) Key = QChar();
}

void TfrmGZDetailEdit::btnProrateClick() {
  Extended DaysWorked = 0;
  try {
    DaysWorked = BoxNumber(EditDays->Text());
  } catch (const EConvertError& E) {
    ShowAppMessage(E.Message());
    return;
  }
  Extended DaysToWork = 0;
  if (!EditBMYCalcParams(DaysToWork, DaysWorked)) return;
  Calculate([this, DaysToWork, DaysWorked] { FCalc.Prorate(DaysToWork, DaysWorked); });
}

void TfrmGZDetailEdit::btnAttendanceClick() {
  Calculate([this] { FCalc.AttendanceProduct(); });
}

void TfrmGZDetailEdit::StartCalculator() {
  for (const char* Program : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"}) {
    if (!QStandardPaths::findExecutable(QLatin1String(Program)).isEmpty()) {
      ShellOpen(QLatin1String(Program), String());
      return;
    }
  }
}

bool TfrmGZDetailEdit::SaveData() {
  const String Depart = cmbDepart->Text();
  const String Name = cmbEmpName->Text();
  if (Depart.isEmpty()) {
    ShowAppMessage(QStringLiteral("请选择或输入部门！"));
    return false;
  }
  if (Name.isEmpty()) {
    ShowAppMessage(QStringLiteral("请选择或输入姓名！"));
    return false;
  }
  const String Title = cmbZWName->Text().isEmpty() ? QStringLiteral(" ") : cmbZWName->Text();

  // Every number is read before anything is written, so a box that holds no
  // number leaves the record as it was.
  struct TNumber { String Field; Extended Value; };
  std::vector<TNumber> Numbers;
  try {
    Numbers.push_back({QStringLiteral("OneDayMOney"), BoxNumber(EditPayStandard->Text())});
    Numbers.push_back({QStringLiteral("WorkDays"), BoxNumber(EditDays->Text())});
    Numbers.push_back({QStringLiteral("HourCount"), BoxNumber(EditHours->Text())});
    for (TSlotGroup Group : {sgEarnings, sgDeductions})
      for (Integer k = 0; k < FCalc.SlotCount(Group); ++k)
        if (FCalc.Slot(Group, k).Visible)
          Numbers.push_back({FCalc.Items(Group)[size_t(k)].GZField1, BoxNumber(SlotBox(Group, k)->Text())});
    FCalc.AutoCalc();
    ShowCalcResults();
    Numbers.push_back({QStringLiteral("YFTotal"), BoxNumber(EditYFTotal->Text())});
    Numbers.push_back({QStringLiteral("KKTotal"), BoxNumber(EditKKTotal->Text())});
    Numbers.push_back({QStringLiteral("GZTotal"), BoxNumber(EditGZTotal->Text())});
  } catch (const EConvertError& E) {
    ShowAppMessage(E.Message());
    return false;
  }

  try {
    if (dsGZ->IsEmpty())
      dsGZ->Append();
    else
      dsGZ->Edit();
    if (FID < 1) dsGZ->FieldByName(QStringLiteral("LOGTime"))->SetAsDateTime(Now());
    const auto SetText = [this](const char* Field, const String& Value) {
      dsGZ->FieldByName(QLatin1String(Field))->SetAsString(Value);
    };
    SetText("GZMonth", EditMonth->Text());
    SetText("DepartName", Depart);
    SetText("EmpCode", EditEmpCode->Text());
    SetText("EMail", EditEMail->Text());
    SetText("EmpName", Name);
    SetText("ZWName", Title);
    SetText("QM", EditQM->Text());
    SetText("MobileCode", EditMobileCode->Text());
    SetText("BankNo", EditBankNo->Text());
    for (const TNumber& N : Numbers) dsGZ->FieldByName(N.Field)->SetAsFloat(double(N.Value));
    dsGZ->Post();
  } catch (const Exception&) {
    if (dsGZ->Active()) dsGZ->Cancel();
    ShowAppMessage(QStringLiteral("存储数据库发生错误！"));
    return false;
  }
  return true;
}

void TfrmGZDetailEdit::btnSaveClick() {
  if (!SaveData()) return;
  FSaved = true;
  SetModalResult(mrOk);
}

bool EditGZDetail(Integer ID, const String& Month) {
  TfrmGZDetailEdit Form(nullptr, ID, Month);
  if (!Form.ReadyData()) return false;
  Form.ShowModal();
  return Form.Saved();
}
