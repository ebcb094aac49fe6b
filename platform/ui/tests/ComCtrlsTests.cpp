#include "UiTestSupport.h"
#include "platform/ui/ComCtrls.h"
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <gtest/gtest.h>

using uitest::TShownForm;

TEST(PageControl, TabsFollowTheSheetsAndAUserChoiceShowsItsSheet) {
  TShownForm f;
  auto* pages = new TPageControl(f.Form);
  pages->SetParent(f.Form);
  pages->SetBounds(0, 0, 280, 180);
  TTabSheet* sheets[3];
  for (int i = 0; i < 3; ++i) {
    sheets[i] = new TTabSheet(f.Form);
    sheets[i]->SetCaption(QStringLiteral("页%1").arg(i));
    sheets[i]->SetPageControl(pages);
  }
  sheets[1]->SetTabVisible(false);
  auto* bar = pages->Handle()->findChild<QTabBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->count(), 2);
  EXPECT_EQ(bar->tabText(1), "页2");
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  EXPECT_EQ(sheets[0]->BoundsRect(), pages->DisplayRect());

  QStringList events;
  bool allow = false;
  pages->OnChanging = [&](TObject*, bool& Allow) {
    events << "changing";
    Allow = allow;
  };
  pages->OnChange = [&](TObject*) { events << "change"; };
  bar->setCurrentIndex(1);  // refused: the tab bar goes back
  EXPECT_EQ(bar->currentIndex(), 0);
  EXPECT_EQ(pages->ActivePage(), sheets[0]);
  allow = true;
  bar->setCurrentIndex(1);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_TRUE(sheets[2]->Visible());
  EXPECT_FALSE(sheets[0]->Visible());
  EXPECT_EQ(events, (QStringList{"changing", "changing", "change"}));

  pages->SetActivePageIndex(0);  // by program: no events
  EXPECT_EQ(bar->currentIndex(), 0);
  EXPECT_EQ(events.size(), 3);
  delete sheets[0];
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), sheets[2]);
  EXPECT_EQ(bar->count(), 1);
}

TEST(TabControl, TabsAndTabIndex) {
  TShownForm f;
  auto* tabs = new TTabControl(f.Form);
  tabs->SetParent(f.Form);
  tabs->Tabs()->SetCommaText("一月,二月");
  auto* bar = tabs->Handle()->findChild<QTabBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->count(), 2);
  Integer changes = 0;
  tabs->OnChange = [&](TObject*) { ++changes; };
  bar->setCurrentIndex(1);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(tabs->Perform(TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(tabs->IndexOfTabAt(tabs->TabRect(1).TopLeft()), 1);
}

TEST(StatusBar, PanelsLayOutLeftToRightAndOwnerDrawnOnesAreAsked) {
  TShownForm f;
  auto* bar = new TStatusBar(f.Form);
  bar->SetParent(f.Form);
  for (Integer width : {80, 120, 50}) bar->Panels()->Add()->SetWidth(width);
  bar->Panels()->Items(0)->SetText("就绪");
  bar->Panels()->Items(2)->SetStyle(psOwnerDraw);
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Width(), f.Form->ClientWidth());
  EXPECT_EQ(bar->PanelRect(1).Left, 80);
  EXPECT_EQ(bar->PanelRect(2).Right, bar->ClientWidth());  // the last one takes the rest
  std::vector<TStatusPanel*> drawn;
  bar->OnDrawPanel = [&](TStatusBar*, TStatusPanel* Panel, const TRect&) { drawn.push_back(Panel); };
  uitest::Grab(bar->Handle());
  EXPECT_EQ(drawn, std::vector<TStatusPanel*>{bar->Panels()->Items(2)});
  bar->SetSimplePanel(true);
  drawn.clear();
  uitest::Grab(bar->Handle());
  EXPECT_TRUE(drawn.empty());
}

TEST(UpDown, StepsWithinTheRangeShowsThePositionInItsEditAndMayBeRefused) {
  TShownForm f;
  auto* edit = new TEdit(f.Form);
  edit->SetParent(f.Form);
  auto* ud = new TUpDown(f.Form);
  ud->SetParent(f.Form);
  ud->SetMin(2);
  ud->SetMax(20);
  ud->SetPosition(19);
  ud->SetAssociate(edit);
  EXPECT_EQ(edit->Text(), "19");
  EXPECT_EQ(ud->Left(), edit->Left() + edit->Width());

  QStringList seen;
  ud->OnChangingEx = [&](TObject*, bool& Allow, SmallInt NewValue, TUDBtnType) {
    seen << QString::number(NewValue);
    Allow = NewValue != 3;
  };
  uitest::Click(ud, {5, 2});  // the upper half steps up
  ud->Step(btNext);           // stays at the top without Wrap
  EXPECT_EQ(ud->Position(), 20);
  EXPECT_EQ(edit->Text(), "20");
  ud->SetWrap(true);
  ud->Step(btNext);
  EXPECT_EQ(ud->Position(), 2);
  ud->Step(btNext);  // refused
  EXPECT_EQ(ud->Position(), 2);
  EXPECT_EQ(seen, (QStringList{"20", "20", "2", "3"}));

  ud->SetMax(2000);
  ud->SetPosition(1500);
  EXPECT_EQ(edit->Text(), "1,500");
}

