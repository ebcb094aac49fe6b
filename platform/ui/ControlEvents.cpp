#include "platform/ui/ControlHost.h"
#include "platform/rtl/Clock.h"
#include "platform/ui/Forms.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>
#include <array>

// ---- event contexts

namespace {

std::vector<TEventContext*>& ContextStack() {
  static std::vector<TEventContext*> stack;
  return stack;
}

// Keyboard and mouse state seen in the last input events.
struct TInputState {
  Qt::KeyboardModifiers Modifiers;
  Qt::MouseButtons Buttons;
  std::array<bool, 256> Keys{};
  Cardinal Time = 0;
};

TInputState& InputState() {
  static TInputState state;
  return state;
}

// Windows that must not take the focus give the activation straight back, where a window
// system activates them anyway; the focused control never notices. True when it went back.
bool GiveActivationBack(QWidget* Window) {
  static QPointer<QWidget> lastActive;
  if (!Window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
    lastActive = Window;
    return false;
  }
  QWidget* back = Window->parentWidget() ? Window->parentWidget()->window() : lastActive.data();
  if (!back || !back->isVisible()) return false;
  QApplication::setActiveWindow(back);
  return true;
}

}  // namespace

TEventScope::TEventScope(TEventContext* Context) { ContextStack().push_back(Context); }
TEventScope::~TEventScope() { ContextStack().pop_back(); }

TEventContext* CurrentEventContext() { return ContextStack().empty() ? nullptr : ContextStack().back(); }

// ---- key and mouse state

void NoteInputEvent(QEvent* Event) {
  switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel: {
      auto* input = static_cast<QInputEvent*>(Event);
      InputState().Modifiers = input->modifiers();
      // Events made by the program carry no time stamp: the clock tells the time instead.
      InputState().Time = input->timestamp() ? Cardinal(input->timestamp()) : GetTickCount();
      if (Event->type() != QEvent::KeyPress && Event->type() != QEvent::KeyRelease)
        InputState().Buttons = static_cast<QSinglePointEvent*>(Event)->buttons();
      break;
    }
    default: break;
  }
}

Cardinal GetMessageTime() { return InputState().Time; }

void NoteKey(Word VirtualKey, bool Down) { InputState().Keys[VirtualKey & 0xFF] = Down; }

SmallInt GetKeyState(Integer VirtualKey) {
  const TInputState& s = InputState();
  bool down = false;
  switch (VirtualKey) {
    case VK_SHIFT: down = s.Modifiers & Qt::ShiftModifier; break;
    case VK_CONTROL: down = s.Modifiers & Qt::ControlModifier; break;
    case VK_MENU: down = s.Modifiers & Qt::AltModifier; break;
    case VK_LBUTTON: down = s.Buttons & Qt::LeftButton; break;
    case VK_RBUTTON: down = s.Buttons & Qt::RightButton; break;
    case VK_MBUTTON: down = s.Buttons & Qt::MiddleButton; break;
    default: down = s.Keys[size_t(VirtualKey & 0xFF)]; break;
  }
  return down ? SmallInt(-128) : SmallInt(0);
}

TShiftState ReadKeyboardShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeysToShiftState(Word Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s = ReadKeyboardShiftState();
  s.Exclude(ssAlt);
  if (KeyData & (LPARAM(1) << 29)) s.Include(ssAlt);
  return s;
}

TPoint GetCursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

void SetCursorPos(TPoint P) { QCursor::setPos(P.X, P.Y); }

// ---- virtual keys

