#include "platform/ui/ControlHost.h"
#include "platform/ui/Forms.h"
#include <algorithm>

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FScrollBars(std::make_unique<TControlScrollBars>(this)) {}

TWinControl::~TWinControl() {
  Destroying();
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->ControlRemoving(this);
  // Leave the parent while still a windowed control: later it would take this for a plain
  // control and keep it in its tab order, to be reached there after it is gone.
  if (Parent()) Parent()->RemoveControl(this);
  for (const auto& [id, qtId] : FTimers) MessageTarget()->killTimer(qtId);
  FTimers.clear();
  // Children go with their parent, whoever owns them.
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
  DestroyHandleTree();
}

// ---- children

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  FControls.push_back(AControl);
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win) FTabList.push_back(win);
  AControl->Perform(CM_PARENTFONTCHANGED);
  AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->Perform(CM_PARENTCTL3DCHANGED);
  AControl->Perform(CM_PARENTBIDIMODECHANGED);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  if (win && HandleAllocated()) win->HandleNeeded();
  if (AControl->Visible()) {
    AControl->Invalidate();
    Realign();
  }
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  if (FMouseControl == AControl) FMouseControl = nullptr;
  if (TCustomForm* form = GetParentForm(this))
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) form->ControlRemoving(win);
  AControl->InvalidateControl(AControl->Visible());
  FControls.erase(it);
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
    win->DestroyHandleTree();
  }
  AControl->FParent = nullptr;
  Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  for (const TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
    if (PtInRect(c->BoundsRect(), P)) {
      TMessage hit{CM_HITTEST, 0, PointToLParam({P.X - c->Left(), P.Y - c->Top()}), 0};
      c->WindowProc(hit);
      if (hit.Result != 0) return c;
    }
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (size_t i = 0; i < FControls.size(); ++i) {
    FControls[i]->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(Cardinal Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::SetMouseControl(TControl* Control) {
  if (Control == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = Control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, LPARAM(old));
  if (Control) Control->Perform(CM_MOUSEENTER, 0, LPARAM(Control));
}

// ---- alignment

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  ++FAlignLevel;
  TRect r = ClientRect();
  AdjustClientRect(r);
  AlignControls(nullptr, r);
  --FAlignLevel;
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
  const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign align : order) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->Align() == align && c->Visible()) list.push_back(c);
    // Controls of one kind stack from the edge in the order of their current positions.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      switch (align) {
        case alTop:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), c->Height());
          Rect.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(Rect.Left, Rect.Bottom - c->Height(), Rect.Width(), c->Height());
          Rect.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(Rect.Left, Rect.Top, c->Width(), Rect.Height());
          Rect.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(Rect.Right - c->Width(), Rect.Top, c->Width(), Rect.Height());
          Rect.Right -= c->Width();
          break;
        default:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
          break;
      }
    }
  }
}

void TWinControl::AnchorChildren(Integer DeltaWidth, Integer DeltaHeight) {
  if (DeltaWidth == 0 && DeltaHeight == 0) return;
  if (ComponentState().Contains(csLoading)) return;
  for (TControl* c : FControls) {
    if (c->Align() != alNone) continue;
    const TAnchors a = c->Anchors();
    Integer l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft)) w += DeltaWidth;
      else l += DeltaWidth;
    } else if (!a.Contains(akLeft)) {
      l += DeltaWidth / 2;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop)) h += DeltaHeight;
      else t += DeltaHeight;
    } else if (!a.Contains(akTop)) {
      t += DeltaHeight / 2;
    }
    c->SetBounds(l, t, w, h);
  }
}

// ---- geometry

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  FConstraints.Apply(AWidth, AHeight);
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const TRect oldClient = ClientRect();
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (resized) FFrameValid = false;
  PlaceWidget();
  if (resized) ClientSizeChanged(oldClient);
  RequestAlign();
}

void TWinControl::ClientSizeChanged(const TRect& OldClient) {
  const TRect client = ClientRect();
  AnchorChildren(client.Width() - OldClient.Width(), client.Height() - OldClient.Height());
  SendSizeMessage();
}

void TWinControl::FrameChanged() {
  const TRect oldClient = ClientRect();
  InvalidateFrame();
  ClientSizeChanged(oldClient);
}

void TWinControl::HostResized() {
  if (!FHandle) return;
  const QSize s = FHandle->size();
  if (s.width() == FWidth && s.height() == FHeight) return;
  const TRect oldClient = ClientRect();
  FWidth = s.width();
  FHeight = s.height();
  InvalidateFrame();
  ClientSizeChanged(oldClient);
}

void TWinControl::HostMoved(TPoint Pos) {
  FLeft = Pos.X;
  FTop = Pos.Y;
}

