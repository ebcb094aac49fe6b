// Skinned scroll bars: the cover's arithmetic, and the bars of memos, frame-scrolled controls
// and scroll-bar controls drawn from each shipped skin.
#include "platform/ui/StdCtrls.h"
#include "skin/SkinScrollbars.h"
#include "skin/tests/SkinTestSupport.h"
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace skintest;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;

// A control whose frame carries both scroll bars, as grids have them.
class TScrollingControl : public TCustomControl {
public:
  explicit TScrollingControl(TComponent* AOwner) : TCustomControl(AOwner) {}
protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_VSCROLL | WS_HSCROLL;
  }
};

QImage GrabBar(QScrollBar* Bar) { return Bar->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Pixel (X, Y) of frame k of N of Image stretched to Size, or magenta where it is see-through.
QRgb FramePixel(const TBitmap& Image, Integer Frames, Integer Frame, TSize Size, int X, int Y) {
  TBitmap target(Size.cx, Size.cy);
  target.Canvas()->Brush()->SetColor(TColor(0xFF00FF));
  target.Canvas()->FillRect(TRect(0, 0, Size.cx, Size.cy));
  DrawSkinFrame(target.Canvas(), TRect(0, 0, Size.cx, Size.cy), Image, Frame, Frames, true);
  return target.Image().pixel(X, Y) | 0xFF000000;
}

QRgb ElementPixel(const TDataSkinObject& Element, Integer Frame, Integer Frames, TSize Size, int X, int Y) {
  return BuildSkinImage(TRect(0, 0, Size.cx, Size.cy), Element.Image, Element.Margins(), Frame, Frames, Element.Tile == 1, false)
             ->Image()
             .pixel(X, Y) |
         0xFF000000;
}

void Mouse(QScrollBar* Bar, QEvent::Type Type, QPoint P) {
  QMouseEvent e(Type, P, Bar->mapToGlobal(P), Qt::LeftButton, Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                Qt::NoModifier);
  QApplication::sendEvent(Bar, &e);
}

template <class T>
T* Add(TForm& Form, TRect Bounds) {
  auto* c = new T(&Form);
  c->SetParent(&Form);
  c->SetBoundsRect(Bounds);
  return c;
}

}  // namespace

TEST(SkinScrollCover, ThumbFollowsTheRangeFromItsMinimumAndNeverDividesByAnEmptyOne) {
  // Bar 100 long with 16-pixel arrows: a 68-pixel track.
  struct Case { Integer Min, Max, Page, Position, Start, End; };
  for (const Case& c : std::initializer_list<Case>{
         {0, 99, 25, 0, 16, 33},     // a quarter of the range in view
         {0, 99, 25, 75, 67, 84},    // at the end of the range
         {10, 109, 25, 10, 16, 33},  // a range starting above 0, at its start
         {10, 109, 25, 85, 67, 84},  // and at its end
         {0, 0, 1, 0, 16, 84},       // one position, all in view
         {5, 4, 3, 5, 16, 84},       // an empty range
         {0, 100, 0, 0, 16, 32},     // no page: an arrow-long thumb at the start
         {0, 100, 0, 100, 68, 84},   // and at the end
         {50, 150, 0, 100, 42, 58},  // half way through a range starting above 0
         {7, 7, 0, 7, 16, 32}})      // no page and an empty range
    EXPECT_EQ((std::pair{ThumbOfRange(100, 16, c.Min, c.Max, c.Page, c.Position).Start,
                         ThumbOfRange(100, 16, c.Min, c.Max, c.Page, c.Position).End}),
              (std::pair{c.Start, c.End}))
        << c.Min << ".." << c.Max << " page " << c.Page << " at " << c.Position;
}

