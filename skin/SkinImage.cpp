#include "skin/SkinImage.h"
#include "skin/SkinPixels.h"
#include <algorithm>
#include <vector>

namespace {

bool Inverted(const TRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

// Nearest-neighbour copy of the source part into the destination part (the raster
// equivalent of a colour-on-colour stretch). Samples outside the source are skipped, so a
// bad frame index or margin can never read past the bitmap.
void StretchCopy(QImage& dst, const TRect& d, const QImage& src, const TRect& s) {
  if (d.Width() <= 0 || d.Height() <= 0 || s.Width() <= 0 || s.Height() <= 0) return;
  const int yEnd = std::min(d.Bottom, dst.height());
  const int xEnd = std::min(d.Right, dst.width());
  for (int y = std::max(d.Top, 0); y < yEnd; ++y) {
    const int sy = s.Top + int(Int64(y - d.Top) * s.Height() / d.Height());
    if (sy < 0 || sy >= src.height()) continue;
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
    auto* out = reinterpret_cast<QRgb*>(dst.scanLine(y));
    for (int x = std::max(d.Left, 0); x < xEnd; ++x) {
      const int sx = s.Left + int(Int64(x - d.Left) * s.Width() / d.Width());
      if (sx >= 0 && sx < src.width()) out[x] = in[sx];
    }
  }
}

// Copies of the source part at its own size from the target's top-left, while they start
// inside the target.
void TileCopy(QImage& dst, const TRect& target, const QImage& src, const TRect& s) {
  if (s.Width() <= 0 || s.Height() <= 0) return;
  for (int x = target.Left; x < target.Right; x += s.Width())
    for (int y = target.Top; y < target.Bottom; y += s.Height())
      StretchCopy(dst, Bounds(x, y, s.Width(), s.Height()), src, s);
}

struct TFrameGeometry {
  Integer X0, Y0, Width, Height;
};

TFrameGeometry FrameOf(const QImage& bitmap, Integer frame, Integer frameCount, bool vertical) {
  const Integer n = std::max(frameCount, 1);
  if (vertical) {
    const Integer h = bitmap.height() / n;
    return {0, (frame - 1) * h, bitmap.width(), h};
  }
  const Integer w = bitmap.width() / n;
  return {(frame - 1) * w, 0, w, bitmap.height()};
}

// The nine pieces of a frame in their drawing order; the centre only when asked for.
void ComposeFrame(QImage& result, const QImage& bitmap, TSkinMargins m, Integer frame, Integer frameCount,
                  bool tile, bool vertical, bool withCentre) {
  const QImage src = AsSkinBitmap(bitmap);
  const TFrameGeometry f = FrameOf(src, frame, frameCount, vertical);
  const Integer W = result.width();
  const Integer H = result.height();
  if (W < m.Left + m.Right) m.Left = m.Right = 0;
  if (H < m.Top + m.Bottom) m.Top = m.Bottom = 0;
  const Integer fw = f.Width;
  const Integer fh = f.Height;
  auto piece = [&](TRect s, const TRect& d) {
    OffsetRect(s, f.X0, f.Y0);
    StretchCopy(result, d, src, s);
  };
  if (m.Left * m.Top > 0) piece({0, 0, m.Left, m.Top}, {0, 0, m.Left, m.Top});
  if (m.Left * m.Bottom > 0) piece({0, fh - m.Bottom, m.Left, fh}, {0, H - m.Bottom, m.Left, H});
  if (m.Right * m.Top > 0) piece({fw - m.Right, 0, fw, m.Top}, {W - m.Right, 0, W, m.Top});
  if (m.Left > 0) piece({0, m.Top, m.Left, fh - m.Bottom}, {0, m.Top, m.Left, H - m.Bottom});
  if (m.Top > 0) piece({m.Left, 0, fw - m.Right, m.Top}, {m.Left, 0, W - m.Right, m.Top});
  if (withCentre) {
    TRect s{m.Left, m.Top, fw - m.Right, fh - m.Bottom};
    const TRect d{m.Left, m.Top, W - m.Right, H - m.Bottom};
    if (tile) {
      OffsetRect(s, f.X0, f.Y0);
      TileCopy(result, d, src, s);
    } else {
      piece(s, d);
    }
  }
  // After the centre, so that they cover tiles that ran past it.
  if (m.Right * m.Bottom > 0) piece({fw - m.Right, fh - m.Bottom, fw, fh}, {W - m.Right, H - m.Bottom, W, H});
  if (m.Right > 0) piece({fw - m.Right, m.Top, fw, fh - m.Bottom}, {W - m.Right, m.Top, W, H - m.Bottom});
  if (m.Bottom > 0) piece({m.Left, fh - m.Bottom, fw - m.Right, fh}, {m.Left, H - m.Bottom, W - m.Right, H});
}

// Starts magenta, so whatever a frame does not cover stays unpainted when drawn transparently.
QImage WorkBitmap(const TRect& target) {
  QImage work(target.Width(), target.Height(), QImage::Format_RGB32);
  work.fill(PixelOf(SkinMagenta));
  return work;
}

QImage Compose(const TRect& target, const QImage& bitmap, const TSkinMargins& margins, Integer frame,
               Integer frameCount, bool tile, bool vertical) {
  if (target.Width() <= 0 || target.Height() <= 0) return QImage();
  QImage result = WorkBitmap(target);
  ComposeFrame(result, bitmap, margins, frame, frameCount, tile, vertical, true);
  return result;
}

void DrawAt(TCanvas* canvas, TPoint at, const QImage& image) {
  if (!image.isNull()) canvas->DrawImage(Bounds(at.X, at.Y, image.width(), image.height()), image, TRect(0, 0, image.width(), image.height()));
}

void DrawMasked(TCanvas* canvas, const TRect& target, const QImage& bitmap, TColor transparentColour) {
  if (Inverted(target) || bitmap.isNull()) return;
  const int w = std::min(target.Width(), bitmap.width());
  const int h = std::min(target.Height(), bitmap.height());
  if (w <= 0 || h <= 0) return;
  QImage masked = AsSkinBitmap(bitmap).copy(0, 0, w, h).convertToFormat(QImage::Format_ARGB32);
  const QRgb key = PixelOf(transparentColour) & 0xFFFFFF;
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < w; ++x)
      if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
  }
  DrawAt(canvas, target.TopLeft(), masked);
}

