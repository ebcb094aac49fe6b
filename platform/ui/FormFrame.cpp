// The frame of a top-level form when the layer draws it: insets, painting, hit tests and
// the frame's mouse messages. Moving and sizing are left to the window system.
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"
#include <QWindow>

void TCustomForm::SetSelfDrawnFrame(bool Value) {
  if (Value == FSelfDrawnFrame) return;
  FSelfDrawnFrame = Value;
  // Changing window flags makes a new window, which would end a modal loop: never while shown.
  if (HandleAllocated() && !Showing()) RecreateWnd();
}

QWidget* TCustomForm::CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) {
  QWidget* w = TCustomControl::CreateWidget(Params, ParentWidget);
  FWidgetFrameIsOurs = FSelfDrawnFrame && !Parent();
  if (FWidgetFrameIsOurs) w->setWindowFlag(Qt::FramelessWindowHint, true);
  // A window made anew on its way to the screen (its frame chosen there) stays modal.
  if (FModalLoop) w->setWindowModality(Qt::ApplicationModal);
  return w;
}

bool TCustomForm::FrameIsOurs() const {
  if (Parent()) return false;
  return HandleAllocated() ? FWidgetFrameIsOurs : FSelfDrawnFrame;
}

Integer TCustomForm::FrameWidth() const {
  switch (BorderStyle()) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return GetSystemMetrics(SM_CXFRAME);
    default: return GetSystemMetrics(SM_CXDLGFRAME);
  }
}

Integer TCustomForm::CaptionHeight() const { return BorderStyle() == bsNone ? 0 : GetSystemMetrics(SM_CYCAPTION); }

void TCustomForm::SetFrameInsets(const TRect* Insets) {
  const std::optional<TRect> value = Insets ? std::optional<TRect>(*Insets) : std::nullopt;
  if (value == FFrameInsets) return;
  FFrameInsets = value;
  FrameChanged();
}

TRect TCustomForm::CloseBoxRect() const {
  const Integer f = FrameWidth(), c = CaptionHeight();
  if (c == 0 || FFrameInsets) return TRect();
  return TRect(Width() - f - c + 2, f + 2, Width() - f - 2, f + c - 2);
}

LRESULT TCustomForm::FrameHitTest(TPoint P) const {
  const Integer f = FrameWidth(), c = CaptionHeight();
  const TRect client = const_cast<TCustomForm*>(this)->ClientRectInWindow();
  if (PtInRect(client, P)) return HTCLIENT;
  if (PtInRect(CloseBoxRect(), P)) return HTCLOSE;
  const bool sizeable = BorderStyle() == bsSizeable || BorderStyle() == bsSizeToolWin;
  if (sizeable) {
    // Corners are a caption's height long on each side, as the window system draws them.
    const bool left = P.X < f, right = P.X >= Width() - f, top = P.Y < f, bottom = P.Y >= Height() - f;
    const bool nearLeft = P.X < c, nearRight = P.X >= Width() - c, nearTop = P.Y < c, nearBottom = P.Y >= Height() - c;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  if (FFrameInsets ? P.Y < client.Top : P.Y >= f && P.Y < f + c) return HTCAPTION;
  return HTBORDER;
}

void TCustomForm::PaintFrame(TCanvas* Canvas) {
  const Integer f = FrameWidth(), c = CaptionHeight();
  TRect r(0, 0, Width(), Height());
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(r);
  if (f > 0) DrawEdge(Canvas, r, EDGE_RAISED, BF_RECT);
  if (c == 0) return;
  const bool active = Active();
  const TRect caption(f, f, Width() - f, f + c);
  GradientFillRect(Canvas, caption, active ? clActiveCaption : clInactiveCaption,
                   active ? clGradientActiveCaption : clGradientInactiveCaption, gdHorizontal);
  TRect text(caption.Left + 4, caption.Top, CloseBoxRect().Left - 2, caption.Bottom);
  Canvas->Font()->Assign(Font());
  Canvas->Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
  Canvas->Font()->SetStyle({fsBold});
  Canvas->Brush()->SetStyle(bsClear);
  DrawText(Canvas, Text(), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  TRect box = CloseBoxRect();
  DrawFrameControl(Canvas, box, DFC_BUTTON, DFCS_BUTTONPUSH);
  // The cross of the close box.
  Canvas->Pen()->SetColor(clBtnText);
  Canvas->Pen()->SetWidth(1);
  for (Integer d = 0; d < 2; ++d) {
    Canvas->MoveTo(box.Left + 4 + d, box.Top + 3);
    Canvas->LineTo(box.Right - 4 + d, box.Bottom - 3);
    Canvas->MoveTo(box.Right - 5 + d, box.Top + 3);
    Canvas->LineTo(box.Left + 3 + d, box.Bottom - 3);
  }
}

void TCustomForm::FrameMouse(TMessage& Message) {
  QWindow* window = Handle()->windowHandle();
  const LRESULT hit = LRESULT(Message.WParam);
  switch (Message.Msg) {
    case WM_NCLBUTTONDOWN: {
      if (!window) return;
      if (hit == HTCAPTION) {
        window->startSystemMove();
        return;
      }
      static const std::pair<LRESULT, Qt::Edges> edges[] = {
          {HTLEFT, Qt::LeftEdge}, {HTRIGHT, Qt::RightEdge}, {HTTOP, Qt::TopEdge}, {HTBOTTOM, Qt::BottomEdge},
          {HTTOPLEFT, Qt::TopEdge | Qt::LeftEdge}, {HTTOPRIGHT, Qt::TopEdge | Qt::RightEdge},
          {HTBOTTOMLEFT, Qt::BottomEdge | Qt::LeftEdge}, {HTBOTTOMRIGHT, Qt::BottomEdge | Qt::RightEdge}};
      for (const auto& [code, edge] : edges)
        if (code == hit) window->startSystemResize(edge);
      return;
    }
    case WM_NCLBUTTONUP:
      if (hit == HTCLOSE) Close();
      return;
    case WM_NCLBUTTONDBLCLK:
      if (hit == HTCAPTION && (BorderStyle() == bsSizeable || BorderStyle() == bsSizeToolWin))
        SetWindowState(WindowState() == wsMaximized ? wsNormal : wsMaximized);
      return;
    default: return;
  }
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_NCCALCSIZE) {
    TRect& r = TWMNCCalcSize{Message}.Rect();
    if (FrameIsOurs() && FFrameInsets) {
      r = TRect(r.Left + FFrameInsets->Left, r.Top + FFrameInsets->Top, r.Right - FFrameInsets->Right,
                r.Bottom - FFrameInsets->Bottom);
    } else if (FrameIsOurs()) {
      const Integer f = FrameWidth();
      InflateRect(r, -f, -f);
      r.Top += CaptionHeight();
    }
    if (FMenuBar) {
      FMenuBar->setGeometry(r.Left, r.Top, r.Width(), MenuBarHeight());
      r.Top += MenuBarHeight();
    }
    // The scroll bars come off next, in the default handling.
  } else if (FrameIsOurs()) {
    switch (Message.Msg) {
      case WM_NCPAINT:
        if (auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam)) PaintFrame(canvas);
        break;
      case WM_NCHITTEST: {
        const TPoint s = TWMNCHitTest{Message}.Pos();
        const TRect client = ClientRectInWindow();
        const TPoint c = ScreenToClient(s);
        Message.Result = FrameHitTest({c.X + client.Left, c.Y + client.Top});
        return;
      }
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONUP:
      case WM_NCLBUTTONDBLCLK:
        FrameMouse(Message);
        return;
      default: break;
    }
  }
  TCustomControl::DefaultHandler(Message);
}
