#include "grid/CalculatorX.h"
#include "grid/PlatformShimsX.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include <cmath>
#include <limits>

namespace {
struct TKeyLayout {
  const char* Caption;
  Integer Left, Top, Width, Height;
  TColor Color;
  char16_t Produces;
};

// Tag = position + 1.
const std::array<TKeyLayout, 23> KeyLayouts{{
    {"7", 6, 29, 27, 22, clBlue, u'7'},      {"8", 35, 29, 27, 22, clBlue, u'8'},
    {"9", 64, 29, 27, 22, clBlue, u'9'},     {"/", 93, 29, 27, 22, clRed, u'/'},
    {"sqrt", 122, 29, 27, 22, clBlue, u'S'}, {"C", 151, 29, 27, 46, clRed, u'C'},
    {"4", 6, 53, 27, 22, clBlue, u'4'},      {"5", 35, 53, 27, 22, clBlue, u'5'},
    {"6", 64, 53, 27, 22, clBlue, u'6'},     {"*", 93, 53, 27, 22, clRed, u'*'},
    {"%", 122, 53, 27, 22, clBlue, u'%'},    {"Cancel", 151, 52, 27, 23, clRed, u'A'},
    {"1", 6, 77, 27, 22, clBlue, u'1'},      {"2", 35, 77, 27, 22, clBlue, u'2'},
    {"3", 64, 77, 27, 22, clBlue, u'3'},     {"-", 93, 77, 27, 22, clRed, u'-'},
    {"1/x", 122, 77, 27, 22, clBlue, u'R'},  {"<-", 151, 77, 27, 22, clRed, u'\b'},
    {"0", 6, 101, 27, 22, clBlue, u'0'},     {"+/-", 35, 101, 27, 22, clBlue, u'I'},
    {".", 64, 101, 27, 22, clBlue, u'.'},    {"+", 93, 101, 27, 22, clRed, u'+'},
    {"Ok", 122, 101, 56, 22, clRed, u'='},
}};

const TRect DisplayPanel = Bounds(6, 4, 171, 19);
constexpr Integer MaxDigits = 15;

String FormatValue(Extended Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }
}  // namespace

TCalculatorX::TCalculatorX(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, LayoutWidth, LayoutHeight);
  SetColor(clBtnFace);
  FTextBox = new TLabel(this);
  FTextBox->SetParent(this);
  FTextBox->SetAutoSize(false);
  FTextBox->SetAlignment(taRightJustify);
  FTextBox->SetLayout(tlCenter);
  FTextBox->SetColor(clWindow);
  FTextBox->SetBounds(DisplayPanel.Left + 2, DisplayPanel.Top + 1, 166, 17);
  FTextBox->SetCaption(QStringLiteral("0"));
  for (size_t I = 0; I < KeyLayouts.size(); ++I) {
    const TKeyLayout& L = KeyLayouts[I];
    auto* Key = new TSpeedButtonX(this);
    Key->SetParent(this);
    Key->SetBounds(L.Left, L.Top, L.Width, L.Height);
    Key->SetCaption(QString::fromUtf8(L.Caption));
    Key->Font()->SetColor(L.Color);
    Key->SetFlat(true);
    Key->SetStyle(ebsGlyphX);
    Key->SetActive(true);
    Key->OnClick = [this, I](TObject*) { HandleCalcKey(QChar(KeyLayouts[I].Produces)); };
    FKeys.push_back(Key);
  }
}

void TCalculatorX::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
  Canvas()->Brush()->SetColor(clWindow);
  Canvas()->FillRect(DisplayPanel);
}

void TCalculatorX::SpeedButtonClick(TObject* Sender) {
  for (size_t I = 0; I < FKeys.size(); ++I)
    if (FKeys[I] == Sender) HandleCalcKey(QChar(KeyLayouts[I].Produces));
}

Extended TCalculatorX::DisplayValue() const {
  if (FStatus == csErrorX) return 0;
  return StrToFloat(DisplayText().trimmed());
}

void TCalculatorX::SetDisplayValue(Extended Value) {
  // The owner takes the value as a double; a result beyond that range is an arithmetic error.
  if (!(std::fabs(Value) <= Extended(std::numeric_limits<double>::max()))) return ShowError();
  FTextBox->SetCaption(FormatValue(Value));
}

void TCalculatorX::BeginEntry() {
  if (FStatus != csReadyX) return;
  FStatus = csEnteringX;
  FTextBox->SetCaption(QStringLiteral("0"));
}

void TCalculatorX::ResetCalculator() {
  FStatus = csReadyX;
  SetDisplayValue(0);
  FOperator = u'=';
  FOperand = 0;
  RefreshEqualsCaption();
}

void TCalculatorX::ShowError() {
  FStatus = csErrorX;
  FTextBox->SetCaption(QStringLiteral("Error"));
}

void TCalculatorX::RefreshEqualsCaption() {
  const bool Pending = FOperand != 0 && FStatus == csEnteringX &&
                       (FOperator == u'*' || FOperator == u'+' || FOperator == u'-' || FOperator == u'/');
  EqualsKey()->SetCaption(Pending ? QStringLiteral("=") : QStringLiteral("Ok"));
}

void TCalculatorX::CopyToClipboard() { Clipboard()->SetAsText(DisplayText()); }

void TCalculatorX::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(CF_TEXT) && !Clipboard()->HasFormat(CF_UNICODETEXT)) return;
  Extended Value = 0;
  if (!TryStrToFloat(Clipboard()->AsText().trimmed(), Value)) {
    PlatformBeep();
    return;
  }
  SetDisplayValue(Value);
}

