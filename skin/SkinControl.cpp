#include "skin/SkinControl.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/PropertyAccess.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinMessages.h"
#include "skin/SkinParentBackground.h"

TSkinControl::TSkinControl() : TComponent(nullptr) {}

TSkinControl::~TSkinControl() {
  if (FControl) {
    if (FPreviousWindowProc) FControl->WindowProc = FPreviousWindowProc;
    FControl->RemoveFreeNotification(this);
  }
}

const TSkinModel* TSkinControl::Skin() const { return FSkinData ? &FSkinData->Model() : nullptr; }

void TSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) {
    // The control is going: nothing of it may be touched any more.
    FControl = nullptr;
    FPreviousWindowProc = nullptr;
    FActive = false;
    FLifeState = lsGone;
  }
}

void TSkinControl::BindControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  FRecolour = Recolour;
  FSkinData = Skin;
  FForm = Form;
  FControl = Control;
  FControl->FreeNotification(this);
}

void TSkinControl::RecolourControl() {
  if (!FRecolour || !FControl) return;
  ApplyParentBackground(true);
  FSavedColour = FControl->Color();
  FControl->SetColor(Skin()->ButtonFace);
}

void TSkinControl::AttachControl(TControl* Control, TSkinForm* Form, TSkinData* Skin, bool Recolour) {
  if (FAttached) return;
  BindControl(Control, Form, Skin, Recolour);
  FPreviousWindowProc = Control->WindowProc;
  Control->WindowProc = [this](TMessage& M) { PainterWndProc(M); };
  RecolourControl();
  Control->Invalidate();
  FAttached = true;
  FLifeState = lsAttached;
}

void TSkinControl::Detach() {
  if (!FRecolour || !FControl) return;
  ApplyParentBackground(false);
  FControl->SetColor(FSavedColour);
}

void TSkinControl::PainterWndProc(TMessage& Message) {
  if (Message.Msg == SKIN_PAINTERSWITCH) {
    FActive = Message.WParam > 0;
    if (FActive) RefreshControl();
    return;
  }
  if (!FActive) {
    PassToControl(Message);
    return;
  }
  if (BeforeMessage(Message)) {
    PassToControl(Message);
    AfterMessage(Message);
  }
}

void TSkinControl::PassToControl(TMessage& Message) {
  if (!FPreviousWindowProc) return;
  try {
    FPreviousWindowProc(Message);
  } catch (...) {
    // The painter stands in front of the control; what the control raises stops here.
  }
}

bool TSkinControl::BeforeMessage(TMessage& Message) {
  if (Message.Msg == SKIN_ISSKINNED) {
    Message.Result = 1;
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: RefreshControl(); break;
    case WM_PAINT: PaintFrame(reinterpret_cast<TCanvas*>(Message.WParam)); break;
    default: break;
  }
}

void TSkinControl::PaintFrame(TCanvas* Canvas) {
  if (!Canvas || !FControl) return;
  try {
    DrawSkin(Canvas, TRect(0, 0, FControl->Width(), FControl->Height()));
  } catch (...) {
    // A painter that cannot draw leaves the control as it painted itself.
  }
}

void TSkinControl::DrawSkin(TCanvas*, const TRect&) {}

void TSkinControl::SkinChanged() {
  if (FRecolour && FControl) FControl->SetColor(Skin()->ButtonFace);
  RefreshControl();
}

void TSkinControl::RefreshControl() {
  if (FControl) FControl->Repaint();
}

void TSkinControl::ApplyParentBackground(bool On) {
  if (!FControl || Skin() == nullptr || FSkinData->Options().Contains(xoParentBackGround)) return;
  if (On) {
    if (GetEnumPropName(FControl, QStringLiteral("ParentBackground")).toLower() == QStringLiteral("true")) {
      FParentBackgroundWasOn = true;
      SetPropByText(FControl, QStringLiteral("ParentBackground"), QStringLiteral("False"));
    }
  } else if (FParentBackgroundWasOn) {
    SetPropByText(FControl, QStringLiteral("ParentBackground"), QStringLiteral("True"));
  }
}

void TSkinControl::FillFace(TCanvas* Canvas, const TRect& R) const {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Skin()->ButtonFace);
  Canvas->FillRect(R);
}

TColor TSkinControl::ParentColourOf(TColor Default) const {
  return FControl && FControl->Parent() ? FControl->Parent()->Color() : Default;
}

void TSkinControl::FillParentColor(TCanvas* Canvas, const TRect& R) const {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(ParentColourOf(Skin() ? Skin()->ButtonFace : clBtnFace));
  Canvas->FillRect(R);
}

void TSkinControl::PaintViaDraw(TMessage& Message) {
  PaintFrame(reinterpret_cast<TCanvas*>(Message.WParam));
}

void TSkinControl::EraseWithParent(TMessage& Message) {
  auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
  if (canvas && FControl && FControl->Parent()) PaintParentBackground(FControl, canvas, false);
  else if (canvas) FillParentColor(canvas, FControl ? FControl->ClientRect() : canvas->ClipRect());
  Message.Result = 1;
}

namespace {
// A control's mouse-down and click handling are its own; a painter that took the press from
// the control runs them as the control would have.
struct TControlHandlers : TControl {
  static constexpr auto MouseDownHandler = &TControlHandlers::MouseDown;
  static constexpr auto ClickHandler = &TControlHandlers::Click;
};
}  // namespace

