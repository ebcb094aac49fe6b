#include "platform/ui/ControlHost.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(Message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: Broadcast(Message); return;
    case CM_CHILDKEY: if (Parent()) Parent()->WindowProc(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); return;
    case CM_TEXTCHANGED: CMTextChanged(Message); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); return;
    case CM_BORDERCHANGED: CMBorderChanged(Message); return;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); return;
    case CM_RECREATEWND: CMRecreateWnd(Message); return;
    default: TControl::Dispatch(Message);
  }
}

// WParam carries the canvas to paint on.
void TWinControl::WMPaint(TMessage& Message) {
  auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
  if (!canvas) return;
  PaintWindow(canvas);
  PaintControls(canvas);
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  Realign();
  TControl::WMSize(Message);
}

void TWinControl::CMFontChanged(TMessage&) {
  if (FHandle) FHandle->setFont(Font()->ToQFont());
  NotifyControls(CM_PARENTFONTCHANGED);
  Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) {
  NotifyControls(CM_PARENTCOLORCHANGED);
  Invalidate();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (FHandle) FHandle->setEnabled(Enabled());
  Invalidate();
}

// A child window appears with its parent's; a top-level one shows by itself.
void TWinControl::CMShowingChanged(TMessage&) {
  if (Visible() && !FHandle && (!Parent() || Parent()->HandleAllocated())) HandleNeeded();
  if (FHandle) FHandle->setVisible(Visible());
}

void TWinControl::CMSysColorChange(TMessage&) {
  NotifyControls(CM_SYSCOLORCHANGE);
  Invalidate();
}

void TWinControl::CMTextChanged(TMessage&) {
  if (FHandle && FHandle->isWindow()) FHandle->setWindowTitle(Text());
  Invalidate();
}

void TWinControl::CMCtl3DChanged(TMessage& Message) {
  NotifyControls(CM_PARENTCTL3DCHANGED);
  CMBorderChanged(Message);
}

// The frame is made anew with the window.
void TWinControl::CMBorderChanged(TMessage&) {
  FFrameValid = false;
  RecreateWnd();
  if (!FHandle) ClientRectInWindow();
}

