#include "UiTestSupport.h"
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

struct TScrollFixture : ::testing::Test {
  TShownForm Shown;
  QStringList Log;
  TRecordingControl* Control = nullptr;
  QList<QPair<Integer, Integer>> Scrolls;  // code, position
  bool Follow = false;                      // the handler moves the bar as a grid does
  void SetUp() override {
    Control = new TRecordingControl(Shown.Form, &Log, QStringLiteral("A"));
    Control->SetParent(Shown.Form);
    Control->SetBounds(10, 10, 200, 100);
    Control->WindowProc = [this, old = Control->WindowProc](TMessage& M) {
      if (M.Msg == WM_VSCROLL) {
        const TWMScroll s{M};
        Scrolls << qMakePair(s.ScrollCode(), s.Pos());
        if (Follow && s.ScrollCode() == SB_LINEDOWN) Control->SetScrollPos(SB_VERT, Control->GetScrollPos(SB_VERT) + 1, true);
      }
      old(M);
    };
  }
  void TearDown() override { Control->WindowProc = [c = Control](TMessage& M) { c->WndProc(M); }; }
  QScrollBar* Bar() { return static_cast<QScrollBar*>(Control->ScrollBarWidget(SB_VERT)); }
  void SetRange(Integer Min, Integer Max, Cardinal Page, Integer Pos, Cardinal Extra = 0) {
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | Extra;
    info.nMin = Min;
    info.nMax = Max;
    info.nPage = Page;
    info.nPos = Pos;
    Control->SetScrollInfo(SB_VERT, info, true);
  }
};

}  // namespace

TEST_F(TScrollFixture, RangePageAndPositionReadBackClampedAndTheBarTakesItsPlace) {
  Log.clear();
  SetRange(0, 99, 10, 50);
  TScrollInfo info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(Control->GetScrollInfo(SB_VERT, info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 99);
  EXPECT_EQ(info.nPage, 10u);
  EXPECT_EQ(info.nPos, 50);
  EXPECT_EQ(info.nTrackPos, 50);
  // The bar appeared: the client area narrowed and the control heard about it.
  EXPECT_TRUE(Control->ScrollBarVisible(SB_VERT));
  EXPECT_EQ(Control->ClientWidth(), 200 - 16);
  EXPECT_TRUE(Log.contains("A WM_SIZE"));
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(Bar()->geometry(), QRect(184, 0, 16, 100));

  TScrollBarInfo bar;
  ASSERT_TRUE(Control->GetScrollBarInfo(SB_VERT, bar));
  const TPoint corner = Control->ClientToScreen({184, 0});
  EXPECT_EQ(bar.rcScrollBar, Bounds(corner.X, corner.Y, 16, 100));
  EXPECT_EQ(bar.dxyLineButton, 16);
  EXPECT_EQ(bar.xyThumbBottom - bar.xyThumbTop, 8);  // the page's share of the track (6), but at least 8
  EXPECT_EQ(bar.xyThumbTop, 16 + (68 - 8) * 50 / 90);
  EXPECT_FALSE(Control->GetScrollBarInfo(SB_HORZ, bar));

  // The position stops where the last page begins.
  EXPECT_EQ(Control->SetScrollPos(SB_VERT, 95, true), 50);
  EXPECT_EQ(Control->GetScrollPos(SB_VERT), 90);
  SetRange(0, 99, 500, 0);
  info.fMask = SIF_PAGE;
  Control->GetScrollInfo(SB_VERT, info);
  EXPECT_EQ(info.nPage, 100u);

  // Nothing to scroll: hidden, or shown disabled when asked to stay.
  EXPECT_FALSE(Control->ScrollBarVisible(SB_VERT));
  EXPECT_EQ(Control->ClientWidth(), 200);
  SetRange(0, 0, 0, 0, SIF_DISABLENOSCROLL);
  EXPECT_TRUE(Control->ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(Bar()->isEnabled());
}

TEST_F(TScrollFixture, ClicksOnTheBarArriveWithTheirScrollCodes) {
  SetRange(0, 99, 10, 20);
  QScrollBar* bar = Bar();
  ASSERT_NE(bar, nullptr);
  auto press = [&](QPoint P) {
    QMouseEvent down(QEvent::MouseButtonPress, P, bar->mapToGlobal(P), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, P, bar->mapToGlobal(P), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &up);
  };
  press(QPoint(8, bar->height() - 4));  // the down arrow
  press(QPoint(8, 3));                  // the up arrow
  press(QPoint(8, bar->height() - 24)); // the track below the thumb
  ASSERT_EQ(Scrolls.size(), 3);
  EXPECT_EQ(Scrolls[0].first, SB_LINEDOWN);
  EXPECT_EQ(Scrolls[1].first, SB_LINEUP);
  EXPECT_EQ(Scrolls[2].first, SB_PAGEDOWN);
  // The bar does not move by itself.
  EXPECT_EQ(Control->GetScrollPos(SB_VERT), 20);
  EXPECT_EQ(bar->value(), 20);

  // A handler that follows moves it.
  Follow = true;
  press(QPoint(8, bar->height() - 4));
  EXPECT_EQ(Control->GetScrollPos(SB_VERT), 21);
  EXPECT_EQ(bar->value(), 21);
}

TEST_F(TScrollFixture, DraggingTheThumbTracksThenReportsTheFinalPosition) {
  SetRange(0, 99, 10, 20);
  QScrollBar* bar = Bar();
  bar->setSliderDown(true);
  bar->setSliderPosition(60);
  TScrollInfo info;
  info.fMask = SIF_POS | SIF_TRACKPOS;
  Control->GetScrollInfo(SB_VERT, info);
  EXPECT_EQ(info.nTrackPos, 60);
  EXPECT_EQ(info.nPos, 20);
  bar->setSliderDown(false);
  ASSERT_EQ(Scrolls.size(), 2);
  EXPECT_EQ(Scrolls[0], qMakePair(SB_THUMBTRACK, 60));
  EXPECT_EQ(Scrolls[1], qMakePair(SB_THUMBPOSITION, 60));
  Control->GetScrollInfo(SB_VERT, info);
  EXPECT_EQ(info.nTrackPos, info.nPos);
}

TEST_F(TScrollFixture, ScrollingTheWindowCarriesChildrenAlong) {
  Control->PaintColor = clNone;
  Control->SetColor(clWhite);
  auto* child = new TRecordingControl(Shown.Form, &Log, QStringLiteral("B"));
  child->SetParent(Control);
  child->SetBounds(0, 0, 10, 10);
  Control->ScrollWindowEx(0, 20, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
  EXPECT_EQ(child->Top(), 20);
  EXPECT_EQ(child->Handle()->geometry().top(), 20);
}
