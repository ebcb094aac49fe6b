#pragma once
// Lets the user stop a long walk on the interface thread with Escape. The event queue cannot
// be inspected without running it, so while a watch lives, EscapePressed now and then runs
// the pending events itself: it notes an Escape key press and drops every other keyboard and
// mouse input, which would otherwise act on windows in the middle of the walk.
#include "platform/rtl/Types.h"
#include <memory>

class TEscapeWatch {
public:
  // Pending events run at the first question and then at most once per PumpInterval
  // milliseconds of the current clock.
  explicit TEscapeWatch(Cardinal PumpInterval = 50);
  ~TEscapeWatch();
  TEscapeWatch(const TEscapeWatch&) = delete;
  TEscapeWatch& operator=(const TEscapeWatch&) = delete;
  // Whether Escape was pressed since the watch began.
  bool EscapePressed();

private:
  class TInputFilter;
  std::unique_ptr<TInputFilter> FFilter;
  Cardinal FPumpInterval;
  Int64 FLastPump = 0;
  bool FPumped = false;
};
