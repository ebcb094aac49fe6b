#pragma once
// The private messages of skinned windows and painters, and the window commands the engine
// posts to the windows it drives. The numbers are fixed: other programs' painters and
// handlers use them too.
#include "platform/ui/Messages.h"

constexpr Cardinal SKIN_REAPPLY = 13313;          // re-apply the skin (through the form's WindowProc)
constexpr Cardinal SKIN_PAINTFRAME = 13570;       // paint the skinned frame now
constexpr Cardinal SKIN_FINISHATTACH = 13571;     // posted right after a form got its skinned-form object
constexpr Cardinal SKIN_PAINTERSWITCH = 13574;    // wParam > 0 switches a painter on, 0 off
// Sent to the form when a tab's close box is clicked (wParam the tab control, lParam the tab
// index); an answer of 0 lets the painter free that page.
constexpr Cardinal SKIN_TABCLOSE = 13575;
constexpr Cardinal SKIN_CAPTIONACTION = 13588;    // a caption button of another action was clicked
constexpr Cardinal SKIN_BUTTONVISIBLE = 13589;    // is the caption button of that Visibility shown?
constexpr Cardinal SKIN_ISSKINNED = 13603;        // answered 1 by skinned windows and painters

// Window commands (WParam of WM_SYSCOMMAND).
constexpr WPARAM SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_CLOSE = 0xF060, SC_RESTORE = 0xF120;
