#include "skin/ImgUtil.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemColors.h"
#include "skin/SkinPixels.h"
#include <QPainter>
#include <QPaintDevice>
#include <algorithm>
#include <array>

void GreyBitmap(QImage& bitmap) {
  bitmap = AsSkinBitmap(bitmap);
  for (int y = 0; y < bitmap.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
    for (int x = 0; x < bitmap.width(); ++x) {
      const int grey = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
      line[x] = qRgb(grey, grey, grey);
    }
  }
}

void MirrorBitmap(QImage& bitmap) { bitmap = AsSkinBitmap(bitmap).mirrored(true, false); }

void FlipBitmap(QImage& bitmap) { bitmap = AsSkinBitmap(bitmap).mirrored(false, true); }

namespace {

// to(x, y) gives the new position of the source pixel at column x, row y.
template <typename Map>
void Turn(QImage& bitmap, Map to) {
  const QImage source = AsSkinBitmap(bitmap);
  QImage turned(source.height(), source.width(), QImage::Format_RGB32);
  for (int y = 0; y < source.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    for (int x = 0; x < source.width(); ++x) {
      const QPoint p = to(x, y);
      reinterpret_cast<QRgb*>(turned.scanLine(p.y()))[p.x()] = line[x];
    }
  }
  bitmap = turned;
}

}  // namespace

void RotateLeft(QImage& bitmap) {
  const int w = bitmap.width();
  Turn(bitmap, [w](int x, int y) { return QPoint(y, w - 1 - x); });
}

void RotateRight(QImage& bitmap) {
  const int h = bitmap.height();
  Turn(bitmap, [h](int x, int y) { return QPoint(h - 1 - y, x); });
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

void FillSkinGradient(QPainter& painter, const TRect& rect, TColor colour1, bool vertical, TColor colour2) {
  const QRect target(rect.Left, rect.Top, rect.Width(), rect.Height());
  QRect clip = painter.worldTransform().inverted().mapRect(QRect(0, 0, painter.device()->width(), painter.device()->height()));
  if (painter.hasClipping()) clip &= painter.clipBoundingRect().toAlignedRect();
  if (!clip.intersects(target)) return;
  const Integer n = vertical ? rect.Height() : rect.Width();
  if (n <= 0) return;
  const Integer start = vertical ? rect.Top : rect.Left;
  const Integer clipStart = vertical ? clip.top() : clip.left();
  const Integer clipEnd = vertical ? clip.bottom() + 1 : clip.right() + 1;
  const Integer first = std::max(0, clipStart - start);
  const Integer last = std::min(n - 1, clipEnd - start - 1);
  const std::vector<TColor>& colours = SkinGradient(n, ColorToRGB(colour1), ColorToRGB(colour2));
  for (Integer i = first; i <= last; ++i) {
    const QColor c = QColor::fromRgb(PixelOf(colours[size_t(i)]));
    if (vertical)
      painter.fillRect(QRect(rect.Left, start + i, rect.Width(), 1), c);
    else
      painter.fillRect(QRect(start + i, rect.Top, 1, rect.Height()), c);
  }
}
