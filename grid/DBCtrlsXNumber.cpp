#include "grid/CalculatorX.h"
#include "grid/DBCtrlsX.h"
#include "grid/NumberEditTextX.h"
#include "platform/rtl/SysUtils.h"

namespace {

const TNumericField* NumericFieldOf(const TFieldDataLinkX* Link) {
  return dynamic_cast<const TNumericField*>(Link->FirstField());
}

}  // namespace

TCustomDBNumberEditX::TCustomDBNumberEditX(TComponent* AOwner) : TCustomDBEditX(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  SetMaxLength(0);
  InitEditButton();
  HandleLinkData();
}

TEditButtonX* TCustomDBNumberEditX::MakeEditButton() { return new TDropDownEditButtonX(this); }

TPopupCalculatorX* TCustomDBNumberEditX::CalculatorPopup() {
  if (!FCalculator) {
    FCalculator = new TPopupCalculatorX(this);
    FCalculator->SetVisible(false);
    if (HandleAllocated()) FCalculator->HandleNeeded();
  }
  return FCalculator;
}


void TCustomDBNumberEditX::OpenDropDown() {
  TCustomDBEditX::OpenDropDown();
  if (FCalculatorOpen) return;
  if (OnCalculatorOpen) OnCalculatorOpen(this);
  TPopupCalculatorX* calculator = CalculatorPopup();
  calculator->SetValue(FCurrentValue.IsNull() ? Variant(0) : FCurrentValue);
  calculator->SetFlat(Flat());
  TPoint topLeft;
  PlaceDropDownAtControl(this, calculator, UseRightToLeftAlignment() ? 1 : 0, topLeft);
  calculator->SetBounds(topLeft.X, topLeft.Y, calculator->Width(), calculator->Height());
  calculator->SetVisible(true);
  FCalculatorOpen = true;
  SetDroppedDown(true);
  SetSelLength(0);
}

void TCustomDBNumberEditX::FinishDropDown(bool Accept) {
  if (!FCalculatorOpen) return;
  FCalculatorOpen = false;
  FCalculator->SetVisible(false);
  SetDroppedDown(false);
  TCustomDBEditX::FinishDropDown(Accept);
  if (Accept && !ReadOnly() && DataLink()->BeginValueEdit()) {
    // A calculator showing an error has no value: the edit keeps its own.
    const Variant value = FCalculator->GetValue();
    switch (value.VarType()) {
      case varSmallint:
      case varInteger:
      case varSingle:
      case varDouble:
      case varCurrency: LoadValue(value); break;
      default: break;
    }
    if (Focused()) SelectAll();
  }
  if (OnCalculatorClose) OnCalculatorClose(this, Accept);
}

String TCustomDBNumberEditX::DisplayFormat() const {
  if (FDisplayFormatAssigned) return FDisplayFormat;
  if (const TNumericField* field = NumericFieldOf(DataLink())) return field->DisplayFormat();
  if (const auto* field = dynamic_cast<const TDateTimeField*>(DataLink()->FirstField())) return field->DisplayFormat();
  return String();
}

void TCustomDBNumberEditX::SetDisplayFormat(const String& Value) {
  if (FDisplayFormatAssigned && Value == FDisplayFormat) return;
  FDisplayFormat = Value;
  FDisplayFormatAssigned = true;
  Invalidate();
  HandleLinkData();
}

bool TCustomDBNumberEditX::IsCurrency() const {
  if (FCurrencyAssigned) return FCurrency;
  const auto* field = dynamic_cast<const TFloatField*>(DataLink()->FirstField());
  return field && field->Currency();
}

void TCustomDBNumberEditX::SetCurrency(bool Value) {
  if (FCurrencyAssigned && Value == FCurrency) return;
  FCurrency = Value;
  FCurrencyAssigned = true;
  Invalidate();
  HandleLinkData();
}

void TCustomDBNumberEditX::SetDecimalPlaces(Cardinal Value) {
  if (Value == FDecimalPlaces) return;
  FDecimalPlaces = Value;
  HandleLinkData();
  Invalidate();
}

Extended TCustomDBNumberEditX::MinValue() const {
  if (FMinAssigned) return FMinValue;
  const TField* field = DataLink()->FirstField();
  if (const auto* f = dynamic_cast<const TIntegerField*>(field)) return Extended(f->MinValue());
  if (const auto* f = dynamic_cast<const TFloatField*>(field)) return f->MinValue();
  return 0;
}

