#include "skin/SkinButtons.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/PropertyAccess.h"
#include "platform/ui/StdCtrls.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinParentBackground.h"

TSkinButton::~TSkinButton() {
  if (Form() && Form()->HotButton() == this) Form()->SetHotButton(nullptr);
}

void TSkinButton::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  if (Attached()) return;
  TSkinControl::AttachControl(Control, Form, Skin, Recolour);
  const String name = Control->ClassName().toLower();
  FOwnMouseDown = name.startsWith(QStringLiteral("trz")) || name.startsWith(QStringLiteral("tel"));
}

bool TSkinButton::BeforeMessage(TMessage& Message) {
  if (!TSkinControl::BeforeMessage(Message)) return false;
  switch (Message.Msg) {
    case WM_PAINT: PaintViaDraw(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The control never sees the press: the painter shows it and raises the click.
      auto* windowed = dynamic_cast<TWinControl*>(Control());
      if (windowed && !windowed->Focused() && windowed->CanFocus()) windowed->SetFocus();
      FPressed = true;
      RefreshControl();
      if (!FOwnMouseDown) ForwardMouseDown(Message);
      return false;
    }
    default: return true;
  }
}

void TSkinButton::BecomeHot() {
  TSkinForm* form = Form();
  if (!form || form->HotButton() == this) return;
  TSkinButton* previous = form->HotButton();
  form->SetHotButton(this);
  if (previous) SendMouseLeave(previous);
}

void TSkinButton::AfterMessage(TMessage& Message) {
  TControl* control = Control();
  switch (Message.Msg) {
    case WM_LBUTTONUP: {
      if (!FPressed) break;
      FPressed = false;
      RefreshControl();
      // The control keeps the mouse while the button is down: a release away from it clicks nothing.
      const TWMMouse mouse{Message};
      if (!FKeyboardPress && control && PtInRect(control->ClientRect(), mouse.Pos())) ClickControl();
      break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (Message.WParam == VK_SPACE) {
        FPressed = FKeyboardPress = Message.Msg == WM_KEYDOWN;
        RefreshControl();
      }
      break;
    case WM_MOUSEMOVE:
      if (!FHot && control && control->Enabled()) {
        FHot = true;
        RefreshControl();
      }
      if (FHot) BecomeHot();
      break;
    case CM_MOUSEENTER:
      if (control && control->Enabled()) {
        FHot = true;
        RefreshControl();
        BecomeHot();
      }
      break;
    case CM_MOUSELEAVE:
      FHot = false;
      FPressed = false;
      RefreshControl();
      if (Form() && Form()->HotButton() == this) Form()->SetHotButton(nullptr);
      break;
    default: TSkinControl::AfterMessage(Message); break;
  }
}

Integer TSkinButton::StateFrame() const {
  TControl* control = Control();
  if (!control) return 1;
  if (!control->Enabled()) return 3;
  if (FPressed) return 2;
  if (FHot) return 4;
  auto* button = dynamic_cast<TButton*>(control);
  if (button && button->Default()) return 5;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && windowed->Focused()) return 4;
  return 1;
}

void TSkinButton::DrawSkin(TCanvas* Canvas, const TRect& R) {
  TControl* control = Control();
  const TSkinModel* skin = Skin();
  if (!control || !skin || skin->Buttons->Image.Empty() || R.Width() <= 0 || R.Height() <= 0) return;
  const TDataSkinButton& element = *skin->Buttons;
  TBitmap work(R.Width(), R.Height());
  TCanvas* c = work.Canvas();
  if (FSkinData->Options().Contains(xoTransparent)) PaintParentBackground(control, c, false);
  else FillFace(c, TRect(0, 0, R.Width(), R.Height()));
  const Integer frame = StateFrame();
  DrawSkinElement(c, TRect(0, 0, R.Width(), R.Height()), element, frame, element.FrameCount);
  if (TFont* font = GetObjectPropByName<TFont>(control, QStringLiteral("Font"))) c->Font()->Assign(font);
  if (frame == 3) c->Font()->SetColor(clBtnShadow);
  else if (frame == 2 && element.HasPressedColour2) c->Font()->SetColor(element.PressedColour2);
  else if (frame == 4 && element.HasMouseOverColour2) c->Font()->SetColor(element.MouseOverColour2);
  else if (frame != 2 && frame != 4 && element.HasNormalColour2) c->Font()->SetColor(element.NormalColour2);
  DrawButtonCaption(c, TRect(0, 0, R.Width(), R.Height()), GetTextPropW(control, QStringLiteral("Caption")), 1);
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && windowed->Focused() && !FSkinData->Options().Contains(xoNoFocusRect))
    DrawFocusRect(c, TRect(3, 3, R.Width() - 3, R.Height() - 3));
  Canvas->Draw(R.Left, R.Top, &work);
}

void DrawButtonCaption(TCanvas* Canvas, const TRect& R, String Text, Integer Alignment) {
  const qsizetype bars = Text.indexOf(QStringLiteral("||"));
  if (bars >= 0) Text.replace(bars, 2, QStringLiteral("\r\n"));
  TRect m(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
  DrawText(Canvas, Text, m, DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_EXPANDTABS);
  const Integer w = m.Width(), h = m.Height();
  TRect t = R;
  if (Alignment == 1) {
    t.Left = R.Left + (R.Width() - w) / 2;
    t.Right = t.Left + w;
  }
  t.Top = R.Top + (R.Height() - h) / 2 - 1;
  t.Bottom = t.Top + h;
  Canvas->Brush()->SetStyle(bsClear);
  DrawText(Canvas, Text, t, DT_WORDBREAK | DT_EXPANDTABS | (Alignment == 1 ? DT_CENTER : 0));
}
