#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include <QDateTime>
#include <QElapsedTimer>

namespace {

TClock* CurrentClock = nullptr;

TSystemClock& SystemClock() {
  static TSystemClock clock;
  return clock;
}

constexpr double MillisecondsPerDay = 86400000.0;

}  // namespace

TClock& TClock::Current() { return CurrentClock ? *CurrentClock : SystemClock(); }

void TClock::SetCurrent(TClock* Clock) { CurrentClock = Clock; }

Int64 TSystemClock::TickCount() const {
  static const QElapsedTimer started = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
  }();
  return started.elapsed();
}

TDateTime TSystemClock::Now() const {
  return QDateTimeToDateTime(QDateTime::currentDateTime());
}

void TManualClock::Advance(Int64 Milliseconds) {
  FTicks += Milliseconds;
  FNow += Milliseconds / MillisecondsPerDay;
}

Cardinal GetTickCount() { return Cardinal(TClock::Current().TickCount()); }
