#pragma once
// Drawing of skin images: bitmaps holding N equal frames of one element, side by side (or
// stacked), frame k counted from 1, fitted to a target with kept margins and magenta as the
// transparent colour.
#include "platform/ui/Graphics.h"
#include <memory>

// The fixed widths at a frame's four sides; inside a frame they cut four corners, four edges
// and the centre.
struct TSkinMargins {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
};

// Fills the target with copies of the source part of the bitmap at its own size; the last
// row and column of copies may reach past the target.
void SkinTileRect(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TRect& Source);

// Frame k of the bitmap composed at the target's size: corners copied, edges stretched, the
// centre stretched or, with Tile, repeated. A margin pair that does not fit is dropped.
std::unique_ptr<TBitmap> BuildSkinImage(const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                                        Integer Frame, Integer FrameCount, bool Tile, bool Vertical);
// BuildSkinImage drawn at the target, with magenta left unpainted when Transparent.
void DrawSkinImage(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                   Integer Frame, Integer FrameCount, bool Transparent, bool Tile, bool Vertical);
// Only the corners and edges of the frame, opaque; what lies under the centre stays.
void DrawSkinBorder(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                    Integer Frame, Integer FrameCount, bool Vertical);
// A horizontal three-slice: left and right ends at their width, the middle repeated between.
void DrawSkinStrip(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                   Integer Frame, Integer FrameCount, bool Transparent, bool Vertical);
// The whole frame stretched over the target (frames side by side).
void DrawSkinFrame(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, Integer Frame, Integer FrameCount,
                   bool Transparent);
// The frame at its own size, centred in the target (frames side by side).
void DrawSkinFrameCentred(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, Integer Frame,
                          Integer FrameCount, bool Transparent);
// The bitmap from its top-left corner at its own scale, clipped to the target's size, with
// pixels of the transparent colour left unpainted.
void DrawMaskedBitmap(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, TColor TransparentColour);

// Every pixel outside the key colour range (key up to key + tolerance per channel), as
// rectangles shifted by the offset.
TRegion BitmapToRegion(const TBitmap& Bitmap, Integer OffsetX, Integer OffsetY, TColor Key, Integer RedTolerance,
                       Integer GreenTolerance, Integer BlueTolerance);

// The one off-screen surface that frame, menu-bar, status-bar and progress drawing size to
// their target; all drawing runs on the window thread, so it is never used twice at once.
TBitmap* SkinScratchBitmap();
