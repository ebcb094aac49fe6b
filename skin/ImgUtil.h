#pragma once
// Bitmap transforms for skin images (grey, mirror, flip, quarter turns) and colour gradients.
#include "platform/ui/Graphics.h"
#include <vector>

// 24 bits per pixel, every pixel the mean of its three channels.
void GreyBitmap(TBitmap* Bitmap);
// Left to right.
void MirrorBitmap(TBitmap* Bitmap);
// Top to bottom.
void FlipBitmap(TBitmap* Bitmap);
// A quarter turn counter-clockwise: the top-right corner becomes the top-left.
void RotateLeft(TBitmap* Bitmap);
// A quarter turn clockwise: the bottom-left corner becomes the top-left.
void RotateRight(TBitmap* Bitmap);

// Weight parts of Colour1 and the rest of Colour2, in hundredths when Weight is below 100,
// else in thousandths. System colours are resolved first.
TColor BlendSkinColors(TColor Colour1, TColor Colour2, Integer Weight);

// N colours from Colour1 to Colour2 (plain RGB values), kept in a small cache because the same
// bands are drawn again and again. N must be positive.
const std::vector<TColor>& SkinGradient(Integer N, TColor Colour1, TColor Colour2);

// Fills the rectangle with one-pixel bands from Colour1 to Colour2, top to bottom when
// Vertical, else left to right; bands outside the canvas's clip are skipped.
void FillSkinGradient(TCanvas* Canvas, const TRect& Rect, TColor Colour1, bool Vertical, TColor Colour2);
