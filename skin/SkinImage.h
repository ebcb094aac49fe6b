#pragma once
// Drawing of skin images: bitmaps holding N equal frames of one element, side by side (or
// stacked), frame k counted from 1, fitted to a target with kept margins and magenta as the
// transparent colour.
#include "platform/rtl/Types.h"
#include <QImage>
#include <QRegion>

class QPainter;

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
void SkinTileRect(QPainter& canvas, const TRect& target, const QImage& bitmap, const TRect& source);

// Frame k of the bitmap composed at the target's size: corners copied, edges stretched, the
// centre stretched or, with tile, repeated. A margin pair that does not fit is dropped.
QImage BuildSkinImage(const TRect& target, const QImage& bitmap, const TSkinMargins& margins, Integer frame,
                      Integer frameCount, bool tile, bool vertical);
// BuildSkinImage drawn at the target, with magenta left unpainted when transparent.
void DrawSkinImage(QPainter& canvas, const TRect& target, const QImage& bitmap, const TSkinMargins& margins,
                   Integer frame, Integer frameCount, bool transparent, bool tile, bool vertical);
// Only the corners and edges of the frame, opaque; what lies under the centre stays.
void DrawSkinBorder(QPainter& canvas, const TRect& target, const QImage& bitmap, const TSkinMargins& margins,
                    Integer frame, Integer frameCount, bool vertical);
// A horizontal three-slice: left and right ends at their width, the middle repeated between.
void DrawSkinStrip(QPainter& canvas, const TRect& target, const QImage& bitmap, const TSkinMargins& margins,
                   Integer frame, Integer frameCount, bool transparent, bool vertical);
// The whole frame stretched over the target (frames side by side).
void DrawSkinFrame(QPainter& canvas, const TRect& target, const QImage& bitmap, Integer frame, Integer frameCount,
                   bool transparent);
// The frame at its own size, centred in the target (frames side by side).
void DrawSkinFrameCentred(QPainter& canvas, const TRect& target, const QImage& bitmap, Integer frame,
                          Integer frameCount, bool transparent);
// The bitmap from its top-left corner at its own scale, clipped to the target's size, with
// pixels of the transparent colour left unpainted.
void DrawMaskedBitmap(QPainter& canvas, const TRect& target, const QImage& bitmap, TColor transparentColour);

// Every pixel outside the key colour range (key up to key + tolerance per channel), as
// rectangles shifted by the offset.
QRegion BitmapToRegion(const QImage& bitmap, Integer offsetX, Integer offsetY, TColor key, Integer redTolerance,
                       Integer greenTolerance, Integer blueTolerance);

// The one off-screen surface that frame, menu-bar, status-bar and progress drawing size to
// their target; all drawing runs on the window thread, so it is never used twice at once.
QImage& SkinScratchBitmap();
