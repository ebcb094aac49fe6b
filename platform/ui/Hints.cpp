#include "platform/ui/Hints.h"
#include "platform/ui/DrawingRoutines.h"
#include "platform/ui/Forms.h"
#include <QApplication>
#include <QTimer>
#include <QWidget>

String GetShortHint(const String& Hint) {
  const qsizetype bar = Hint.indexOf(u'|');
  return bar < 0 ? Hint : Hint.left(bar);
}

// ---- THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  SetBorderStyle(bsSingle);
  SetCtl3D(false);
  if (Screen) Font()->Assign(Screen->HintFont());
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& Hint, void*) {
  TRect r(0, 0, MaxWidth, 0);
  Canvas()->Font()->Assign(Font());
  DrawText(Canvas(), Hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  // Text margins plus the one-pixel border on each side.
  r.Right += 6 + 2;
  r.Bottom += 2 + 2;
  return r;
}

void THintWindow::ActivateHint(const TRect& Rect, const String& Hint) {
  SetCaption(Hint);
  TRect r = Rect;
  if (Screen) {
    // Kept on the monitor the hint starts on.
    const TRect area = Screen->MonitorWorkAreaAt(r.TopLeft());
    if (r.Right > area.Right) OffsetRect(r, area.Right - r.Right, 0);
    if (r.Bottom > area.Bottom) OffsetRect(r, 0, area.Bottom - r.Bottom);
    if (r.Left < area.Left) OffsetRect(r, area.Left - r.Left, 0);
    if (r.Top < area.Top) OffsetRect(r, 0, area.Top - r.Top);
  }
  SetBoundsRect(r);
  Show();
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  Hide();
  if (HandleAllocated()) Handle()->hide();
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  TRect r = ClientRect();
  r.Left += 2;
  r.Top += 1;
  c->Brush()->SetStyle(bsClear);
  DrawText(c, Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---- the application's hint manager

namespace {

// The control whose hint shows for Control: the nearest of it and its parents that shows
// hints. Its hint text may be empty: the control may still supply one when asked with
// CM_HINTSHOW (a grid's tool-tips); an empty text shows nothing.
TControl* HintSourceOf(TControl* Control) {
  TControl* c = Control;
  while (c && !c->ShowHint()) c = c->Parent();
  return c;
}

}  // namespace

void TApplication::SetShowHint(bool Value) {
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHint(const String& Value) {
  if (Value == FHint) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::HintMouseEnter(TControl* Control) {
  SetHint(Control ? Control->Hint() : String());
  if (!FShowHint || !HintSourceOf(Control)) {
    if (Control != FHintControl) CancelHint();
    return;
  }
  if (Control == FHintControl) return;
  const bool wasShowing = FHintWindow && FHintWindow->Visible();
  FHintControl = Control;
  Integer pause = wasShowing ? FHintShortPause : FHintPause;
  Control->Perform(CM_HINTSHOWPAUSE, wasShowing ? 1 : 0, LPARAM(&pause));
  StartHintTimer(pause);
}

void TApplication::HintMouseLeave(TControl* Control) {
  if (Control == FHintControl) CancelHint();
}

void TApplication::StartHintTimer(Integer Pause) {
  if (!QCoreApplication::instance()) return;
  if (!FHintTimer) {
    FHintTimer = new QTimer();
    FHintTimer->setSingleShot(true);
    QObject::connect(FHintTimer, &QTimer::timeout, [this] { HintTimerExpired(); });
  }
  FHintTimer->start(std::max(0, Pause));
}

void TApplication::HintTimerExpired() {
  try {
    ActivateHint(GetCursorPos());
  } catch (...) {
    // Called from Qt's timer: no exception may cross Qt's event loop.
    HandleException(this);
  }
}

void TApplication::ActivateHint(TPoint CursorPos) {
  TControl* control = FHintControl;
  if (!control) {
    TWinControl* window = FindControl(QApplication::widgetAt(CursorPos.X, CursorPos.Y));
    control = window;
    if (window)
      if (TControl* child = window->ControlAtPos(window->ScreenToClient(CursorPos), false)) control = child;
  }
  if (!control) return;
  TControl* source = HintSourceOf(control);
  if (!FShowHint || !source) return;
  FHintControl = control;

  THintInfo info;
  info.HintControl = control;
  info.HintPos = {CursorPos.X, CursorPos.Y + 20};
  info.HintMaxWidth = Screen ? Screen->Width() : 1024;
  info.HintColor = FHintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HideTimeout = FHintHidePause;
  info.HintStr = GetShortHint(source->Hint());
  bool canShow = control->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.isEmpty()) {
    HideHint();
    return;
  }
  if (info.HintWindowClass) {
    HideHint();
    delete FHintWindow;
    FHintWindow = info.HintWindowClass();
  } else if (!FHintWindow) {
    FHintWindow = new THintWindow(nullptr);
  }
  FHintWindow->SetColor(info.HintColor);
  TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  FHintWindow->ActivateHint(r, info.HintStr);
  if (info.HideTimeout > 0 && QCoreApplication::instance()) {
    if (!FHideTimer) {
      FHideTimer = new QTimer();
      FHideTimer->setSingleShot(true);
      QObject::connect(FHideTimer, &QTimer::timeout, [this] { HideHint(); });
    }
    FHideTimer->start(info.HideTimeout);
  }
}

void TApplication::CancelHint() {
  if (FHintTimer) FHintTimer->stop();
  HideHint();
  FHintControl = nullptr;
}

void TApplication::HideHint() {
  if (FHideTimer) FHideTimer->stop();
  if (FHintWindow) FHintWindow->ReleaseHandle();
}
