#include "gridout/PreviewImages.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Blank(int Size) {
  QPixmap pixmap(Size, Size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QCursor Magnifier() {
  QPixmap pixmap = Blank(32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 4));
  p.drawEllipse(QRectF(3, 3, 16, 16));
  p.drawLine(QPointF(17, 17), QPointF(28, 28));
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(QColor(255, 255, 255, 200));
  p.drawEllipse(QRectF(3, 3, 16, 16));
  p.setPen(QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(17, 17), QPointF(28, 28));
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(QPointF(7, 11), QPointF(15, 11));
  p.drawLine(QPointF(11, 7), QPointF(11, 15));
  p.end();
  return QCursor(pixmap, 11, 11);
}

QCursor Hand() {
  QPixmap pixmap = Blank(32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath hand;
  // Four fingers, a thumb and the palm, drawn as rounded bars joined into one outline.
  for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(9 + i * 4, 5 + (i == 0 || i == 3 ? 3 : 0), 4, 14), 2, 2);
  hand.addRoundedRect(QRectF(4, 14, 8, 4), 2, 2);
  hand.addRoundedRect(QRectF(9, 14, 16, 13), 4, 4);
  hand = hand.simplified();
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(Qt::white);
  p.drawPath(hand);
  p.end();
  return QCursor(pixmap, 16, 16);
}

void Paper(QPainter& P, const QRectF& R) {
  P.setPen(QPen(QColor(60, 60, 60), 1));
  P.setBrush(Qt::white);
  P.drawRect(R);
  P.setPen(QPen(QColor(120, 120, 120), 1));
  for (qreal y = R.top() + 4; y < R.bottom() - 2; y += 3) P.drawLine(QPointF(R.left() + 3, y), QPointF(R.right() - 3, y));
}

void Arrow(QPainter& P, bool Left) {
  P.setPen(Qt::NoPen);
  P.setBrush(QColor(30, 90, 170));
  QPolygonF tri;
  if (Left) tri << QPointF(8, 16) << QPointF(22, 6) << QPointF(22, 26);
  else tri << QPointF(24, 16) << QPointF(10, 6) << QPointF(10, 26);
  P.drawPolygon(tri);
}

void Printer(QPainter& P) {
  P.setPen(QPen(QColor(50, 50, 50), 1));
  P.setBrush(Qt::white);
  P.drawRect(QRectF(9, 3, 14, 10));
  P.setBrush(QColor(170, 170, 170));
  P.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
  P.setBrush(Qt::white);
  P.drawRect(QRectF(8, 19, 16, 10));
  P.setBrush(QColor(40, 160, 60));
  P.drawEllipse(QRectF(24, 14, 3, 3));
}

}  // namespace

QCursor PreviewCursor(const String& Name) {
  if (Name == QStringLiteral("MAGNIFIERX")) return Magnifier();
  if (Name == QStringLiteral("HANDX")) return Hand();
  throw EOutOfResources(QStringLiteral("Cannot load cursor resource"));
}

QImage PreviewButtonImage(Integer Index) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  switch (Index) {
    case 0: Printer(p); break;
    case 1:
      Printer(p);
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(QColor(255, 220, 80));
      p.drawRect(QRectF(19, 19, 11, 11));
      break;
    case 2:
      Printer(p);
      p.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(18, 29), QPointF(29, 18));
      break;
    case 3:
      Paper(p, QRectF(4, 3, 18, 24));
      p.setPen(QPen(Qt::black, 2));
      p.setBrush(QColor(255, 255, 255, 180));
      p.drawEllipse(QRectF(14, 12, 12, 12));
      p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(24, 22), QPointF(29, 28));
      break;
    case 4: Arrow(p, true); break;
    case 5: Arrow(p, false); break;
    case 6: Paper(p, QRectF(6, 3, 20, 26)); break;
    case 7:
      p.setPen(QPen(QColor(120, 0, 0), 1));
      p.setBrush(QColor(210, 30, 30));
      p.drawEllipse(QRectF(4, 4, 24, 24));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(10, 14, 12, 4));
      break;
    case 8:
      p.setPen(QPen(QColor(60, 60, 60), 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(24, 24));
      p.drawLine(QPointF(24, 8), QPointF(8, 24));
      break;
    default: break;
  }
  p.end();
  return image;
}
