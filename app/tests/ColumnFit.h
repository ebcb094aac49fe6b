#pragma once
// Whether a text shows whole in a grid column: its width beside the cell's text margins
// (two pixels at the left, three at the right), in the column's and in its footer's font.
#include "dbgrid/DBGridX.h"

inline bool HoldsWhole(TColumnX* Column, const String& Text) {
  for (TFont* Font : {Column->Font(), Column->Footer()->Font()}) {
    TCanvas Measure;
    Measure.SetFont(Font);
    if (Measure.TextWidth(Text) + 5 > Column->Width()) return false;
  }
  return true;
}