TEST(ProgressAndTrackBars, PositionsReachTheWidgetsAndTheUserMovesTheTrackBar) {
  TShownForm f;
  auto* progress = new TProgressBar(f.Form);
  progress->SetParent(f.Form);
  progress->SetMax(50);
  progress->SetPosition(70);
  auto* pbar = qobject_cast<QProgressBar*>(progress->Handle());
  ASSERT_NE(pbar, nullptr);
  EXPECT_EQ(pbar->maximum(), 50);
  EXPECT_EQ(pbar->value(), 50);
  progress->SetPosition(0);
  progress->StepIt();
  EXPECT_EQ(pbar->value(), 10);

  auto* track = new TTrackBar(f.Form);
  track->SetParent(f.Form);
  Integer changes = 0;
  track->OnChange = [&](TObject*) { ++changes; };
  track->SetPosition(3);
  auto* slider = qobject_cast<QSlider*>(track->Handle());
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->value(), 3);
  slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(track->Position(), 5);
  EXPECT_EQ(changes, 2);
}

// ---- dates

#include "platform/rtl/SysUtils.h"
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QTableView>
#include <QToolButton>

namespace {

QDate ToQDate(TDateTime Value) {
  Word y, m, d;
  DecodeDate(Value, y, m, d);
  return QDate(y, m, d);
}

TPoint CenterIn(QWidget* Outer, QWidget* Inner, const QRect& R) {
  const QPoint p = Inner->mapTo(Outer, R.center());
  return {p.x(), p.y()};
}

}  // namespace

TEST(MonthCalendar, DateHitTestAndAClickOnADay) {
  TShownForm f;
  auto* calendar = new TMonthCalendar(f.Form);
  calendar->SetParent(f.Form);
  calendar->SetBounds(0, 0, 280, 190);
  calendar->SetDate(EncodeDate(2024, 5, 15));
  auto* widget = qobject_cast<QCalendarWidget*>(calendar->Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->selectedDate(), QDate(2024, 5, 15));
  QApplication::processEvents();

  auto* table = widget->findChild<QTableView*>();
  ASSERT_NE(table, nullptr);
  const QModelIndex names = table->model()->index(0, 3);
  const QModelIndex day = table->model()->index(3, 3);  // a day in the middle of May
  const TPoint namePoint = CenterIn(widget, table->viewport(), table->visualRect(names));
  const TPoint dayPoint = CenterIn(widget, table->viewport(), table->visualRect(day));
  EXPECT_EQ(calendar->HitTest(namePoint), MCHT_CALENDARDAY);
  EXPECT_EQ(calendar->HitTest(dayPoint), MCHT_CALENDARDATE);
  auto* prev = widget->findChild<QToolButton*>("qt_calendar_prevmonth");
  ASSERT_NE(prev, nullptr);
  EXPECT_EQ(calendar->HitTest(CenterIn(widget, prev, prev->rect())), MCHT_TITLEBTNPREV);
  EXPECT_EQ(calendar->CurrentView(), MCMV_MONTH);

  QStringList events;
  calendar->OnClick = [&](TObject*) { events << "click"; };
  calendar->OnChange = [&](TObject*) { events << "change"; };
  const QPoint inViewport = table->visualRect(day).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, inViewport, table->viewport()->mapToGlobal(inViewport), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &e);
  }
  EXPECT_EQ(events, (QStringList{"change", "click"}));
  EXPECT_EQ(widget->selectedDate(), ToQDate(calendar->Date()));
  EXPECT_EQ(widget->selectedDate().day(), table->model()->data(day).toInt());
}

TEST(DateTimePicker, DateReachesTheWidgetAndUserChangesRaiseOnChange) {
  TShownForm f;
  auto* picker = new TDateTimePicker(f.Form);
  picker->SetDateTime(EncodeDate(2024, 2, 29) + EncodeTime(8, 30, 0, 0));
  picker->SetParent(f.Form);
  auto* edit = qobject_cast<QDateTimeEdit*>(picker->Handle());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->dateTime(), QDateTime(QDate(2024, 2, 29), QTime(8, 30)));
  Integer changes = 0;
  picker->OnChange = [&](TObject*) { ++changes; };
  edit->setDate(QDate(2024, 3, 1));  // as a choice in its calendar does
  EXPECT_EQ(changes, 1);
  EXPECT_DOUBLE_EQ(double(picker->Date()), double(EncodeDate(2024, 3, 1)));
  EXPECT_NEAR(double(picker->Time()), double(EncodeTime(8, 30, 0, 0)), 1e-9);
}

TEST(HeaderControl, SectionsClickAndResizeByDraggingTheirEdge) {
  TShownForm f;
  auto* header = new THeaderControl(f.Form);
  header->SetParent(f.Form);
  for (const char* text : {"姓名", "部门"}) {
    THeaderSection* section = header->Sections()->Add();
    section->SetText(QString::fromUtf8(text));
    section->SetWidth(80);
    section->SetMinWidth(20);
  }
  TRect r;
  ASSERT_EQ(header->Perform(HDM_GETITEMRECT, 1, LPARAM(&r)), 1);
  EXPECT_EQ(r.Left, 80);
  QStringList events;
  header->OnSectionClick = [&](THeaderControl*, THeaderSection* S) { events << "click " + S->Text(); };
  header->OnSectionResize = [&](THeaderControl*, THeaderSection* S) { events << QStringLiteral("resize %1").arg(S->Width()); };
  uitest::Click(header, {100, 5});
  uitest::MouseEvent(header, QEvent::MouseButtonPress, {80, 5}, Qt::LeftButton, Qt::LeftButton);
  uitest::MouseEvent(header, QEvent::MouseMove, {20, 5}, Qt::NoButton, Qt::LeftButton);
  uitest::MouseEvent(header, QEvent::MouseButtonRelease, {20, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(events, (QStringList{"click 部门", "resize 20"}));  // held at MinWidth
  EXPECT_EQ(header->Sections()->Items(1)->Left(), 20);
}
