#pragma once
// Small drawing helpers the grid and its printing share: colour mixing and gradients,
// dotted lines on a pixel checkerboard, tree-node boxes, centred images and check-box
// placement.
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include <vector>

// Each channel C1 + Percent x (C2 - C1) / 100, rounded; system colours are resolved first.
TColor MixColors(TColor Color1, TColor Color2, Integer Percent);
// Point pairs drawn as one-pixel lines (end excluded) offset by Origin; segment i of n in
// the colour stepped from StartColor towards EndColor.
void DrawGradedSegments(TCanvas* Canvas, TPoint Origin, const std::vector<std::pair<TPoint, TPoint>>& Segments,
                        TColor StartColor, TColor EndColor);
// Row by row from TopColor to BottomColor; a rectangle of one row or less is left alone.
void FillGradient(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor);
// Dots every other pixel (times the pen width) that land on the squares of one parity of
// the pixel checkerboard, so dotted lines of neighbouring cells line up.
void DrawDottedLine(TCanvas* Canvas, TPoint From, Integer Length, bool Horizontal, Integer Parity);
// Kinds 0-3: expanded box (minus), 4-7: collapsed box (plus), 8-11: lines only; the low
// two bits choose the connectors. RightToLeft draws the mirror image within R.
void DrawTreeNodeElement(TCanvas* Canvas, const TRect& R, Integer Kind, Integer Parity, double ScaleX, double ScaleY,
                         bool RightToLeft);
// The image centred in R, blended with the highlight colour when Selected; clipped to R.
void DrawImageCentered(TCanvas* Canvas, const TRect& R, TCustomImageList* Images, Integer ImageIndex, bool Selected);

// Alignment 0 left, 1 right, 2 centre; Layout 0 top, 1 centre, 2 bottom.
void PlaceCheckBoxRect(const TRect& ClientRect, Integer Alignment, Integer Layout, TRect& Result);
