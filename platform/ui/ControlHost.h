#pragma once
// Inside the window layer: the widgets that host controls, the translation of Qt events
// into messages, posted messages and timers, and the frame's scroll bars.
#include "platform/ui/Controls.h"
#include <QEvent>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QWidget>

// The Qt event a message is being made from, so that DefaultHandler can hand it back.
// Perform pushes an empty context: messages sent from inside a handler have no event.
struct TEventContext {
  TControl* Control = nullptr;
  Cardinal Msg = 0;
  std::function<void()> CallDefault;  // empty for messages without an event
  bool Deferred = false;              // the caller runs the default after all messages
  bool DefaultCalled = false;
};

class TEventScope {
public:
  explicit TEventScope(TEventContext* Context);
  ~TEventScope();
  TEventScope(const TEventScope&) = delete;
  TEventScope& operator=(const TEventScope&) = delete;
};

TEventContext* CurrentEventContext();

// A canvas on a widget during its paint event; the painter opens when drawing starts and
// closes before the widget's own painting runs.
class TWidgetPaintCanvas : public TCanvas {
public:
  TWidgetPaintCanvas(QWidget* Widget, TPoint Origin, const QRegion& Clip);
  void Release() { ReleasePainter(); }
  TSize DeviceSize() const override;
protected:
  bool CreateHandle() override;
private:
  QWidget* FWidget;
};

// Turns the Qt events of a control's widget into messages.
class TWidgetEvents {
public:
  // Default runs the widget's own handling of the event. Returns false for events the
  // layer leaves to Qt untouched.
  static bool Translate(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default);
  // Virtual-key code of a Qt key, 0 when it has none.
  static Word VirtualKey(int QtKey, Qt::KeyboardModifiers Modifiers);
  static Word MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers);
private:
  static bool TranslatePaint(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default);
  static bool TranslateMouse(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default);
  static bool TranslateKey(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default);
};

// The window of a control the layer draws itself: a frame with border and scroll bars
// around the client area.
class THostWidget : public QWidget {
public:
  THostWidget(TWinControl* Control, QWidget* Parent, Qt::WindowFlags Flags);
  TWinControl* Control() const { return FControl; }
  void Detach() { FControl = nullptr; }
  bool BaseEvent(QEvent* Event) { return QWidget::event(Event); }
protected:
  bool event(QEvent* Event) override;
  void paintEvent(QPaintEvent*) override {}
private:
  // Composed input arrives as WM_IME_STARTCOMPOSITION, then the committed characters as WM_CHAR.
  void InputMethod(QInputMethodEvent* Event);
  TWinControl* FControl;
  bool FComposing = false;
};

// Routes the events of a wrapped Qt widget through its control's WindowProc first. Mouse
// input over the item area of a scroll area inside the widget (a list's rows, a calendar's
// days) goes to the area's viewport, not to the widget: the filter watches those viewports
// too, for their mouse messages only.
class TWidgetFilter : public QObject {
public:
  explicit TWidgetFilter(TWinControl* Control, QObject* Parent) : QObject(Parent), FControl(Control) {}
  void Detach() { FControl = nullptr; }
  // Starts watching Widget, the control's own widget, and the viewports inside it.
  void Install(QWidget* Widget);
protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;
private:
  TWinControl* FControl;
};

// Receives a control's posted messages and timer ticks.
class TMessageTarget : public QObject {
public:
  explicit TMessageTarget(TControl* Control) : FControl(Control) {}
  // The control is going: nothing more is delivered and the object goes later.
  void Detach();
  void Post(const TMessage& Message);
  bool HasPending(Cardinal Msg) const;
  void KillPending(Cardinal Msg);
  bool PeekPending(Cardinal MsgFirst, Cardinal MsgLast, TMessage& Message, bool Remove);
protected:
  void customEvent(QEvent* Event) override;
  void timerEvent(QTimerEvent* Event) override;
private:
  TControl* FControl;
  std::map<quint64, TMessage> FPending;  // by posting order
  quint64 FNext = 0;
};

// The scroll code of a Qt slider action (SB_LINEUP ...), -1 for actions without one.
Integer ScrollCodeOfSliderAction(int Action);

// The two scroll bars of a control's frame: their information lives here whether or not
// the window exists; the QScrollBars are made when it does.
class TControlScrollBars {
public:
  explicit TControlScrollBars(TWinControl* Control) : FControl(Control) {}
  struct TBar {
    TScrollInfo Info;
    bool Visible = false;
    Cardinal DisabledArrows = ESB_ENABLE_BOTH;
    bool Tracking = false;
    Integer TrackPos = 0;
    QPointer<QScrollBar> Widget;
  };
  TBar& Bar(Integer Which) { return Which == SB_HORZ ? FHorz : FVert; }
  const TBar& Bar(Integer Which) const { return Which == SB_HORZ ? FHorz : FVert; }
  Integer SetInfo(Integer Which, const TScrollInfo& Info);
  // Creates, places and updates the QScrollBars inside the host widget.
  void Place(QWidget* Host, const TRect& Vertical, const TRect& Horizontal);
  void Sync(Integer Which);
  void Destroy();
private:
  void Action(Integer Which, int QtAction);
  void Released(Integer Which);
  TWinControl* FControl;
  TBar FHorz, FVert;
};

// The widget whose cursor SetCursorShape sets (the one handling WM_SETCURSOR).
void SetCursorWidget(QWidget* Widget);
// The widget handling WM_SETCURSOR goes back to its own shape: a wrapped widget's, else
// its parent's.
void RestoreOwnCursorShape();
void RegisterWidget(QWidget* Widget, TWinControl* Control);
// Remembers the modifiers and buttons of an input event for GetKeyState and friends.
void NoteInputEvent(QEvent* Event);
void NoteKey(Word VirtualKey, bool Down);
