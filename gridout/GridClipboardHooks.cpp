// Fills the data-aware grid's output hooks when the program starts. The library is linked
// statically; the build keeps this unit in every program through the anchor below.
#include "gridout/GridClipboard.h"
#include "dbgrid/DBGridXOutputHooks.h"

void InstallGridClipboardHooks() {
  SetGridOutputHook(goaCopyX, CopyGridToClipboard);
  SetGridOutputHook(goaCutX, CutGridToClipboard);
  SetGridOutputHook(goaPasteX, PasteGridFromClipboard);
  SetGridOutputHook(goaDeleteSelectionX, DeleteGridSelection);
}

extern "C" {
extern const int moli_gridout_hooks_anchor;
const int moli_gridout_hooks_anchor = [] {
  InstallGridClipboardHooks();
  return 1;
}();
}
