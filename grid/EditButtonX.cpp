#include "grid/EditButtonX.h"
#include "grid/ButtonFacesX.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PendingMessages.h"
#include <algorithm>

namespace {
constexpr TShortCut AltDown = 0x8000 | VK_DOWN;
constexpr Cardinal FirstRepeat = 400, NextRepeat = 100;
}  // namespace

Integer EditButtonFaceKind(TEditButtonStyleX Style) {
  switch (Style) {
    case ebsDropDownX: return fkDropDownX;
    case ebsEllipsisX: return fkEllipsisX;
    case ebsUpDownX: return fkSpinX;
    case ebsPlusX: return fkPlusX;
    case ebsMinusX: return fkMinusX;
    case ebsAltDropDownX: return fkAltDropDownX;
    case ebsAltUpDownX: return fkAltSpinX;
    case ebsGlyphX: break;
  }
  return -1;
}

bool IsTwoHalfStyle(TEditButtonStyleX Style) { return Style == ebsUpDownX || Style == ebsAltUpDownX; }

// ---- TEditButtonX

TEditButtonX::TEditButtonX(TCollection* Collection) : TCollectionItem(nullptr), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->SetTransparent(true);
  if (Collection) {
    Collection->BeginUpdate();
    SetCollection(Collection);
    Collection->EndUpdate();
  }
}

TEditButtonX::TEditButtonX(TWinControl* Edit) : TEditButtonX(static_cast<TCollection*>(nullptr)) { FEdit = Edit; }

TEditButtonX::~TEditButtonX() = default;

void TEditButtonX::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TEditButtonX*>(Source);
  if (!Other) return TCollectionItem::Assign(Source);
  FDropdownMenu = Other->FDropdownMenu;
  SetEnabled(Other->FEnabled);
  SetGlyph(Other->FGlyph.get());
  SetHint(Other->FHint);
  SetNumGlyphs(Other->FNumGlyphs);
  FShortCut = Other->FShortCut;
  SetStyle(Other->FStyle);
  SetVisible(Other->FVisible);
  SetWidth(Other->FWidth);
  OnClick = Other->OnClick;
  OnDown = Other->OnDown;
}

void TEditButtonX::NotifyButtonChanged() {
  if (OnChanged) OnChanged(this);
  else if (Collection()) Changed(false);
}

void TEditButtonX::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  NotifyButtonChanged();
}

void TEditButtonX::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  NotifyButtonChanged();
}

void TEditButtonX::SetHint(const String& Value) {
  if (Value == FHint) return;
  FHint = Value;
  NotifyButtonChanged();
}

void TEditButtonX::SetNumGlyphs(Integer Value) {
  Value = std::clamp<Integer>(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  NotifyButtonChanged();
}

void TEditButtonX::SetStyle(TEditButtonStyleX Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  NotifyButtonChanged();
}

void TEditButtonX::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  NotifyButtonChanged();
}

void TEditButtonX::SetWidth(Integer Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  NotifyButtonChanged();
}

TEditButtonControlX* TEditButtonX::MakeButtonControl() {
  auto* Control = new TEditButtonControlX(FEdit);
  TControlStyle Style = Control->ControlStyle();
  Style.Include(csReplicatable);
  Control->SetControlStyle(Style);
  Control->SetParent(FEdit);
  Control->SetBounds(0, 0, 10, 17);
  Control->SetVisible(true);
  return Control;
}

void TEditButtonX::PerformClick(TObject* Sender, bool& Handled) {
  if (OnClick) OnClick(Sender, Handled);
}

TDropDownEditButtonX::TDropDownEditButtonX(TCollection* Collection) : TEditButtonX(Collection) { FShortCut = AltDown; }
TDropDownEditButtonX::TDropDownEditButtonX(TWinControl* Edit) : TEditButtonX(Edit) { FShortCut = AltDown; }
TVisibleEditButtonX::TVisibleEditButtonX(TCollection* Collection) : TDropDownEditButtonX(Collection) { FVisible = true; }
TVisibleEditButtonX::TVisibleEditButtonX(TWinControl* Edit) : TDropDownEditButtonX(Edit) { FVisible = true; }