void TSkinControl::ForwardMouseDown(TMessage& Message) {
  if (!FControl) return;
  const TWMMouse mouse{Message};
  TPoint at{mouse.XPos(), mouse.YPos()};
  if (FControl->Width() > 32768 || FControl->Height() > 32768) at = FControl->ScreenToClient(GetCursorPos());
  (FControl->*TControlHandlers::MouseDownHandler)(mbLeft, KeysToShiftState(mouse.Keys()), at.X, at.Y);
}

void TSkinControl::ClickControl() {
  if (FControl) (FControl->*TControlHandlers::ClickHandler)();
}

void TSkinControl::SendMouseLeave(TSkinControl* Painter) {
  if (Painter && Painter->FControl) Painter->FControl->Perform(CM_MOUSELEAVE);
}

void TSkinControl::DrawCaptionFocus(TCanvas* Canvas, Cardinal Flags, const TRect& R) {
  if (!FControl) return;
  TRect m = R;
  DrawText(Canvas, FControl->Caption(), m, Flags | DT_CALCRECT | DT_NOCLIP);
  if (Flags & DT_CENTER) {
    m = Bounds(R.Left + (R.Width() - m.Width()) / 2, R.Top + (R.Height() - m.Height()) / 2 - 1, m.Width(), m.Height());
  } else if (Flags & DT_RIGHT) {
    m = Bounds(R.Right - m.Width(), m.Top, m.Width(), m.Height());
  }
  InflateRect(m, 2, 1);
  TRect clipped;
  if (IntersectRect(clipped, m, R)) DrawFocusRect(Canvas, clipped);
}

void DrawSkinElement(TCanvas* Canvas, const TRect& R, const TDataSkinObject& Element, Integer Frame, Integer FrameCount) {
  if (R.Right < R.Left || R.Bottom < R.Top || Element.Image.Empty()) return;
  DrawSkinImage(Canvas, R, Element.Image, Element.Margins(), Frame, FrameCount, Element.Trans == 1, Element.Tile == 1, false);
}

void DrawFrameMasked(TCanvas* Canvas, const TRect& R, const TBitmap& Image, Integer Frame, Integer FrameCount) {
  const Integer frames = std::max(FrameCount, 1);
  const Integer fw = Image.Width() / frames, fh = Image.Height();
  if (fw <= 0 || fh <= 0 || R.IsEmpty()) return;
  TBitmap frame(R.Width(), R.Height());
  frame.Canvas()->DrawImage(TRect(0, 0, R.Width(), R.Height()), Image.Image(),
                            Bounds((std::clamp(Frame, 1, frames) - 1) * fw, 0, fw, fh));
  DrawMaskedBitmap(Canvas, R, frame, TColor(0xFF00FF));
}

void DrawCaptionText(TCanvas* Canvas, const TRect& R, const String& Text, bool Enabled, Cardinal Alignment) {
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetStyle({});
  TRect m = R;
  DrawText(Canvas, Text, m, Alignment | DT_CALCRECT | DT_EXPANDTABS | DT_NOCLIP);
  const Integer w = m.Width(), h = m.Height();
  TRect t = R;
  if (Alignment & DT_CENTER) {
    t.Left = R.Left + (R.Width() - w) / 2;
    t.Right = t.Left + w;
  }
  t.Top = R.Top + (R.Height() - h) / 2 - 1;
  t.Bottom = t.Top + h;
  if (!Enabled) Canvas->Font()->SetColor(clBtnShadow);
  DrawText(Canvas, Text, t, Alignment | DT_EXPANDTABS);
}

void DrawGlyphCaption(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, Integer ImageIndex, const String& Text,
                      Integer Alignment, bool Enabled) {
  const bool glyph = Images && ImageIndex != -1 && Images->Width() < R.Width();
  const Integer gw = glyph ? Images->Width() : 0;
  constexpr Cardinal flags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
  TRect m(0, 0, std::max(0, R.Width() - (glyph ? gw + 2 : 0)), R.Height());
  if (!Text.isEmpty()) DrawText(Canvas, Text, m, flags | DT_CALCRECT | DT_NOCLIP);
  else m = TRect();
  const Integer tw = std::min(m.Width(), std::max(0, R.Width() - gw)), th = m.Height();
  Integer x = Alignment == 1 ? (R.Width() - gw - tw) / 2 : Alignment == 2 ? R.Width() - gw - tw - 2 : 2;
  if (x < 2) x = 1;
  if (glyph) Images->Draw(Canvas, R.Left + x, R.Top + (R.Height() - gw) / 2, ImageIndex, Enabled);
  if (Text.isEmpty()) return;
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetStyle({});
  if (!Enabled) Canvas->Font()->SetColor(clBtnShadow);
  TRect t(R.Left + x + gw, R.Top + (R.Height() - th) / 2, std::min(R.Right, R.Left + x + gw + tw), R.Top + (R.Height() - th) / 2 + th);
  DrawText(Canvas, Text, t, flags);
}

void DrawCentredText(TCanvas* Canvas, const TRect& R, const String& Text, bool Enabled, Cardinal Alignment) {
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetStyle({});
  constexpr Cardinal flags = DT_EXPANDTABS | DT_SINGLELINE;
  TRect m = R;
  DrawText(Canvas, Text, m, Alignment | flags | DT_CALCRECT | DT_NOCLIP);
  const Integer w = m.Width(), h = m.Height();
  TRect t(R.Left + (R.Width() - w) / 2, R.Top + (R.Height() - h) / 2, 0, 0);
  t.Right = t.Left + w;
  t.Bottom = t.Top + h;
  if (!Enabled) Canvas->Font()->SetColor(clBtnShadow);
  DrawText(Canvas, Text, t, Alignment | flags);
}
