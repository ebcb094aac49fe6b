// A control's canvas receives what its parent paints under it.
#include "platform/ui/Graphics.h"
#include "skin/SkinParentBackground.h"
#include <gtest/gtest.h>

namespace {

// A parent with a mark painted at a known place of its client area.
class TMarkedParent : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(TRect(15, 10, 20, 15));
  }
};

}  // namespace

TEST(PaintParentBackground, ParentPaintsUnderTheControlInItsCoordinates) {
  TMarkedParent parent(nullptr);
  parent.SetBounds(0, 0, 100, 60);
  parent.SetColor(clBlue);
  TCustomControl child(nullptr);
  child.SetBounds(10, 5, 30, 20);
  child.SetParent(&parent);
  TBitmap bitmap(30, 20);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(TRect(0, 0, 30, 20));
  PaintParentBackground(&child, bitmap.Canvas(), false);
  EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clBlue);
  EXPECT_EQ(bitmap.Canvas()->Pixel(5, 5), clRed);   // the parent's (15, 10)
  EXPECT_EQ(bitmap.Canvas()->Pixel(9, 9), clRed);
  EXPECT_EQ(bitmap.Canvas()->Pixel(10, 10), clBlue);
  child.SetParent(nullptr);
}

TEST(PaintParentBackground, ControlWithoutParentLeavesTheCanvasAlone) {
  TCustomControl lone(nullptr);
  lone.SetBounds(0, 0, 10, 10);
  TBitmap bitmap(10, 10);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(TRect(0, 0, 10, 10));
  PaintParentBackground(&lone, bitmap.Canvas(), true);
  EXPECT_EQ(bitmap.Canvas()->Pixel(5, 5), clWhite);
}