void DrawComposed(TCanvas* canvas, const TRect& target, const QImage& image, bool transparent) {
  if (transparent)
    DrawMasked(canvas, target, image, SkinMagenta);
  else
    DrawAt(canvas, target.TopLeft(), image);
}

}  // namespace

void SkinTileRect(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TRect& Source) {
  if (Source.Width() <= 0 || Source.Height() <= 0) return;
  const QImage piece = Bitmap.Image().copy(Source.Left, Source.Top, Source.Width(), Source.Height());
  for (int x = Target.Left; x < Target.Right; x += Source.Width())
    for (int y = Target.Top; y < Target.Bottom; y += Source.Height()) DrawAt(Canvas, {x, y}, piece);
}

std::unique_ptr<TBitmap> BuildSkinImage(const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                                        Integer Frame, Integer FrameCount, bool Tile, bool Vertical) {
  auto result = std::make_unique<TBitmap>();
  result->SetImage(Compose(Target, Bitmap.Image(), Margins, Frame, FrameCount, Tile, Vertical));
  return result;
}

void DrawSkinImage(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                   Integer Frame, Integer FrameCount, bool Transparent, bool Tile, bool Vertical) {
  if (Inverted(Target) || Bitmap.Empty()) return;
  DrawComposed(Canvas, Target, Compose(Target, Bitmap.Image(), Margins, Frame, FrameCount, Tile, Vertical), Transparent);
}

void DrawSkinBorder(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                    Integer Frame, Integer FrameCount, bool Vertical) {
  if (Inverted(Target) || Target.IsEmpty() || Bitmap.Empty()) return;
  QImage edges(Target.Width(), Target.Height(), QImage::Format_ARGB32);
  edges.fill(Qt::transparent);
  ComposeFrame(edges, Bitmap.Image(), Margins, Frame, FrameCount, false, Vertical, false);
  DrawAt(Canvas, Target.TopLeft(), edges);
}

