// The keyboard side of the grid: cell moves by arrow, page, home, end and tab keys, and
// Enter opening and closing the editor.
#include "grid/GridsX.h"
#include <algorithm>

void TCustomGridX::HandleKeyTab(TGridCoord& NewCurrent, bool Backwards) {
  do {
    if (!Backwards) {
      if (++NewCurrent.X >= FColCount) {
        NewCurrent.X = FFixedCols;
        if (++NewCurrent.Y >= FRowCount) NewCurrent.Y = FFixedRows;
      }
    } else if (--NewCurrent.X < FFixedCols) {
      NewCurrent.X = FColCount - 1;
      if (--NewCurrent.Y < FFixedRows) NewCurrent.Y = FRowCount - 1;
    }
  } while (!TabStops(NewCurrent.X) && NewCurrent.X != FCurrent.X);
}

void TCustomGridX::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!GridAcceptsKey(Key, Shift)) Key = 0;
  if (Key == 0) return;
  TGridDrawInfoX di;
  FillDrawInfo(di);
  TGridCoord newCurrent = FCurrent, newTopLeft = FTopLeft;
  const Integer pageWidth = std::max(1, di.Horz.LastFullCell - FTopLeft.X);
  const Integer pageHeight = std::max(1, di.Vert.LastFullCell - FTopLeft.Y);
  const Integer direction = RightToLeft() ? -1 : 1;
  const bool rowSelect = FGridOptions.Contains(goRowSelect);
  bool tab = false, repaintAll = false;
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_PRIOR: newCurrent.Y = FTopLeft.Y; break;
      case VK_NEXT: newCurrent.Y = di.Vert.LastFullCell; break;
      case VK_END:
        newCurrent = {FColCount - 1, FRowCount - 1};
        repaintAll = RightToLeft();
        break;
      case VK_HOME:
        newCurrent = {FFixedCols, FFixedRows};
        repaintAll = RightToLeft();
        break;
      case VK_LEFT:
      case VK_RIGHT:
        if (!rowSelect) {
          const Integer step = (Key == VK_LEFT ? -direction : direction) * pageWidth;
          newCurrent.X += step;
          newTopLeft.X += step;
        }
        break;
      case VK_UP: --newTopLeft.Y; break;
      case VK_DOWN: ++newTopLeft.Y; break;
      default: break;
    }
  } else {
    switch (Key) {
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) {
          HandleKeyTab(newCurrent, Shift.Contains(ssShift));
          tab = true;
        }
        break;
      case VK_PRIOR:
        newCurrent.Y -= pageHeight;
        newTopLeft.Y -= pageHeight;
        break;
      case VK_NEXT:
        newCurrent.Y += pageHeight;
        newTopLeft.Y += pageHeight;
        break;
      case VK_END:
        if (rowSelect) newCurrent.Y = FRowCount - 1;
        else newCurrent.X = FColCount - 1;
        break;
      case VK_HOME:
        if (rowSelect) newCurrent.Y = FFixedRows;
        else newCurrent.X = FFixedCols;
        break;
      case VK_LEFT:
      case VK_RIGHT:
        if (rowSelect) {
          ScrollByPixels(Key == VK_LEFT ? -GetHorzScrollStep() : GetHorzScrollStep(), 0);
          return;
        }
        newCurrent.X += Key == VK_LEFT ? -direction : direction;
        break;
      case VK_UP: --newCurrent.Y; break;
      case VK_DOWN: ++newCurrent.Y; break;
      case GridEditKey: SetEditorMode(true); break;
      default: break;
    }
  }
  const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
  newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
  newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
  if (!(newTopLeft == FTopLeft)) MoveTopLeft(newTopLeft.X, newTopLeft.Y);
  newCurrent.X = std::clamp(newCurrent.X, std::max(0, FFixedCols - FFrozenColCount), FColCount - 1);
  newCurrent.Y = std::clamp(newCurrent.Y, std::max(0, FFixedRows - FFrozenRowCount), FRowCount - 1);
  if (!(newCurrent == FCurrent)) ActivateCell(newCurrent.X, newCurrent.Y, !Shift.Contains(ssShift) || tab);
  if (repaintAll) Invalidate();
}

void TCustomGridX::KeyPress(QChar& Key) {
  TCustomControl::KeyPress(Key);
  if (FGridOptions.Contains(goAlwaysShowEditor) || Key != QChar('\r')) return;
  if (FEditorMode) LeaveEditorMode();
  else EnterEditorMode();
  Key = QChar();
}
