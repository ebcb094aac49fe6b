// Drawing frame k of an element's image fitted to a target: corners kept, edges stretched,
// centre stretched or tiled, magenta transparent.
#include "skin/SkinImage.h"
#include "skin/SkinPixels.h"
#include <gtest/gtest.h>

namespace {

enum TPart { TL, TR, BL, BR, ET, EB, EL, ER, CA, CB };
constexpr int FrameSide = 9;  // margins of 3 cut a frame into nine 3 x 3 pieces
constexpr TSkinMargins Margins3{3, 3, 3, 3};
const QRgb Background = qRgb(7, 7, 7);

QRgb Colour(TPart part, int frame) { return qRgb(20 * part + 5, 60 * frame, 100); }

// Three frames side by side (or stacked), every piece in its own colour; the centre's first
// column differs from the rest so that stretching and tiling can be told apart. Side by side,
// two garbage columns lie past the last frame.
QImage FrameCoded(bool vertical = false) {
  const int n = 3;
  QImage image(vertical ? FrameSide : FrameSide * n + 2, vertical ? FrameSide * n : FrameSide, QImage::Format_RGB32);
  image.fill(qRgb(255, 0, 0));
  for (int k = 1; k <= n; ++k)
    for (int y = 0; y < FrameSide; ++y)
      for (int x = 0; x < FrameSide; ++x) {
        const int col = x / 3, row = y / 3;
        TPart part = CB;
        if (row == 0) part = col == 0 ? TL : col == 2 ? TR : ET;
        else if (row == 2) part = col == 0 ? BL : col == 2 ? BR : EB;
        else part = col == 0 ? EL : col == 2 ? ER : x == 3 ? CA : CB;
        const int x0 = vertical ? 0 : (k - 1) * FrameSide, y0 = vertical ? (k - 1) * FrameSide : 0;
        image.setPixel(x0 + x, y0 + y, Colour(part, k));
      }
  return image;
}

struct TImageBitmap : TBitmap {
  explicit TImageBitmap(const QImage& image) { SetImage(image); }
};

const TBitmap& Coded() {
  static const TImageBitmap coded(FrameCoded());
  return coded;
}

// A 40 x 40 drawing surface in the background colour.
struct TSurface : TBitmap {
  TSurface() : TBitmap(40, 40) {
    Canvas()->Brush()->SetColor(ColourOfPixel(Background));
    Canvas()->FillRect(TRect(0, 0, 40, 40));
  }
  QRgb pixel(int x, int y) const { return Image().pixel(x, y); }
};

}  // namespace

TEST(SkinImage, StretchedFrameKeepsCornersAndStretchesEdgesAndCentre) {
  TSurface canvas;
  {
    TCanvas* p = canvas.Canvas();
    DrawSkinImage(p, Bounds(5, 5, 20, 15), Coded(), Margins3, 2, 3, false, false, false);
  }
  struct Probe {
    int x, y;
    TPart part;
  };
  // Target-relative points; the centre is 14 wide, so its first source column covers 5 pixels.
  for (const Probe& c : std::initializer_list<Probe>{{0, 0, TL},  {19, 0, TR},  {0, 14, BL}, {19, 14, BR},
                                                     {10, 1, ET}, {10, 13, EB}, {1, 7, EL},  {18, 7, ER},
                                                     {3, 7, CA},  {7, 7, CA},   {8, 7, CB},  {16, 11, CB}})
    EXPECT_EQ(canvas.pixel(5 + c.x, 5 + c.y), Colour(c.part, 2)) << c.x << "," << c.y;
  EXPECT_EQ(canvas.pixel(4, 4), Background);
  EXPECT_EQ(canvas.pixel(25, 20), Background);
}

TEST(SkinImage, TiledCentreRepeatsAndIsCutByTheLaterMargins) {
  const QImage image = BuildSkinImage(Bounds(0, 0, 20, 15), Coded(), Margins3, 1, 3, true, false)->Image();
  for (int x : {3, 6, 9, 12, 15}) EXPECT_EQ(image.pixel(x, 5), Colour(CA, 1)) << x;
  for (int x : {4, 5, 16}) EXPECT_EQ(image.pixel(x, 5), Colour(CB, 1)) << x;
  EXPECT_EQ(image.pixel(17, 5), Colour(ER, 1));  // a tile ran on to 18 and was covered
  EXPECT_EQ(image.pixel(5, 12), Colour(EB, 1));
}

TEST(SkinImage, MarginsThatDoNotFitAreDroppedPerAxis) {
  // Five wide: no side margins, so the middle rows stretch over the whole width; the top and
  // bottom margins stay.
  const QImage image = BuildSkinImage(Bounds(0, 0, 5, 15), Coded(), Margins3, 1, 3, false, false)->Image();
  EXPECT_EQ(image.pixel(0, 0), Colour(TL, 1));
  EXPECT_EQ(image.pixel(2, 1), Colour(ET, 1));
  EXPECT_EQ(image.pixel(2, 7), Colour(CA, 1));
  EXPECT_EQ(image.pixel(0, 14), Colour(BL, 1));
  EXPECT_EQ(image.pixel(4, 14), Colour(BR, 1));
}