TEditButtonsX::TEditButtonsX(TPersistent* Owner, TCollectionItemClass ItemClass)
    : TCollection(std::move(ItemClass)), FOwner(Owner) {}

void TEditButtonsX::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (OnChanged) OnChanged(Item);
}

// ---- TEditButtonControlX

TEditButtonControlX::TEditButtonControlX(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  TControlStyle Style = ControlStyle();
  Style.Include(csCaptureMouse);
  // The button decides itself whether a release clicks (not after the look was let up).
  Style.Exclude(csClickEvents);
  SetControlStyle(Style);
  SetBounds(0, 0, 23, 22);
}

TEditButtonControlX::~TEditButtonControlX() = default;

void TEditButtonControlX::SetStyle(TEditButtonStyleX Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Invalidate();
}

void TEditButtonControlX::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  Invalidate();
}

void TEditButtonControlX::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  Invalidate();
}

void TEditButtonControlX::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown || (FDown && !Value && !FAllowAllUp)) return;
  FDown = Value;
  FState = Value ? bsExclusiveX : bsUpX;
  Invalidate();
}

void TEditButtonControlX::SetHoldDown(bool On) {
  if (On == FHoldDown) return;
  FHoldDown = On;
  if (On) {
    FGroupIndex = 1;
    SetDown(true);
    FAllowAllUp = false;
    FPressedPart = 1;
  } else {
    FAllowAllUp = true;
    SetDown(false);
    FGroupIndex = 0;
    FPressedPart = 0;
  }
  Invalidate();
}

void TEditButtonControlX::DoButtonDown(bool TopButton, bool& AutoRepeat) {
  bool Handled = false;
  if (OnDown) OnDown(this, TopButton, AutoRepeat, Handled);
}

void TEditButtonControlX::UpdatePressedPart(Integer, Integer Y) {
  Integer Part = 1;
  if (FState != bsDownX && FState != bsExclusiveX) {
    Part = 0;
  } else if (IsTwoHalfStyle(FStyle)) {
    const Integer H = Height();
    Part = Y < H / 2 ? 1 : Y > H - H / 2 ? 2 : 0;
  }
  if (Part == FPressedPart) return;
  FPressedPart = Part;
  Invalidate();
}

void TEditButtonControlX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  bool AutoRepeat = IsTwoHalfStyle(FStyle);
  if (Button == mbLeft && Enabled()) {
    if (!FDown) {
      FState = bsDownX;
      Invalidate();
    }
    FDragging = true;
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  UpdatePressedPart(X, Y);
  if (FPressedPart == 0) return;
  DoButtonDown(FPressedPart == 1, AutoRepeat);
  if (AutoRepeat) StartRepeat(FirstRepeat);
}

void TEditButtonControlX::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging || FDown) return;
  const Integer H = Height();
  // Leaving the pressed half of a spin pair lets the button up; the release then does not click.
  const bool LeftHalf = IsTwoHalfStyle(FStyle) &&
                        ((FPressedPart == 2 && Y < H / 2) || (FPressedPart == 1 && Y > H - H / 2));
  const TButtonStateX NewState = LeftHalf || !MouseInside(X, Y) ? bsUpX : bsDownX;
  if (NewState == FState) return;
  FState = NewState;
  Invalidate();
}

void TEditButtonControlX::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  const bool WasDragging = FDragging;
  FDragging = false;
  // A spin pair whose look was let up by leaving the pressed half does not click.
  const bool DoClick = WasDragging && Button == mbLeft && MouseInside(X, Y) &&
                       !(IsTwoHalfStyle(FStyle) && FState == bsUpX);
  if (WasDragging && Button == mbLeft && !FDown) FState = bsUpX;
  if (DoClick && FGroupIndex != 0) SetDown(!FDown);
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  UpdatePressedPart(X, Y);
  StopRepeat();
  Invalidate();
  if (DoClick) Click();
}

void TEditButtonControlX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: FMouseInControl = true; Invalidate(); break;
    case CM_MOUSELEAVE: FMouseInControl = false; Invalidate(); break;
    default: break;
  }
  TGraphicControl::Dispatch(Message);
}