void TWinControl::CMBiDiModeChanged(TMessage&) {
  InvalidateFrame();
  NotifyControls(CM_PARENTBIDIMODECHANGED);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  const bool focused = Focused();
  DestroyWnd();
  HandleNeeded();
  if (FHandle && FHandle->isWindow() && Visible()) FHandle->show();
  if (focused && FHandle) FHandle->setFocus(Qt::OtherFocusReason);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE: DefaultNcCalcSize(Message); break;
    case WM_NCPAINT: DefaultNcPaint(Message); break;
    case WM_ERASEBKGND: DefaultEraseBackground(Message); break;
    case WM_NCHITTEST: {
      const TPoint p = ScreenToClient(TWMNCHitTest{Message}.Pos());
      const TRect inWindow = ClientRectInWindow();
      const TPoint w{p.X + inWindow.Left, p.Y + inWindow.Top};
      if (PtInRect(ClientRect(), p)) Message.Result = HTCLIENT;
      else if (PtInRect(FVertBarRect, w)) Message.Result = HTVSCROLL;
      else if (PtInRect(FHorzBarRect, w)) Message.Result = HTHSCROLL;
      else Message.Result = HTBORDER;
      break;
    }
    case WM_SETCURSOR:
      if (Message.Result == 0 && FHandle) RestoreOwnCursorShape();
      break;
    case WM_CANCELMODE:
      if (TControl* capture = GetCaptureControl(); capture && (capture == this || ContainsControl(capture)))
        SetCaptureControl(nullptr);
      break;
    default: break;
  }
  TControl::DefaultHandler(Message);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (TWMSetCursor{Message}.HitTest() == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      const TPoint p = ScreenToClient(GetCursorPos());
      if (TControl* child = ControlAtPos(p, false); child && child->Cursor() != crDefault) cursor = child->Cursor();
      if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault) {
      SetCursorShape(cursor);
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// ---- painting

void TWinControl::PaintWindow(TCanvas* Canvas) {
  TMessage m{WM_PAINT, WPARAM(Canvas), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(TCanvas* Canvas) {
  const TRect clip = Canvas->ClipRect();
  for (TControl* c : std::vector<TControl*>(FControls)) {
    auto* graphic = dynamic_cast<TGraphicControl*>(c);
    if (!graphic || !graphic->Visible()) continue;
    TRect overlap;
    if (!IntersectRect(overlap, graphic->BoundsRect(), clip)) continue;
    auto* own = static_cast<TControlCanvas*>(graphic->Canvas());
    const TPoint origin = Canvas->DeviceOrigin();
    own->BeginPaintOn(Canvas, {origin.X + graphic->Left(), origin.Y + graphic->Top()},
                      Bounds(overlap.Left - graphic->Left(), overlap.Top - graphic->Top(), overlap.Width(), overlap.Height()));
    graphic->Perform(WM_PAINT, WPARAM(static_cast<TCanvas*>(own)));
    own->EndPaint();
  }
}

void TWinControl::DefaultEraseBackground(TMessage& Message) {
  auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
  if (!canvas) return;
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(canvas->ClipRect());
  Message.Result = 1;
}

void TWinControl::DefaultNcPaint(TMessage& Message) {
  auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
  if (!canvas) return;
  TCreateParams params;
  CreateParams(params);
  TRect r(0, 0, Width(), Height());
  if (params.Style & (WS_CHILD | WS_POPUP)) {
    if (params.ExStyle & WS_EX_CLIENTEDGE) DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (params.Style & WS_BORDER) {
      canvas->Brush()->SetColor(clWindowFrame);
      canvas->FrameRect(r);
    }
  }
  // The corner between two scroll bars.
  if (!FVertBarRect.IsEmpty() && !FHorzBarRect.IsEmpty()) {
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(FVertBarRect.Left, FHorzBarRect.Top, FVertBarRect.Right, FHorzBarRect.Bottom));
  }
}

void TWinControl::InvalidateRect(const TRect* R, bool) {
  if (!FHandle) return;
  const TRect c = ClientRectInWindow();
  QRect area(c.Left, c.Top, c.Width(), c.Height());
  if (R) area = area.intersected(QRect(c.Left + R->Left, c.Top + R->Top, R->Width(), R->Height()));
  if (area.isEmpty()) return;
  FPendingPaint += area;
  FHandle->update(area);
}

void TWinControl::Invalidate() {
  if (!FHandle) return;
  FPendingPaint += FHandle->rect();
  FHandle->update();
}

void TWinControl::Update() {
  if (!FHandle || FPendingPaint.isEmpty()) return;
  const QRegion pending = FPendingPaint;
  FPendingPaint = QRegion();
  FHandle->repaint(pending);
}

void TWinControl::ScrollWindowEx(Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip, Cardinal Flags) {
  if (Flags & SW_SCROLLCHILDREN)
    for (TControl* c : std::vector<TControl*>(FControls)) c->SetBounds(c->Left() + DX, c->Top() + DY, c->Width(), c->Height());
  if (!FHandle) return;
  const TRect client = ClientRectInWindow();
  TRect area = Scroll ? *Scroll : ClientRect();
  if (Clip) IntersectRect(area, area, *Clip);
  OffsetRect(area, client.Left, client.Top);
  if (area.IsEmpty()) return;
  FHandle->scroll(DX, DY, QRect(area.Left, area.Top, area.Width(), area.Height()));
}

// ---- scroll bars

Integer TWinControl::SetScrollInfo(Integer Bar, const TScrollInfo& Info, bool) {
  const bool wasVisible = FScrollBars->Bar(Bar).Visible;
  const Integer pos = FScrollBars->SetInfo(Bar, Info);
  if (FScrollBars->Bar(Bar).Visible != wasVisible) {
    InvalidateFrame();
    SendSizeMessage();
  } else {
    FScrollBars->Sync(Bar);
  }
  return pos;
}

bool TWinControl::GetScrollInfo(Integer Bar, TScrollInfo& Info) const {
  const TControlScrollBars::TBar& b = FScrollBars->Bar(Bar);
  if (Info.fMask & SIF_RANGE) {
    Info.nMin = b.Info.nMin;
    Info.nMax = b.Info.nMax;
  }
  if (Info.fMask & SIF_PAGE) Info.nPage = b.Info.nPage;
  if (Info.fMask & SIF_POS) Info.nPos = b.Info.nPos;
  if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = b.Tracking ? b.TrackPos : b.Info.nPos;
  return true;
}

Integer TWinControl::SetScrollPos(Integer Bar, Integer Pos, bool Redraw) {
  const Integer old = GetScrollPos(Bar);
  TScrollInfo info;
  info.fMask = SIF_POS;
  info.nPos = Pos;
  SetScrollInfo(Bar, info, Redraw);
  return old;
}

Integer TWinControl::GetScrollPos(Integer Bar) const { return FScrollBars->Bar(Bar).Info.nPos; }

void TWinControl::ShowScrollBar(Integer Bar, bool Show) {
  bool changed = false;
  for (Integer which : {SB_HORZ, SB_VERT}) {
    if (Bar != which && Bar != SB_BOTH) continue;
    if (FScrollBars->Bar(which).Visible == Show) continue;
    FScrollBars->Bar(which).Visible = Show;
    changed = true;
  }
  if (!changed) return;
  InvalidateFrame();
  SendSizeMessage();
}

void TWinControl::EnableScrollBar(Integer Bar, Cardinal Arrows) {
  for (Integer which : {SB_HORZ, SB_VERT}) {
    if (Bar != which && Bar != SB_BOTH) continue;
    FScrollBars->Bar(which).DisabledArrows = Arrows;
    FScrollBars->Sync(which);
  }
}

bool TWinControl::ScrollBarVisible(Integer Bar) const { return FScrollBars->Bar(Bar).Visible; }

bool TWinControl::GetScrollBarInfo(Integer Bar, TScrollBarInfo& Info) const {
  const TControlScrollBars::TBar& b = FScrollBars->Bar(Bar);
  Info = TScrollBarInfo();
  ClientRectInWindow();
  const TRect r = Bar == SB_VERT ? FVertBarRect : FHorzBarRect;
  if (!b.Visible || r.IsEmpty()) {
    Info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return false;
  }
  const TPoint origin = ClientOrigin();
  const TRect client = ClientRectInWindow();
  Info.rcScrollBar = r;
  OffsetRect(Info.rcScrollBar, origin.X - client.Left, origin.Y - client.Top);
  const Integer length = Bar == SB_VERT ? r.Height() : r.Width();
  const Integer arrow = std::min(Bar == SB_VERT ? r.Width() : r.Height(), length / 2);
  Info.dxyLineButton = arrow;
  // The thumb covers the page's share of the track (never less than 8 pixels) and moves
  // with the position over what the track leaves.
  const TScrollInfo& s = b.Info;
  const Integer track = std::max(0, length - 2 * arrow);
  const Integer span = std::max(1, s.nMax - s.nMin + 1);
  const Integer thumb = s.nPage ? std::clamp(Integer(qint64(track) * s.nPage / span), std::min(8, track), track) : std::min(arrow, track);
  const Integer travel = std::max(1, span - std::max<Integer>(Integer(s.nPage), 1));
  const Integer pos = b.Tracking ? b.TrackPos : s.nPos;
  Info.xyThumbTop = arrow + Integer(qint64(track - thumb) * std::clamp(pos - s.nMin, 0, travel) / travel);
  Info.xyThumbBottom = Info.xyThumbTop + thumb;
  const bool enabled = b.DisabledArrows != ESB_DISABLE_BOTH && s.nMax > s.nMin;
  if (!enabled) Info.rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
  if (b.Tracking) Info.rgstate[3] = STATE_SYSTEM_PRESSED;
  return true;
}

QWidget* TWinControl::ScrollBarWidget(Integer Bar) const { return FScrollBars->Bar(Bar).Widget; }

// ---- timers

void TWinControl::SetTimer(Integer ID, Cardinal Interval) {
  KillTimer(ID);
  FTimers[ID] = MessageTarget()->startTimer(int(Interval));
}

void TWinControl::KillTimer(Integer ID) {
  auto it = FTimers.find(ID);
  if (it == FTimers.end()) return;
  MessageTarget()->killTimer(it->second);
  FTimers.erase(it);
}