TEST(SkinScrollCover, PositionOfAThumbIsTheInverseOfItsPlace) {
  for (const TScrollRange& r : std::initializer_list<TScrollRange>{{0, 99, 25, 0}, {10, 109, 20, 0}, {50, 150, 0, 0}, {0, 100000, 10, 0}, {3, 3, 1, 0}}) {
    const Integer last = r.Page > 0 ? std::max(r.Min, r.Max - r.Page + 1) : r.Max;
    for (Integer p : {r.Min, (r.Min + last) / 2, last}) {
      const Integer start = ThumbOfRange(300, 16, r.Min, r.Max, r.Page, p).Start;
      const Integer back = PositionOfThumb(start, 300, 16, r);
      EXPECT_EQ(ThumbOfRange(300, 16, r.Min, r.Max, r.Page, back).Start, start) << r.Min << ".." << r.Max << " at " << p;
    }
    // Beyond the track's ends: the range's ends.
    EXPECT_EQ(PositionOfThumb(-50, 300, 16, r), r.Min);
    EXPECT_EQ(PositionOfThumb(1000, 300, 16, r), last);
  }
}

TEST(SkinScrollCover, PressPartsThicknessAndDraggedThumb) {
  const TScrollThumb thumb{40, 60};
  struct Hit { Integer Along, Code; };
  for (const Hit& h : std::initializer_list<Hit>{{0, SB_LINEUP}, {15, SB_LINEUP}, {16, SB_PAGEUP}, {39, SB_PAGEUP},
                                                 {40, SB_THUMBTRACK}, {59, SB_THUMBTRACK}, {60, SB_PAGEDOWN},
                                                 {83, SB_PAGEDOWN}, {84, SB_LINEDOWN}, {99, SB_LINEDOWN}})
    EXPECT_EQ(ScrollHitPart(h.Along, 16, thumb, 100), h.Code) << h.Along;
  // The skin's arrow height unless it is more than 2 pixels off the system's arrow size.
  EXPECT_EQ(ScrollBarThickness(17, 16), 17);
  EXPECT_EQ(ScrollBarThickness(18, 16), 18);
  EXPECT_EQ(ScrollBarThickness(20, 16), 16);
  EXPECT_EQ(ScrollBarThickness(12, 16), 16);
  // A dragged thumb moves with the cursor and stops at the arrows, keeping its length.
  struct Drag { Integer Delta, Start; };
  for (const Drag& d : std::initializer_list<Drag>{{0, 40}, {10, 50}, {-10, 30}, {-100, 16}, {100, 64}})
    EXPECT_EQ(TrackThumb(thumb, d.Delta, 16, 100).Start, d.Start) << d.Delta;
  EXPECT_EQ(TrackThumb(thumb, 100, 16, 100).Length(), 20);
}

