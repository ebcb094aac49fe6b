#pragma once
// What the controls that wrap a Qt widget share: finding the control behind a widget,
// colours, and turning the widget's signals into the notifications a parent and the
// control itself receive as messages.
#include "platform/ui/Controls.h"
#include <QWidget>

// Notification codes carried in the high word of WM_COMMAND's and CN_COMMAND's WParam.
constexpr Word BN_CLICKED = 0, LBN_SELCHANGE = 1, LBN_DBLCLK = 2, CBN_SELCHANGE = 1, CBN_DBLCLK = 2,
               CBN_EDITCHANGE = 5, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8;

// The control of class C that wraps Widget; nullptr once the control let go of the widget.
template <class C>
C* WrappingControl(const QWidget* Widget) {
  return dynamic_cast<C*>(FindControl(Widget));
}

// Gives Widget the control's colour (as its palette's Role) and font colour.
void ApplyControlColors(QWidget* Widget, const TControl* Control, int Role);
// CM_COLORCHANGED and CM_FONTCHANGED of a control wrapping a widget: the control's own
// handling, then the widget's colours. False, doing nothing, for other messages.
bool DispatchColorChange(TWinControl* Control, TMessage& Message, int Role);

// A notification from Control's widget: WM_COMMAND goes to the parent (WParam: code in the
// high word; LParam: the control), then CN_COMMAND to the control itself. Handlers run at
// an event boundary: their exceptions reach the application.
void SendCommandNotification(TWinControl* Control, Word Code);

// The control a WM_COMMAND or CN_COMMAND message came from.
inline TWinControl* CommandControl(const TMessage& Message) { return reinterpret_cast<TWinControl*>(Message.LParam); }
inline Word CommandCode(const TMessage& Message) { return HiWord(Message.WParam); }

// Key events of Inner, a part of the widget Outer wraps (the edit field of a combo box),
// reach Outer's control as key messages before Inner handles them.
void ForwardKeys(QWidget* Inner, QWidget* Outer);
