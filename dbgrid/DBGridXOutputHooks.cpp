#include "dbgrid/DBGridXOutputHooks.h"
#include <array>

namespace {
std::array<TGridOutputHookX, goaCountX>& Hooks() {
  static std::array<TGridOutputHookX, goaCountX> hooks;
  return hooks;
}
}  // namespace

void SetGridOutputHook(TGridOutputActionX Action, TGridOutputHookX Hook) { Hooks()[Action] = std::move(Hook); }

bool GridOutputHookSet(TGridOutputActionX Action) { return bool(Hooks()[Action]); }

bool RunGridOutputHook(TGridOutputActionX Action, TCustomDBGridX* Grid, bool WholeGrid) {
  const TGridOutputHookX& hook = Hooks()[Action];
  if (!hook) return false;
  hook(Grid, WholeGrid);
  return true;
}
