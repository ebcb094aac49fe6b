#include "skin/SkinCheckRadio.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/PropertyAccess.h"
#include "platform/ui/StdCtrls.h"
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

// The box at the left, or at the right when the control's Alignment puts its caption left of
// it (a right-button layout).
bool RightButton(TControl* Control) {
  return GetEnumPropName(Control, QStringLiteral("Alignment")).compare(QStringLiteral("taLeftJustify"), Qt::CaseInsensitive) == 0;
}

// The box frame centred vertically at BoxLeft, then the caption in Area with TextFlags.
void DrawBoxAndCaption(TSkinControl& Painter, TCanvas* Canvas, const TRect& R, const TBitmap& Image, Integer Frames,
                       Integer Frame, Integer BoxLeft, TRect Area, Cardinal TextFlags) {
  TControl* control = Painter.Control();
  const Integer frames = std::max(Frames, 1);
  const Integer fw = Image.Width() / frames, fh = Image.Height();
  if (fw <= 0 || fh <= 0) return;
  if (Painter.SkinData()->Options().Contains(xoTransparent)) PaintParentBackground(control, Canvas, false);
  else Painter.FillFace(Canvas, R);
  DrawFrameMasked(Canvas, Bounds(BoxLeft, R.Top + (R.Height() - fh) / 2, fw, fh), Image, Frame, frames);
  if (TFont* font = GetObjectPropByName<TFont>(control, QStringLiteral("Font"))) Canvas->Font()->Assign(font);
  if (!control->Enabled()) Canvas->Font()->SetColor(clBtnShadow);
  const String caption = GetTextPropW(control, QStringLiteral("Caption"));
  TRect measured = Area;
  DrawText(Canvas, caption, measured, TextFlags | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(Area, 0, (R.Height() - measured.Height()) / 2);
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed && windowed->Focused()) {
    const Integer left = TextFlags & DT_RIGHT ? Area.Right - measured.Width() : Area.Left;
    Painter.DrawCaptionFocus(Canvas, TextFlags, TRect(left, Area.Top, left + measured.Width(), Area.Top + measured.Height()));
  }
  Canvas->Brush()->SetStyle(bsClear);
  DrawText(Canvas, caption, Area, TextFlags);
}

}  // namespace

bool TSkinCheckBox::BeforeMessage(TMessage& Message) {
  return TSkinControl::BeforeMessage(Message) && PaintMessage(*this, Message);
}

void TSkinCheckBox::AfterMessage(TMessage& Message) {
  if (Message.Msg == BM_SETCHECK) {
    FLastSetCheck = Integer(Message.WParam) + 1;
    RefreshControl();
  } else if (MarkMessage(Message)) RefreshControl();
  else TSkinControl::AfterMessage(Message);
}

Integer TSkinCheckBox::StateFrame() const {
  TControl* control = Control();
  if (!control) return 1;
  Integer frame;
  bool grey = false;
  const String state = GetEnumPropName(control, QStringLiteral("State")).toLower();
  if (!state.isEmpty()) {
    frame = state.contains(QStringLiteral("uncheck")) ? 1 : state.contains(QStringLiteral("check")) ? 2 : 1;
    grey = state.contains(QStringLiteral("gray"));
  } else {
    // An unchecked box is unchecked, not disabled.
    frame = GetEnumPropName(control, QStringLiteral("Checked")).toLower() == QStringLiteral("true") ? 2 : 1;
  }
  // A data-aware box shows the state it was last set to, whatever its State reads.
  if (HasPropByName(control, QStringLiteral("DataField")) && FLastSetCheck > 0) {
    frame = FLastSetCheck == 2 ? 2 : 1;
    grey = FLastSetCheck == 3;
  }
  if (HasPropByName(control, QStringLiteral("DataBinding"))) {
    frame = 1;
    grey = false;
  }
  const bool disabled = !control->Enabled();
  const TSkinModel* skin = Skin();
  if (skin && skin->Buttons->CheckButtonFrame == 12) {
    if (grey) return disabled ? 12 : 9;
    constexpr Integer twelve[] = {0, 1, 5, 4, 8};
    return twelve[frame + (disabled ? 2 : 0)];
  }
  if (grey) return 4;
  return frame + (disabled ? 2 : 0);
}

void TSkinCheckBox::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  FLastSetCheck = 0;
  TSkinControl::AttachControl(Control, Form, Skin, Recolour);
}

void TSkinCheckBox::DrawSkin(TCanvas* Canvas, const TRect& R) {
  const TSkinModel* skin = Skin();
  if (!Control() || !skin || skin->Buttons->CheckButton.Empty()) return;
  const Integer fw = skin->Buttons->CheckButton.Width() / std::max(skin->Buttons->CheckButtonFrame, 1);
  if (RightButton(Control()))
    DrawBoxAndCaption(*this, Canvas, R, skin->Buttons->CheckButton, skin->Buttons->CheckButtonFrame, StateFrame(), R.Right - fw,
                      TRect(R.Left, R.Top, R.Right - BoxSpace, R.Bottom), DT_RIGHT);
  else
    DrawBoxAndCaption(*this, Canvas, R, skin->Buttons->CheckButton, skin->Buttons->CheckButtonFrame, StateFrame(), R.Left,
                      TRect(R.Left + BoxSpace, R.Top, R.Right, R.Bottom), DT_WORDBREAK | DT_EXPANDTABS);
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
  // A narrow dot is moved in from its side to sit where a 14-pixel one would.
  const Integer inset = fw < 15 ? (14 - fw) / 2 : 0;
  if (RightButton(Control()))
    DrawBoxAndCaption(*this, Canvas, R, skin->Buttons->RadioButton, skin->Buttons->RadioButtonFrame, StateFrame(),
                      R.Right - 1 - inset - fw, TRect(R.Left, R.Top, R.Right - BoxSpace, R.Bottom),
                      DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS);
  else
    DrawBoxAndCaption(*this, Canvas, R, skin->Buttons->RadioButton, skin->Buttons->RadioButtonFrame, StateFrame(),
                      R.Left + inset, TRect(R.Left + BoxSpace, R.Top, R.Right, R.Bottom), DT_WORDBREAK | DT_EXPANDTABS);
}