TRect TWinControl::ClientRectInWindow() const {
  if (!FFrameValid) {
    auto* self = const_cast<TWinControl*>(this);
    TRect r(0, 0, FWidth, FHeight);
    FFrameValid = true;
    self->Perform(WM_NCCALCSIZE, 0, LPARAM(&r));
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    FClientInWindow = r;
    if (FHandle) FScrollBars->Place(FHandle, FVertBarRect, FHorzBarRect);
  }
  return FClientInWindow;
}

TRect TWinControl::ClientRect() const {
  const TRect r = ClientRectInWindow();
  return TRect(0, 0, r.Width(), r.Height());
}

TPoint TWinControl::ClientOrigin() const {
  const TRect inWindow = ClientRectInWindow();
  if (FHandle) {
    const QPoint p = FHandle->mapToGlobal(QPoint(inWindow.Left, inWindow.Top));
    return {p.x(), p.y()};
  }
  if (!Parent()) return {Left() + inWindow.Left, Top() + inWindow.Top};
  const TPoint o = Parent()->ClientOrigin();
  return {o.X + Left() + inWindow.Left, o.Y + Top() + inWindow.Top};
}

void TWinControl::InvalidateFrame() {
  const TRect before = FClientInWindow;
  FFrameValid = false;
  const TRect after = ClientRectInWindow();
  if (FHandle) FHandle->update();
  if (before.TopLeft() != after.TopLeft()) PlaceChildWidgets();
}

void TWinControl::DefaultNcCalcSize(TMessage& Message) {
  TRect& r = TWMNCCalcSize{Message}.Rect();
  TCreateParams params;
  CreateParams(params);
  // Framed top-level windows get their frame from the window system.
  if (params.Style & (WS_CHILD | WS_POPUP)) {
    if (params.ExStyle & WS_EX_CLIENTEDGE) InflateRect(r, -2, -2);
    if (params.Style & WS_BORDER) InflateRect(r, -1, -1);
  }
  const bool leftBar = (params.ExStyle & WS_EX_LEFTSCROLLBAR) || UseRightToLeftScrollBar();
  FVertBarRect = FHorzBarRect = TRect();
  if (FScrollBars->Bar(SB_VERT).Visible) {
    const Integer w = GetSystemMetrics(SM_CXVSCROLL);
    if (leftBar) {
      FVertBarRect = TRect(r.Left, r.Top, r.Left + w, r.Bottom);
      r.Left += w;
    } else {
      FVertBarRect = TRect(r.Right - w, r.Top, r.Right, r.Bottom);
      r.Right -= w;
    }
  }
  if (FScrollBars->Bar(SB_HORZ).Visible) {
    const Integer h = GetSystemMetrics(SM_CYHSCROLL);
    FHorzBarRect = TRect(r.Left, r.Bottom - h, r.Right, r.Bottom);
    r.Bottom -= h;
    if (!FVertBarRect.IsEmpty()) FVertBarRect.Bottom -= h;
  }
}

// ---- the window

QWidget* TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (Parent()) {
    Parent()->HandleNeeded();
    if (FHandle) return;
  }
  CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = Text();
  Params.Style = WS_CLIPSIBLINGS;
  if (Parent()) Params.Style |= WS_CHILD;
  else Params.Style |= WS_POPUP;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  if (Visible()) Params.Style |= WS_VISIBLE;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (FBorderStyle == bsSingle) {
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  Params.WndParent = Parent();
  Params.WindowClassStyle = CS_DBLCLKS;
}

QWidget* TWinControl::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  Qt::WindowFlags flags = Qt::Widget;
  if (!(Params.Style & WS_CHILD)) {
    if (Params.Style & WS_POPUP) flags = Qt::Tool | Qt::FramelessWindowHint;
    else if (Params.ExStyle & WS_EX_TOOLWINDOW) flags = Qt::Tool;
    else if (Params.ExStyle & WS_EX_DLGMODALFRAME) flags = Qt::Dialog;
    else flags = Qt::Window;
    if (!(Params.Style & WS_CAPTION) && !(Params.Style & WS_POPUP)) flags |= Qt::FramelessWindowHint;
    if (Params.ExStyle & WS_EX_NOACTIVATE) flags |= Qt::WindowDoesNotAcceptFocus;
    if (Params.ExStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  }
  auto* host = new THostWidget(this, ParentWidget, flags);
  if (Params.ExStyle & WS_EX_NOACTIVATE) host->setAttribute(Qt::WA_ShowWithoutActivating);
  return host;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  QWidget* parentWidget = nullptr;
  if (Parent()) parentWidget = Parent()->Handle();
  else if (params.WndParent && params.WndParent->HandleAllocated()) parentWidget = params.WndParent->Handle()->window();
  QWidget* widget = CreateWidget(params, parentWidget);
  FHandle = widget;
  RegisterWidget(widget, this);
  if (!dynamic_cast<THostWidget*>(widget)) {
    auto* filter = new TWidgetFilter(this, widget);
    filter->Install(widget);
    FFilter = filter;
  }
  widget->setFont(Font()->ToQFont());
  widget->setEnabled(Enabled());
  if (!(params.Style & WS_CHILD)) widget->setWindowTitle(params.Caption);
  if (params.Style & WS_VSCROLL) FScrollBars->Bar(SB_VERT).Visible = true;
  if (params.Style & WS_HSCROLL) FScrollBars->Bar(SB_HORZ).Visible = true;
  FFrameValid = false;
  PlaceWidget();
  CreateHandle();
  for (TWinControl* child : std::vector<TWinControl*>(FTabList))
    if (!child->HandleAllocated()) child->CreateWnd();
  if (params.Style & WS_CHILD) widget->setVisible(Visible());
  SendSizeMessage();
}

