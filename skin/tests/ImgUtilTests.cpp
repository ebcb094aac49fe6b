// Bitmap transforms and gradients of skin images.
#include "platform/rtl/SysUtils.h"
#include "platform/ui/SystemColors.h"
#include "skin/ImgUtil.h"
#include "skin/SkinPixels.h"
#include <gtest/gtest.h>

namespace {

// 3 x 2 pixels, each different: row 0 = a b c, row 1 = d e f.
QImage SixPixels() {
  QImage image(3, 2, QImage::Format_RGB32);
  const QRgb colours[6] = {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606};
  for (int i = 0; i < 6; ++i) image.setPixel(i % 3, i / 3, colours[i] | 0xFF000000);
  return image;
}

struct TImageBitmap : TBitmap {
  explicit TImageBitmap(const QImage& image) { SetImage(image); }
};

QList<int> Pixels(const QImage& image) {
  QList<int> values;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) values << (image.pixel(x, y) & 0xFF);
  return values;
}

}  // namespace

TEST(ImgUtil, TransformsMovePixelsWhereTheyBelong) {
  TImageBitmap mirrored(SixPixels());
  MirrorBitmap(&mirrored);
  EXPECT_EQ(Pixels(mirrored.Image()), (QList<int>{3, 2, 1, 6, 5, 4}));
  TImageBitmap flipped(SixPixels());
  FlipBitmap(&flipped);
  EXPECT_EQ(Pixels(flipped.Image()), (QList<int>{4, 5, 6, 1, 2, 3}));
  TImageBitmap turned(SixPixels());
  RotateLeft(&turned);  // the top-right corner becomes the top-left
  EXPECT_EQ(turned.Image().size(), QSize(2, 3));
  EXPECT_EQ(Pixels(turned.Image()), (QList<int>{3, 6, 2, 5, 1, 4}));
  RotateRight(&turned);
  EXPECT_EQ(Pixels(turned.Image()), Pixels(SixPixels()));
  RotateRight(&turned);  // the bottom-left corner becomes the top-left
  EXPECT_EQ(Pixels(turned.Image()), (QList<int>{4, 1, 5, 2, 6, 3}));
  EXPECT_EQ(turned.PixelFormat(), pf24bit);
}

TEST(ImgUtil, GreyTakesTheMeanOfTheChannels) {
  QImage red(1, 1, QImage::Format_RGB32);
  red.setPixel(0, 0, qRgb(255, 0, 0));
  TImageBitmap bitmap(red);
  GreyBitmap(&bitmap);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), qRgb(85, 85, 85));
}

TEST(ImgUtil, BlendWeighsInHundredthsOrThousandths) {
  EXPECT_EQ(BlendSkinColors(clBlack, clWhite, 50), TColor(0x808080));
  EXPECT_EQ(BlendSkinColors(clBlack, clWhite, 100), RGB(230, 230, 230));
  EXPECT_EQ(BlendSkinColors(clRed, clBlue, 150), RGB(38, 0, 217));
  EXPECT_EQ(BlendSkinColors(clBtnFace, clBlack, 99), BlendSkinColors(ColorToRGB(clBtnFace), clBlack, 99));
  EXPECT_EQ(BlendSkinColors(clWhite, clBlack, 5000), clWhite);
}

TEST(ImgUtil, GradientRunsFromFirstToLastColourAndIsCached) {
  const std::vector<TColor>& g = SkinGradient(5, RGB(0, 0, 0), RGB(100, 200, 40));
  EXPECT_EQ(g, (std::vector<TColor>{RGB(0, 0, 0), RGB(25, 50, 10), RGB(50, 100, 20), RGB(75, 150, 30), RGB(100, 200, 40)}));
  EXPECT_EQ(&SkinGradient(5, RGB(0, 0, 0), RGB(100, 200, 40)), &g);
  // One colour is the middle, which never matches a request again.
  const std::vector<TColor>& single = SkinGradient(1, RGB(0, 0, 0), RGB(101, 0, 0));
  EXPECT_EQ(single, std::vector<TColor>{RGB(50, 0, 0)});
  EXPECT_NE(&SkinGradient(1, RGB(0, 0, 0), RGB(101, 0, 0)), &single);
  EXPECT_THROW(SkinGradient(0, clBlack, clWhite), EInvalidOperation);
}

TEST(ImgUtil, GradientFillPaintsBandsOnlyInsideTheClip) {
  TBitmap down(4, 10);
  down.Canvas()->Brush()->SetColor(clLime);
  down.Canvas()->FillRect(TRect(0, 0, 4, 10));
  down.Canvas()->SetClipRect(TRect(0, 0, 4, 6));
  FillSkinGradient(down.Canvas(), {0, 0, 4, 10}, RGB(0, 0, 0), true, RGB(0, 0, 90));
  EXPECT_EQ(down.Image().pixel(1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(down.Image().pixel(2, 5), qRgb(0, 0, 50));
  EXPECT_EQ(down.Image().pixel(2, 6), qRgb(0, 255, 0));
  EXPECT_EQ(down.Canvas()->Brush()->Color(), clLime);
  TBitmap across(10, 2);
  FillSkinGradient(across.Canvas(), {0, 0, 10, 2}, clBlack, false, clWhite);
  EXPECT_EQ(across.Image().pixel(0, 1), qRgb(0, 0, 0));
  EXPECT_EQ(across.Image().pixel(9, 1), qRgb(255, 255, 255));
}
