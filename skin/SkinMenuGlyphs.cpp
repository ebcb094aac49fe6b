#include "skin/SkinMenuGlyphs.h"
#include <QPainter>

namespace {
constexpr int Side = 16;

void DrawGlyph(QPainter& P, int Index) {
  P.setPen(QPen(Qt::black, 1));
  P.setBrush(Qt::NoBrush);
  const int x = Index * Side;
  switch (Index) {
    case 0:  // two windows, one behind the other
      P.drawRect(x + 6, 3, 6, 5);
      P.drawLine(x + 6, 4, x + 12, 4);
      P.fillRect(x + 3, 6, 7, 6, Qt::white);
      P.drawRect(x + 3, 7, 6, 5);
      P.drawLine(x + 3, 8, x + 9, 8);
      break;
    case 1:  // one large window
      P.drawRect(x + 3, 3, 9, 9);
      P.drawLine(x + 3, 4, x + 12, 4);
      break;
    case 2:  // a bar at the bottom
      P.fillRect(x + 4, 10, 7, 2, Qt::black);
      break;
    default:  // a cross
      P.drawLine(x + 4, 4, x + 11, 11);
      P.drawLine(x + 5, 4, x + 12, 11);
      P.drawLine(x + 11, 4, x + 4, 11);
      P.drawLine(x + 12, 4, x + 5, 11);
      break;
  }
}
}  // namespace

void LoadMenuGlyphs(TCustomImageList* List) {
  QImage strip(4 * Side, Side, QImage::Format_RGB32);
  strip.fill(Qt::white);
  QPainter p(&strip);
  for (int i = 0; i < 4; ++i) DrawGlyph(p, i);
  p.end();
  TBitmap bitmap;
  bitmap.SetImage(strip);
  List->Clear();
  List->SetSize(Side, Side);
  List->AddMasked(&bitmap, clWhite);
}

TCustomImageList* SystemMenuGlyphs() {
  static TImageList* glyphs = [] {
    auto* list = new TImageList(nullptr);
    LoadMenuGlyphs(list);
    return list;
  }();
  return glyphs;
}
