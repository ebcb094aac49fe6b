#include "grid/ButtonFacesX.h"
#include "grid/PaintHelpersX.h"
#include "platform/ui/SystemColors.h"
#include <gtest/gtest.h>

namespace {
constexpr TColor Back = 0x00123456;

std::unique_ptr<TBitmap> Blank(Integer W, Integer H, TColor Color = clWhite) {
  auto B = std::make_unique<TBitmap>(W, H);
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(TRect(0, 0, W, H));
  return B;
}
}  // namespace

TEST(ButtonFaces, CachePaintsEachSizeAndStateOnce) {
  ResetButtonBitmapCache();
  auto B = Blank(40, 40);
  PaintEditButtonFace(B->Canvas(), TRect(0, 0, 16, 20), Back, fkEllipsisX, 0, false, false, true, 0);
  PaintEditButtonFace(B->Canvas(), TRect(20, 0, 36, 20), Back, fkEllipsisX, 0, false, false, true, 0);
  EXPECT_EQ(ButtonBitmapCache().Count(), 1);
  PaintEditButtonFace(B->Canvas(), TRect(0, 0, 17, 20), Back, fkEllipsisX, 0, false, false, true, 0);
  EXPECT_EQ(ButtonBitmapCache().Count(), 2);
  ResetButtonBitmapCache();
  EXPECT_EQ(ButtonBitmapCache().Count(), 0);
}

TEST(ButtonFaces, FlatFacesAreFramedInTheBackgroundAndSpinHalvesLeaveTheMiddleRow) {
  auto B = Blank(30, 30);
  PaintEditButtonFace(B->Canvas(), TRect(0, 0, 16, 20), Back, fkPlusX, 0, true, false, true, 0);
  EXPECT_EQ(B->Canvas()->Pixel(0, 10), Back);
  EXPECT_EQ(B->Canvas()->Pixel(15, 0), Back);
  EXPECT_NE(B->Canvas()->Pixel(8, 10), Back);

  auto S = Blank(30, 30);
  PaintEditButtonFace(S->Canvas(), TRect(0, 0, 16, 21), Back, fkSpinX, 0, false, false, true, 0);
  EXPECT_EQ(S->Canvas()->Pixel(8, 10), Back);
  EXPECT_NE(S->Canvas()->Pixel(8, 9), Back);
  EXPECT_NE(S->Canvas()->Pixel(8, 11), Back);
}

TEST(ButtonFaces, HeightForWidthRoundsHalvesToEven) {
  EXPECT_EQ(EditButtonHeightForWidth(11, true), 16);
  EXPECT_EQ(EditButtonHeightForWidth(13, true), 20);
  EXPECT_EQ(EditButtonHeightForWidth(13, false), 13);
  const Integer W = ComputeFlatButtonWidth();
  EXPECT_EQ(W % 2, 1);
  EXPECT_LE(W, GetSystemMetrics(SM_CXVSCROLL));
}

TEST(PaintHelpers, GradientsAndMixing) {
  EXPECT_EQ(MixColors(RGB(0, 0, 0), RGB(200, 100, 255), 30), RGB(60, 30, 77));
  auto B = Blank(10, 10);
  FillGradient(B->Canvas(), TRect(0, 0, 10, 1), clBlack, clBlack);
  EXPECT_EQ(B->Canvas()->Pixel(5, 0), clWhite);
  FillGradient(B->Canvas(), TRect(0, 2, 10, 5), RGB(0, 0, 0), RGB(200, 0, 0));
  EXPECT_EQ(B->Canvas()->Pixel(5, 2), RGB(0, 0, 0));
  EXPECT_EQ(B->Canvas()->Pixel(5, 3), RGB(100, 0, 0));
  EXPECT_EQ(B->Canvas()->Pixel(5, 4), RGB(200, 0, 0));
}

