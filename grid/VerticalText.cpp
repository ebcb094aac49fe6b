#include "grid/VerticalText.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/DrawingRoutines.h"

Integer DrawTextVertically(TCanvas* Canvas, const TRect& Rect, bool Fill, bool MeasureOnly, bool EndEllipsis,
                           TTextLayout Layout, TAlignment Alignment, const String& Text, Integer VMargin,
                           Integer HMargin) {
  const Integer savedOrientation = Canvas->Font()->Orientation();
  TScopeGuard restoreFont([&] { Canvas->Font()->SetOrientation(savedOrientation); });
  Canvas->Font()->SetOrientation(900);
  const Integer extent = Canvas->TextWidth(Text);
  if (MeasureOnly) return extent;

  const String shown = EndEllipsis ? EllipsizeText(Canvas, Text, Rect.Height() - VMargin) : Text;
  const Integer shownExtent = Canvas->TextWidth(shown);
  const Integer textHeight = Canvas->TextHeight(shown);
  // The turned text's top lies at X, its first character's foot at Y.
  const Integer x = Alignment == taLeftJustify    ? Rect.Left + HMargin
                    : Alignment == taRightJustify ? Rect.Right - textHeight
                                                  : Rect.Left + Rect.Width() / 2 - textHeight / 2;
  const Integer y = Layout == tlTop      ? Rect.Top + shownExtent
                    : Layout == tlBottom ? Rect.Bottom - VMargin
                                         : Rect.Bottom - Rect.Height() / 2 + shownExtent / 2;
  if (Fill) Canvas->FillRect(Rect);
  const TBrushStyle savedStyle = Canvas->Brush()->Style();
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(Rect, x, y, shown);
  Canvas->Brush()->SetStyle(savedStyle);
  return extent;
}
