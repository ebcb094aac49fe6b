#pragma once
// One library routine per window-layer operation, so the grid library reaches the window
// layer through a single narrow door. Each passes its arguments through unchanged unless
// noted.
#include "platform/rtl/Variants.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DrawingRoutines.h"

// Formatted text; returns the drawn text height.
Integer PlatformDrawText(TCanvas* Canvas, const String& Text, Integer Count, TRect& R, Cardinal Format);
// The margins record goes in by value: the length drawn is not reported back.
Integer PlatformDrawTextEx(TCanvas* Canvas, const String& Text, Integer Count, TRect& R, Cardinal Format,
                           TDrawTextParams Params);
Integer PlatformDrawTextExPlain(TCanvas* Canvas, const String& Text, Integer Count, TRect& R, Cardinal Format);

LRESULT PlatformSendMessage(TControl* Window, Cardinal Msg, WPARAM WParam, LPARAM LParam);
// LParam points to the zero-terminated characters of Text.
LRESULT PlatformSendTextMessage(TControl* Window, Cardinal Msg, WPARAM WParam, const String& Text);
// Sends Msg with a 4096-byte buffer whose first 16-bit word holds its size (the line-copy
// convention of edits) and returns the character count the message reports; Text gets
// that many characters. MaxLength is not used: the buffer size is fixed.
Integer PlatformGetLineText(TControl* Window, Cardinal Msg, WPARAM WParam, Integer MaxLength, String& Text);

// nullptr: the whole client area.
void PlatformInvalidateRect(TWinControl* Window, const TRect* R, bool Erase);
void PlatformScrollWindowEx(TWinControl* Window, Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip,
                            Cardinal Flags);
void PlatformScrollWindow(TWinControl* Window, Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip);
// Converts the two corner points of R from logical to device coordinates.
void PlatformLPtoDP(const TCanvas* Canvas, TRect& R);
// The points are copied before the region is made.
TRegion PlatformCreatePolygonRgn(const TPoint* Points, Integer Count, TFillMode Mode);
void PlatformGetEditSelection(TControl* Edit, Integer& SelStart, Integer& SelEnd);

String PlatformUpperCase(const String& Text);
String PlatformLowerCase(const String& Text);
int PlatformCompareStr(const String& A, const String& B);
int PlatformCompareText(const String& A, const String& B);

// Changes the high bound of a one-dimensional array, keeping its items.
void PlatformVarArrayRedim(Variant& A, Integer HighBound);

// The audible warning for refused input.
void PlatformBeep();
