#include "platform/ui/Forms.h"
#include "platform/ui/ControlHost.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include <QApplication>
#include <QEventLoop>
#include <QScreen>

// The application and the screen live as long as the process.
TApplication* Application = new TApplication();

IControlsApplication* ControlsApplication() { return Application; }

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* c = Control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

namespace {
TFormShowingHook& FormShowingHook() {
  static TFormShowingHook hook;
  return hook;
}
}  // namespace

void SetFormShowingHook(TFormShowingHook Hook) { FormShowingHook() = std::move(Hook); }
TScreen* Screen = new TScreen();

// ---- TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle += TControlStyle{csAcceptsControls};
  SetVisible(false);
  SetColor(clBtnFace);
  SetBorderStyle(bsSizeable);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (FModalLoop) FModalLoop->exit();
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (Parent()) return;
  Params.Style &= ~(WS_CHILD | WS_POPUP | WS_BORDER);
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  switch (BorderStyle()) {
    case bsNone: break;
    case bsSingle: Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
    case bsSizeable: Params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
    case bsDialog: Params.Style |= WS_CAPTION | WS_SYSMENU; Params.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: Params.Style |= WS_CAPTION | WS_SYSMENU; Params.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME; Params.ExStyle |= WS_EX_TOOLWINDOW; break;
  }
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (Application && Application->MainForm() && Application->MainForm() != this) Params.WndParent = Application->MainForm();
}

void TCustomForm::CreateHandle() {
  TCustomControl::CreateHandle();
  if (Parent()) return;
  if (FMenu) BuildMenuBar();
  QWidget* w = Handle();
  if (FAlphaBlend) w->setWindowOpacity(FAlphaBlendValue / 255.0);
  if (BorderStyle() == bsSingle || BorderStyle() == bsDialog || BorderStyle() == bsToolWindow) w->setFixedSize(Width(), Height());
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) SetMenu(nullptr);
  if (auto* w = dynamic_cast<TWinControl*>(AComponent)) ControlRemoving(w);
}

