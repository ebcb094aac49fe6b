#pragma once
// Drawing the right way round on a right-to-left grid's mirrored canvas: texts, turned
// titles and tree elements.
#include "platform/ui/Graphics.h"

// While it lives, a mirrored canvas (a right-to-left grid's) draws unmirrored, so texts read
// the right way; Place gives where a rectangle of the mirrored drawing shows. The canvas's
// clip, given in mirrored coordinates, moves to the same place on the screen meanwhile.
class TUnmirroredCanvas {
public:
  TUnmirroredCanvas(TCanvas* Canvas, Integer Width) : FCanvas(Canvas), FMirrored(Canvas->Mirrored()), FWidth(Width) {
    if (!FMirrored) return;
    FClipped = FCanvas->HasClipRegion();
    if (FClipped) FClip = FCanvas->ClipRegion();
    FCanvas->SetMirrored(false, 0);
    if (FClipped) {
      QRegion placed;
      for (const QRect& r : FClip.ToQRegion())
        placed += QRect(FWidth - r.left() - r.width(), r.top(), r.width(), r.height());
      const TRegion region(placed);
      FCanvas->SelectClipRegion(&region);
    }
  }
  ~TUnmirroredCanvas() {
    if (!FMirrored) return;
    FCanvas->SetMirrored(true, FWidth);
    if (FClipped) FCanvas->SelectClipRegion(&FClip);
  }
  TUnmirroredCanvas(const TUnmirroredCanvas&) = delete;
  TUnmirroredCanvas& operator=(const TUnmirroredCanvas&) = delete;
  bool Mirrored() const { return FMirrored; }
  TRect Place(const TRect& R) const { return FMirrored ? TRect(FWidth - R.Right, R.Top, FWidth - R.Left, R.Bottom) : R; }

private:
  TCanvas* FCanvas;
  bool FMirrored;
  Integer FWidth;
  bool FClipped = false;
  TRegion FClip;
};