TEST(PaintHelpers, DottedLinesShareOneCheckerboard) {
  auto B = Blank(20, 4);
  B->Canvas()->Pen()->SetColor(clBlack);
  DrawDottedLine(B->Canvas(), TPoint(0, 1), 8, true, 0);
  DrawDottedLine(B->Canvas(), TPoint(1, 2), 8, true, 0);
  for (Integer X = 0; X < 10; ++X) {
    // Both starts move one pixel onto the even squares; four dots each.
    EXPECT_EQ(B->Canvas()->Pixel(X, 1) == clBlack, X % 2 == 1 && X <= 7) << X;
    EXPECT_EQ(B->Canvas()->Pixel(X, 2) == clBlack, X % 2 == 0 && X >= 2 && X <= 8) << X;
  }
}

TEST(PaintHelpers, TreeElementsDrawOnlyTheirConnectors) {
  auto Shadow = [](TBitmap& B, Integer X, Integer Y) {
    for (Integer D = 0; D < 2; ++D)
      if (B.Canvas()->Pixel(X + D, Y) == ColorToRGB(clBtnShadow) || B.Canvas()->Pixel(X, Y + D) == ColorToRGB(clBtnShadow))
        return true;
    return false;
  };
  for (Integer Kind : {3, 7}) {
    auto B = Blank(21, 21);
    DrawTreeNodeElement(B->Canvas(), TRect(0, 0, 21, 21), Kind, 0, 1, 1, false);
    EXPECT_FALSE(Shadow(*B, 18, 10)) << Kind;
    EXPECT_FALSE(Shadow(*B, 10, 1)) << Kind;
    EXPECT_TRUE(Shadow(*B, 6, 10)) << Kind;  // the box frame
  }
  auto L = Blank(21, 21);
  DrawTreeNodeElement(L->Canvas(), TRect(0, 0, 21, 21), 11, 0, 1, 1, false);
  EXPECT_TRUE(Shadow(*L, 10, 2));
  EXPECT_FALSE(Shadow(*L, 16, 10));
}

TEST(PaintHelpers, RightToLeftTreeElementsAreTheMirrorImageWithinTheirRectangle) {
  // Even and odd widths, scaled as on a printer, both dot phases: every pixel column of the
  // right-to-left element is the left-to-right one reflected about the rectangle's centre.
  for (Integer Width : {18, 21, 45})
    for (double Scale : {1.0, 2.5})
      for (Integer Parity : {0, 1})
        for (Integer Kind = 0; Kind < 12; ++Kind) {
          const TRect R(4, 1, 4 + Width, 1 + Width);
          const Integer W = R.Left + R.Right, H = R.Bottom + 2;
          auto Ltr = Blank(W, H), Rtl = Blank(W, H);
          DrawTreeNodeElement(Ltr->Canvas(), R, Kind, Parity, Scale, Scale, false);
          DrawTreeNodeElement(Rtl->Canvas(), R, Kind, Parity, Scale, Scale, true);
          Integer differing = 0;
          for (Integer Y = 0; Y < H; ++Y)
            for (Integer X = 0; X < W; ++X) differing += Rtl->Canvas()->Pixel(X, Y) != Ltr->Canvas()->Pixel(W - 1 - X, Y);
          EXPECT_EQ(differing, 0) << "kind " << Kind << " width " << Width << " scale " << Scale << " parity " << Parity;
        }
  // The last leaf's connector runs from the centre towards the text: left, right to left.
  auto Leaf = Blank(22, 18);
  DrawTreeNodeElement(Leaf->Canvas(), TRect(0, 0, 18, 18), 9, 0, 1, 1, true);
  const auto inkAt = [&](Integer X) {
    return Leaf->Canvas()->Pixel(X, 9) == ColorToRGB(clBtnShadow) || Leaf->Canvas()->Pixel(X + 1, 9) == ColorToRGB(clBtnShadow);
  };
  EXPECT_TRUE(inkAt(1));
  EXPECT_FALSE(inkAt(13));
}
