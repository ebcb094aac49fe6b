#pragma once
// Skin bitmaps are 32-bit images without alpha; these convert between their pixels and colours.
#include "platform/rtl/Types.h"
#include <QImage>

// Pixels of this colour are left unpainted when a skin image is drawn transparently.
constexpr TColor SkinMagenta = 0xFF00FF;

constexpr QRgb PixelOf(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
constexpr TColor ColourOfPixel(QRgb p) { return RGB(Byte(qRed(p)), Byte(qGreen(p)), Byte(qBlue(p))); }

// The image as 32-bit pixels without alpha (a shallow copy when it already is).
inline QImage AsSkinBitmap(const QImage& image) {
  return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}
