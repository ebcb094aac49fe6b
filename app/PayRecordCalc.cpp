#include "app/PayRecordCalc.h"
#include "app/AppMessages.h"
#include "app/uPub.h"
#include "platform/rtl/PlainNumbers.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SysUtilsDecimal.h"
#include <QStringList>
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

bool IsSpace(QChar c) { return c == u' '; }

// The character before Index that is not a blank; a null character at the start.
QChar PreviousNonBlank(const String& Text, qsizetype Index) {
  while (Index > 0 && IsSpace(Text[Index - 1])) --Index;
  return Index > 0 ? Text[Index - 1] : QChar();
}

bool MayPrecedeAnOperand(QChar c) {
  return c.isNull() || c == u' ' || c == u'(' || c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

bool MayFollowAnOperand(QChar c) {
  return c.isNull() || c == u' ' || c == u')' || c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'^';
}

// Parentheses beyond which a negative value, pasted in its own pair, could reach the
// evaluator's nesting bound.
constexpr qsizetype MaxParenthesesForVariables = 200;

}  // namespace

// ---- TPaySlot

Extended TPaySlot::Value() const {
  if (!FRead || FReadText != Text) {
    FValue = BoxValue(Text);
    FTwoDecimalText.clear();
    FHasTwoDecimalValue = false;
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

Extended TPaySlot::TwoDecimalValue() const {
  const Extended Number = Value();
  if (!FHasTwoDecimalValue) {
    Int64 Scaled = 0;
    if (ScaledFromDouble(Number, 2, Scaled)) {
      FTwoDecimalValue = Extended(Scaled) / 100;
    } else {
      String Plain = TwoDecimalText();
      Plain.replace(DecimalSeparator, u'.');
      FTwoDecimalValue = PlainTextToExtended(Plain.toLatin1().constData());
    }
    FHasTwoDecimalValue = true;
  }
  return FTwoDecimalValue;
}

void TPaySlot::SetAmount(Extended Amount) {
  if (!std::isfinite(Amount)) throw EOverflow(QStringLiteral("Floating point overflow"));
  Int64 Scaled = 0;
  if (!ScaledFromDouble(Amount, 2, Scaled)) {
    Text = FormatFloat(TwoDecimals, Amount);
    return;
  }
  // The text and the number it reads back as, so the next reader need not parse it.
  Text = ScaledToFixedText(Scaled, 2, false);
  FReadText = Text;
  FRead = true;
  FValue = FTwoDecimalValue = Extended(Scaled) / 100;
  FHasTwoDecimalValue = true;
  FTwoDecimalText = Text;
}

String ProrationParamsError(Extended DaysToWork, Extended DaysWorked) {
  if (DaysToWork == 0) return QStringLiteral("本月应上班天数不能为0");
  if (DaysToWork > 31) return QStringLiteral("本月应上班天数不能大于31");
  if (DaysWorked > 31) return QStringLiteral("本月实际上班天数不能大于31");
  return String();
}

// ---- TPayRecordCalc

void TPayRecordCalc::SetItems(TSlotGroup Group, std::vector<TPayItem> Items) {
  (Group == sgEarnings ? FEarningItems : FDeductionItems) = std::move(Items);
  const std::vector<TPayItem>& Stored = this->Items(Group);
  for (Integer k = 0; k < SlotCount(Group); ++k) {
    TPaySlot& S = Slot(Group, k);
    S.Visible = size_t(k) < Stored.size();
    S.Caption = S.Visible ? Stored[size_t(k)].GZName : String();
    S.Text.clear();
  }
  FLayout.clear();
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

// A formula whose [captions] read exactly as their pasted values would is parsed once,
// with the captions as variables, and then evaluated on the slots' numbers. Pasting reads
// otherwise where a value's text joins its neighbours ("2[a]", "[a].5"), where a leading
// minus becomes the value's sign ("-[a]^2"), or where a negative value's own parentheses
// meet an exponent's ("2^([a])"); such formulas stay evaluated as text.
TPayRecordCalc::TFormula& TPayRecordCalc::Parsed(const String& Formula) {
  const auto Found = FFormulas.find(Formula);
  if (Found != FFormulas.end()) return Found->second;
  TFormula& Result = FFormulas[Formula];
  if (Formula.contains(u'_') || Formula.count(u'(') > MaxParenthesesForVariables) return Result;
  String Template;
  QStringList Captions;
  qsizetype Pos = 0;
  for (;;) {
    const qsizetype Open = Formula.indexOf(u'[', Pos);
    if (Open < 0) break;
    const qsizetype Close = Formula.indexOf(u']', Open + 1);
    if (Close < 0) return Result;
    const QChar Before = Open > 0 ? Formula[Open - 1] : QChar();
    const QChar After = Close + 1 < Formula.size() ? Formula[Close + 1] : QChar();
    if (!MayPrecedeAnOperand(Before) || !MayFollowAnOperand(After)) return Result;
    if (Before == u'-') {
      const QChar Sign = PreviousNonBlank(Formula, Open - 1);
      if (Sign.isNull() || Sign == u'(') return Result;
    }
    if (PreviousNonBlank(Formula, Open) == u'(' &&
        PreviousNonBlank(Formula, Formula.lastIndexOf(u'(', Open - 1)) == u'^')
      return Result;
    const String Caption = Formula.mid(Open + 1, Close - Open - 1);
    qsizetype Index = Captions.indexOf(Caption);
    if (Index < 0) {
      Index = Captions.size();
      Captions << Caption;
    }
    Template += Formula.mid(Pos, Open - Pos) + u'_' + QString::number(Index);
    Pos = Close + 1;
  }
  Template += Formula.mid(Pos);
  TStringList Names;
  for (qsizetype i = 0; i < Captions.size(); ++i) Names.Add(u'_' + QString::number(i));
  auto Express = std::make_unique<TCalcExpress>();
  Express->SetVariables(&Names);
  if (!Express->ParseQuietly(Template)) return Result;
  Result.Express = std::move(Express);
  for (const String& Caption : Captions) Result.Inputs.push_back(FindEditCtrlByName(Caption));
  Result.Values.resize(Result.Inputs.size());
  return Result;
}

void TPayRecordCalc::FollowLayout() {
  bool Same = FLayout.size() == size_t(EarningsSlotCount + DeductionSlotCount);
  for (size_t i = 0; Same && i < FLayout.size(); ++i) {
    const TPaySlot& S = i < size_t(EarningsSlotCount) ? FEarnings[i] : FDeductions[i - EarningsSlotCount];
    Same = FLayout[i].first == S.Visible && FLayout[i].second == S.Caption;
  }
  if (Same) return;
  FLayout.clear();
  for (const TPaySlot& S : FEarnings) FLayout.emplace_back(S.Visible, S.Caption);
  for (const TPaySlot& S : FDeductions) FLayout.emplace_back(S.Visible, S.Caption);
  FFormulas.clear();
  for (TSlotGroup Group : {sgEarnings, sgDeductions}) {
    std::vector<TFormulaItem>& Plan = FFormulaItems[Group];
    Plan.clear();
    for (const TPayItem& Item : Items(Group)) {
      if (Item.CalcStr.trimmed().isEmpty()) continue;
      if (TPaySlot* S = FindEditCtrlByName(Item.GZName))
        Plan.push_back({&Item, S, Item.CalcStr == TaxMarker ? nullptr : &Parsed(Item.CalcStr)});
    }
  }
}

Extended TPayRecordCalc::GetCalcValue(const String& Formula) {
  FollowLayout();
  return Formula == TaxMarker ? GetGS() : CalcValue(Formula, Parsed(Formula));
}

Extended TPayRecordCalc::CalcValue(const String& Formula, TFormula& Parsed) {
  if (Parsed.Express) {
    for (size_t i = 0; i < Parsed.Inputs.size(); ++i)
      Parsed.Values[i] = Parsed.Inputs[i] ? Parsed.Inputs[i]->TwoDecimalValue() : 0;
    try {
      return Parsed.Express->Evaluate(Parsed.Values);
    } catch (const Exception& E) {
      ShowCalcError(EvaluationText(Formula), Formula, E);
      return 0;
    }
  }
  const String Text = EvaluationText(Formula);
  try {
    FCalcExpress.SetFormula(Text);
    return FCalcExpress.Evaluate();
  } catch (const Exception& E) {
    ShowCalcError(Text, Formula, E);
    return 0;
  }
}

void TPayRecordCalc::ShowCalcError(const String& Text, const String& Formula, const Exception& E) {
  ShowAppMessage(QStringLiteral("计算表达式：") + Text + QStringLiteral(" 发生错误！\n") +
                 QStringLiteral("原始计算表达式设置：") + Formula + u'\n' + QStringLiteral("错误原因：") + E.Message());
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
  for (const TFormulaItem& F : FFormulaItems[Group]) {
    if (!F.Formula) {
      // The previous tax must not reduce its own base.
      if (Group == sgDeductions) F.Slot->Text = QStringLiteral("0");
      F.Slot->SetAmount(GetGS());
      continue;
    }
    F.Slot->SetAmount(CalcValue(F.Item->CalcStr, *F.Formula));
  }
}

void TPayRecordCalc::ReCalcAll() {
  FollowLayout();
  // The boxes recompute the totals on every change, also when a conversion
  // error stops the walk half-way.
  TScopeGuard totals([this] { AutoCalc(); });
  CalcGroup(sgEarnings);
  CalcGroup(sgDeductions);
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
    if (S.Visible) S.SetAmount(S.Value() * DaysWorked / DaysToWork);
  AutoCalc();
}

void TPayRecordCalc::AttendanceProduct() {
  // Without earnings items the first box is hidden: an amount written there
  // would count in the totals without being saved as an item.
  if (FEarnings[0].Visible) {
    const Extended Attendance = BoxValue(Settings().GPrintDays == 2 ? HoursText : DaysText);
    FEarnings[0].SetAmount(Attendance * BoxValue(PayStandardText));
  }
  ReCalcAll();
}