TEST(SkinScrollbars, BarsOfMemosFramesAndScrollBarControlsInEverySkin) {
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    TSkinSession session(k);
    TForm form(nullptr);
    form.SetBounds(20, 20, 420, 320);
    auto* memo = Add<TMemo>(form, Bounds(10, 10, 180, 120));
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 60; ++i) memo->Lines()->Add(QStringLiteral("第%1行").arg(i));
    auto* framed = Add<TScrollingControl>(form, Bounds(200, 10, 180, 120));
    auto* control = Add<TScrollBar>(form, Bounds(10, 150, 200, 17));
    control->SetParams(30, 0, 100);
    auto* disabled = Add<TScrollBar>(form, Bounds(10, 180, 200, 17));
    disabled->SetEnabled(false);

    TSkinForm* skinned = ShowSkinned(&form);
    ASSERT_NE(skinned, nullptr);
    auto* memoPainter = dynamic_cast<TSkinScrollbar*>(skinned->FindPainter(memo));
    auto* framePainter = dynamic_cast<TSkinScrollbar*>(skinned->FindPainter(framed));
    auto* controlPainter = dynamic_cast<TSkinScControl*>(skinned->FindPainter(control));
    auto* disabledPainter = dynamic_cast<TSkinScControl*>(skinned->FindPainter(disabled));
    ASSERT_TRUE(memoPainter && framePainter && controlPainter && disabledPainter);
    const TSkinModel& m = session.Data->Model();
    const TBitmap& arrows = m.Scrollbar->Image;
    const Integer arrow = GetSystemMetrics(SM_CXHSCROLL);

    // The memo's vertical bar: up arrow, then pressed, down arrow.
    ASSERT_TRUE(memoPainter->VertCover()->Shown());
    QScrollBar* memoBar = memoPainter->VertCover()->Bar();
    const Integer thick = ScrollBarThickness(arrows.Height(), arrow);
    const TSize arrowSize{thick, arrow};
    const int cx = thick / 2, cy = arrow / 2;
    EXPECT_EQ(GrabBar(memoBar).pixel(cx, cy), FramePixel(arrows, 23, 9, arrowSize, cx, cy));
    EXPECT_EQ(GrabBar(memoBar).pixel(cx, memoBar->height() - arrow + cy), FramePixel(arrows, 23, 13, arrowSize, cx, cy));
    memoBar->setValue(5);
    Mouse(memoBar, QEvent::MouseButtonPress, QPoint(cx, cy));
    EXPECT_EQ(memoPainter->VertCover()->LastScrollCode(), SB_LINEUP);
    EXPECT_EQ(memoBar->value(), 4);
    EXPECT_EQ(GrabBar(memoBar).pixel(cx, cy), FramePixel(arrows, 23, 10, arrowSize, cx, cy));
    Mouse(memoBar, QEvent::MouseButtonRelease, QPoint(cx, cy));
    EXPECT_EQ(GrabBar(memoBar).pixel(cx, cy), FramePixel(arrows, 23, 9, arrowSize, cx, cy));
    // The memo has no horizontal bar, so that cover stays off.
    EXPECT_FALSE(memoPainter->HorzCover()->Shown());

    // A frame bar with a range starting above 0: its thumb at both ends of the range.
    TScrollInfo info;
    info.fMask = SIF_ALL;
    info.nMin = 10;
    info.nMax = 109;
    info.nPage = 20;
    for (Integer bar : {SB_VERT, SB_HORZ}) framed->SetScrollInfo(bar, info, true);
    QApplication::processEvents();
    framePainter->PlaceCovers();
    QScrollBar* frameBar = framePainter->VertCover()->Bar();
    ASSERT_NE(frameBar, nullptr);
    ASSERT_TRUE(framePainter->VertCover()->Shown());
    const TDataSkinObject& thumbImage = *m.VertScrollThumb;
    const Integer thumbFrames = m.HorzScrollThumb->FrameCount;
    const Integer barLength = frameBar->height();
    for (Integer position : {10, 90}) {
      SCOPED_TRACE(position);
      framed->SetScrollPos(SB_VERT, position, true);
      const TScrollThumb thumb = ThumbOfRange(barLength, arrow, 10, 109, 20, position);
      // The thumb touches the first arrow at the range's start and the second at its end.
      if (position == 10) EXPECT_EQ(thumb.Start, arrow);
      else EXPECT_EQ(thumb.End, barLength - arrow);
      const QImage image = GrabBar(frameBar);
      const QRgb expected = ElementPixel(thumbImage, 1, thumbFrames, {thick, thumb.Length()}, thick / 2, thumb.Length() / 2);
      ASSERT_NE(expected, Magenta);
      EXPECT_EQ(image.pixel(thick / 2, thumb.Start + thumb.Length() / 2), expected);
    }
    // Dragging the thumb shows its pressed frame, moves it with the cursor and scrolls the
    // control through its own messages.
    const TScrollThumb thumb = ThumbOfRange(barLength, arrow, 10, 109, 20, 90);
    const QPoint grip(thick / 2, thumb.Start + thumb.Length() / 2);
    Mouse(frameBar, QEvent::MouseButtonPress, grip);
    EXPECT_EQ(framePainter->VertCover()->LastScrollCode(), SB_THUMBTRACK);
    Mouse(frameBar, QEvent::MouseMove, grip - QPoint(0, 20));
    const QRgb pressed = ElementPixel(thumbImage, 2, thumbFrames, {thick, thumb.Length()}, thick / 2, thumb.Length() / 2);
    EXPECT_EQ(GrabBar(frameBar).pixel(grip.x(), grip.y() - 20), pressed);
    EXPECT_EQ(frameBar->sliderPosition(), PositionOfThumb(thumb.Start - 20, barLength, arrow, {10, 109, 20, 90}));
    EXPECT_LT(frameBar->sliderPosition(), 90);
    Mouse(frameBar, QEvent::MouseButtonRelease, grip - QPoint(0, 20));
    // Both bars shown: the corner square between them takes the face colour.
    const QImage window = form.Handle()->grab().toImage();
    QScrollBar* horzBar = framePainter->HorzCover()->Bar();
    ASSERT_NE(horzBar, nullptr);
    const QPoint corner = framed->Handle()->mapTo(form.Handle(), QPoint(frameBar->x() + 2, horzBar->y() + 2));
    EXPECT_EQ(window.pixel(corner) | 0xFF000000, ColorToQColor(m.ButtonFace).rgb());

    // The scroll-bar control: its left arrow, and a disabled one's track in frame 3 with no thumb.
    QScrollBar* controlBar = controlPainter->Cover()->Bar();
    ASSERT_EQ(controlBar, control->Handle());
    const TSize hArrow{arrow, thick};
    EXPECT_EQ(GrabBar(controlBar).pixel(arrow / 2, thick / 2), FramePixel(arrows, 23, 1, hArrow, arrow / 2, thick / 2));
    const QImage off = GrabBar(disabledPainter->Cover()->Bar());
    const TSize track{200 - 2 * arrow, thick};
    for (int x : {30, 100, 150})
      EXPECT_EQ(off.pixel(x, thick / 2), ElementPixel(*m.HorzScroll, 3, 4, track, x - arrow, thick / 2)) << x;
    EXPECT_EQ(session.Exceptions, QStringList());
  }
}

