#pragma once
// The grid reaches clipboard transfer and selection deletion of the grid-output module
// (which builds on this one) through a table that module fills at start-up. A hook nobody
// set does nothing, and the commands that would run it are offered disabled.
#include <functional>

class TCustomDBGridX;

enum TGridOutputActionX { goaCopyX, goaCutX, goaPasteX, goaDeleteSelectionX, goaCountX };

// Grid and whole-grid flag, as the output routines take them.
using TGridOutputHookX = std::function<void(TCustomDBGridX* Grid, bool WholeGrid)>;

void SetGridOutputHook(TGridOutputActionX Action, TGridOutputHookX Hook);
bool GridOutputHookSet(TGridOutputActionX Action);
// Runs the hook; false (and nothing done) when it is not set.
bool RunGridOutputHook(TGridOutputActionX Action, TCustomDBGridX* Grid, bool WholeGrid);
