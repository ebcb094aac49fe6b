#include "platform/ui/ControlHost.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PendingMessages.h"
#include <QCoreApplication>
#include <QTimerEvent>

namespace {

const QEvent::Type PostedMessageEvent = QEvent::Type(QEvent::registerEventType());

// Wakes the target for one posted message, named by its sequence number.
class TPostedMessageEvent : public QEvent {
public:
  explicit TPostedMessageEvent(quint64 Seq) : QEvent(PostedMessageEvent), Sequence(Seq) {}
  quint64 Sequence;
};

QPointer<QWidget>& CursorWidget() {
  static QPointer<QWidget> widget;
  return widget;
}

TControl*& CaptureControl() {
  static TControl* control = nullptr;
  return control;
}

const char* const ControlProperty = "moliControl";
const char* const OwnCursorProperty = "moliOwnCursor";

}  // namespace

// ---- delivery

void DeliverMessage(TControl* Control, TMessage& Message) {
  try {
    Control->WindowProc(Message);
  } catch (...) {
    // Every message from the window system arrives here: no exception may cross Qt's event loop.
    if (Application) Application->HandleException(Control);
  }
}

void PostMessage(TControl* Control, Cardinal Msg, WPARAM WParam, LPARAM LParam) {
  if (Control) Control->MessageTarget()->Post({Msg, WParam, LParam, 0});
}

LRESULT SendMessage(TControl* Control, Cardinal Msg, WPARAM WParam, LPARAM LParam) {
  return Control ? Control->Perform(Msg, WParam, LParam) : 0;
}

bool HasPendingMessage(TControl* Control, Cardinal Msg) { return Control && Control->MessageTarget()->HasPending(Msg); }

void KillPendingMessages(TControl* Control, Cardinal Msg) {
  if (Control) Control->MessageTarget()->KillPending(Msg);
}

bool PeekPendingMessage(TControl* Control, Cardinal MsgFirst, Cardinal MsgLast, TMessage& Message, bool Remove) {
  return Control && Control->MessageTarget()->PeekPending(MsgFirst, MsgLast, Message, Remove);
}

bool TakePendingClickOnControl(TControl* Control) {
  TMessage next;
  if (!PeekPendingMessage(Control, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, next, false)) return false;
  if (next.Msg != WM_LBUTTONDOWN && next.Msg != WM_LBUTTONDBLCLK) return false;
  return PeekPendingMessage(Control, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, next, true);
}

void TMessageTarget::Detach() {
  FControl = nullptr;
  FPending.clear();
  deleteLater();
}

void TMessageTarget::Post(const TMessage& Message) {
  const quint64 seq = FNext++;
  FPending.emplace(seq, Message);
  QCoreApplication::postEvent(this, new TPostedMessageEvent(seq));
}

bool TMessageTarget::HasPending(Cardinal Msg) const {
  for (const auto& [seq, m] : FPending)
    if (m.Msg == Msg) return true;
  return false;
}

bool TMessageTarget::PeekPending(Cardinal MsgFirst, Cardinal MsgLast, TMessage& Message, bool Remove) {
  for (auto it = FPending.begin(); it != FPending.end(); ++it) {
    if (it->second.Msg < MsgFirst || it->second.Msg > MsgLast) continue;
    Message = it->second;
    if (Remove) FPending.erase(it);
    return true;
  }
  return false;
}

void TMessageTarget::KillPending(Cardinal Msg) {
  std::erase_if(FPending, [Msg](const auto& entry) { return entry.second.Msg == Msg; });
}

void TMessageTarget::customEvent(QEvent* Event) {
  if (Event->type() != PostedMessageEvent || !FControl) return;
  auto it = FPending.find(static_cast<TPostedMessageEvent*>(Event)->Sequence);
  if (it == FPending.end()) return;
  TMessage m = it->second;
  FPending.erase(it);
  DeliverMessage(FControl, m);
}

void TMessageTarget::timerEvent(QTimerEvent* Event) {
  auto* control = dynamic_cast<TWinControl*>(FControl);
  if (!control) return;
  for (const auto& [id, qtId] : control->FTimers) {
    if (qtId != Event->timerId()) continue;
    TMessage m{WM_TIMER, WPARAM(id), 0, 0};
    DeliverMessage(control, m);
    return;
  }
}

// ---- capture and cursor

TControl* GetCaptureControl() { return CaptureControl(); }

void SetCaptureControl(TControl* Control) {
  TControl* old = CaptureControl();
  if (old == Control) return;
  CaptureControl() = Control;
  auto windowOf = [](TControl* c) -> QWidget* {
    for (TControl* p = c; p; p = p->Parent())
      if (auto* w = dynamic_cast<TWinControl*>(p)) return w->HandleAllocated() ? w->Handle() : nullptr;
    return nullptr;
  };
  if (QWidget* w = windowOf(old); w && QWidget::mouseGrabber() == w) w->releaseMouse();
  // While a button is held the window system keeps the mouse on the pressed window anyway.
  const bool buttonDown = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
  if (QWidget* w = windowOf(Control); w && w->isVisible() && !buttonDown) w->grabMouse();
  if (old && !old->ComponentState().Contains(csDestroying)) old->Perform(WM_CAPTURECHANGED, 0, LPARAM(Control));
}

void ReleaseCapture() { SetCaptureControl(nullptr); }

void SetCursorWidget(QWidget* Widget) { CursorWidget() = Widget; }

TCursor& LastCursorShape() {
  static TCursor shape = crDefault;
  return shape;
}

void SetCursorShape(TCursor Cursor) {
  LastCursorShape() = Cursor;
  QWidget* w = CursorWidget();
  if (!w) return;
  // The shape a wrapped widget chose for itself (an edit's I-beam) is kept to go back to.
  if (!w->property(OwnCursorProperty).isValid())
    w->setProperty(OwnCursorProperty, w->testAttribute(Qt::WA_SetCursor) ? QVariant::fromValue(w->cursor()) : QVariant(false));
  w->setCursor(Screen ? Screen->Cursors(Cursor) : QCursor(Qt::ArrowCursor));
}

void RestoreOwnCursorShape() {
  LastCursorShape() = crDefault;
  QWidget* w = CursorWidget();
  if (!w) return;
  const QVariant own = w->property(OwnCursorProperty);
  // A widget the layer never gave a shape has its own already.
  if (!own.isValid()) return;
  if (own.typeId() == QMetaType::QCursor) w->setCursor(own.value<QCursor>());
  else w->unsetCursor();
  w->setProperty(OwnCursorProperty, QVariant());
}

TCursor CursorShape() { return LastCursorShape(); }

// ---- widget registry

void RegisterWidget(QWidget* Widget, TWinControl* Control) {
  Widget->setProperty(ControlProperty, QVariant::fromValue(quintptr(Control)));
}

TWinControl* FindControl(const QWidget* Widget) {
  for (const QWidget* w = Widget; w; w = w->parentWidget()) {
    const QVariant v = w->property(ControlProperty);
    if (v.isValid()) return reinterpret_cast<TWinControl*>(v.value<quintptr>());
  }
  return nullptr;
}
