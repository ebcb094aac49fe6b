#include "grid/PopupMonthCalendarX.h"
#include <QApplication>
#include <QCalendarWidget>
#include <gtest/gtest.h>

namespace {
class TOwner : public TComponent, public IPopupOwnerX {
public:
  TOwner() : TComponent(nullptr) {}
  std::vector<bool> Finished;
  void FinishDropDown(bool Accept) override { Finished.push_back(Accept); }
};

// 2024-06-15 18:00
constexpr TDateTime June15Evening = 45458.75;
}  // namespace

TEST(PopupMonthCalendarX, AChosenDayKeepsTheTimeOfDay) {
  TOwner Owner;
  TPopupMonthCalendarX Calendar(&Owner);
  Calendar.HandleNeeded();
  Calendar.SetDate(June15Evening);
  EXPECT_EQ(Calendar.CalendarWidget()->selectedDate(), QDate(2024, 6, 15));
  Q_EMIT Calendar.CalendarWidget()->clicked(QDate(2024, 6, 20));
  EXPECT_EQ(Owner.Finished, std::vector<bool>{true});
  EXPECT_DOUBLE_EQ(Calendar.Date(), June15Evening + 5);
  Calendar.CalendarWidget()->setSelectedDate(QDate(2024, 6, 1));  // moved with the keyboard
  EXPECT_DOUBLE_EQ(Calendar.Date(), June15Evening - 14);
  Calendar.Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(SmallInt(-120))), 0);
  EXPECT_DOUBLE_EQ(Calendar.Date(), June15Evening - 13);
}

TEST(PopupMonthCalendarX, KeysOutsideClicksAndFocusLossCloseThroughTheOwner) {
  TOwner Owner;
  TPopupMonthCalendarX Calendar(&Owner);
  Calendar.HandleNeeded();
  Calendar.Perform(WM_KEYDOWN, VK_RETURN);
  Calendar.Perform(WM_KEYDOWN, VK_ESCAPE);
  Calendar.Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(-5, 10)));
  EXPECT_EQ(Owner.Finished, (std::vector<bool>{true, false, false}));
  Calendar.Perform(WM_KILLFOCUS);
  EXPECT_EQ(Owner.Finished.size(), 3u);  // only once the focus change is over
  QApplication::processEvents();
  EXPECT_EQ(Owner.Finished, (std::vector<bool>{true, false, false, false}));

  TPopupMonthCalendarX Alone(nullptr);
  EXPECT_EQ(Alone.Perform(CM_WANTSPECIALKEY, VK_RETURN), 0);
  EXPECT_FALSE(Alone.CanFocus());
}
