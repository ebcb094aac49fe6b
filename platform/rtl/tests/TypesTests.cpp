#include "platform/rtl/Types.h"
#include <gtest/gtest.h>

namespace {

TEST(Rect, RightAndBottomEdgesLieOutside) {
  const TRect r = Bounds(10, 20, 5, 3);
  EXPECT_EQ(r, Rect(10, 20, 15, 23));
  EXPECT_TRUE(PtInRect(r, {10, 20}));
  EXPECT_TRUE(PtInRect(r, {14, 22}));
  EXPECT_FALSE(PtInRect(r, {15, 22}));
  EXPECT_FALSE(PtInRect(r, {14, 23}));
  EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
  EXPECT_FALSE(PtInRect(Rect(5, 5, 5, 9), {5, 5}));
}

TEST(Rect, IntersectionAndUnionLeaveEmptyRectanglesOut) {
  struct Case { TRect a, b, intersection, join; bool overlap, joined; };
  for (const Case& c : std::initializer_list<Case>{
         {Rect(0, 0, 10, 10), Rect(5, 5, 20, 20), Rect(5, 5, 10, 10), Rect(0, 0, 20, 20), true, true},
         {Rect(0, 0, 10, 10), Rect(10, 0, 20, 10), TRect(), Rect(0, 0, 20, 10), false, true},  // edges only touch
         {Rect(0, 0, 10, 10), Rect(3, 3, 3, 8), TRect(), Rect(0, 0, 10, 10), false, true},
         {Rect(4, 4, 4, 4), Rect(7, 7, 2, 2), TRect(), TRect(), false, false}}) {
    TRect dest = Rect(1, 2, 3, 4);
    EXPECT_EQ(IntersectRect(dest, c.a, c.b), c.overlap);
    EXPECT_EQ(dest, c.intersection);
    EXPECT_EQ(UnionRect(dest, c.b, c.a), c.joined);
    EXPECT_EQ(dest, c.join);
  }
  TRect r = Rect(0, 0, 4, 4);
  OffsetRect(r, 2, -1);
  InflateRect(r, 1, 2);
  EXPECT_EQ(r, Rect(1, -3, 7, 5));
}

TEST(Colour, ChannelsKeepTheBlueGreenRedOrder) {
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412);
  EXPECT_EQ(GetRValue(clRed), 0xFF);
  EXPECT_EQ(GetBValue(clBlue), 0xFF);
  EXPECT_EQ(GetGValue(RGB(1, 2, 3)), 2);
  EXPECT_EQ(uint32_t(clBtnFace), 0x8000000Fu);
}

TEST(Set, MembershipAndSetAlgebra) {
  const TShiftState a{ssShift, ssCtrl};
  const TShiftState b{ssCtrl, ssDouble};
  EXPECT_EQ(a + b, (TShiftState{ssShift, ssCtrl, ssDouble}));
  EXPECT_EQ(a - b, TShiftState{ssShift});
  EXPECT_EQ(a * b, TShiftState{ssCtrl});
  EXPECT_TRUE(TShiftState{ssCtrl} <= a);
  EXPECT_FALSE(a <= b);
  TShiftState s;
  EXPECT_TRUE(s.IsEmpty());
  s.Include(ssAlt).Include(ssAlt);
  EXPECT_TRUE(s.Contains(ssAlt));
  s.Exclude(ssAlt);
  EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
