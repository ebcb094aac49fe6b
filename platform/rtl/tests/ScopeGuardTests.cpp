#include "platform/rtl/Classes.h"
#include "platform/rtl/ScopeGuards.h"
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(ScopeGuard, RunsOnceHoweverTheScopeEndsUnlessDismissed) {
  struct Case { bool fail; bool dismiss; int expectedRuns; };
  for (const Case& c : {Case{false, false, 1}, Case{true, false, 1}, Case{false, true, 0}, Case{true, true, 0}}) {
    int runs = 0;
    try {
      TScopeGuard guard([&] { ++runs; });
      if (c.dismiss) guard.Dismiss();
      if (c.fail) throw std::runtime_error("step failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runs, c.expectedRuns) << "fail " << c.fail << " dismiss " << c.dismiss;
  }
}

TEST(ScopeGuard, AFailingCleanupPropagatesButNeverHidesTheFirstFailure) {
  auto failingCleanup = [] { throw std::logic_error("cleanup failed"); };
  EXPECT_THROW({ TScopeGuard guard(failingCleanup); }, std::logic_error);
  try {
    TScopeGuard guard(failingCleanup);
    throw std::runtime_error("step failed");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "step failed");
  }
}

TEST(UpdateLock, EndsTheUpdateWhenTheBodyFails) {
  TStringList list;
  int changed = 0;
  list.OnChange = [&](TObject*) { ++changed; };
  try {
    TUpdateLock lock(&list);
    list.Add("a");
    list.Add("b");
    throw std::runtime_error("step failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(changed, 1);
  list.Add("c");
  EXPECT_EQ(changed, 2);
}

}  // namespace