Word TWidgetEvents::VirtualKey(int QtKey, Qt::KeyboardModifiers Modifiers) {
  if (QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) return Word('A' + (QtKey - Qt::Key_A));
  if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)
    return Word((Modifiers & Qt::KeypadModifier) ? VK_NUMPAD0 + (QtKey - Qt::Key_0) : '0' + (QtKey - Qt::Key_0));
  if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24) return Word(VK_F1 + (QtKey - Qt::Key_F1));
  struct TPair { int Qt; Word Vk; };
  static const TPair table[] = {
      {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB}, {Qt::Key_Clear, VK_CLEAR},
      {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, VK_SHIFT},
      {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU}, {Qt::Key_Pause, VK_PAUSE},
      {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
      {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END}, {Qt::Key_Home, VK_HOME},
      {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP}, {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN},
      {Qt::Key_Select, VK_SELECT}, {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Execute, VK_EXECUTE},
      {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Help, VK_HELP},
      {Qt::Key_Meta, VK_LWIN}, {Qt::Key_Menu, VK_APPS}, {Qt::Key_NumLock, VK_NUMLOCK},
      {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Plus, VK_OEM_PLUS},
      {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1}, {Qt::Key_Equal, VK_OEM_PLUS},
      {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Less, VK_OEM_COMMA}, {Qt::Key_Minus, VK_OEM_MINUS},
      {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
      {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_Question, VK_OEM_2}, {Qt::Key_QuoteLeft, VK_OEM_3},
      {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
      {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5}, {Qt::Key_BracketRight, VK_OEM_6},
      {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7}, {Qt::Key_QuoteDbl, VK_OEM_7},
  };
  const bool keypad = Modifiers & Qt::KeypadModifier;
  if (keypad) {
    switch (QtKey) {
      case Qt::Key_Asterisk: return VK_MULTIPLY;
      case Qt::Key_Plus: return VK_ADD;
      case Qt::Key_Minus: return VK_SUBTRACT;
      case Qt::Key_Period: return VK_DECIMAL;
      case Qt::Key_Slash: return VK_DIVIDE;
      default: break;
    }
  }
  // Shifted digits give the digit key they sit on.
  static const char shiftedDigits[] = ")!@#$%^&*(";
  for (int d = 0; d < 10; ++d)
    if (QtKey == shiftedDigits[d]) return Word('0' + d);
  for (const TPair& p : table)
    if (p.Qt == QtKey) return p.Vk;
  return 0;
}

Word TWidgetEvents::MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers) {
  Word keys = 0;
  if (Buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (Buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (Buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (Modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (Modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

// ---- translation

namespace {

// Delivers one message made from a Qt event, with that event's default handling at hand.
void DeliverFromEvent(TControl* Control, TMessage& M, std::function<void()> CallDefault, bool Deferred, bool* DefaultCalled = nullptr) {
  TEventContext context{Control, M.Msg, std::move(CallDefault), Deferred, false};
  {
    TEventScope scope(&context);
    DeliverMessage(Control, M);
  }
  if (DefaultCalled) *DefaultCalled = context.DefaultCalled;
}

// Runs layer code that calls handlers outside a message delivery, at the event boundary.
void Guarded(TControl* Control, const std::function<void()>& Action) {
  try {
    Action();
  } catch (...) {
    if (Application) Application->HandleException(Control);
  }
}

// Local, a point of Widget, in Control's client coordinates. The client area of a wrapped
// scroll area is its viewport, where its items are laid out; a part of a wrapped widget
// (a calendar's day table) maps into the widget.
TPoint ClientPoint(TWinControl* Control, QWidget* Widget, QPoint Local) {
  if (dynamic_cast<THostWidget*>(Widget)) {
    const TRect client = Control->ClientRectInWindow();
    return {Local.x() - client.Left, Local.y() - client.Top};
  }
  QWidget* outer = Control->Handle();
  auto* area = qobject_cast<QAbstractScrollArea*>(outer);
  QWidget* client = area ? area->viewport() : outer;
  const QPoint p = client == Widget ? Local : client->mapFromGlobal(Widget->mapToGlobal(Local));
  return {p.x(), p.y()};
}

// The window-less child a mouse message at P belongs to: the capture holder, else the
// enabled graphic control under the point.
TControl* MouseTarget(TWinControl* Control, TPoint P) {
  TControl* capture = GetCaptureControl();
  if (capture && capture->Parent() == Control && !dynamic_cast<TWinControl*>(capture)) return capture;
  if (capture == Control) return Control;
  TControl* child = Control->ControlAtPos(P, false, false);
  return child ? child : Control;
}

}  // namespace

bool TWidgetEvents::TranslatePaint(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default) {
  auto* paint = static_cast<QPaintEvent*>(Event);
  QPointer<QWidget> guard(Widget);
  if (dynamic_cast<THostWidget*>(Widget)) {
    const TRect client = Control->ClientRectInWindow();
    const QRect clientQ(client.Left, client.Top, client.Width(), client.Height());
    if (clientQ != Widget->rect()) {
      TWidgetPaintCanvas nc(Widget, {0, 0}, paint->region().subtracted(clientQ));
      TMessage m{WM_NCPAINT, WPARAM(static_cast<TCanvas*>(&nc)), 0, 0};
      DeliverMessage(Control, m);
    }
    if (!guard) return true;
    const QRegion clip = paint->region().intersected(clientQ).translated(-client.Left, -client.Top);
    TWidgetPaintCanvas canvas(Widget, client.TopLeft(), clip);
    TMessage erase{WM_ERASEBKGND, WPARAM(static_cast<TCanvas*>(&canvas)), 0, 0};
    DeliverMessage(Control, erase);
    if (!guard) return true;
    TMessage m{WM_PAINT, WPARAM(static_cast<TCanvas*>(&canvas)), 0, 0};
    DeliverFromEvent(Control, m, [&] { canvas.Release(); }, false);
    return true;
  }
  TWidgetPaintCanvas canvas(Widget, {0, 0}, paint->region());
  TMessage m{WM_PAINT, WPARAM(static_cast<TCanvas*>(&canvas)), 0, 0};
  DeliverFromEvent(Control, m, [&] {
    canvas.Release();
    Default(Event);
  }, false);
  return true;
}

bool TWidgetEvents::TranslateMouse(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default) {
  auto* mouse = static_cast<QMouseEvent*>(Event);
  const TPoint p = ClientPoint(Control, Widget, mouse->position().toPoint());
  // A click on the frame's scroll bars never gets here: they are widgets of their own.
  const Word keys = MouseKeys(mouse->buttons(), mouse->modifiers());
  Cardinal msg = WM_MOUSEMOVE;
  const Qt::MouseButton b = mouse->button();
  const int index = b == Qt::RightButton ? 1 : b == Qt::MiddleButton ? 2 : 0;
  static const Cardinal down[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static const Cardinal up[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
  static const Cardinal dbl[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
  switch (Event->type()) {
    case QEvent::MouseButtonPress: msg = down[index]; break;
    case QEvent::MouseButtonRelease: msg = up[index]; break;
    case QEvent::MouseButtonDblClick: msg = dbl[index]; break;
    default: break;
  }
  QPointer<QWidget> guard(Widget);
  const bool host = dynamic_cast<THostWidget*>(Widget) != nullptr;
  TControl* capture = GetCaptureControl();
  const bool captured = capture && (capture == Control || Control->ContainsControl(capture));
  // Where the point lies decides between client and frame messages, unless the mouse is captured.
  const TPoint screen = Control->ClientToScreen(p);
  LRESULT hit = HTCLIENT;
  if (msg == WM_MOUSEMOVE || (host && !captured)) {
    TMessage hitTest{WM_NCHITTEST, 0, PointToLParam(screen), 0};
    DeliverMessage(Control, hitTest);
    if (!guard) return true;
    hit = hitTest.Result;
  }
  const bool frame = host && !captured && hit != HTCLIENT;
  TControl* target = frame ? Control : MouseTarget(Control, p);
  TPoint targetPoint = p;
  if (target != Control) targetPoint = {p.X - target->Left(), p.Y - target->Top()};
  if (msg == WM_MOUSEMOVE) {
    // The cursor shape is asked for before every move, as the window system does.
    TMessage cursor{WM_SETCURSOR, 0, MakeLParam(Word(SmallInt(hit)), Word(WM_MOUSEMOVE)), 0};
    SetCursorWidget(Widget);
    DeliverMessage(Control, cursor);
    if (!guard) return true;
    Guarded(Control, [&] { Control->SetMouseControl(target != Control ? target : nullptr); });
    if (!guard) return true;
  }
  TMessage m{msg, keys, PointToLParam(targetPoint), 0};
  if (frame) m = {msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, WPARAM(hit), PointToLParam(screen), 0};
  DeliverFromEvent(target, m, [&] { if (guard) Default(Event); }, false);
  // Clicks are not passed on to the parent window, whatever the default did.
  Event->accept();
  return true;
}

bool TWidgetEvents::TranslateKey(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default) {
  auto* key = static_cast<QKeyEvent*>(Event);
  const bool press = Event->type() == QEvent::KeyPress;
  const bool alt = key->modifiers() & Qt::AltModifier;
  Word vk = VirtualKey(key->key(), key->modifiers());
  LPARAM keyData = 1 | (alt ? LPARAM(1) << 29 : 0) | (key->isAutoRepeat() ? LPARAM(1) << 30 : 0) | (press ? 0 : LPARAM(1) << 31);
  if (vk) NoteKey(vk, press);
  QPointer<QWidget> guard(Widget);
  if (!press) {
    TMessage m{Cardinal(alt ? WM_SYSKEYUP : WM_KEYUP), vk, keyData, 0};
    if (vk) DeliverFromEvent(Control, m, [&] { if (guard) Default(Event); }, false);
    else Default(Event);
    return true;
  }

  // A key that runs one of the form's menu items is the menu's, not the control's.
  if (vk) {
    bool shortCut = false;
    if (TCustomForm* form = GetParentForm(Control)) {
      try {
        shortCut = form->IsShortCut(vk, KeyDataToShiftState(keyData));
      } catch (...) {
        // A failing menu item is reported here, at the event boundary, and still takes the key.
        shortCut = true;
        if (Application) Application->HandleException(Control);
      }
    }
    if (shortCut || !guard) return true;
  }

  // The control and then each of its parents see the key first; one that handles it takes it.
  if (vk) {
    TMessage child{CM_CHILDKEY, vk, LPARAM(Control), 0};
    DeliverMessage(Control, child);
    if (child.Result != 0 || !guard) return true;
  }

  // Tab, arrows, Enter and Esc are dialog keys unless the control asks for them.
  const bool dialogKey = vk == VK_TAB || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN ||
                         vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_EXECUTE || vk == VK_CANCEL;
  if (dialogKey && !alt) {
    TMessage ask{WM_GETDLGCODE, vk, 0, 0};
    DeliverMessage(Control, ask);
    const LRESULT code = ask.Result;
    bool wanted = (code & DLGC_WANTALLKEYS) || (vk == VK_TAB && (code & DLGC_WANTTAB)) ||
                  ((vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) && (code & DLGC_WANTARROWS));
    if (!wanted && guard) {
      TMessage special{CM_WANTSPECIALKEY, vk, keyData, 0};
      DeliverMessage(Control, special);
      wanted = special.Result != 0;
    }
    if (!guard) return true;
    if (!wanted) {
      TCustomForm* form = GetParentForm(Control);
      if (form) {
        TMessage m{CM_DIALOGKEY, vk, keyData, 0};
        DeliverMessage(form, m);
        if (m.Result != 0) return true;
      }
    }
    if (!guard) return true;
  }

  bool keyDefault = false;
  if (vk) {
    TMessage m{Cardinal(alt ? WM_SYSKEYDOWN : WM_KEYDOWN), vk, keyData, 0};
    DeliverFromEvent(Control, m, nullptr, true, &keyDefault);
  } else {
    keyDefault = true;
  }
  if (!guard) return true;
  String text = key->text();
  bool charDefault = true;
  const bool hasText = !text.isEmpty() && text[0] != QChar(0x7F);
  if (hasText) {
    String delivered;
    for (QChar c : text) {
      TMessage m{Cardinal(alt ? WM_SYSCHAR : WM_CHAR), c.unicode(), keyData, 0};
      bool called = false;
      DeliverFromEvent(Control, m, nullptr, true, &called);
      if (!guard) return true;
      if (called && m.WParam != 0) delivered += QChar(char16_t(m.WParam));
    }
    charDefault = !delivered.isEmpty();
    // A handler may have replaced the character: the widget gets what it left.
    if (charDefault && delivered != text) {
      QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers(), delivered, key->isAutoRepeat());
      Default(&changed);
      return true;
    }
  }
  if (hasText ? charDefault : keyDefault) Default(Event);
  return true;
}

bool TWidgetEvents::Translate(TWinControl* Control, QWidget* Widget, QEvent* Event, const std::function<bool(QEvent*)>& Default) {
  NoteInputEvent(Event);
  QPointer<QWidget> guard(Widget);
  auto forward = [&](TMessage m) {
    DeliverFromEvent(Control, m, [&] { if (guard) Default(Event); }, false);
    return true;
  };
  switch (Event->type()) {
    case QEvent::Paint:
      return TranslatePaint(Control, Widget, Event, Default);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return TranslateMouse(Control, Widget, Event, Default);
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      TranslateKey(Control, Widget, Event, Default);
      // Keys stay with the focused window, whatever its default did with them.
      Event->accept();
      return true;
    case QEvent::FocusIn:
      return forward({WM_SETFOCUS, 0, 0, 0});
    case QEvent::FocusOut:
      return forward({WM_KILLFOCUS, 0, 0, 0});
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(Event);
      const QPoint g = wheel->globalPosition().toPoint();
      const Integer delta = wheel->angleDelta().y() != 0 ? wheel->angleDelta().y() : wheel->angleDelta().x();
      const Word keys = MouseKeys(wheel->buttons(), wheel->modifiers());
      forward({WM_MOUSEWHEEL, MakeWParam(keys, Word(SmallInt(delta))), PointToLParam({g.x(), g.y()}), 0});
      Event->accept();
      return true;
    }
    case QEvent::ContextMenu: {
      auto* menu = static_cast<QContextMenuEvent*>(Event);
      const TPoint pos = menu->reason() == QContextMenuEvent::Keyboard ? TPoint(-1, -1)
                                                                        : TPoint(menu->globalPos().x(), menu->globalPos().y());
      TMessage m{WM_CONTEXTMENU, 0, PointToLParam(pos), 0};
      bool defaulted = false;
      DeliverFromEvent(Control, m, [&] { if (guard) Default(Event); }, false, &defaulted);
      // Unhandled, the request goes on to the parent window.
      if (!defaulted) Event->accept();
      return true;
    }
    case QEvent::Enter:
      return forward({CM_MOUSEENTER, 0, LPARAM(static_cast<TControl*>(Control)), 0});
    case QEvent::Leave:
      Guarded(Control, [&] { Control->SetMouseControl(nullptr); });
      if (!guard) return true;
      return forward({CM_MOUSELEAVE, 0, LPARAM(static_cast<TControl*>(Control)), 0});
    case QEvent::Resize:
      if (dynamic_cast<THostWidget*>(Widget) && Widget->isWindow()) {
        Default(Event);
        Guarded(Control, [&] { Control->HostResized(); });
        return true;
      }
      return false;
    case QEvent::Move:
      if (Widget->isWindow()) {
        Default(Event);
        Control->HostMoved({Widget->x(), Widget->y()});
        return true;
      }
      return false;
    case QEvent::ApplicationPaletteChange:
      // The desktop's colours changed: every window hears it, as from the window system.
      if (Widget->isWindow()) {
        TMessage m{CM_SYSCOLORCHANGE, 0, 0, 0};
        DeliverMessage(Control, m);
      }
      return false;
    case QEvent::WindowActivate:
      // Wrapped widgets that are windows of their own (drop-down lists) as well.
      if (Widget->isWindow() && GiveActivationBack(Widget)) return true;
      [[fallthrough]];
    case QEvent::WindowDeactivate:
      if (Widget->isWindow()) {
        TMessage m{Cardinal(Event->type() == QEvent::WindowActivate ? CM_ACTIVATE : CM_DEACTIVATE), 0, 0, 0};
        DeliverMessage(Control, m);
      }
      return false;
    default:
      return false;
  }
}

// ---- host widget and filter

THostWidget::THostWidget(TWinControl* Control, QWidget* Parent, Qt::WindowFlags Flags) : QWidget(Parent, Flags), FControl(Control) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled);
  setFocusPolicy(Qt::NoFocus);
}

bool THostWidget::event(QEvent* Event) {
  if (Event->type() == QEvent::WindowActivate && isWindow() && GiveActivationBack(this)) return true;
  if (FControl && Event->type() == QEvent::InputMethod) {
    InputMethod(static_cast<QInputMethodEvent*>(Event));
    return true;
  }
  if (FControl && TWidgetEvents::Translate(FControl, this, Event, [this](QEvent* e) { return BaseEvent(e); })) return true;
  if (FControl && Event->type() == QEvent::Close) {
    if (auto* form = dynamic_cast<TCustomForm*>(FControl)) {
      Event->ignore();
      form->CloseFromWindowSystem();
      return true;
    }
  }
  return QWidget::event(Event);
}

void THostWidget::InputMethod(QInputMethodEvent* Event) {
  QPointer<THostWidget> guard(this);
  if (!FComposing && !Event->preeditString().isEmpty()) {
    FComposing = true;
    TMessage start{WM_IME_STARTCOMPOSITION, 0, 0, 0};
    DeliverMessage(FControl, start);
  }
  for (QChar c : Event->commitString()) {
    if (!guard || !FControl) return;
    TMessage m{WM_CHAR, c.unicode(), 1, 0};
    DeliverMessage(FControl, m);
  }
  if (guard && FControl && FComposing && Event->preeditString().isEmpty()) {
    FComposing = false;
    TMessage end{WM_IME_ENDCOMPOSITION, 0, 0, 0};
    DeliverMessage(FControl, end);
  }
  Event->accept();
}

namespace {

// Qt's own handling of an event of a scroll area's viewport, which the area's private
// filter would otherwise give it.
struct TViewportAccess : QAbstractScrollArea {
  static bool Handle(QAbstractScrollArea* Area, QEvent* Event) { return (Area->*(&TViewportAccess::viewportEvent))(Event); }
};

// The scroll area whose viewport Widget is, or nullptr.
QAbstractScrollArea* AreaOfViewport(QWidget* Widget) {
  auto* area = qobject_cast<QAbstractScrollArea*>(Widget->parentWidget());
  return area && area->viewport() == Widget ? area : nullptr;
}

bool IsMouseInput(QEvent::Type Type) {
  return Type == QEvent::MouseButtonPress || Type == QEvent::MouseButtonRelease || Type == QEvent::MouseButtonDblClick ||
         Type == QEvent::MouseMove || Type == QEvent::Wheel;
}

}  // namespace

void TWidgetFilter::Install(QWidget* Widget) {
  Widget->installEventFilter(this);
  QList<QAbstractScrollArea*> areas = Widget->findChildren<QAbstractScrollArea*>();
  if (auto* self = qobject_cast<QAbstractScrollArea*>(Widget)) areas.prepend(self);
  for (QAbstractScrollArea* area : areas) {
    // Drop-down windows of the widget and the widgets of child controls are not its own.
    if (area->window() != Widget->window() || FindControl(area) != FControl) continue;
    // Moves without a button pressed are messages too (hot tracking in lists).
    area->viewport()->setMouseTracking(true);
    area->viewport()->installEventFilter(this);
  }
}

bool TWidgetFilter::eventFilter(QObject* Watched, QEvent* Event) {
  auto* widget = qobject_cast<QWidget*>(Watched);
  if (!FControl || !widget) return false;
  if (widget != FControl->Handle()) {
    QAbstractScrollArea* area = AreaOfViewport(widget);
    // Enter, leave and the rest reach the control through its own widget.
    if (!area || !IsMouseInput(Event->type())) return false;
    return TWidgetEvents::Translate(FControl, widget, Event, [area](QEvent* e) { return TViewportAccess::Handle(area, e); });
  }
  return TWidgetEvents::Translate(FControl, widget, Event, [widget](QEvent* e) { return static_cast<QObject*>(widget)->event(e); });
}

// ---- paint canvas

TWidgetPaintCanvas::TWidgetPaintCanvas(QWidget* Widget, TPoint Origin, const QRegion& Clip) : FWidget(Widget) {
  SetDeviceArea(Origin, &Clip);
}

bool TWidgetPaintCanvas::CreateHandle() {
  if (!FWidget) return false;
  SetPainter(new QPainter(FWidget), true);
  return true;
}

TSize TWidgetPaintCanvas::DeviceSize() const { return FWidget ? TSize(FWidget->width(), FWidget->height()) : TSize(); }
