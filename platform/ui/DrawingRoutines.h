#pragma once
// Formatted text, 3-D edges, frame controls, focus rectangles and gradients, drawn on a
// canvas with the flags and the colour scheme of the system table. Without a device
// (a control outside its paint event) nothing is drawn, but measuring still works.
#include "platform/ui/Graphics.h"

// Text format flags.
constexpr Cardinal DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
                   DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400,
                   DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000,
                   DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
                   DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000, DT_HIDEPREFIX = 0x100000;

struct TDrawTextParams {
  Integer iTabLength = 0;    // in average character widths; 0 means 8
  Integer iLeftMargin = 0;   // pixels
  Integer iRightMargin = 0;
  Cardinal uiLengthDrawn = 0;
};

// Draws Text in R by Format and returns the text height (with DT_VCENTER or DT_BOTTOM:
// the offset from R.Top to the bottom of the text). With DT_CALCRECT nothing is drawn and
// R is set to the rectangle the text needs: for several lines R keeps its left and top,
// its width becomes the widest line and its height the lines' total height.
Integer DrawText(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Format);
// DrawText with margins and a tab length; Params may be nullptr.
Integer DrawTextEx(TCanvas* Canvas, const String& Text, TRect& R, Cardinal Format, TDrawTextParams* Params);
// Text shortened with "..." at its end so that it fits Width pixels in the canvas font.
String EllipsizeText(TCanvas* Canvas, const String& Text, Integer Width);

constexpr Cardinal ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4;
// Text at X, Y (its top-left corner): ETO_OPAQUE fills Rect with the brush colour first,
// ETO_CLIPPED keeps the text inside Rect.
void ExtTextOut(TCanvas* Canvas, Integer X, Integer Y, Cardinal Options, const TRect* Rect, const String& Text);

// Edge kinds and border flags.
constexpr Cardinal BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
                   BDR_OUTER = 0x3, BDR_INNER = 0xC, EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
                   EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER, EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
                   EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr Cardinal BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = BF_TOP | BF_LEFT,
                   BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT, BF_RECT = 0xF, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
                   BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000;

// Draws up to two rings of 3-D edge lines on the chosen sides of R; BF_ADJUST shrinks R
// by what was drawn, BF_MIDDLE fills the inside with the button face.
bool DrawEdge(TCanvas* Canvas, TRect& R, Cardinal Edge, Cardinal Flags);

// Frame control kinds and states.
constexpr Cardinal DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4;
constexpr Cardinal DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
                   DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
                   DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8, DFCS_INACTIVE = 0x100,
                   DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800, DFCS_HOT = 0x1000,
                   DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000;

// Draws a push button, check box (two- or three-state), radio button, scroll arrow, combo
// arrow or size grip filling R.
bool DrawFrameControl(TCanvas* Canvas, TRect& R, Cardinal Kind, Cardinal State);

// The check-box glyphs in a grid of 4 columns (unchecked, checked, pushed, pushed and
// checked) by 3 rows (check box, radio button, three-state box), 13 x 13 pixels each.
void LoadSystemCheckBoxes(TBitmap* Bitmap);

// Inverts every other pixel of R's outline; drawing it twice restores the pixels.
void DrawFocusRect(TCanvas* Canvas, const TRect& R);

enum TGradientDirection { gdHorizontal, gdVertical };
// Fills R with colours running from StartColor to EndColor across (horizontal) or down (vertical).
void GradientFillRect(TCanvas* Canvas, const TRect& R, TColor StartColor, TColor EndColor, TGradientDirection Direction);