void TCalculatorX::HandleCalcKey(QChar Key) {
  Key = Key.toUpper();
  if (FStatus == csErrorX && Key != u'C') return;
  if (Key == DecimalSeparator || Key == u',' || Key == u'.') {
    BeginEntry();
    if (!DisplayText().contains(DecimalSeparator)) FTextBox->SetCaption(DisplayText() + DecimalSeparator);
    return;
  }
  const char16_t K = Key.unicode();
  if (K >= u'0' && K <= u'9') {
    BeginEntry();
    String Text = DisplayText() == QStringLiteral("0") ? String() : DisplayText();
    if (!Text.contains(u'E') && Text.size() < MaxDigits + (Text.indexOf(u'-') + 1)) Text += Key;
    FTextBox->SetCaption(Text.isEmpty() ? QStringLiteral("0") : Text);
  } else if (K == 8) {
    BeginEntry();
    const String Text = DisplayText();
    if (Text.size() == 1 || (Text.size() == 2 && Text.startsWith(u'-'))) FTextBox->SetCaption(QStringLiteral("0"));
    else FTextBox->SetCaption(Text.left(Text.size() - 1));
  } else if (K == u'I') {
    SetDisplayValue(-DisplayValue());
  } else if (K == u'R' || K == u'S') {
    FStatus = csReadyX;
    const Extended V = DisplayValue();
    if (K == u'R') {
      if (V == 0) ShowError();
      else SetDisplayValue(1 / V);
    } else {
      if (V < 0) ShowError();
      else SetDisplayValue(std::sqrt(V));
    }
  } else if (K == u'C' || K == 27) {
    ResetCalculator();
  } else if (K == 3) {
    CopyToClipboard();
  } else if (K == 22) {
    PasteFromClipboard();
  } else if (K == u'+' || K == u'-' || K == u'*' || K == u'/' || K == u'%' || K == u'=' || K == 13) {
    if (FStatus == csEnteringX) {
      FStatus = csReadyX;
      Extended V = DisplayValue();
      if (K == u'%') {
        if (FOperator == u'*' || FOperator == u'/') V /= 100;
        else if (FOperator == u'+' || FOperator == u'-') V = FOperand * V / 100;
      }
      switch (FOperator.unicode()) {
        case u'*': SetDisplayValue(FOperand * V); break;
        case u'+': SetDisplayValue(FOperand + V); break;
        case u'-': SetDisplayValue(FOperand - V); break;
        case u'/':
          if (V == 0) ShowError();
          else SetDisplayValue(FOperand / V);
          break;
        default: break;
      }
    }
    FOperator = Key;
    FOperand = DisplayValue();
  }
  RefreshEqualsCaption();
}

void TCalculatorX::KeyPress(QChar& Key) {
  TCustomControl::KeyPress(Key);
  if (!Key.isNull()) HandleCalcKey(Key);
}

void TCalculatorX::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_DELETE) HandleCalcKey(u'C');
}

void TCalculatorX::StepDisplay(Extended Delta) {
  if (FStatus != csErrorX) SetDisplayValue(DisplayValue() + Delta);
}

bool TCalculatorX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TCustomControl::DoMouseWheelDown(Shift, MousePos)) StepDisplay(-1);
  return true;
}

bool TCalculatorX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TCustomControl::DoMouseWheelUp(Shift, MousePos)) StepDisplay(1);
  return true;
}

// ---- TPopupCalculatorX

TPopupCalculatorX::TPopupCalculatorX(TComponent* AOwner) : TCalculatorX(AOwner) {
  SetVisible(false);
  SetTabStop(false);
  SetCtl3D(true);
  SetBounds(0, 0, LayoutWidth + 4, LayoutHeight + 4);
}

void TPopupCalculatorX::CreateParams(TCreateParams& Params) {
  TCalculatorX::CreateParams(Params);
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClassStyle |= CS_SAVEBITS;
  Params.WndParent = nullptr;
}

QWidget* TPopupCalculatorX::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  QWidget* Widget = TCalculatorX::CreateWidget(Params, ParentWidget);
  Widget->setFocusPolicy(Qt::NoFocus);
  return Widget;
}

void TPopupCalculatorX::Finish(bool Accept) {
  if (IPopupOwnerX* Owner = PopupOwnerOf(this)) Owner->FinishDropDown(Accept);
}

void TPopupCalculatorX::HandleCalcKey(QChar Key) {
  if ((Key == QChar(13) || Key == u'=') && AcceptsOnEnter()) {
    Finish(true);
    return;
  }
  TCalculatorX::HandleCalcKey(Key);
}

void TPopupCalculatorX::KeyDown(Word& Key, TShiftState Shift) {
  TCalculatorX::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE) {
    Finish(false);
    Key = 0;
  }
}

void TPopupCalculatorX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_POPUPCLOSEUPX: Finish(false); return;
    case CM_WANTSPECIALKEY:
      if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
        Finish(Message.WParam == VK_RETURN);
        Message.Result = 1;
        return;
      }
      break;
    case WM_GETDLGCODE: TCalculatorX::Dispatch(Message); Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; return;
    case WM_MOUSEACTIVATE: Message.Result = 3; return;  // a click never activates the popup
    default: break;
  }
  TCalculatorX::Dispatch(Message);
}

bool TPopupCalculatorX::AcceptsOnEnter() { return EqualsKey()->Caption() == QStringLiteral("Ok"); }

Variant TPopupCalculatorX::GetValue() { return Status() == csErrorX ? Variant() : Variant(double(DisplayValue())); }

void TPopupCalculatorX::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  for (Integer Tag = 1; Tag <= 23; ++Tag) Key(Tag)->SetFlat(Value);
}

void TPopupCalculatorX::SetValue(const Variant& Value) {
  ResetCalculator();
  SetDisplayValue(VarIsClear(Value) ? 0 : Value.AsDouble());
}