TEST(SkinScrollbars, HiddenControlsShortBarsAndSkinsWithoutArrowsLeaveTheBarAlone) {
  TSkinSession session(3);
  TForm form(nullptr);
  form.SetBounds(20, 20, 300, 200);
  auto* memo = Add<TMemo>(form, Bounds(10, 10, 180, 120));
  memo->SetScrollBars(ssVertical);
  for (int i = 0; i < 60; ++i) memo->Lines()->Add(QStringLiteral("行"));
  auto* shortBar = Add<TScrollBar>(form, Bounds(10, 140, 20, 17));
  TSkinForm* skinned = ShowSkinned(&form);
  ASSERT_NE(skinned, nullptr);
  auto* painter = dynamic_cast<TSkinScrollbar*>(skinned->FindPainter(memo));
  ASSERT_NE(painter, nullptr);
  // Hiding the memo hides its cover; showing it places it again.
  memo->SetVisible(false);
  EXPECT_FALSE(painter->VertCover()->Shown());
  memo->SetVisible(true);
  QApplication::processEvents();
  EXPECT_TRUE(painter->VertCover()->Shown());
  // A bar shorter than two arrows shows two half-length arrows and no track.
  const TSkinModel& m = session.Data->Model();
  auto* shortPainter = dynamic_cast<TSkinScControl*>(skinned->FindPainter(shortBar));
  ASSERT_NE(shortPainter, nullptr);
  const Integer thick = ScrollBarThickness(m.Scrollbar->Image.Height(), GetSystemMetrics(SM_CXHSCROLL));
  const QImage tiny = GrabBar(shortPainter->Cover()->Bar());
  EXPECT_EQ(tiny.pixel(5, thick / 2), FramePixel(m.Scrollbar->Image, 23, 1, {10, thick}, 5, thick / 2));
  EXPECT_EQ(tiny.pixel(15, thick / 2), FramePixel(m.Scrollbar->Image, 23, 5, {10, thick}, 5, thick / 2));
  // Without the arrow image the bar draws itself, as it would unskinned.
  QScrollBar* bar = painter->VertCover()->Bar();
  const QImage skinnedLook = GrabBar(bar);
  session.Data->Model().Scrollbar.reset();
  TBitmap work;
  EXPECT_FALSE(painter->VertCover()->Paint(work));
  EXPECT_NE(GrabBar(bar), skinnedLook);
  EXPECT_EQ(session.Exceptions, QStringList());
}