void TCustomForm::ControlRemoving(TWinControl* Control) {
  if (FActiveControl && Control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
  if (FFocusedControl && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control == this ? nullptr : Control->Parent();
  if (Screen && Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl)) Screen->FActiveControl = nullptr;
}

// ---- focus

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control && (Control == this || GetParentForm(Control) != this ||
                  (!ComponentState().Contains(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
  if (ComponentState().Contains(csLoading) || !Showing()) {
    FActiveControl = Control;
    return;
  }
  if (Control && !SetFocusedControl(Control)) return;
  FActiveControl = Control;
  QWidget* target = Control ? Control->Handle() : Handle();
  target->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool wasActive = Active();
  SetActiveControl(Control);
  if (!wasActive && Showing()) Handle()->activateWindow();
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (ComponentState().Contains(csDestroying) || !Control) return false;
  const Integer count = ++FFocusCount;
  FActiveControl = Control != this ? Control : nullptr;
  if (Screen) Screen->FocusMoved(this, Control);
  if (Control->ControlState().Contains(csFocusing)) return true;
  Control->SetControlState(Control->ControlState() + TControlState{csFocusing});
  struct TFocusingGuard {
    TWinControl* C;
    ~TFocusingGuard() { C->SetControlState(C->ControlState() - TControlState{csFocusing}); }
  } guard{Control};
  if (!FFocusedControl) FFocusedControl = this;
  while (FFocusedControl != Control && FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* leaving = FFocusedControl;
    FFocusedControl = leaving->Parent();
    try {
      leaving->Perform(CM_EXIT);
    } catch (...) {
      // An exit that fails keeps the focus where it was.
      FFocusedControl = leaving;
      FActiveControl = leaving != this ? leaving : nullptr;
      if (Screen) Screen->FocusMoved(this, leaving);
      throw;
    }
    if (count != FFocusCount) return false;
  }
  while (FFocusedControl != Control) {
    TWinControl* next = Control;
    while (next->Parent() != FFocusedControl) next = next->Parent();
    FFocusedControl = next;
    next->Perform(CM_ENTER);
    if (count != FFocusCount) return false;
  }
  return true;
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActiveControl) FActiveControl->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
  if (TControl* capture = GetCaptureControl(); capture && capture != Sender && ContainsControl(capture))
    capture->Perform(WM_CANCELMODE);
}

bool TCustomForm::PreviewKeyDown(Word& Key, TShiftState Shift) {
  KeyDown(Key, Shift);
  return Key == 0;
}

bool TCustomForm::PreviewKeyUp(Word& Key, TShiftState Shift) {
  KeyUp(Key, Shift);
  return Key == 0;
}

bool TCustomForm::PreviewKeyPress(QChar& Key) {
  KeyPress(Key);
  return Key == QChar(0);
}

// ---- showing and closing

bool TCustomForm::Active() const { return HandleAllocated() && const_cast<TCustomForm*>(this)->Handle()->isActiveWindow(); }

void TCustomForm::PlaceOnScreen() {
  if (Parent() || !Screen) return;
  TRect area;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: area = Screen->WorkAreaRect(); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* center = dynamic_cast<TCustomForm*>(Owner());
      if (FPosition == poMainFormCenter || !center) center = Application ? Application->MainForm() : nullptr;
      if (!center || center == this) {
        area = Screen->WorkAreaRect();
      } else {
        area = center->BoundsRect();
      }
      break;
    }
    default: return;
  }
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MENUCHANGED:
      // Items added to or taken from the form's menu after its bar was built.
      if (FMenu && Message.LParam == LPARAM(static_cast<TMenu*>(FMenu)) && HandleAllocated() && !Parent() &&
          !ComponentState().Contains(csDestroying))
        BuildMenuBar();
      return;
    case CM_SHOWINGCHANGED:
      if (Parent()) break;
      if (Visible()) {
        if (const TFormShowingHook& hook = FormShowingHook(); hook && !Showing()) hook(this);
        HandleNeeded();
        PlaceOnScreen();
        DoShow();
        if (!Visible()) return;
        QWidget* w = Handle();
        if (FWindowState == wsMaximized) w->showMaximized();
        else if (FWindowState == wsMinimized) w->showMinimized();
        else w->show();
        w->activateWindow();
        if (FActiveControl && FActiveControl->CanFocus()) SetActiveControl(FActiveControl);
        else if (TWinControl* first = FindNextControl(nullptr, true, true, false)) SetActiveControl(first);
      } else if (HandleAllocated()) {
        DoHide();
        Handle()->hide();
      }
      return;
    case CM_ACTIVATE:
      if (Screen) Screen->FocusMoved(this, FActiveControl);
      if (FrameIsOurs()) Invalidate();  // the caption changes colour
      if (OnActivate) OnActivate(this);
      return;
    case CM_DEACTIVATE:
      if (FrameIsOurs()) Invalidate();
      if (OnDeactivate) OnDeactivate(this);
      return;
    case CM_DIALOGKEY:
      if (GetKeyState(VK_MENU) >= 0) {
        const Word key = Word(Message.WParam);
        if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
          Message.Result = 1;
          return;
        }
      }
      break;
    case WM_CLOSE: Close(); return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomForm::SetModalResult(TModalResult Value) {
  FModalResult = Value;
  if (FModalLoop && Value != mrNone) FModalLoop->exit();
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FModalLoop) throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
  if (GetCaptureControl()) ReleaseCapture();
  FModalResult = mrNone;
  HandleNeeded();
  Handle()->setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  FModalLoop = &loop;
  struct TModalGuard {
    TCustomForm* F;
    ~TModalGuard() {
      F->FModalLoop = nullptr;
      if (F->HandleAllocated()) {
        F->Hide();
        F->Handle()->setWindowModality(Qt::NonModal);
      }
    }
  } guard{this};
  Show();
  while (!(Application && Application->Terminated())) {
    // A loop that cannot run (the application is quitting) still lets events through.
    if (FModalResult == mrNone && loop.exec() < 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (FModalResult == mrNone) continue;
    // The form may refuse to close: the result is dropped and the loop goes on.
    TCloseAction action = caHide;
    try {
      if (CloseQuery()) DoClose(action);
      else action = caNone;
    } catch (...) {
      // Close handlers run inside the modal loop: a failure is reported and the form stays.
      action = caNone;
      if (Application) Application->HandleException(this);
    }
    if (action != caNone) break;
    FModalResult = mrNone;
  }
  return FModalResult;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModalLoop) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  // Closing the main form ends the program.
  if (action != caNone && Application && Application->MainForm() == this) {
    Application->Terminate();
    if (action == caFree) Release();
    else Hide();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void TCustomForm::CloseFromWindowSystem() {
  try {
    Close();
  } catch (...) {
    // Called from the window system's close event: no exception may cross Qt's event loop.
    if (Application) Application->HandleException(this);
  }
}

void TCustomForm::Release() { PostMessage(this, CM_RELEASE); }

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (!HandleAllocated() || !Visible()) return;
  QWidget* w = Handle();
  if (Value == wsMaximized) w->showMaximized();
  else if (Value == wsMinimized) w->showMinimized();
  else w->showNormal();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (Value == FFormStyle) return;
  FFormStyle = Value;
  // Window flags are fixed while the window is shown: a change of flags makes a new window.
  if (!Showing()) RecreateWnd();
}

