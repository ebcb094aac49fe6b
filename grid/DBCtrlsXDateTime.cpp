#include "grid/DBCtrlsX.h"
#include "grid/PopupMonthCalendarX.h"
#include "platform/rtl/SysUtils.h"
#include <cmath>

TCustomDBDateTimeEditX::TCustomDBDateTimeEditX(TComponent* AOwner) : TCustomDBEditX(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  FFourDigitYear = ShortDateFormat.toUpper().contains(QStringLiteral("YYY"));
  InitEditButton();
  RebuildEditFormat();
}

TEditButtonX* TCustomDBDateTimeEditX::MakeEditButton() { return new TVisibleEditButtonX(this); }

TPopupMonthCalendarX* TCustomDBDateTimeEditX::CalendarPopup() {
  if (!FCalendar) {
    FCalendar = new TPopupMonthCalendarX(this);
    FCalendar->SetVisible(false);
  }
  return FCalendar;
}


void TCustomDBDateTimeEditX::OpenDropDown() {
  TCustomDBEditX::OpenDropDown();
  if (FCalendarOpen) return;
  if (OnDropDown) OnDropDown(this);
  TPopupMonthCalendarX* calendar = CalendarPopup();
  calendar->SetDate(FCurrentValue.IsNull() ? Now() : FCurrentValue.AsDateTime());
  TPoint topLeft;
  PlaceDropDownAtControl(this, calendar, UseRightToLeftAlignment() ? 1 : 0, topLeft);
  calendar->SetBounds(topLeft.X, topLeft.Y, calendar->Width(), calendar->Height());
  calendar->SetVisible(true);
  FCalendarOpen = true;
  SetDroppedDown(true);
}

void TCustomDBDateTimeEditX::FinishDropDown(bool Accept) {
  if (!FCalendarOpen) return;
  FCalendarOpen = false;
  FCalendar->SetVisible(false);
  SetDroppedDown(false);
  TCustomDBEditX::FinishDropDown(Accept);
  if (Accept && !ReadOnly() && DataLink()->BeginValueEdit()) {
    // The day comes from the calendar; the time of day stays the value's.
    TDateTime chosen = std::floor(FCalendar->Date());
    if (!FCurrentValue.IsNull()) chosen += FCurrentValue.AsDateTime() - std::floor(FCurrentValue.AsDateTime());
    Variant value = FCurrentValue;
    PartsToValue(ValueToParts(Variant::FromDate(chosen)), FElements, true, value);
    LoadValue(value);
    if (Focused()) SelectAll();
  }
  if (OnCloseUp) OnCloseUp(this, Accept);
}

void TCustomDBDateTimeEditX::UpdateYearDigits() {
  const bool four = ShortDateFormat.toUpper().contains(QStringLiteral("YYY"));
  if (four == FFourDigitYear) return;
  FFourDigitYear = four;
  RebuildEditFormat();
}

void TCustomDBDateTimeEditX::RebuildEditFormat() {
  const String date = DefaultDateEditFormat(FFourDigitYear);
  switch (FKind) {
    case dtkDateX: FEditFormat = date; break;
    case dtkTimeX: FEditFormat = QStringLiteral("HH:NN:SS"); break;
    case dtkDateTimeX: FEditFormat = date + QStringLiteral(" HH:NN:SS"); break;
    case dtkCustomX: break;
  }
  if (FEditFormat.isEmpty()) {
    FShowFormat.clear();
    FElements = DateTimeElementTable{};
    TCustomMaskEdit::SetEditMask(String());
    return;
  }
  DateTimeElementTable elements;
  const String mask = BuildDateTimeMask(FEditFormat, elements);
  FElements = elements;
  FShowFormat = EditFormatToDisplayFormat(FEditFormat);
  TCustomMaskEdit::SetEditMask(mask);
}

void TCustomDBDateTimeEditX::SetKind(TDateTimeKindX Value) {
  if (Value == FKind) return;
  FKind = Value;
  RebuildEditFormat();
  HandleLinkData();
}

void TCustomDBDateTimeEditX::SetEditFormat(const String& Value) {
  FKind = dtkCustomX;
  if (Value == FEditFormat) return;
  FEditFormat = Value;
  RebuildEditFormat();
  HandleLinkData();
}

String TCustomDBDateTimeEditX::FormatValue(const Variant& V) const {
  if (V.IsNull() || V.IsEmpty()) return String();
  return IsMasked() ? FormatDateTime(FShowFormat, V.AsDateTime()) : DateTimeToStr(V.AsDateTime());
}

void TCustomDBDateTimeEditX::SetTextGuarded(const String& Text) {
  TFlagScopeX guard(FSettingText);
  SetTextDirect(Text);
}

void TCustomDBDateTimeEditX::LoadText(const String& Text) {
  Variant value = FCurrentValue;
  if (IsMasked()) {
    DateTimeParts parts;
    const bool read = TextToParts(TCustomMaskEdit::Engine().EditTextFromText(Text), FElements, parts);
    const bool blank = std::all_of(parts.begin(), parts.end(), [](Integer p) { return p == -1; });
    if (!(read || blank) || !PartsToValue(parts, FElements, false, value))
      throw Exception(QStringLiteral("Invalid datetime: \"%1\"").arg(Text));
  } else {
    value = Text.trimmed().isEmpty() ? Variant::Null() : Variant::FromDate(StrToDateTime(Text));
  }
  FCurrentValue = value;
  SetTextGuarded(Text);
}