Extended TCustomDBNumberEditX::MaxValue() const {
  if (FMaxAssigned) return FMaxValue;
  const TField* field = DataLink()->FirstField();
  if (const auto* f = dynamic_cast<const TIntegerField*>(field)) return Extended(f->MaxValue());
  if (const auto* f = dynamic_cast<const TFloatField*>(field)) return f->MaxValue();
  return 0;
}

void TCustomDBNumberEditX::SetMinValue(Extended Value) {
  if (FMinAssigned && Value == FMinValue) return;
  FMinValue = Value;
  FMinAssigned = true;
  if (!ComponentState().Contains(csLoading) && IsUnbound()) StoreValue();
}

void TCustomDBNumberEditX::SetMaxValue(Extended Value) {
  if (FMaxAssigned && Value == FMaxValue) return;
  FMaxValue = Value;
  FMaxAssigned = true;
  if (!ComponentState().Contains(csLoading) && IsUnbound()) StoreValue();
}

TAlignment TCustomDBNumberEditX::NaturalAlignment() const {
  const TField* field = DataLink()->FirstField();
  return field ? field->Alignment() : taRightJustify;
}

// Only the limits set on the edit apply; a field's own limits are its business.
Extended TCustomDBNumberEditX::Fit(Extended X) const { return FitToRange(X, FMinValue, FMaxValue, FDecimalPlaces); }

String TCustomDBNumberEditX::FormatNumber(Extended X) const {
  const String format = DisplayFormat();
  if (!format.isEmpty()) return FormatFloat(format, X);
  if (IsCurrency()) return CurrToStrF(Currency::FromDouble(double(X)), ffCurrency, CurrencyDecimals);
  return FloatToStr(X);
}

String TCustomDBNumberEditX::ValueDisplayText() const {
  return FCurrentValue.IsNull() ? String() : FormatNumber(FCurrentValue.AsDouble());
}

void TCustomDBNumberEditX::SetTextGuarded(const String& Text) {
  TFlagScopeX guard(FSettingText);
  SetTextDirect(Text);
}

void TCustomDBNumberEditX::RegroupText() {
  const String text = EditText();
  if (text.isEmpty() || text == QStringLiteral("-")) return;
  const String grouped = GroupThousands(NormalizeNumberText(text), FEditingFormat.contains(u','));
  if (grouped == text) return;
  const Integer fromEnd = Integer(text.size()) - SelStart();
  SetTextGuarded(grouped);
  if (Focused()) SetSelStart(std::max<Integer>(0, Integer(grouped.size()) - fromEnd));
}

void TCustomDBNumberEditX::ParseCurrentText() {
  const String text = NormalizeNumberText(EditText());
  Extended number = 0;
  if (text.isEmpty()) {
    FCurrentValue = Variant::Null();
    SetTextGuarded(String());
  } else if (text == QStringLiteral("+") || text == QStringLiteral("-")) {
    FCurrentValue = Variant(double(Fit(0)));
  } else if (TryStrToFloat(text, number)) {
    FCurrentValue = Variant(double(Fit(number)));
  } else {
    // Half-typed text such as "1E" has no value yet; typing never raises.
    FCurrentValue = Variant::Null();
  }
}

void TCustomDBNumberEditX::Change() {
  if (!FSettingText) {
    RegroupText();
    ParseCurrentText();
  }
  TCustomDBEditX::Change();
}

void TCustomDBNumberEditX::LoadText(const String& Text) {
  const String text = NormalizeNumberText(Text);
  if (text.isEmpty()) LoadValue(Variant::Null());
  else LoadValue(Variant(double(StrToFloat(text))));
}

void TCustomDBNumberEditX::LoadValue(const Variant& V) {
  if (V.IsNull() || V.IsEmpty()) {
    FCurrentValue = Variant::Null();
    SetTextGuarded(String());
    return;
  }
  FCurrentValue = Variant(V.AsDouble());
  DataLink()->MarkModified();
  if (IsFocusedState() && DataLink()->CanChange()) {
    SetTextGuarded(FormatFloat(FEditingFormat, FCurrentValue.AsDouble()));
    RegroupText();
  } else {
    SetTextGuarded(ValueDisplayText());
  }
}