void TWinControl::CreateHandle() {}

void TWinControl::DestroyWnd() { DestroyHandleTree(); }

void TWinControl::DestroyHandleTree() {
  if (!FHandle) return;
  for (TWinControl* child : FTabList) child->DestroyHandleTree();
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  FScrollBars->Destroy();
  QWidget* widget = FHandle;
  FHandle = nullptr;
  if (auto* host = dynamic_cast<THostWidget*>(widget)) host->Detach();
  if (auto* filter = static_cast<TWidgetFilter*>(FFilter.data())) filter->Detach();
  RegisterWidget(widget, nullptr);
  // The widget may be handling an event right now: it goes when the event loop comes back.
  widget->hide();
  widget->deleteLater();
  FFrameValid = false;
}

void TWinControl::RecreateWnd() {
  if (HandleAllocated()) Perform(CM_RECREATEWND);
}

void TWinControl::PlaceWidget() {
  if (!FHandle) return;
  if (FHandle->isWindow()) {
    // A window the user may not resize is fixed at its size; the program still resizes it.
    if (FHandle->minimumSize() == FHandle->maximumSize()) FHandle->setFixedSize(Width(), Height());
    FHandle->setGeometry(Left(), Top(), Width(), Height());
  } else if (Parent()) {
    const TRect pc = Parent()->ClientRectInWindow();
    FHandle->setGeometry(pc.Left + Left(), pc.Top + Top(), Width(), Height());
  }
  ClientRectInWindow();
}

void TWinControl::PlaceChildWidgets() {
  for (TWinControl* child : FTabList) child->PlaceWidget();
}

void TWinControl::SetWindowRgn(const TRegion* Region) {
  HandleNeeded();
  if (Region) FHandle->setMask(Region->ToQRegion());
  else FHandle->clearMask();
}

void TWinControl::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  Perform(CM_BORDERCHANGED);
}

bool TWinControl::Showing() const {
  if (FHandle) return FHandle->isVisible();
  return TControl::Showing();
}

// ---- focus

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (c == form) break;
  }
  return true;
}

bool TWinControl::Focused() const { return FHandle && FHandle->hasFocus(); }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this); form && form != this) {
    form->FocusControl(this);
  } else if (HandleNeeded(), FHandle) {
    FHandle->activateWindow();
    FHandle->setFocus(Qt::OtherFocusReason);
  }
}

void TWinControl::SetTabStop(bool Value) {
  if (Value == FTabStop) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED);
}

Integer TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->FTabList;
  return Integer(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  list.erase(std::find(list.begin(), list.end(), this));
  Value = std::clamp(Value, 0, Integer(list.size()));
  list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const auto found = std::find(list.begin(), list.end(), CurControl);
  Integer start = found == list.end() ? (GoForward ? Integer(list.size()) - 1 : 0) : Integer(found - list.begin());
  Integer i = start;
  do {
    if (GoForward) i = (i + 1) % Integer(list.size());
    else i = (i == 0 ? Integer(list.size()) : i) - 1;
    TWinControl* c = list[size_t(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

void TWinControl::WMSetFocus(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && !ComponentState().Contains(csDestroying)) {
    TWinControl* previous = form->ActiveControl();
    try {
      if (!form->SetFocusedControl(this)) return;
    } catch (...) {
      // The control losing the focus refused it: the focus stays there.
      if (previous && previous->HandleAllocated()) previous->Handle()->setFocus(Qt::OtherFocusReason);
      throw;
    }
  }
  DefaultHandler(Message);
}

// ---- keys

bool TWinControl::DoKey(TMessage& Message, bool Down) {
  TWMKey key{Message};
  Word k = key.CharCode();
  const TShiftState shift = KeyDataToShiftState(key.KeyData());
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && (Down ? form->PreviewKeyDown(k, shift) : form->PreviewKeyUp(k, shift)))
    return true;
  if (k != 0) {
    if (Down) KeyDown(k, shift);
    else KeyUp(k, shift);
  }
  key.SetCharCode(k);
  return k == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  QChar c(char16_t(Message.WParam));
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->PreviewKeyPress(c)) return true;
  if (c != QChar(0)) KeyPress(c);
  Message.WParam = c.unicode();
  return c == QChar(0);
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(QChar& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}
