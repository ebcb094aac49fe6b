#pragma once
// Check-box and image-list cells step through their values on a click or Space instead of
// opening the editor.
#include "dbgrid/DBGridXColumns.h"

inline bool SteppedCell(TColumnX* Column) {
  const TColumnX::TCellKindX kind = Column->CellKind();
  return kind == TColumnX::ckCheckbox || kind == TColumnX::ckImageList;
}
