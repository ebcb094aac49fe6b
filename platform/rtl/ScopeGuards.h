#pragma once
// Scope guards: a cleanup written once, on the line that makes it necessary, and run
// however the scope ends — normally or by an exception.
#include <exception>
#include <utility>

namespace ScopeGuards {
// Runs Cleanup as a scope ends. On a normal end a failing cleanup propagates like any
// other failure. While an exception unwinds the scope a second failure from the cleanup
// is dropped: throwing it would end the program, and the first failure is the one the
// user must see.
template <class TCleanup>
void RunAtScopeEnd(TCleanup& Cleanup, int UncaughtAtStart) {
  if (std::uncaught_exceptions() <= UncaughtAtStart) {
    Cleanup();
    return;
  }
  try {
    Cleanup();
  } catch (...) {
  }
}
}  // namespace ScopeGuards

// Runs a callable when the scope ends. Dismiss() turns it into a rollback: arm it before
// a risky step, dismiss it once the step succeeded.
template <class TCleanup>
class TScopeGuard {
public:
  explicit TScopeGuard(TCleanup Cleanup) : FCleanup(std::move(Cleanup)) {}
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;
  ~TScopeGuard() noexcept(false) {
    if (FArmed) ScopeGuards::RunAtScopeEnd(FCleanup, FUncaught);
  }
  void Dismiss() { FArmed = false; }
private:
  TCleanup FCleanup;
  int FUncaught = std::uncaught_exceptions();
  bool FArmed = true;
};

// Holds an update bracket open for a scope: BeginUpdate now, EndUpdate when the scope ends.
// Works for anything with BeginUpdate/EndUpdate (string lists, collections, grids, menus).
template <class T>
class TUpdateLock {
public:
  explicit TUpdateLock(T* Target) : FTarget(Target) { FTarget->BeginUpdate(); }
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;
  ~TUpdateLock() noexcept(false) {
    auto endUpdate = [this] { FTarget->EndUpdate(); };
    ScopeGuards::RunAtScopeEnd(endUpdate, FUncaught);
  }
private:
  T* FTarget;
  int FUncaught = std::uncaught_exceptions();
};
