#pragma once
// The timer component.
#include "platform/rtl/Classes.h"

class QTimer;

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  // Called every Interval milliseconds while enabled (an interval of 0 stops the timer);
  // exceptions go to the application.
  TNotifyEvent OnTimer;
protected:
  virtual void Timer();
private:
  void UpdateTimer();
  bool FEnabled = true;
  Cardinal FInterval = 1000;
  QTimer* FTimer = nullptr;
};
