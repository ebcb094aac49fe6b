#include "skin/SkinEdits.h"
#include "skin/SkinData.h"
#include "skin/SkinImage.h"
#include "skin/SkinRangeControls.h"
#include "platform/ui/Spin.h"

TSkinEdit::TSkinEdit() = default;
TSkinEdit::~TSkinEdit() = default;

TRect TSkinEdit::SpinButtons() const {
  auto* spin = dynamic_cast<TSpinEdit*>(Control());
  return spin ? spin->ButtonsRect() : TRect();
}

void TSkinEdit::AfterMessage(TMessage& Message) {
  if (FUpDown && (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_LBUTTONUP)) {
    // The spin edit steps (and repeats) by itself; its buttons show the press.
    FUpDown->SetPressed(Message.Msg != WM_LBUTTONUP);
    RefreshControl();
    return;
  }
  TSkinControl::AfterMessage(Message);
}

void TSkinEdit::DrawSkin(TCanvas* Canvas, const TRect& R) {
  auto* edit = dynamic_cast<TWinControl*>(Control());
  const TSkinModel* skin = Skin();
  if (!edit || !skin) return;
  // A borderless edit keeps its look.
  if (edit->BorderStyle() != bsNone && R.Width() >= 6 && R.Height() >= 6) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(skin->ButtonShadow);
    Canvas->FrameRect(R);
    Canvas->Brush()->SetColor(clWhite);
    Canvas->FrameRect(TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
    Canvas->FrameRect(TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2));
  }
  TRect buttons;
  if (!IntersectRect(buttons, SpinButtons(), TRect(R.Left + 3, R.Top + 3, R.Right - 3, R.Bottom - 3))) return;
  if (!FUpDown && SkinData()->SkinControls().Contains(xcSpin)) {
    FUpDown = std::make_unique<TSkinUpDown>();
    FUpDown->AttachEmbedded(edit, Form(), SkinData());
  }
  // The buttons keep 3 pixels inside the edge, clear of the border.
  if (FUpDown) FUpDown->DrawSkin(Canvas, buttons);
}

void TSkinComBox::AfterMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: FPressed = true; RefreshControl(); break;
    case WM_LBUTTONUP: FPressed = false; RefreshControl(); break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (Control() && Control()->Enabled()) FHot = Message.Msg == CM_MOUSEENTER;
      break;
    default: TSkinControl::AfterMessage(Message); break;
  }
}

Integer TSkinComBox::StateFrame() const {
  auto* control = dynamic_cast<TWinControl*>(Control());
  if (!control) return 1;
  if (!control->Enabled()) return 3;
  if (FPressed) return 2;
  if (FHot || control->Focused()) return 4;
  return 1;
}

void TSkinComBox::DrawSkin(TCanvas* Canvas, const TRect& R) {
  TControl* control = Control();
  const TSkinModel* skin = Skin();
  // Without the composed combo image (a skin lacking the sunken edge) the box keeps its own look.
  if (!control || !skin || !skin->ComboButton || skin->ComboButton->Style != 2 || !skin->SunkEdge) return;
  const TDataSkinObject& element = control->UseRightToLeftScrollBar() ? static_cast<const TDataSkinObject&>(*skin->SunkEdge)
                                                                      : *skin->ComboButton;
  DrawSkinImage(Canvas, R, element.Image, element.Margins(), StateFrame(), element.FrameCount, true, false, false);
}
