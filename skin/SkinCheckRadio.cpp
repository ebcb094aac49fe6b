#include "skin/SkinCheckRadio.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/PropertyAccess.h"
#include "skin/SkinData.h"
#include "skin/SkinParentBackground.h"

namespace {

// The caption area starts this far from the box side, whatever the image's width.
constexpr Integer BoxSpace = 15 + 3;

bool MarkMessage(const TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: return true;
    case WM_KEYDOWN:
    case WM_KEYUP: return Message.WParam == VK_SPACE;
    default: return false;
  }
}

bool PaintMessage(TSkinControl& Painter, TMessage& Message) {
  if (Message.Msg != WM_PAINT) return true;
  Painter.PaintViaDraw(Message);
  return false;
}

// The box frame centred vertically at the left, then the caption beside it.
void DrawBoxAndCaption(TSkinControl& Painter, TCanvas* Canvas, const TRect& R, const TBitmap& Image, Integer Frames,
                       Integer Frame, Integer BoxLeft, Cardinal TextFlags) {
  TControl* control = Painter.Control();
  const Integer frames = std::max(Frames, 1);
  const Integer fw = Image.Width() / frames, fh = Image.Height();
  if (fw <= 0 || fh <= 0) return;
  if (Painter.SkinData()->Options().Contains(xoTransparent)) PaintParentBackground(control, Canvas, false);
  else Painter.FillFace(Canvas, R);
  const Integer top = R.Top + (R.Height() - fh) / 2;
  TBitmap box(fw, fh);
  box.Canvas()->DrawImage(TRect(0, 0, fw, fh), Image.Image(), Bounds((std::min(Frame, frames) - 1) * fw, 0, fw, fh));
  DrawMaskedBitmap(Canvas, Bounds(R.Left + BoxLeft, top, fw, fh), box, TColor(0xFF00FF));
  if (TFont* font = GetObjectPropByName<TFont>(control, QStringLiteral("Font"))) Canvas->Font()->Assign(font);
  if (!control->Enabled()) Canvas->Font()->SetColor(clBtnShadow);
  const String caption = GetTextPropW(control, QStringLiteral("Caption"));
  TRect area(R.Left + BoxSpace, R.Top, R.Right, R.Bottom);
  TRect measured = area;
  DrawText(Canvas, caption, measured, TextFlags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(area, 0, (R.Height() - measured.Height()) / 2);
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && windowed->Focused()) Painter.DrawCaptionFocus(Canvas, TextFlags, TRect(area.Left, area.Top, area.Left + measured.Width(), area.Top + measured.Height()));
  Canvas->Brush()->SetStyle(bsClear);
  DrawText(Canvas, caption, area, TextFlags);
}

}  // namespace

bool TSkinCheckBox::BeforeMessage(TMessage& Message) {
  return TSkinControl::BeforeMessage(Message) && PaintMessage(*this, Message);
}

void TSkinCheckBox::AfterMessage(TMessage& Message) {
  if (MarkMessage(Message)) RefreshControl();
  else TSkinControl::AfterMessage(Message);
}

Integer TSkinCheckBox::StateFrame() const {
  TControl* control = Control();
  if (!control) return 1;
  Integer frame;
  const String state = GetEnumPropName(control, QStringLiteral("State")).toLower();
  if (!state.isEmpty()) {
    frame = state.contains(QStringLiteral("uncheck")) ? 1 : state.contains(QStringLiteral("check")) ? 2 : 4;
  } else {
    // An unchecked box is unchecked, not disabled.
    frame = GetEnumPropName(control, QStringLiteral("Checked")).toLower() == QStringLiteral("true") ? 2 : 1;
  }
  if (!control->Enabled()) frame += 2;
  const TSkinModel* skin = Skin();
  if (skin && skin->Buttons->CheckButtonFrame == 12) {
    if (frame == 2) frame = 5;
    else if (frame == 3) frame = 4;
    else if (frame == 4) frame = 8;
    else if (frame == 6) frame = 12;
  }
  return frame;
}

void TSkinCheckBox::DrawSkin(TCanvas* Canvas, const TRect& R) {
  const TSkinModel* skin = Skin();
  if (!Control() || !skin || skin->Buttons->CheckButton.Empty()) return;
  DrawBoxAndCaption(*this, Canvas, R, skin->Buttons->CheckButton, skin->Buttons->CheckButtonFrame, StateFrame(), 0,
                    DT_WORDBREAK | DT_EXPANDTABS);
}

bool TSkinRadioButton::BeforeMessage(TMessage& Message) {
  return TSkinControl::BeforeMessage(Message) && PaintMessage(*this, Message);
}

void TSkinRadioButton::AfterMessage(TMessage& Message) {
  if (MarkMessage(Message)) RefreshControl();
  else TSkinControl::AfterMessage(Message);
}

Integer TSkinRadioButton::StateFrame() const {
  TControl* control = Control();
  if (!control) return 1;
  Integer frame = GetEnumPropName(control, QStringLiteral("Checked")).toLower() == QStringLiteral("true") ? 2 : 1;
  if (!control->Enabled()) frame += 2;
  const TSkinModel* skin = Skin();
  if (skin && skin->Buttons->RadioButtonFrame == 8) {
    if (frame == 2) frame = 5;
    else if (frame == 3) frame = 4;
    else if (frame == 4) frame = 8;
  }
  return frame;
}

void TSkinRadioButton::DrawSkin(TCanvas* Canvas, const TRect& R) {
  const TSkinModel* skin = Skin();
  if (!Control() || !skin || skin->Buttons->RadioButton.Empty()) return;
  const Integer fw = skin->Buttons->RadioButton.Width() / std::max(skin->Buttons->RadioButtonFrame, 1);
  const Integer boxLeft = fw < 15 ? (14 - fw) / 2 : 0;
  DrawBoxAndCaption(*this, Canvas, R, skin->Buttons->RadioButton, skin->Buttons->RadioButtonFrame, StateFrame(), boxLeft,
                    DT_WORDBREAK | DT_EXPANDTABS);
}
