#pragma once
// How a title caption is broken into lines. A caption that fits its width stays on one line;
// one that does not takes as few lines as the width allows, breaking at spaces and between
// ideographs, never inside a Latin word, and with the lines as even as their break points
// allow, the shorter line first ("住房" over "公积金", not "住房公积" over "金"). Explicit line
// breaks in the caption are kept.
#include "platform/rtl/Types.h"
#include <QStringList>

class QFontMetrics;
class TCanvas;

QStringList TitleCaptionLines(const QFontMetrics& Metrics, const String& Caption, Integer Width);

// The height of the caption's lines in the canvas's font.
Integer TitleCaptionHeight(TCanvas* Canvas, const String& Caption, Integer Width);

// Writes the caption's lines in R, each aligned by Alignment, the block centred vertically
// (from R's top when it is taller than R), clipped to R; with EndEllipsis a line too wide
// for R ends in "...".
void DrawTitleCaption(TCanvas* Canvas, const String& Caption, const TRect& R, TAlignment Alignment, bool EndEllipsis);