void DrawSkinStrip(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, const TSkinMargins& Margins,
                   Integer Frame, Integer FrameCount, bool Transparent, bool Vertical) {
  if (Inverted(Target) || Target.IsEmpty() || Bitmap.Empty()) return;
  const QImage src = AsSkinBitmap(Bitmap.Image());
  const TFrameGeometry f = FrameOf(src, Frame, FrameCount, Vertical);
  QImage work = WorkBitmap(Target);
  const Integer W = Target.Width();
  const Integer H = Target.Height();
  const Integer L = Margins.Left;
  const Integer R = Margins.Right;
  auto piece = [&](Integer sLeft, Integer sRight, const TRect& d) {
    StretchCopy(work, d, src, {f.X0 + sLeft, f.Y0, f.X0 + sRight, f.Y0 + f.Height});
  };
  piece(0, L, {0, 0, L, H});
  // A frame with no room between its ends has no middle to repeat.
  const Integer step = f.Width - L - R;
  if (step > 0)
    for (Integer x = L; x < W - R; x += step) piece(L, L + step, {x, 0, x + step, H});
  piece(f.Width - R, f.Width, {W - R, 0, W, H});
  DrawComposed(Canvas, Target, work, Transparent);
}

void DrawSkinFrame(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, Integer Frame, Integer FrameCount,
                   bool Transparent) {
  if (Inverted(Target) || Target.IsEmpty() || Bitmap.Empty()) return;
  const QImage src = AsSkinBitmap(Bitmap.Image());
  const TFrameGeometry f = FrameOf(src, Frame, FrameCount, false);
  QImage work = WorkBitmap(Target);
  StretchCopy(work, {0, 0, Target.Width(), Target.Height()}, src, Bounds(f.X0, 0, f.Width, f.Height));
  DrawComposed(Canvas, Target, work, Transparent);
}

void DrawSkinFrameCentred(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, Integer Frame,
                          Integer FrameCount, bool Transparent) {
  if (Inverted(Target) || Bitmap.Empty()) return;
  const QImage src = AsSkinBitmap(Bitmap.Image());
  const TFrameGeometry f = FrameOf(src, Frame, FrameCount, false);
  if (f.Width <= 0 || f.Height <= 0) return;
  const QImage work = src.copy(f.X0, 0, f.Width, f.Height);
  const Integer x = Target.Left + (Target.Width() - f.Width) / 2;
  const Integer y = Target.Top + (Target.Height() - f.Height) / 2;
  DrawComposed(Canvas, Bounds(x, y, f.Width, f.Height), work, Transparent);
}

void DrawMaskedBitmap(TCanvas* Canvas, const TRect& Target, const TBitmap& Bitmap, TColor TransparentColour) {
  DrawMasked(Canvas, Target, Bitmap.Image(), TransparentColour);
}

TRegion BitmapToRegion(const TBitmap& Bitmap, Integer OffsetX, Integer OffsetY, TColor Key, Integer RedTolerance,
                       Integer GreenTolerance, Integer BlueTolerance) {
  const QImage src = AsSkinBitmap(Bitmap.Image());
  const int r0 = GetRValue(Key), g0 = GetGValue(Key), b0 = GetBValue(Key);
  const int r1 = std::min(255, r0 + RedTolerance), g1 = std::min(255, g0 + GreenTolerance),
            b1 = std::min(255, b0 + BlueTolerance);
  auto isKey = [&](QRgb p) {
    return qRed(p) >= r0 && qRed(p) <= r1 && qGreen(p) >= g0 && qGreen(p) <= g1 && qBlue(p) >= b0 && qBlue(p) <= b1;
  };
  QRegion result;
  std::vector<QRect> batch;
  auto flush = [&] {
    if (batch.empty()) return;
    QRegion part;
    part.setRects(batch.data(), int(batch.size()));
    result = result.united(part);
    batch.clear();
  };
  for (int y = 0; y < src.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    int x = 0;
    while (x < src.width()) {
      while (x < src.width() && isKey(line[x])) ++x;
      const int start = x;
      while (x < src.width() && !isKey(line[x])) ++x;
      if (x > start) batch.emplace_back(start + OffsetX, y + OffsetY, x - start, 1);
      if (batch.size() == 2000) flush();
    }
  }
  flush();
  return TRegion(result);
}

TBitmap* SkinScratchBitmap() {
  static TBitmap scratch;
  return &scratch;
}
