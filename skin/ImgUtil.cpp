#include "skin/ImgUtil.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemColors.h"
#include "skin/SkinPixels.h"
#include <algorithm>
#include <array>

void GreyBitmap(TBitmap* Bitmap) {
  QImage image = AsSkinBitmap(Bitmap->Image());
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
      line[x] = qRgb(grey, grey, grey);
    }
  }
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetImage(image.convertToFormat(QImage::Format_BGR888));
}

void MirrorBitmap(TBitmap* Bitmap) { Bitmap->SetImage(Bitmap->Image().mirrored(true, false)); }

void FlipBitmap(TBitmap* Bitmap) { Bitmap->SetImage(Bitmap->Image().mirrored(false, true)); }

namespace {

// to(x, y) gives the new position of the source pixel at column x, row y.
template <typename Map>
void Turn(TBitmap* Bitmap, Map to) {
  const QImage source = AsSkinBitmap(Bitmap->Image());
  QImage turned(source.height(), source.width(), QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    for (int x = 0; x < source.width(); ++x) {
      const QPoint p = to(x, y);
      reinterpret_cast<QRgb*>(turned.scanLine(p.y()))[p.x()] = line[x];
    }
  }
  Bitmap->SetPixelFormat(pf24bit);
  Bitmap->SetImage(turned.convertToFormat(QImage::Format_BGR888));
}

}  // namespace

void RotateLeft(TBitmap* Bitmap) {
  const int w = Bitmap->Width();
  Turn(Bitmap, [w](int x, int y) { return QPoint(y, w - 1 - x); });
}

void RotateRight(TBitmap* Bitmap) {
  const int h = Bitmap->Height();
  Turn(Bitmap, [h](int x, int y) { return QPoint(h - 1 - y, x); });
}

TColor BlendSkinColors(TColor colour1, TColor colour2, Integer weight) {
  const TColor c1 = ColorToRGB(colour1);
  const TColor c2 = ColorToRGB(colour2);
  const Integer scale = weight < 100 ? 100 : 1000;
  TColor result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const Integer a = (c1 >> shift) & 0xFF;
    const Integer b = (c2 >> shift) & 0xFF;
    const Integer channel = std::clamp((a * weight + b * (scale - weight) + scale / 2) / scale, 0, 255);
    result |= channel << shift;
  }
  return result;
}

namespace {

struct TGradientEntry {
  TColor First = 0;
  TColor Last = 0;
  std::vector<TColor> Colours;
};

struct TGradientCache {
  std::array<TGradientEntry, 16> Entries;
  int Next = 0;
};

TGradientCache& GradientCache() {
  static TGradientCache cache;
  return cache;
}

}  // namespace

const std::vector<TColor>& SkinGradient(Integer n, TColor colour1, TColor colour2) {
  if (n <= 0) throw EInvalidOperation("Assertion failure");
  TGradientCache& cache = GradientCache();
  for (int i = 15; i >= 0; --i) {
    const TGradientEntry& e = cache.Entries[size_t(i)];
    if (Integer(e.Colours.size()) == n && e.Colours.front() == colour1 && e.Colours.back() == colour2)
      return e.Colours;
  }
  TGradientEntry& entry = cache.Entries[size_t(cache.Next)];
  cache.Next = (cache.Next + 1) % 16;
  entry.Colours.assign(size_t(n), 0);
  for (Integer i = 0; i < n; ++i) {
    TColor colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const Integer from = (colour1 >> shift) & 0xFF;
      const Integer delta = ((colour2 >> shift) & 0xFF) - from;
      const Integer channel = n == 1 ? from + delta / 2 : from + ((n - 1) / 2 + i * delta) / (n - 1);
      colour |= channel << shift;
    }
    entry.Colours[size_t(i)] = colour;
  }
  return entry.Colours;
}

void FillSkinGradient(TCanvas* Canvas, const TRect& Rect, TColor Colour1, bool Vertical, TColor Colour2) {
  const TRect clip = Canvas->ClipRect();
  TRect visible;
  if (!IntersectRect(visible, clip, Rect)) return;
  const Integer n = Vertical ? Rect.Height() : Rect.Width();
  if (n <= 0) return;
  const Integer start = Vertical ? Rect.Top : Rect.Left;
  const Integer first = std::max(0, (Vertical ? clip.Top : clip.Left) - start);
  const Integer last = std::min(n - 1, (Vertical ? clip.Bottom : clip.Right) - start - 1);
  const std::vector<TColor>& colours = SkinGradient(n, ColorToRGB(Colour1), ColorToRGB(Colour2));
  TBrush* brush = Canvas->Brush();
  const TColor savedColour = brush->Color();
  const TBrushStyle savedStyle = brush->Style();
  brush->SetStyle(bsSolid);
  for (Integer i = first; i <= last; ++i) {
    brush->SetColor(colours[size_t(i)]);
    Canvas->FillRect(Vertical ? TRect(Rect.Left, start + i, Rect.Right, start + i + 1)
                              : TRect(start + i, Rect.Top, start + i + 1, Rect.Bottom));
  }
  brush->SetStyle(savedStyle);
  brush->SetColor(savedColour);
}