void TCustomForm::SetAlphaBlend(bool Value) {
  FAlphaBlend = Value;
  if (HandleAllocated() && !Parent()) Handle()->setWindowOpacity(Value ? FAlphaBlendValue / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(Byte Value) {
  FAlphaBlendValue = Value;
  SetAlphaBlend(FAlphaBlend);
}

// ---- TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() = default;

void TApplication::ControlDestroying(TControl* Control) {
  if (FHintControl == Control) CancelHint();
}

void TApplication::SetTitle(const String& Value) {
  FTitle = Value;
  if (QCoreApplication::instance()) QApplication::setApplicationDisplayName(Value);
}

void TApplication::HandleException(TObject* Sender) {
  auto report = [&](const Exception& E) {
    if (FHandlingException) return;
    FHandlingException = true;
    try {
      if (OnException) OnException(Sender, E);
      else ShowException(E);
    } catch (...) {
      // A failing report must not take the program down with it.
    }
    FHandlingException = false;
  };
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    report(e);
  } catch (const std::exception& e) {
    report(Exception(QString::fromLocal8Bit(e.what())));
  } catch (...) {
    // Whatever else was thrown is still reported, as what little is known of it.
    report(Exception(QStringLiteral("Unknown exception")));
  }
}

void TApplication::ShowException(const Exception& E) {
  TDialogs::MessageBox(E.Message(), FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  if (!FTerminated) QApplication::exec();
}

void TApplication::Terminate() {
  FTerminated = true;
  QCoreApplication::exit(0);
}

// ---- TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), FHintFont(std::make_unique<TFont>()) {
  FHintFont->SetColor(clInfoText);
}

TScreen::~TScreen() = default;

void TScreen::SetCursor(TCursor Value) {
  if (Value == FCursor) return;
  const TCursor old = FCursor;
  FCursor = Value;
  if (!QCoreApplication::instance()) return;
  // One override cursor at most: set, changed and restored as the value moves.
  if (Value == crDefault) QApplication::restoreOverrideCursor();
  else if (old == crDefault) QApplication::setOverrideCursor(Cursors(Value));
  else QApplication::changeOverrideCursor(Cursors(Value));
}

QCursor TScreen::Cursors(Integer Index) const {
  if (auto it = FCursors.find(Index); it != FCursors.end()) return it->second;
  switch (Index) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    case crNoDrop:
    case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}

void TScreen::SetCursors(Integer Index, const QCursor& Value) { FCursors[Index] = Value; }

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(FForms, Form);
  if (FActiveCustomForm == Form) {
    FActiveCustomForm = nullptr;
    FActiveControl = nullptr;
  }
}

void TScreen::FocusMoved(TCustomForm* Form, TWinControl* Control) {
  FActiveCustomForm = Form;
  FActiveControl = Control;
}

Integer TScreen::PixelsPerInch() const { return SystemTable().PixelsPerInch; }

Integer TScreen::Width() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : GetSystemMetrics(SM_CXSCREEN);
}

Integer TScreen::Height() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : GetSystemMetrics(SM_CYSCREEN);
}

namespace {

TRect ToTRect(const QRect& R) { return Bounds(R.x(), R.y(), R.width(), R.height()); }

}  // namespace

TRect TScreen::WorkAreaRect() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? ToTRect(s->availableGeometry()) : TRect(0, 0, Width(), Height());
}

TRect TScreen::MonitorWorkAreaAt(TPoint P) const {
  const QPoint q(P.X, P.Y);
  QScreen* best = QGuiApplication::screenAt(q);
  if (!best) {
    // Off every monitor: the one whose area is nearest.
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (QScreen* s : QGuiApplication::screens()) {
      const QRect g = s->geometry();
      const qint64 dx = std::max({g.left() - q.x(), 0, q.x() - g.right()});
      const qint64 dy = std::max({g.top() - q.y(), 0, q.y() - g.bottom()});
      if (dx * dx + dy * dy < bestDistance) {
        bestDistance = dx * dx + dy * dy;
        best = s;
      }
    }
  }
  return best ? ToTRect(best->availableGeometry()) : WorkAreaRect();
}
