#include "app/PayRecordCalc.h"
#include "app/AppMessages.h"
#include "app/uPub.h"
#include <cmath>

const String TPayRecordCalc::TaxMarker = QStringLiteral("[&个税]");

namespace {

const String TwoDecimals = QStringLiteral("0.00");

// What a box shows for an amount. A box never shows an infinity: an amount beyond the
// extended range is an overflow, reported like any other.
String AmountText(const String& Format, Extended Value) {
  if (!std::isfinite(Value)) throw EOverflow(QStringLiteral("Floating point overflow"));
  return FormatFloat(Format, Value);
}

// The number a box holds; raises EConvertError for a text that is not one.
Extended BoxValue(const String& Text) {
  return StrToFloat(NormalizeNumText(Text));
}

}  // namespace

Extended TPaySlot::Value() const {
  if (!FRead || FReadText != Text) {
    FValue = BoxValue(Text);
    FTwoDecimalText.clear();
    FReadText = Text;
    FRead = true;
  }
  return FValue;
}

const String& TPaySlot::TwoDecimalText() const {
  const Extended Number = Value();
  if (FTwoDecimalText.isEmpty()) FTwoDecimalText = FormatFloat(TwoDecimals, Number);
  return FTwoDecimalText;
}

String ProrationParamsError(Extended DaysToWork, Extended DaysWorked) {
  if (DaysToWork == 0) return QStringLiteral("本月应上班天数不能为0");
  if (DaysToWork > 31) return QStringLiteral("本月应上班天数不能大于31");
  if (DaysWorked > 31) return QStringLiteral("本月实际上班天数不能大于31");
  return String();
}

void TPayRecordCalc::SetItems(TSlotGroup Group, std::vector<TPayItem> Items) {
  (Group == sgEarnings ? FEarningItems : FDeductionItems) = std::move(Items);
  const std::vector<TPayItem>& Stored = this->Items(Group);
  for (Integer k = 0; k < SlotCount(Group); ++k) {
    TPaySlot& S = Slot(Group, k);
    S.Visible = size_t(k) < Stored.size();
    S.Caption = S.Visible ? Stored[size_t(k)].GZName : String();
    S.Text.clear();
  }
}

const std::vector<TPayItem>& TPayRecordCalc::Items(TSlotGroup Group) const {
  return Group == sgEarnings ? FEarningItems : FDeductionItems;
}

Integer TPayRecordCalc::SlotCount(TSlotGroup Group) const {
  return Group == sgEarnings ? EarningsSlotCount : DeductionSlotCount;
}

TPaySlot& TPayRecordCalc::Slot(TSlotGroup Group, Integer Index) {
  return Group == sgEarnings ? FEarnings.at(size_t(Index)) : FDeductions.at(size_t(Index));
}

const TPaySlot& TPayRecordCalc::Slot(TSlotGroup Group, Integer Index) const {
  return Group == sgEarnings ? FEarnings.at(size_t(Index)) : FDeductions.at(size_t(Index));
}

TPaySlot* TPayRecordCalc::FindEditCtrlByName(const String& Caption) {
  for (TPaySlot& S : FEarnings)
    if (S.Visible && S.Caption == Caption) return &S;
  for (TPaySlot& S : FDeductions)
    if (S.Visible && S.Caption == Caption) return &S;
  return nullptr;
}

// The formula with every [caption] replaced by that slot's value with two
// decimals ("0.00" when no slot bears it). A negative value is put in
// parentheses so that it stays a valid operand after another operator.
String TPayRecordCalc::EvaluationText(const String& Formula) {
  String Result;
  qsizetype Pos = 0;
  for (;;) {
    const qsizetype Open = Formula.indexOf(u'[', Pos);
    const qsizetype Close = Open < 0 ? -1 : Formula.indexOf(u']', Open + 1);
    if (Close < 0) return Result + Formula.mid(Pos);
    Result += Formula.mid(Pos, Open - Pos);
    const TPaySlot* S = FindEditCtrlByName(Formula.mid(Open + 1, Close - Open - 1));
    const String Value = S ? S->TwoDecimalText() : FormatFloat(TwoDecimals, 0);
    Result += Value.startsWith(u'-') ? u'(' + Value + u')' : Value;
    Pos = Close + 1;
  }
}

