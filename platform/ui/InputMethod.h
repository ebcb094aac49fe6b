#pragma once
// Input-method settings of a window: whether composed input (Chinese, Japanese, Korean) is on
// and which kind of characters the input method should offer first.
#include "platform/rtl/SysUtils.h"

class TWinControl;

enum TImeMode {
  imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese, imSHanguel, imHanguel
};

// Activates Mode for Control's window (nothing while it has none). imDisable turns input
// methods off for the window; imClose and the alphanumeric modes ask for Latin input; every
// other mode leaves the input method on as the user set it, since the window system offers no
// way to switch a composing input method to a given script. Name, the input method to
// choose, is not applied: the desktop picks the input method for every window alike.
void ActivateIme(TWinControl* Control, TImeMode Mode, const String& Name);