void TEditButtonControlX::StartRepeat(Cardinal Interval) {
  if (FRepeatTimer && FRepeatTimer->Enabled() && FRepeatInterval == Interval) return;
  if (!FRepeatTimer) {
    FRepeatTimer = new TTimer(this);
    FRepeatTimer->OnTimer = [this](TObject*) { CheckRepeat(); };
  }
  FRepeatTimer->SetEnabled(false);
  FRepeatInterval = Interval;
  FRepeatDue = TClock::Current().TickCount() + Interval;
  FRepeatTimer->SetInterval(Interval);
  FRepeatTimer->SetEnabled(true);
}

void TEditButtonControlX::StopRepeat() {
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  FRepeatInterval = 0;
}

void TEditButtonControlX::CheckRepeat() {
  if (FRepeatInterval == 0 || TClock::Current().TickCount() < FRepeatDue) return;
  RepeatTick();
}

void TEditButtonControlX::RepeatTick() {
  if (FState != bsDownX && FState != bsExclusiveX) return;
  if (FRepeatInterval == FirstRepeat) StartRepeat(NextRepeat);
  else FRepeatDue = TClock::Current().TickCount() + FRepeatInterval;
  bool AutoRepeat = IsTwoHalfStyle(FStyle);
  DoButtonDown(FPressedPart == 1, AutoRepeat);
  if (!AutoRepeat) StopRepeat();
}

void TEditButtonControlX::Paint() {
  if (FStyle == ebsGlyphX) return PaintGlyphStyle();
  const bool Pressed = FState == bsDownX || FState == bsExclusiveX;
  PaintEditButtonFace(Canvas(), TRect(0, 0, Width(), Height()), Parent() ? Parent()->Color() : clBtnFace,
                      EditButtonFaceKind(FStyle), Pressed ? FPressedPart : 0, FFlat, FActive, Enabled(), 0);
}

void TEditButtonControlX::PaintGlyphStyle() {
  TCanvas* C = Canvas();
  const TRect Bounds(0, 0, Width(), Height());
  const bool Pressed = FState == bsDownX || FState == bsExclusiveX;
  const Integer Saved = C->SaveState();
  TRect Face = Bounds;
  if (FFlat) {
    InflateRect(Face, -1, -1);
    C->IntersectClipRect(Face);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Face);
  } else {
    DrawEdge(C, Face, Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  }
  if (Pressed) OffsetRect(Face, 1, 1);
  // Caption first, glyph to its right, the pair centred.
  C->SetFont(Font());
  C->Brush()->SetStyle(bsClear);
  const TSize Text = C->TextExtent(Caption());
  const Integer GlyphW = FGlyph->Empty() ? 0 : FGlyph->Width() + (Caption().isEmpty() ? 0 : 4);
  const Integer X = Face.Left + (Face.Width() - Text.cx - GlyphW) / 2;
  const Integer Y = Face.Top + (Face.Height() - Text.cy) / 2;
  if (!Enabled()) {
    C->Font()->SetColor(clBtnHighlight);
    C->TextOut(X + 1, Y + 1, Caption());
    C->Font()->SetColor(clBtnShadow);
  }
  C->TextOut(X, Y, Caption());
  if (!FGlyph->Empty()) C->Draw(X + Text.cx + (Caption().isEmpty() ? 0 : 4), Face.Top + (Face.Height() - FGlyph->Height()) / 2, FGlyph.get());
  C->RestoreState(Saved);
  if (!FFlat) return;
  TRect Frame = Bounds;
  if (FActive) {
    DrawEdge(C, Frame, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else {
    C->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
    C->FrameRect(Frame);
  }
}

bool PopupEditButtonMenu(TEditButtonX* Button, TControl* Control) {
  auto* menu = dynamic_cast<TPopupMenu*>(Button->DropdownMenu());
  if (!menu || !Control) return false;
  const Integer x = menu->Alignment() == paRight ? Control->Width() : 0;
  const TPoint at = Control->ClientToScreen(TPoint(x, Control->Height()));
  menu->SetPopupComponent(Control);
  menu->Popup(at.X, at.Y);
  TakePendingClickOnControl(Control);
  // The menu took the release of the press that opened it: the button must not stay down.
  Control->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(-1, -1)));
  return true;
}
