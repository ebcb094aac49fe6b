#include "grid/PopupMonthCalendarX.h"
#include "platform/rtl/SysUtils.h"
#include <QCalendarWidget>
#include <cmath>

namespace {
TDateTime TimeOfDay(TDateTime Value) { return Value - std::floor(Value); }
}  // namespace

TPopupMonthCalendarX::TPopupMonthCalendarX(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  SetTabStop(false);
  SetCtl3D(true);
  SetBounds(0, 0, 260, 190);
}

void TPopupMonthCalendarX::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
  if (!Ctl3D()) Params.Style |= WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  Params.WindowClassStyle |= CS_SAVEBITS;
  Params.WndParent = nullptr;
}

QWidget* TPopupMonthCalendarX::CreateWidget(const TCreateParams&, QWidget*) {
  auto* Calendar = new QCalendarWidget(nullptr);
  Calendar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
  Calendar->setAttribute(Qt::WA_ShowWithoutActivating);
  Calendar->setFocusPolicy(Qt::NoFocus);
  // Only a click on a day cell accepts; the navigation bar and the day names do not.
  QObject::connect(Calendar, &QCalendarWidget::clicked, Calendar, [this](QDate Day) { DayChosen(QDateToDateTime(Day)); });
  QObject::connect(Calendar, &QCalendarWidget::selectionChanged, Calendar, [this, Calendar] {
    if (!FShowing) FDate = QDateToDateTime(Calendar->selectedDate()) + TimeOfDay(FDate);
  });
  const QSize Hint = Calendar->sizeHint();
  SetBounds(Left(), Top(), Hint.width(), Hint.height());
  return Calendar;
}

QCalendarWidget* TPopupMonthCalendarX::CalendarWidget() const {
  return HandleAllocated() ? qobject_cast<QCalendarWidget*>(const_cast<TPopupMonthCalendarX*>(this)->Handle()) : nullptr;
}

void TPopupMonthCalendarX::SetDate(TDateTime Value) {
  FDate = Value;
  ShowDate();
}

void TPopupMonthCalendarX::ShowDate() {
  if (QCalendarWidget* Calendar = CalendarWidget()) {
    FShowing = true;
    Calendar->setSelectedDate(DateTimeToQDate(FDate));
    FShowing = false;
  }
}

void TPopupMonthCalendarX::DayChosen(TDateTime Day) {
  FDate = Day + TimeOfDay(FDate);
  Finish(true);
}

void TPopupMonthCalendarX::Finish(bool Accept) {
  if (IPopupOwnerX* Owner = PopupOwnerOf(this)) Owner->FinishDropDown(Accept);
}

void TPopupMonthCalendarX::PostCloseRequest(bool Accept) { PostMessage(this, WM_POPUPCLOSEUPX, Accept ? 1 : 0); }

void TPopupMonthCalendarX::KeyDown(Word& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  if (Key == VK_RETURN || Key == VK_ESCAPE) {
    Finish(Key == VK_RETURN);
    Key = 0;
  }
}

void TPopupMonthCalendarX::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TWinControl::MouseDown(Button, Shift, X, Y);
  if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) Finish(false);
}

bool TPopupMonthCalendarX::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelDown(Shift, MousePos)) SetDate(FDate + 1);
  return true;
}

bool TPopupMonthCalendarX::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TWinControl::DoMouseWheelUp(Shift, MousePos)) SetDate(FDate - 1);
  return true;
}

void TPopupMonthCalendarX::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_POPUPCLOSEUPX: Finish(false); return;  // a posted close-up always cancels
    case CM_WANTSPECIALKEY:
      if ((Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) && PopupOwnerOf(this)) {
        Finish(Message.WParam == VK_RETURN);
        Message.Result = 1;
        return;
      }
      break;
    case WM_GETDLGCODE:
      TWinControl::Dispatch(Message);
      Message.Result |= DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
      return;
    case WM_KILLFOCUS:
      TWinControl::Dispatch(Message);
      // Posted, so the owner closes the drop-down once the focus change is over.
      PostCloseRequest(false);
      return;
    default: break;
  }
  TWinControl::Dispatch(Message);
}
