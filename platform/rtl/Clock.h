#pragma once
// The clock behind timers, time-outs and the current date-time. Tests install a
// TManualClock so that time moves only when they say so.
#include "platform/rtl/Types.h"

class TClock {
public:
  virtual ~TClock() = default;
  // Milliseconds from an arbitrary start; never goes backwards.
  virtual Int64 TickCount() const = 0;
  virtual TDateTime Now() const = 0;

  // The clock in use: the system clock unless another was installed.
  static TClock& Current();
  // Installs Clock (not owned) for the whole process; nullptr restores the system clock.
  static void SetCurrent(TClock* Clock);
};

class TSystemClock : public TClock {
public:
  Int64 TickCount() const override;
  TDateTime Now() const override;
};

class TManualClock : public TClock {
public:
  explicit TManualClock(TDateTime Start = 0) : FNow(Start) {}
  Int64 TickCount() const override { return FTicks; }
  TDateTime Now() const override { return FNow; }
  // Moves both the tick count and the date-time forward.
  void Advance(Int64 Milliseconds);
  void SetNow(TDateTime Value) { FNow = Value; }
private:
  Int64 FTicks = 0;
  TDateTime FNow;
};

// The current clock's tick count, in 32 bits: it wraps after about 49.7 days, so
// intervals are measured by unsigned subtraction.
Cardinal GetTickCount();
