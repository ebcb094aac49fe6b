#pragma once
// Looking into the queue of messages posted to a control.
#include "platform/ui/Controls.h"

// The first waiting posted message for Control in MsgFirst..MsgLast, taken off the queue
// with Remove; false when none waits.
bool PeekPendingMessage(TControl* Control, Cardinal MsgFirst, Cardinal MsgLast, TMessage& Message, bool Remove);

// Removes a left press (or double click) waiting for Control, when it is the next press or
// release queued for it, so that the click that closed a button's drop-down menu does not
// press the button again; true when one was removed.
bool TakePendingClickOnControl(TControl* Control);
