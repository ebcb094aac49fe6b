#include "platform/rtl/Clock.h"
#include <gtest/gtest.h>

namespace {

TEST(Clock, ManualClockMovesOnlyWhenAdvanced) {
  TManualClock manual(45000.5);  // 2023-03-15 12:00
  TClock::SetCurrent(&manual);
  EXPECT_EQ(GetTickCount(), 0u);
  EXPECT_EQ(TClock::Current().Now(), 45000.5);
  manual.Advance(6 * 60 * 60 * 1000);
  EXPECT_EQ(GetTickCount(), 21600000u);
  EXPECT_DOUBLE_EQ(TClock::Current().Now(), 45000.75);
  TClock::SetCurrent(nullptr);
  EXPECT_NE(&TClock::Current(), &manual);
}

TEST(Clock, TickCountWrapsAt32BitsSoIntervalsSurviveTheWrap) {
  TManualClock manual;
  TClock::SetCurrent(&manual);
  manual.Advance(0xFFFFFFF0LL);
  const Cardinal start = GetTickCount();
  manual.Advance(0x20);
  EXPECT_EQ(GetTickCount() - start, 0x20u);
  TClock::SetCurrent(nullptr);
}

TEST(Clock, SystemClockIsMonotonicAndDatesFromTheEpoch) {
  TSystemClock system;
  const Int64 first = system.TickCount();
  EXPECT_GE(system.TickCount(), first);
  EXPECT_GT(system.Now(), 45000.0);  // after 2023
}

}  // namespace
