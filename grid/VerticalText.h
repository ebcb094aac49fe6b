#pragma once
// Text turned by 90 degrees, running from the bottom of its rectangle upwards, as titles
// of narrow columns show their captions.
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

// Draws Text turned in Rect, or only measures it, and returns its extent along the text
// direction. HMargin keeps a left-aligned text off the left edge; VMargin keeps a text laid
// out at the bottom off the bottom edge. With Fill the rectangle is filled with the brush
// first; with EndEllipsis a text longer than the rectangle is high ends in "...". The
// canvas font is the same afterwards.
Integer DrawTextVertically(TCanvas* Canvas, const TRect& Rect, bool Fill, bool MeasureOnly, bool EndEllipsis,
                           TTextLayout Layout, TAlignment Alignment, const String& Text, Integer VMargin,
                           Integer HMargin);