void TCustomDBNumberEditX::FieldValueChanged() {
  const String display = DisplayFormat();
  FEditingFormat = (!display.isEmpty() || !IsCurrency()) ? EditFormatFromDisplayFormat(display) : DefaultCurrencyEditFormat();
  TField* field = DataLink()->FirstField();
  if (field) ApplyWindowAlignment();
  if (field) LoadValue(field->Value());
  else if (IsUnbound()) LoadValue(DataLink()->UnboundValue());
  else LoadValue(Variant::Null());
  SyncReadOnly();
  SetModified(false);
}

void TCustomDBNumberEditX::PostToField() { DataLink()->WriteFieldValue(FCurrentValue); }

bool TCustomDBNumberEditX::AcceptsChar(QChar Ch) {
  String candidate = EditText();
  candidate.replace(SelStart(), SelLength(), String(Ch));
  candidate = NormalizeNumberText(candidate);
  const Integer separator = Integer(candidate.indexOf(DecimalSeparator));
  if (separator >= 0) {
    Integer exponent = separator + 1;
    while (exponent < candidate.size() && candidate[exponent] != u'E' && candidate[exponent] != u'e') ++exponent;
    if (Cardinal(exponent - separator - 1) > FDecimalPlaces) return false;
  }
  if (candidate.isEmpty()) return true;
  Extended number = 0;
  if (!IsNumberText(candidate, number)) return false;
  return !(FMinValue >= 0 && FMaxValue > 0 && number < 0);
}

void TCustomDBNumberEditX::StepValue(bool Up) {
  if (FIncrement == 0 || !EditCanModify()) return;
  const Extended value = FCurrentValue.IsNull() ? FIncrement
                                                : FCurrentValue.AsDouble() + (Up ? FIncrement : -FIncrement);
  LoadValue(Variant(double(Fit(value))));
  if (Focused()) SelectAll();
}

void TCustomDBNumberEditX::KeyDown(Word& Key, TShiftState Shift) {
  TCustomDBEditX::KeyDown(Key, Shift);
  if ((Key == VK_UP || Key == VK_DOWN) && !ReadOnly()) {
    StepValue(Key == VK_UP);
    Key = 0;
  }
}

void TCustomDBNumberEditX::KeyPress(QChar& Key) {
  if (FCalculatorOpen && (Key == u'\r' || Key == QChar(27))) {
    FinishDropDown(Key == u'\r');
    Key = QChar();
    return;
  }
  if (Key == u'\b' && SelLength() == 0 && SelStart() > 0 && EditText()[SelStart() - 1] == ThousandSeparator) {
    // Backspace steps over a group separator instead of deleting it.
    SetSelStart(SelStart() - 1);
    Key = QChar();
    return;
  }
  if (Key == u',' || Key == u'.') Key = DecimalSeparator;
  if (Key.unicode() >= 32 && !AcceptsChar(Key)) {
    Key = QChar();
    return;
  }
  TCustomDBEditX::KeyPress(Key);
}




void TCustomDBNumberEditX::Dispatch(TMessage& Message) {
  if (FCalculatorOpen) {
    if (Message.Msg == WM_KILLFOCUS || Message.Msg == CM_EXIT) FinishDropDown(false);
    const bool key = Message.Msg == WM_KEYDOWN || Message.Msg == WM_CHAR || Message.Msg == WM_SYSKEYDOWN;
    const WPARAM code = Message.WParam;
    if (key && (code == 8 || code == 13 || (code >= 32 && code <= 126))) {
      // The open calculator takes what is typed.
      FCalculator->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    if (Message.Msg == CM_WANTSPECIALKEY && (code == VK_RETURN || code == VK_ESCAPE)) {
      Message.Result = 1;
      return;
    }
  }
  if (Message.Msg != WM_PASTE) {
    TCustomDBEditX::Dispatch(Message);
    return;
  }
  const String previous = EditText();
  try {
    TCustomDBEditX::Dispatch(Message);
    const String text = NormalizeNumberText(EditText());
    Extended number = 0;
    if (!text.isEmpty() && !IsNumberText(text, number)) throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  } catch (const Exception&) {
    // A paste that gives no number leaves the text as it was.
    SetTextGuarded(previous);
    ParseCurrentText();
    SelectAll();
    if (CanFocus()) SetFocus();
  }
}

void TCustomDBNumberEditX::StepByUser(bool Up) { StepValue(Up); }
