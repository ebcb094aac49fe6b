#pragma once
// Bitmap transforms for skin images (grey, mirror, flip, quarter turns) and colour gradients.
#include "platform/rtl/Types.h"
#include <QImage>
#include <vector>

class QPainter;

// Every pixel becomes the mean of its three channels.
void GreyBitmap(QImage& bitmap);
// Left to right.
void MirrorBitmap(QImage& bitmap);
// Top to bottom.
void FlipBitmap(QImage& bitmap);
// A quarter turn counter-clockwise: the top-right corner becomes the top-left.
void RotateLeft(QImage& bitmap);
// A quarter turn clockwise: the bottom-left corner becomes the top-left.
void RotateRight(QImage& bitmap);

// weight parts of colour1 and the rest of colour2, in hundredths when weight is below 100,
// else in thousandths. System colours are resolved first.
TColor BlendSkinColors(TColor colour1, TColor colour2, Integer weight);

// n colours from colour1 to colour2 (plain RGB values), kept in a small cache because the same
// bands are drawn again and again. n must be positive.
const std::vector<TColor>& SkinGradient(Integer n, TColor colour1, TColor colour2);

// Fills the rectangle with one-pixel bands from colour1 to colour2, top to bottom when
// vertical, else left to right; bands outside the painter's clip are skipped.
void FillSkinGradient(QPainter& painter, const TRect& rect, TColor colour1, bool vertical, TColor colour2);
