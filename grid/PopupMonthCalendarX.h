#pragma once
// The drop-down calendar of date edits and date cells: a month calendar in a borderless
// popup that hands the user's decision to its owner. Enter or a click on a day accepts;
// Escape, a click outside or the loss of the focus cancels.
#include "grid/DropDownX.h"

class QCalendarWidget;

class TPopupMonthCalendarX : public TWinControl {
public:
  // Owner is the component that takes the popup's result (IPopupOwnerX).
  explicit TPopupMonthCalendarX(TComponent* AOwner);
  String ClassName() const override { return QStringLiteral("TPopupMonthCalendarX"); }

  // The date shown; choosing another day keeps the time of day.
  TDateTime Date() const { return FDate; }
  void SetDate(TDateTime Value);
  // Posts the close-up request to the calendar itself.
  void PostCloseRequest(bool Accept);
  QCalendarWidget* CalendarWidget() const;

  bool CanFocus() const override { return false; }
  void Dispatch(TMessage& Message) override;
  QWidget* CreateWidget(const TCreateParams& Params, QWidget* ParentWidget) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  void Finish(bool Accept);
  void DayChosen(TDateTime Day);
  void ShowDate();
  TDateTime FDate = 0;
  bool FShowing = false;  // the program, not the user, is changing the widget
};
