#pragma once
// The timer component; the panels, bevels, shapes, images, splitters and radio groups come
// with it, so code that includes this header finds them all.
#include "platform/rtl/Classes.h"
#include "platform/ui/Panels.h"

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