Extended TPayRecordCalc::GetCalcValue(const String& Formula) {
  if (Formula == TaxMarker) return GetGS();
  const String Text = EvaluationText(Formula);
  try {
    FCalcExpress.SetFormula(Text);
    return FCalcExpress.Evaluate();
  } catch (const Exception& E) {
    ShowAppMessage(QStringLiteral("计算表达式：") + Text + QStringLiteral(" 发生错误！\n") +
                   QStringLiteral("原始计算表达式设置：") + Formula + u'\n' + QStringLiteral("错误原因：") +
                   E.Message());
    return 0;
  }
}

Extended TPayRecordCalc::GetGS() const {
  Extended Base = 0;
  for (const TPaySlot& S : FEarnings)
    if (S.Visible) Base += S.Value();
  for (const TPaySlot& S : FDeductions)
    if (S.Visible) Base -= S.Value();
  // A base beyond the range would otherwise fall through every bracket as no tax at all.
  if (!std::isfinite(Base)) throw EOverflow(QStringLiteral("Floating point overflow"));
  return IncomeTax(Base, Settings().GGSLimit, TaxBrackets);
}

void TPayRecordCalc::CalcGroup(TSlotGroup Group) {
  for (const TPayItem& Item : Items(Group)) {
    if (Item.CalcStr.trimmed().isEmpty()) continue;
    TPaySlot* S = FindEditCtrlByName(Item.GZName);
    if (!S) continue;
    // The previous tax must not reduce its own base.
    if (Group == sgDeductions && Item.CalcStr == TaxMarker) S->Text = QStringLiteral("0");
    S->Text = AmountText(TwoDecimals, GetCalcValue(Item.CalcStr));
  }
}

void TPayRecordCalc::ReCalcAll() {
  // The boxes recompute the totals on every change, also when a conversion
  // error stops the walk half-way.
  try {
    CalcGroup(sgEarnings);
    CalcGroup(sgDeductions);
  } catch (...) {
    AutoCalc();
    throw;
  }
  AutoCalc();
}

void TPayRecordCalc::AutoCalc() {
  const String Format = AmountFormat();
  try {
    Extended Earnings = 0, Deductions = 0;
    for (const TPaySlot& S : FEarnings) Earnings += S.Value();
    for (const TPaySlot& S : FDeductions) Deductions += S.Value();
    const String ShownEarnings = AmountText(Format, Earnings);
    const String ShownDeductions = AmountText(Format, Deductions);
    // The net is what the two shown totals give, so the three boxes agree.
    const String ShownNet = AmountText(Format, StrToFloat(ShownEarnings) - StrToFloat(ShownDeductions));
    YFTotalText = ShownEarnings;
    KKTotalText = ShownDeductions;
    GZTotalText = ShownNet;
  } catch (const EConvertError&) {
  }
}

void TPayRecordCalc::Prorate(Extended DaysToWork, Extended DaysWorked) {
  const String Refused = ProrationParamsError(DaysToWork, DaysWorked);
  if (!Refused.isEmpty()) throw EInvalidOperation(Refused);
  for (TPaySlot& S : FEarnings)
    if (S.Visible) S.Text = AmountText(TwoDecimals, S.Value() * DaysWorked / DaysToWork);
  AutoCalc();
}

void TPayRecordCalc::AttendanceProduct() {
  // Without earnings items the first box is hidden: an amount written there
  // would count in the totals without being saved as an item.
  if (FEarnings[0].Visible) {
    const Extended Attendance = BoxValue(Settings().GPrintDays == 2 ? HoursText : DaysText);
    FEarnings[0].Text = AmountText(TwoDecimals, Attendance * BoxValue(PayStandardText));
  }
  ReCalcAll();
}