TEST(SkinImage, LastFrameIgnoresSurplusColumnsAndStackedFramesAreFound) {
  TSurface canvas;
  {
    TCanvas* p = canvas.Canvas();
    DrawSkinFrame(p, Bounds(0, 0, 9, 9), Coded(), 3, 3, false);
    DrawSkinImage(p, Bounds(20, 0, 9, 9), TImageBitmap(FrameCoded(true)), Margins3, 2, 3, false, false, true);
  }
  EXPECT_EQ(canvas.pixel(8, 0), Colour(TR, 3));
  EXPECT_EQ(canvas.pixel(8, 8), Colour(BR, 3));
  EXPECT_EQ(canvas.pixel(20, 0), Colour(TL, 2));
  EXPECT_EQ(canvas.pixel(28, 8), Colour(BR, 2));
}

TEST(SkinImage, MagentaIsTransparentOnlyWhenAsked) {
  QImage image = FrameCoded();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) image.setPixel(x, y, PixelOf(SkinMagenta));
  TSurface canvas;
  {
    TCanvas* p = canvas.Canvas();
    DrawSkinImage(p, Bounds(0, 0, 12, 12), TImageBitmap(image), Margins3, 1, 3, true, false, false);
    DrawSkinImage(p, Bounds(20, 0, 12, 12), TImageBitmap(image), Margins3, 1, 3, false, false, false);
  }
  EXPECT_EQ(canvas.pixel(1, 1), Background);
  EXPECT_EQ(canvas.pixel(5, 5), Colour(CB, 1));
  EXPECT_EQ(canvas.pixel(21, 1), PixelOf(SkinMagenta));
}

TEST(SkinImage, BorderLeavesTheCentreAndStripRepeatsItsMiddle) {
  TSurface canvas;
  {
    TCanvas* p = canvas.Canvas();
    DrawSkinBorder(p, Bounds(0, 0, 15, 15), Coded(), Margins3, 1, 3, false);
    // A strip 20 wide repeats the 3-pixel middle between its 3-pixel ends.
    DrawSkinStrip(p, Bounds(0, 20, 20, 9), Coded(), Margins3, 2, 3, false, false);
  }
  EXPECT_EQ(canvas.pixel(7, 7), Background);
  EXPECT_EQ(canvas.pixel(0, 0), Colour(TL, 1));
  EXPECT_EQ(canvas.pixel(14, 7), Colour(ER, 1));
  EXPECT_EQ(canvas.pixel(0, 24), Colour(EL, 2));
  for (int x : {3, 6, 15}) EXPECT_EQ(canvas.pixel(x, 24), Colour(CA, 2)) << x;
  EXPECT_EQ(canvas.pixel(17, 24), Colour(ER, 2));
}

TEST(SkinImage, DegenerateInputsDrawNothingOrFallBack) {
  TSurface canvas;
  {
    TCanvas* p = canvas.Canvas();
    DrawSkinImage(p, TRect(10, 10, 5, 20), Coded(), Margins3, 1, 3, false, false, false);   // inverted
    DrawSkinImage(p, Bounds(0, 0, 9, 9), TBitmap(), Margins3, 1, 3, false, false, false);           // no image
    // Ends wider than the frame leave no middle to repeat; the strip must still end.
    DrawSkinStrip(p, Bounds(0, 20, 30, 9), Coded(), {5, 0, 5, 0}, 1, 3, true, false);
    // A frame count of 0 counts as 1: the whole image is the frame.
    DrawSkinFrame(p, Bounds(30, 0, 29, 9), Coded(), 1, 0, false);
  }
  EXPECT_EQ(canvas.pixel(12, 12), Background);
  EXPECT_EQ(canvas.pixel(2, 2), Background);
  EXPECT_EQ(canvas.pixel(15, 24), Background);
  EXPECT_EQ(canvas.pixel(0, 24), Colour(EL, 1));
  EXPECT_EQ(canvas.pixel(30 + 9, 0), Colour(TL, 2));
}

TEST(SkinImage, RegionHoldsEveryPixelOutsideTheKeyRange) {
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(PixelOf(SkinMagenta));
  EXPECT_TRUE(BitmapToRegion(TImageBitmap(image), 0, 0, SkinMagenta, 1, 1, 1).IsEmpty());
  image.setPixel(1, 0, qRgb(255, 1, 255));  // within the tolerance: still a key pixel
  image.setPixel(2, 1, qRgb(254, 0, 255));  // below the key: kept
  image.setPixel(0, 2, qRgb(0, 0, 0));
  image.setPixel(3, 2, qRgb(0, 0, 0));
  const QRegion region = BitmapToRegion(TImageBitmap(image), 10, 20, SkinMagenta, 1, 1, 1).ToQRegion();
  EXPECT_FALSE(region.contains(QPoint(11, 20)));
  EXPECT_TRUE(region.contains(QPoint(12, 21)));
  EXPECT_TRUE(region.contains(QPoint(10, 22)));
  EXPECT_FALSE(region.contains(QPoint(11, 22)));
  EXPECT_TRUE(region.contains(QPoint(13, 22)));
  image.fill(Qt::black);
  EXPECT_TRUE(BitmapToRegion(TImageBitmap(image), 0, 0, SkinMagenta, 1, 1, 1).ToQRegion().xored(QRegion(0, 0, 4, 3)).isEmpty());
}
