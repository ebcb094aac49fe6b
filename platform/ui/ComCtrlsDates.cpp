#include "platform/rtl/SysUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/WrappedWidget.h"
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <cmath>

namespace {

// CN_COMMAND codes of the calendar and the picker; LParam is unused.
constexpr Word DateClicked = 1, DateChanged = 2;

}  // namespace

// ---- TMonthCalendar

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner), FDate(std::floor(double(::Date()))) {
  SetBounds(0, 0, 225, 160);
  FTabStop = true;
}

QCalendarWidget* TMonthCalendar::Calendar() const {
  return HandleAllocated() ? qobject_cast<QCalendarWidget*>(const_cast<TMonthCalendar*>(this)->Handle()) : nullptr;
}

QWidget* TMonthCalendar::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* calendar = new QCalendarWidget(ParentWidget);
  calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  auto notify = [calendar](Word Code) {
    if (auto* control = WrappingControl<TMonthCalendar>(calendar)) {
      TMessage m{CN_COMMAND, MakeWParam(0, Code), 0, 0};
      DeliverMessage(control, m);
    }
  };
  QObject::connect(calendar, &QCalendarWidget::selectionChanged, calendar, [notify] { notify(DateChanged); });
  QObject::connect(calendar, &QCalendarWidget::clicked, calendar, [notify] { notify(DateClicked); });
  return calendar;
}

void TMonthCalendar::CreateHandle() {
  TWinControl::CreateHandle();
  SetCalendarDate(FDate);
}

bool TMonthCalendar::SetCalendarDate(TDateTime Value) {
  QCalendarWidget* calendar = Calendar();
  if (!calendar) return false;
  const QSignalBlocker block(calendar);
  const QDate date = DateTimeToQDate(Value);
  calendar->setSelectedDate(date);
  return calendar->selectedDate() == date;
}

void TMonthCalendar::SetDate(TDateTime Value) {
  const TDateTime day = std::floor(double(Value));
  const bool changed = day != FDate;
  FDate = day;
  SetCalendarDate(day);
  if (changed && OnChange) OnChange(this);
}

TSize TMonthCalendar::MinimumSize() const {
  QCalendarWidget* calendar = Calendar();
  if (!calendar) return {Width(), Height()};
  const QSize size = calendar->minimumSizeHint();
  return {size.width(), size.height()};
}

Cardinal TMonthCalendar::HitTest(TPoint P) const {
  QCalendarWidget* calendar = Calendar();
  if (!calendar || !calendar->rect().contains(P.X, P.Y)) return MCHT_NOWHERE;
  QWidget* child = calendar->childAt(P.X, P.Y);
  if (!child) return MCHT_CALENDARBK;
  if (child->objectName() == QLatin1String("qt_calendar_prevmonth")) return MCHT_TITLEBTNPREV;
  if (child->objectName() == QLatin1String("qt_calendar_nextmonth")) return MCHT_TITLEBTNNEXT;
  if (child->objectName() == QLatin1String("qt_calendar_monthbutton")) return MCHT_TITLEMONTH;
  if (child->objectName() == QLatin1String("qt_calendar_yearbutton") ||
      child->objectName() == QLatin1String("qt_calendar_yearedit"))
    return MCHT_TITLEYEAR;
  auto* table = calendar->findChild<QTableView*>();
  if (!table || (child != table->viewport() && !table->isAncestorOf(child))) return MCHT_TITLEBK;
  const QPoint inTable = table->viewport()->mapFrom(calendar, QPoint(P.X, P.Y));
  const QModelIndex index = table->indexAt(inTable);
  if (!index.isValid()) return MCHT_CALENDARBK;
  // The first row of the table holds the names of the days.
  if (index.row() == 0) return MCHT_CALENDARDAY;
  const QVariant data = table->model()->data(index, Qt::DisplayRole);
  const Integer day = data.toInt();
  // Days of the neighbouring months fill the first and last rows.
  if (index.row() <= 2 && day > 20) return MCHT_CALENDARDATEPREV;
  if (index.row() >= 5 && day < 15) return MCHT_CALENDARDATENEXT;
  return MCHT_CALENDARDATE;
}

void TMonthCalendar::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    QCalendarWidget* calendar = Calendar();
    if (CommandCode(Message) == DateChanged && calendar) {
      SetDate(QDateToDateTime(calendar->selectedDate()));
    } else if (CommandCode(Message) == DateClicked) {
      if (OnClick) OnClick(this);
    }
    return;
  }
  TWinControl::Dispatch(Message);
}

// ---- TDateTimePicker

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), FDateTime(Now()) {
  SetBounds(0, 0, 186, 21);
  FTabStop = true;
}

QWidget* TDateTimePicker::CreateWidget(const TCreateParams&, QWidget* ParentWidget) {
  auto* edit = new QDateTimeEdit(ParentWidget);
  if (auto* line = edit->findChild<QLineEdit*>()) ForwardKeys(line, edit);
  QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [edit] {
    auto* control = WrappingControl<TDateTimePicker>(edit);
    if (!control) return;
    TMessage m{CN_COMMAND, MakeWParam(0, DateChanged), 0, 0};
    DeliverMessage(control, m);
  });
  return edit;
}

void TDateTimePicker::CreateHandle() {
  TWinControl::CreateHandle();
  ApplyToWidget();
}

void TDateTimePicker::ApplyToWidget() {
  auto* edit = qobject_cast<QDateTimeEdit*>(HandleAllocated() ? Handle() : nullptr);
  if (!edit) return;
  const QSignalBlocker block(edit);
  edit->setCalendarPopup(FKind == dtkDate);
  edit->setDisplayFormat(FKind == dtkDate ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("HH:mm:ss"));
  edit->setDateTime(DateTimeToQDateTime(FDateTime));
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  const bool changed = Value != FDateTime;
  FDateTime = Value;
  ApplyToWidget();
  if (changed && OnChange) OnChange(this);
}

TDateTime TDateTimePicker::Date() const { return std::floor(double(FDateTime)); }

void TDateTimePicker::SetDate(TDateTime Value) { SetDateTime(std::floor(double(Value)) + (FDateTime - Date())); }

TDateTime TDateTimePicker::Time() const { return FDateTime - Date(); }

void TDateTimePicker::SetTime(TDateTime Value) { SetDateTime(Date() + (Value - std::floor(double(Value)))); }

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  FKind = Value;
  ApplyToWidget();
}

void TDateTimePicker::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && CommandCode(Message) == DateChanged) {
    if (auto* edit = qobject_cast<QDateTimeEdit*>(Handle())) SetDateTime(QDateTimeToDateTime(edit->dateTime()));
    return;
  }
  TWinControl::Dispatch(Message);
}
