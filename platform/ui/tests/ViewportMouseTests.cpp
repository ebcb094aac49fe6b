#include "UiTestSupport.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/StdCtrls.h"
#include <QAbstractScrollArea>
#include <QCalendarWidget>
#include <QListWidget>
#include <QTableView>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

// The mouse messages a control's WindowProc sees, with their client points.
struct TMouseLog {
  QStringList Names;
  std::vector<TPoint> Points;
};

TWndMethod Recording(TWinControl* Control, TMouseLog* Log, bool SwallowPresses = false) {
  return [Log, SwallowPresses, old = Control->WindowProc](TMessage& M) {
    if (M.Msg == WM_LBUTTONDOWN || M.Msg == WM_LBUTTONUP || M.Msg == WM_MOUSEMOVE || M.Msg == WM_MOUSEWHEEL) {
      Log->Names << MessageName(M.Msg);
      Log->Points.push_back(TWMMouse{M}.Pos());
      if (SwallowPresses && M.Msg == WM_LBUTTONDOWN) return;
    }
    old(M);
  };
}

// Input sent to the viewport at a point of the viewport, the way the window system delivers it.
void SendToViewport(QWidget* Viewport, QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons) {
  QMouseEvent e(Type, QPointF(P), Viewport->mapToGlobal(QPointF(P)), Button, Buttons, Qt::NoModifier);
  QApplication::sendEvent(Viewport, &e);
}

QPoint Centre(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

}  // namespace

class TListBoxViewportMouse : public ::testing::TestWithParam<TListBoxStyle> {};

TEST_P(TListBoxViewportMouse, ItemClicksArriveOnceInClientCoordinatesAndSelectWhenPassedOn) {
  TShownForm shown;
  auto* list = new TListBox(shown.Form);
  list->SetParent(shown.Form);
  list->SetBounds(10, 10, 150, 150);
  list->SetStyle(GetParam());
  list->SetItemHeight(18);
  for (const char* text : {"一", "二", "三", "四", "五"}) list->Items()->Add(QString::fromUtf8(text));
  auto* viewport = static_cast<QListWidget*>(list->Handle())->viewport();
  const TWndMethod original = list->WindowProc;

  TMouseLog log;
  list->WindowProc = Recording(list, &log);
  const QPoint onItem2 = Centre(list->ItemRect(2));
  SendToViewport(viewport, QEvent::MouseMove, onItem2, Qt::NoButton, Qt::NoButton);
  SendToViewport(viewport, QEvent::MouseButtonPress, onItem2, Qt::LeftButton, Qt::LeftButton);
  SendToViewport(viewport, QEvent::MouseButtonRelease, onItem2, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(log.Names, QStringList({"WM_MOUSEMOVE", "WM_LBUTTONDOWN", "WM_LBUTTONUP"}));
  for (const TPoint& p : log.Points) EXPECT_EQ(p, TPoint(onItem2.x(), onItem2.y()));
  EXPECT_EQ(list->ItemAtPos(log.Points[1], true), 2);
  EXPECT_EQ(list->ItemIndex(), 2);

  // A WindowProc that keeps the press to itself leaves the selection where it was.
  TMouseLog swallowed;
  list->WindowProc = original;
  list->WindowProc = Recording(list, &swallowed, true);
  const QPoint onItem4 = Centre(list->ItemRect(4));
  SendToViewport(viewport, QEvent::MouseButtonPress, onItem4, Qt::LeftButton, Qt::LeftButton);
  SendToViewport(viewport, QEvent::MouseButtonRelease, onItem4, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(swallowed.Names, QStringList({"WM_LBUTTONDOWN", "WM_LBUTTONUP"}));
  EXPECT_EQ(list->ItemIndex(), 2);
  list->WindowProc = original;
  EXPECT_TRUE(shown.Exceptions.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Styles, TListBoxViewportMouse, ::testing::Values(lbStandard, lbOwnerDrawFixed));

TEST(ViewportMouse, WheelOverTheItemsArrivesOnce) {
  TShownForm shown;
  auto* list = new TListBox(shown.Form);
  list->SetParent(shown.Form);
  list->SetBounds(10, 10, 150, 60);
  for (int i = 0; i < 30; ++i) list->Items()->Add(QString::number(i));
  auto* viewport = static_cast<QListWidget*>(list->Handle())->viewport();
  TMouseLog log;
  const TWndMethod original = list->WindowProc;
  list->WindowProc = Recording(list, &log);
  // Scrolled to the end the viewport leaves the wheel unhandled; it must not come again from the list.
  for (int delta : {-120, 120, 120}) {
    QWheelEvent wheel(QPointF(20, 20), viewport->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  }
  EXPECT_EQ(log.Names, QStringList({"WM_MOUSEWHEEL", "WM_MOUSEWHEEL", "WM_MOUSEWHEEL"}));
  list->WindowProc = original;
}

TEST(ViewportMouse, CalendarDayClicksArriveOnceInTheCalendarsCoordinates) {
  TShownForm shown;
  auto* calendar = new TMonthCalendar(shown.Form);
  calendar->SetParent(shown.Form);
  calendar->SetBounds(0, 0, 280, 190);
  auto* table = calendar->Handle()->findChild<QTableView*>();
  ASSERT_NE(table, nullptr);
  TMouseLog log;
  const TWndMethod original = calendar->WindowProc;
  calendar->WindowProc = Recording(calendar, &log);
  // The middle row of the day table always holds days of the shown month.
  const QModelIndex day = table->model()->index(3, 3);
  const QPoint inTable = table->visualRect(day).center();
  SendToViewport(table->viewport(), QEvent::MouseButtonPress, inTable, Qt::LeftButton, Qt::LeftButton);
  SendToViewport(table->viewport(), QEvent::MouseButtonRelease, inTable, Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(log.Names, QStringList({"WM_LBUTTONDOWN", "WM_LBUTTONUP"}));
  const QPoint expected = table->viewport()->mapTo(calendar->Handle(), inTable);
  EXPECT_EQ(log.Points[0], TPoint(expected.x(), expected.y()));
  EXPECT_EQ(calendar->HitTest(log.Points[1]), Cardinal(MCHT_CALENDARDATE));
  calendar->WindowProc = original;
}

TEST(ViewportMouse, AMemosTextAreaTakesTheControlsCursorAndGetsItsOwnBack) {
  TShownForm shown;
  auto* memo = new TMemo(shown.Form);
  memo->SetParent(shown.Form);
  memo->SetBounds(10, 10, 150, 80);
  auto* viewport = static_cast<QAbstractScrollArea*>(memo->Handle())->viewport();
  auto move = [&] { SendToViewport(viewport, QEvent::MouseMove, QPoint(20, 20), Qt::NoButton, Qt::NoButton); };
  move();
  EXPECT_EQ(viewport->cursor().shape(), Qt::IBeamCursor);
  memo->SetCursor(crHandPoint);
  move();
  EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
  memo->SetCursor(crDefault);
  move();
  EXPECT_EQ(viewport->cursor().shape(), Qt::IBeamCursor);
}
