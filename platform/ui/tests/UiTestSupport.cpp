#include "UiTestSupport.h"
#include "platform/ui/SystemColors.h"
#include <QElapsedTimer>

namespace uitest {

QString MessageName(Cardinal Msg) {
  static const std::map<Cardinal, const char*> names = {
      {WM_SIZE, "WM_SIZE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_PAINT, "WM_PAINT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_TIMER, "WM_TIMER"}, {WM_HSCROLL, "WM_HSCROLL"}, {WM_VSCROLL, "WM_VSCROLL"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"}, {CM_MOUSEWHEEL, "CM_MOUSEWHEEL"}, {WM_GETDLGCODE, "WM_GETDLGCODE"},
      {CM_WANTSPECIALKEY, "CM_WANTSPECIALKEY"}, {CM_CHILDKEY, "CM_CHILDKEY"}, {CM_ENTER, "CM_ENTER"}, {CM_EXIT, "CM_EXIT"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"}, {CM_CANCELMODE, "CM_CANCELMODE"}, {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_NCHITTEST, "WM_NCHITTEST"}, {CM_MOUSEENTER, "CM_MOUSEENTER"}, {CM_MOUSELEAVE, "CM_MOUSELEAVE"},
      {CM_FONTCHANGED, "CM_FONTCHANGED"}, {CM_COLORCHANGED, "CM_COLORCHANGED"}, {CM_HINTSHOW, "CM_HINTSHOW"},
      {CM_HINTSHOWPAUSE, "CM_HINTSHOWPAUSE"}, {WM_IME_STARTCOMPOSITION, "WM_IME_STARTCOMPOSITION"},
      {WM_IME_ENDCOMPOSITION, "WM_IME_ENDCOMPOSITION"}};
  auto it = names.find(Msg);
  if (it != names.end()) return QString::fromLatin1(it->second);
  if (Msg >= WM_USER && Msg < CM_BASE) return QStringLiteral("WM_USER+%1").arg(Msg - WM_USER);
  return QStringLiteral("0x%1").arg(Msg, 0, 16);
}

TRecordingControl::TRecordingControl(TComponent* AOwner, QStringList* Log, const QString& Name)
    : TCustomControl(AOwner), FLog(Log), FName(Name) {}

void TRecordingControl::Dispatch(TMessage& Message) {
  static const Cardinal quiet[] = {WM_NCHITTEST, WM_SETCURSOR, WM_PAINT, WM_ERASEBKGND, WM_MOUSEMOVE, CM_MOUSEENTER,
                                   CM_MOUSELEAVE, CM_HITTEST, WM_NCCALCSIZE, WM_NCPAINT, WM_CAPTURECHANGED};
  if (std::find(std::begin(quiet), std::end(quiet), Message.Msg) == std::end(quiet) && Message.Msg < CM_BASE + 0x100 &&
      Message.Msg != CM_PARENTFONTCHANGED && Message.Msg != CM_PARENTCOLORCHANGED && Message.Msg != CM_PARENTSHOWHINTCHANGED &&
      Message.Msg != CM_SHOWINGCHANGED && Message.Msg != CM_VISIBLECHANGED && Message.Msg != CM_TABSTOPCHANGED)
    FLog->append(FName + QLatin1Char(' ') + MessageName(Message.Msg));
  TCustomControl::Dispatch(Message);
}

void TRecordingControl::Paint() {
  if (PaintColor == clNone) return;
  Canvas()->Brush()->SetColor(PaintColor);
  Canvas()->FillRect(ClientRect());
}

TShownForm::TShownForm() : Form(new TForm(nullptr)) {
  SetSystemTable(ClassicSystemTable());
  FPreviousHandler = Application->OnException;
  Application->OnException = [this](TObject*, const Exception& E) { Exceptions << E.Message(); };
  Form->SetBounds(10, 10, 300, 200);
  Form->Show();
  QApplication::setActiveWindow(Form->Handle());
  QApplication::processEvents();
}

TShownForm::~TShownForm() {
  delete Form;
  Application->OnException = FPreviousHandler;
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MouseEvent(TWinControl* Control, QEvent::Type Type, TPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
  QWidget* w = Control->Handle();
  const TRect c = Control->ClientRectInWindow();
  const QPointF local(P.X + c.Left, P.Y + c.Top);
  QMouseEvent e(Type, local, w->mapToGlobal(local), Button, Buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Click(TWinControl* Control, TPoint P, Qt::MouseButton Button) {
  MouseEvent(Control, QEvent::MouseButtonPress, P, Button, Button);
  MouseEvent(Control, QEvent::MouseButtonRelease, P, Button, Qt::NoButton);
}

void PressKey(QWidget* Widget, int Key, const QString& Text, Qt::KeyboardModifiers Modifiers) {
  QKeyEvent press(QEvent::KeyPress, Key, Modifiers, Text);
  QApplication::sendEvent(Widget, &press);
  QKeyEvent release(QEvent::KeyRelease, Key, Modifiers, Text);
  QApplication::sendEvent(Widget, &release);
}

void Wheel(TWinControl* Control, TPoint P, int Delta) {
  QWidget* w = Control->Handle();
  const QPointF local(P.X, P.Y);
  QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

void ProcessEventsUntil(const std::function<bool()>& Done) {
  // Bounded by the number of rounds, not by time: the events are already queued.
  for (int round = 0; round < 100 && !Done(); ++round) QApplication::processEvents(QEventLoop::AllEvents);
}

QImage Grab(QWidget* Widget) { return Widget->grab().toImage(); }

}  // namespace uitest
