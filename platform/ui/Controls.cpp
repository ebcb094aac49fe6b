#include "platform/ui/Controls.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ControlHost.h"

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  WindowProc = [this](TMessage& Message) { WndProc(Message); };
  FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
}

TControl::~TControl() {
  Destroying();
  if (IControlsApplication* application = ControlsApplication()) application->ControlDestroying(this);
  ForgetDrag();
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  if (FParent) FParent->RemoveControl(this);
  // The target may be delivering this control's last message right now.
  if (FMessageTarget) FMessageTarget.release()->Detach();
}

// ---- messages

void TControl::WndProc(TMessage& Message) {
  if (DragMessage(Message)) return;
  if (FDragMode == dmAutomatic && !ComponentState().Contains(csDesigning) &&
      (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)) {
    BeginDrag(true);
    return;
  }
  // While a button is down over a window-less control, the control owns the mouse.
  if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) FControlState.Include(csLButtonDown);
  else if (Message.Msg == WM_LBUTTONUP) FControlState.Exclude(csLButtonDown);
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMButtonDown(Message, mbLeft, {}); return;
    case WM_RBUTTONDOWN: WMButtonDown(Message, mbRight, {}); return;
    case WM_MBUTTONDOWN: WMButtonDown(Message, mbMiddle, {}); return;
    case WM_LBUTTONDBLCLK: WMButtonDown(Message, mbLeft, {ssDouble}); return;
    case WM_RBUTTONDBLCLK: WMButtonDown(Message, mbRight, {ssDouble}); return;
    case WM_MBUTTONDBLCLK: WMButtonDown(Message, mbMiddle, {ssDouble}); return;
    case WM_LBUTTONUP: WMButtonUp(Message, mbLeft); return;
    case WM_RBUTTONUP: WMButtonUp(Message, mbRight); return;
    case WM_MBUTTONUP: WMButtonUp(Message, mbMiddle); return;
    case WM_MOUSEMOVE: WMMouseMove(Message); return;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_HITTEST: Message.Result = HTCLIENT; return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED: Invalidate(); return;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return;
    case CM_PARENTCTL3DCHANGED: ParentCtl3DChanged(); return;
    case CM_PARENTBIDIMODECHANGED: ParentBiDiModeChanged(); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); return;
    // Notices a plain control has nothing to do with.
    case CM_HINTSHOWPAUSE:
    case CM_HINTSHOW:
    case CM_CANCELMODE:
    case CM_VISIBLECHANGED:
    case CM_SHOWHINTCHANGED:
    case CM_CURSORCHANGED:
    case CM_CTL3DCHANGED:
    case CM_BIDIMODECHANGED: return;
    case WM_SIZE: WMSize(Message); return;
    case CM_RELEASE: delete this; return;
    default: DefaultHandler(Message);
  }
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  const TWMMouse m{Message};
  MouseMove(KeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMMouseWheel(TMessage& Message) {
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  if (Message.Result == 0) DefaultHandler(Message);
}

// A wheel turn the control does not use goes on to its parent.
void TControl::CMMouseWheel(TMessage& Message) {
  const TWMMouseWheel w{Message};
  const TPoint pos = w.Pos();
  if (DoMouseWheel(KeysToShiftState(w.Keys()), w.WheelDelta(), pos)) Message.Result = 1;
  else if (FParent) Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::CMMouseEnter(TMessage& Message) { MouseCrossed(Message, true); }

void TControl::CMMouseLeave(TMessage& Message) { MouseCrossed(Message, false); }

// The notice names the control the mouse crossed (0: this one); the parents hear of it too.
void TControl::MouseCrossed(TMessage& Message, bool Entered) {
  if (Message.LParam == LPARAM(this) || Message.LParam == 0) {
    if (IControlsApplication* application = ControlsApplication())
      Entered ? application->HintMouseEnter(this) : application->HintMouseLeave(this);
    const TNotifyEvent& event = Entered ? OnMouseEnter : OnMouseLeave;
    if (event) event(this);
  }
  if (FParent) FParent->Perform(Entered ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, Message.LParam);
  DefaultHandler(Message);
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  FShowHint = FParent->ShowHint();
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::WMSize(TMessage& Message) {
  Resize();
  DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message) {
  TEventContext* context = CurrentEventContext();
  if (!context || context->Control != this || context->Msg != Message.Msg || context->DefaultCalled) return;
  context->DefaultCalled = true;
  if (!context->Deferred && context->CallDefault) context->CallDefault();
}

LRESULT TControl::Perform(Cardinal Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  TEventContext none;
  TEventScope scope(&none);
  WindowProc(m);
  return m.Result;
}

void TControl::WMButtonDown(TMessage& Message, TMouseButton Button, TShiftState Extra) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (Extra.Contains(ssDouble) && FControlStyle.Contains(csClickEvents) && Button == mbLeft) DblClick();
  if (FControlStyle.Contains(csClickEvents) && Button == mbLeft && !Extra.Contains(ssDouble)) FControlState.Include(csClicked);
  const TWMMouse m{Message};
  MouseDown(Button, KeysToShiftState(m.Keys()) + Extra, m.XPos(), m.YPos());
}

void TControl::WMButtonUp(TMessage& Message, TMouseButton Button) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse) && !(Message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) SetMouseCapture(false);
  const TWMMouse m{Message};
  if (Button == mbLeft && FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (PtInRect(ClientRect(), m.Pos())) Click();
  }
  MouseUp(Button, KeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0 || ComponentState().Contains(csDesigning)) return;
  const TPoint screen = TWMContextMenu{Message}.Pos();
  const bool fromKeyboard = screen.X < 0;
  bool handled = false;
  DoContextPopup(fromKeyboard ? TPoint(-1, -1) : ScreenToClient(screen), handled);
  if (handled) {
    Message.Result = 1;
    return;
  }
  if (auto* menu = dynamic_cast<IPopupMenu*>(FPopupMenu); menu && menu->AutoPopup()) {
    SendCancelMode(nullptr);
    menu->SetPopupComponent(this);
    const TPoint at = fromKeyboard ? ClientToScreen({0, 0}) : screen;
    menu->Popup(at.X, at.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::SendCancelMode(TControl* Sender) {
  const TControl* root = this;
  while (root->Parent()) root = root->Parent();
  const_cast<TControl*>(root)->CancelModes(Sender);
}

// ---- events

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (!handled) handled = WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent) {
    if (FParentFont) ParentFontChanged();
    if (FParentColor) ParentColorChanged();
  }
  RequestAlign();
}

// ---- parent and geometry

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  FConstraints.Apply(AWidth, AHeight);
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  InvalidateControl(FVisible);
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  InvalidateControl(FVisible);
  if (resized) SendSizeMessage();
  RequestAlign();
}

