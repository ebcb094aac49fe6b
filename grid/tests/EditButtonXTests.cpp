#include "grid/EditButtonX.h"
#include "platform/rtl/Clock.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
struct TManualClockScope {
  TManualClock Clock;
  TManualClockScope() { TClock::SetCurrent(&Clock); }
  ~TManualClockScope() { TClock::SetCurrent(nullptr); }
};

void Mouse(TControl& C, Cardinal Msg, Integer X, Integer Y, WPARAM Keys) {
  C.Perform(Msg, Keys, PointToLParam(TPoint(X, Y)));
}

struct TSpin {
  TEditButtonControlX Button{nullptr};
  std::vector<bool> Downs;
  int Clicks = 0;
  explicit TSpin(Integer Height) {
    Button.SetStyle(ebsUpDownX);
    Button.SetBounds(0, 0, 16, Height);
    Button.OnDown = [this](TObject*, bool Top, bool&, bool&) { Downs.push_back(Top); };
    Button.OnClick = [this](TObject*) { ++Clicks; };
  }
  Integer PartAt(Integer Y) {
    Mouse(Button, WM_LBUTTONDOWN, 4, Y, MK_LBUTTON);
    const Integer Part = Button.PressedPart();
    Mouse(Button, WM_LBUTTONUP, 4, Y, 0);
    return Part;
  }
};
}  // namespace

TEST(EditButtonControlX, SpinHalvesLeaveTheMiddleRowsUnpressed) {
  struct Case { Integer Height, Y, Part; };
  for (const Case& C : std::initializer_list<Case>{{21, 0, 1}, {21, 9, 1}, {21, 10, 0}, {21, 11, 0}, {21, 12, 2},
                                                    {21, 20, 2}, {20, 9, 1}, {20, 10, 0}, {20, 11, 2}}) {
    TSpin Spin(C.Height);
    EXPECT_EQ(Spin.PartAt(C.Y), C.Part) << "height " << C.Height << " row " << C.Y;
  }
}

TEST(EditButtonControlX, HoldingAHalfRepeatsAfter400ThenEvery100Milliseconds) {
  TManualClockScope Time;
  TSpin Spin(20);
  Mouse(Spin.Button, WM_LBUTTONDOWN, 4, 15, MK_LBUTTON);
  ASSERT_EQ(Spin.Downs, std::vector<bool>{false});
  EXPECT_EQ(Spin.Button.RepeatInterval(), 400u);
  struct Step { Int64 Wait; size_t Downs; Cardinal Interval; };
  for (const Step& S : std::initializer_list<Step>{{399, 1, 400}, {1, 2, 100}, {99, 2, 100}, {1, 3, 100}}) {
    Time.Clock.Advance(S.Wait);
    Spin.Button.CheckRepeat();
    EXPECT_EQ(Spin.Downs.size(), S.Downs) << "after " << Time.Clock.TickCount() << " ms";
    EXPECT_EQ(Spin.Button.RepeatInterval(), S.Interval);
  }

  // Moving off the pressed half lets the button up: no more repeats and no click.
  Mouse(Spin.Button, WM_MOUSEMOVE, 4, 3, MK_LBUTTON);
  EXPECT_EQ(Spin.Button.State(), bsUpX);
  Time.Clock.Advance(100);
  Spin.Button.CheckRepeat();
  EXPECT_EQ(Spin.Downs.size(), 3u);
  Mouse(Spin.Button, WM_LBUTTONUP, 4, 3, 0);
  EXPECT_EQ(Spin.Clicks, 0);
  EXPECT_EQ(Spin.Button.RepeatInterval(), 0u);
}

TEST(EditButtonControlX, AHandlerCanStopTheRepeat) {
  TManualClockScope Time;
  TSpin Spin(20);
  Spin.Button.OnDown = [&](TObject*, bool Top, bool& AutoRepeat, bool&) {
    Spin.Downs.push_back(Top);
    AutoRepeat = Spin.Downs.size() < 2;
  };
  Mouse(Spin.Button, WM_LBUTTONDOWN, 4, 2, MK_LBUTTON);
  Time.Clock.Advance(400);
  Spin.Button.CheckRepeat();
  EXPECT_EQ(Spin.Downs, (std::vector<bool>{true, true}));
  EXPECT_EQ(Spin.Button.RepeatInterval(), 0u);
  Mouse(Spin.Button, WM_LBUTTONUP, 4, 2, 0);
  EXPECT_EQ(Spin.Clicks, 1);
}

TEST(EditButtonControlX, HoldDownKeepsTheButtonPressedInItsGroup) {
  TEditButtonControlX B(nullptr);
  int Clicks = 0;
  B.OnClick = [&](TObject*) { ++Clicks; };
  B.SetHoldDown(true);
  B.SetHoldDown(true);
  EXPECT_EQ(B.GroupIndex(), 1);
  EXPECT_TRUE(B.Down());
  EXPECT_EQ(B.PressedPart(), 1);
  // A click on the held button still reaches the owner, which closes its drop-down.
  Mouse(B, WM_LBUTTONDOWN, 2, 2, MK_LBUTTON);
  Mouse(B, WM_LBUTTONUP, 2, 2, 0);
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(B.Down());
  B.SetHoldDown(false);
  EXPECT_EQ(B.GroupIndex(), 0);
  EXPECT_FALSE(B.Down());
  EXPECT_EQ(B.PressedPart(), 0);
}

TEST(EditButtonX, GlyphCountIsCorrectedAndClickGoesToTheHandler) {
  TEditButtonsX Buttons(nullptr, ItemClassOf<TVisibleEditButtonX>());
  std::vector<TCollectionItem*> Changed;
  Buttons.OnChanged = [&](TCollectionItem* Item) { Changed.push_back(Item); };
  auto* B = static_cast<TEditButtonX*>(Buttons.Add());
  EXPECT_TRUE(B->Visible());
  EXPECT_EQ(B->ShortCut(), TShortCut(32808));
  Changed.clear();
  B->SetNumGlyphs(0);
  EXPECT_EQ(B->NumGlyphs(), 1);
  B->SetNumGlyphs(7);
  EXPECT_EQ(B->NumGlyphs(), 4);
  EXPECT_EQ(Changed, std::vector<TCollectionItem*>{B});
  bool Handled = false;
  B->OnClick = [](TObject*, bool& H) { H = true; };
  B->PerformClick(nullptr, Handled);
  EXPECT_TRUE(Handled);
}