void TCustomDBDateTimeEditX::LoadValue(const Variant& V) {
  FCurrentValue = V.IsNull() || V.IsEmpty() ? Variant::Null() : Variant::FromDate(V.AsDateTime());
  SetTextGuarded(FormatValue(FCurrentValue));
}

void TCustomDBDateTimeEditX::ParseCurrentText() {
  try {
    if (IsMasked()) {
      DateTimeParts parts;
      const bool read = TextToParts(EditText(), FElements, parts);
      const bool blank = std::all_of(parts.begin(), parts.end(), [](Integer p) { return p == -1; });
      if (read || blank) PartsToValue(parts, FElements, false, FCurrentValue);
      else FCurrentValue = Variant::Null();
    } else {
      TDateTime value = 0;
      FCurrentValue = TryStrToDateTime(Text(), value) ? Variant::FromDate(value) : Variant::Null();
    }
  } catch (const Exception&) {
    FCurrentValue = Variant::Null();
  }
}

void TCustomDBDateTimeEditX::Change() {
  if (!FSettingText) ParseCurrentText();
  TCustomDBEditX::Change();
}

void TCustomDBDateTimeEditX::ValidateEdit() {
  if (FValidating) return;
  TFlagScopeX validating(FValidating);
  TCustomDBEditX::ValidateEdit();
  if (!IsMasked()) return;
  DateTimeParts parts;
  TextToParts(EditText(), FElements, parts);
  PartsToValue(parts, FElements, true, FCurrentValue);
  SetTextGuarded(FormatValue(FCurrentValue));
}

void TCustomDBDateTimeEditX::FieldValueChanged() {
  if (TField* field = DataLink()->FirstField()) LoadValue(field->Value());
  else if (IsUnbound()) LoadValue(DataLink()->UnboundValue());
  else LoadValue(Variant::Null());
  SyncReadOnly();
  SetModified(false);
}

void TCustomDBDateTimeEditX::PostToField() {
  const TField* field = DataLink()->FirstField();
  Variant target = field ? field->Value() : DataLink()->UnboundValue();
  if (IsMasked()) {
    if (!PartsToValue(ValueToParts(FCurrentValue), FElements, true, target)) target = Variant::Null();
  } else {
    target = Text().trimmed().isEmpty() ? Variant::Null() : Variant::FromDate(StrToDateTime(Text()));
  }
  DataLink()->WriteFieldValue(target);
}

void TCustomDBDateTimeEditX::StepElement(bool Up) {
  String text = EditText();
  Integer selStart = 0, selLength = 0;
  if (!StepElementText(text, EditFormatToPattern(FEditFormat), SelStart() + 1, Up, selStart, selLength)) return;
  SetTextGuarded(text);
  ParseCurrentText();
  SetSelStart(selStart);
  SetSelLength(selLength);
}

void TCustomDBDateTimeEditX::KeyDown(Word& Key, TShiftState Shift) {
  const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  if (IsMasked() && plain && (Key == VK_UP || Key == VK_DOWN) && !ReadOnly()) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (Key == 0) return;
    if (DataLink()->BeginValueEdit()) StepElement(Key == VK_UP);
    Key = 0;
    return;
  }
  if (IsMasked() && plain && (Key == VK_LEFT || Key == VK_RIGHT) && SelLength() > 1) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
    if (Key == 0) return;
    const Integer start = SelStart(), length = SelLength();
    // The caret goes to the selection's edge the key points at; the key then moves it.
    SetSelStart(Key == VK_LEFT ? start : start + length - 1);
  }
  TCustomDBEditX::KeyDown(Key, Shift);
}

void TCustomDBDateTimeEditX::KeyPress(QChar& Key) {
  if (FCalendarOpen && (Key == u'\r' || Key == QChar(27))) {
    FinishDropDown(Key == u'\r');
    Key = QChar();
    return;
  }
  if (IsMasked() && (Key == DateSeparator || Key == TimeSeparator)) {
    // A typed separator jumps to the next element instead of being typed.
    const Integer caret = SelStart();
    const Integer k = Integer(EditText().mid(caret).indexOf(Key)) + 1;
    const Integer pos = k == 0 ? 1 : caret + k + 2;
    Integer start = 0, length = 0;
    if (ElementAt(EditFormatToPattern(DefaultDateEditFormat(FFourDigitYear)), pos, start, length)) {
      SetSelStart(start);
      SetSelLength(length);
    }
    Key = QChar();
    return;
  }
  TCustomDBEditX::KeyPress(Key);
}




void TCustomDBDateTimeEditX::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_ENTER) UpdateYearDigits();
  if (Message.Msg == WM_KILLFOCUS || Message.Msg == CM_EXIT) FinishDropDown(false);
  if (FCalendarOpen && Message.Msg == CM_WANTSPECIALKEY && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
    Message.Result = 1;
    return;
  }
  if (FCalendarOpen && (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN)) {
    const Word key = Word(Message.WParam);
    const bool ctrl = ReadKeyboardShiftState().Contains(ssCtrl);
    if (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT ||
        (ctrl && (key == VK_HOME || key == VK_END))) {
      // The open calendar takes the navigation keys.
      FCalendar->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  }
  TCustomDBEditX::Dispatch(Message);
}

void TCustomDBDateTimeEditX::StepByUser(bool Up) { StepElement(Up); }