void TControl::SendSizeMessage() {
  const TRect r = ClientRect();
  Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(Word(r.Width()), Word(r.Height())));
}

void TControl::SetClientWidth(Integer Value) { SetWidth(FWidth - ClientWidth() + Value); }
void TControl::SetClientHeight(Integer Value) { SetHeight(FHeight - ClientHeight() + Value); }

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  const TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const {
  const TPoint o = ClientOrigin();
  return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint o = ClientOrigin();
  return {P.X - o.X, P.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (Value == FAlign) return;
  FAlign = Value;
  if (Value == alLeft || Value == alRight) FAnchors = {akLeft, akTop, akBottom};
  else if (Value == alTop || Value == alBottom) FAnchors = {akLeft, akTop, akRight};
  else if (Value == alClient) FAnchors = {akLeft, akTop, akRight, akBottom};
  else FAnchors = {akLeft, akTop};
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent && FVisible) FParent->Realign();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) w->Handle()->raise();
  InvalidateControl(FVisible);
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) w->Handle()->lower();
  InvalidateControl(FVisible);
}

// ---- appearance and state

void TControl::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
  Perform(CM_SHOWINGCHANGED);
  InvalidateControl(true);
  if (FParent) FParent->Realign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool Value) {
  if (Value == FParentFont) return;
  FParentFont = Value;
  if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  const TNotifyEvent keep = FFont->OnChange;
  FFont->OnChange = nullptr;
  FFont->Assign(FParent->Font());
  FFont->OnChange = keep;
  Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor Value) {
  if (Value == FColor && !FParentColor) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (Value == FParentColor) return;
  FParentColor = Value;
  if (Value) ParentColorChanged();
}

template <typename T>
void TControl::TakeFromParent(bool Inherit, T& Field, T ParentValue, Cardinal Notice) {
  if (!Inherit || !FParent || Field == ParentValue) return;
  Field = ParentValue;
  Perform(Notice);
}

void TControl::ParentColorChanged() {
  if (FParent) TakeFromParent(FParentColor, FColor, FParent->Color(), CM_COLORCHANGED);
}

void TControl::SetCtl3D(bool Value) {
  FParentCtl3D = false;
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  Perform(CM_CTL3DCHANGED);
}

void TControl::SetParentCtl3D(bool Value) {
  if (Value == FParentCtl3D) return;
  FParentCtl3D = Value;
  if (Value) ParentCtl3DChanged();
}

void TControl::ParentCtl3DChanged() {
  if (FParent) TakeFromParent(FParentCtl3D, FCtl3D, FParent->Ctl3D(), CM_CTL3DCHANGED);
}

void TControl::SetText(const String& Value) {
  if (Value == FText) return;
  FText = Value;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (Value == FShowHint) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
  if (Value == FParentShowHint) return;
  FParentShowHint = Value;
  if (Value) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  FParentBiDiMode = false;
  if (Value == FBiDiMode) return;
  FBiDiMode = Value;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (Value == FParentBiDiMode) return;
  FParentBiDiMode = Value;
  if (Value) ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged() {
  if (FParent) TakeFromParent(FParentBiDiMode, FBiDiMode, FParent->BiDiMode(), CM_BIDIMODECHANGED);
}

void TSizeConstraints::Apply(Integer& Width, Integer& Height) const {
  if (MaxWidth > 0) Width = std::min(Width, MaxWidth);
  if (MaxHeight > 0) Height = std::min(Height, MaxHeight);
  Width = std::max(Width, MinWidth);
  Height = std::max(Height, MinHeight);
}

void TControl::SetConstraints(const TSizeConstraints& Value) {
  FConstraints = Value;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetPopupMenu(TComponent* Value) {
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (Value == MouseCapture()) return;
  SetCaptureControl(Value ? this : nullptr);
}

// ---- painting

void TControl::InvalidateControl(bool IsVisible) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  const TRect r = BoundsRect();
  FParent->InvalidateRect(&r, true);
}

void TControl::Invalidate() { InvalidateControl(FVisible); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

// ---- message target

TMessageTarget* TControl::MessageTarget() {
  if (!FMessageTarget) FMessageTarget = std::make_unique<TMessageTarget>(this);
  return FMessageTarget.get();
}

// ---- actions reaching the control

bool TControl::ExecuteAction(TAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TControl::UpdateAction(TAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}
