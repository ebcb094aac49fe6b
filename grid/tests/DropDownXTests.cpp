#include "grid/DropDownX.h"
#include "grid/SizeGripX.h"
#include "platform/ui/Forms.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
// A popup that records the side requests it gets.
class TSidedPopup : public TCustomControl {
public:
  explicit TSidedPopup(Integer W, Integer H) : TCustomControl(nullptr) { SetBounds(0, 0, W, H); }
  std::vector<Integer> Sides;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_DROPDOWNSIDEX) Sides.push_back(Integer(Message.WParam));
    else TCustomControl::Dispatch(Message);
  }
};

const TRect Work(0, 0, 1000, 700);
}  // namespace

TEST(PlaceDropDown, ChoosesTheSideWithRoomAndShrinksToIt) {
  struct Case {
    const char* Why;
    TRect Owner;
    Integer W, H, Align;
    TPoint At;
    Integer NewW, NewH;
    std::vector<Integer> Sides;
  };
  for (const Case& C : std::vector<Case>{
         {"room below", TRect(100, 100, 200, 120), 150, 200, 0, {100, 120}, 150, 200, {sideBottomX, sideRightX}},
         {"no room below, enough above", TRect(100, 600, 200, 620), 150, 200, 0, {100, 400}, 150, 200, {sideTopX, sideRightX}},
         {"neither fits, more above", TRect(100, 400, 200, 420), 150, 500, 0, {100, 0}, 150, 400, {sideTopX, sideRightX}},
         {"neither fits, more below", TRect(100, 200, 200, 220), 150, 600, 0, {100, 220}, 150, 480, {sideBottomX, sideRightX}},
         {"right aligned", TRect(300, 100, 400, 120), 150, 100, 1, {250, 120}, 150, 100, {sideBottomX, sideLeftX}},
         {"centred", TRect(300, 100, 400, 120), 151, 100, 2, {275, 120}, 151, 100, {sideBottomX, sideRightX}},
         {"past the right edge", TRect(900, 100, 990, 120), 150, 100, 0, {850, 120}, 150, 100, {sideBottomX, sideLeftX}},
         {"wider than the work area", TRect(10, 100, 50, 120), 1200, 100, 0, {0, 120}, 1000, 100, {sideBottomX, sideLeftX}}}) {
    TSidedPopup Popup(C.W, C.H);
    const TPoint At = PlaceDropDownInWorkArea(C.Owner, &Popup, C.Align, Work);
    EXPECT_EQ(At, C.At) << C.Why;
    EXPECT_EQ(Popup.Width(), C.NewW) << C.Why;
    EXPECT_EQ(Popup.Height(), C.NewH) << C.Why;
    EXPECT_EQ(Popup.Sides, C.Sides) << C.Why;
  }
}

TEST(SizeGripX, SideRequestsKeepTheOtherHalfOfTheCorner) {
  struct Case { Integer From, Side, To; };
  for (const Case& C : std::initializer_list<Case>{{2, sideLeftX, 3}, {1, sideLeftX, 0}, {0, sideLeftX, 0},
                                                    {0, sideRightX, 1}, {3, sideRightX, 2}, {2, sideTopX, 1},
                                                    {3, sideTopX, 0}, {1, sideBottomX, 2}, {0, sideBottomX, 3}}) {
    TSizeGripX Grip(nullptr);
    Grip.SetCorner(C.From);
    Grip.FlipToSide(C.Side);
    EXPECT_EQ(Grip.Corner(), C.To) << C.From << " side " << C.Side;
  }
  TSizeGripX Grip(nullptr);
  EXPECT_TRUE(Grip.GripRegion().Contains(TPoint(Grip.Width() - 1, Grip.Height() - 1)));
  EXPECT_FALSE(Grip.GripRegion().Contains(TPoint(0, 0)));
}

TEST(SizeGripX, DraggingStopsAtTheWorkAreaAndIgnoresRepeatedPoints) {
  const TRect WorkArea = Screen->WorkAreaRect();
  TCustomControl Popup(nullptr);
  Popup.SetBounds(WorkArea.Right - 200, WorkArea.Bottom - 150, 100, 80);
  TSizeGripX Grip(&Popup);
  Grip.SetParent(&Popup);
  Grip.MoveToCorner();
  int Resized = 0;
  Grip.OnParentResized = [&](TSizeGripX*) { ++Resized; };
  auto Send = [&](Cardinal Msg, TPoint Screen, WPARAM Keys) {
    Grip.Perform(Msg, Keys, PointToLParam(Grip.ScreenToClient(Screen)));
  };
  const TPoint Start = Grip.ClientToScreen(TPoint(5, 5));
  Send(WM_LBUTTONDOWN, Start, MK_LBUTTON);
  Send(WM_MOUSEMOVE, TPoint(Start.X + 20, Start.Y + 10), MK_LBUTTON);
  EXPECT_EQ(Popup.Width(), 120);
  EXPECT_EQ(Popup.Height(), 90);
  EXPECT_EQ(Resized, 1);
  Send(WM_MOUSEMOVE, TPoint(Start.X + 20, Start.Y + 10), MK_LBUTTON);
  EXPECT_EQ(Resized, 1);
  Send(WM_MOUSEMOVE, TPoint(Start.X + 900, Start.Y + 900), MK_LBUTTON);
  EXPECT_EQ(Popup.Left() + Popup.Width(), WorkArea.Right);
  EXPECT_EQ(Popup.Top() + Popup.Height(), WorkArea.Bottom);
  EXPECT_EQ(Grip.Left() + Grip.Width(), Popup.ClientWidth());
}
