#pragma once
// Messages the payroll program shows to the user: one routine, so that tests
// can record them instead of opening message boxes.
#include "platform/rtl/Types.h"
#include <functional>

using TShowMessageProc = std::function<void(const String& Text)>;

// Shows Text in a modal message box titled with the application's name.
void ShowAppMessage(const String& Text);
// Routes every later message to Proc (an empty one restores the message box);
// returns the routine that was in use.
TShowMessageProc SetShowMessageProc(TShowMessageProc Proc);
