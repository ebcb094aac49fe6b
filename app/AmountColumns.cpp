#include "app/AmountColumns.h"
#include "dbgrid/DBGridX.h"
#include <algorithm>

namespace {
// The cell's text margins (two at the left, three at the right) and its grid line, with room
// to spare for a font that measures a pixel wider when printed.
constexpr Integer CellMargins = 8;

Integer WidestDigit(TCanvas& Measure) {
  Integer Widest = 0;
  for (char Digit = '0'; Digit <= '9'; ++Digit) Widest = std::max(Widest, Measure.TextWidth(QString(QChar(Digit))));
  return Widest;
}

Integer TextWidthIn(TFont* Font, Integer Digits, const String& Rest) {
  TCanvas Measure;
  Measure.SetFont(Font);
  return Digits * WidestDigit(Measure) + Measure.TextWidth(Rest);
}

Integer WidthFor(TColumnX* Column, Integer Digits, const String& Rest) {
  const Integer Text = std::max(TextWidthIn(Column->Font(), Digits, Rest), TextWidthIn(Column->Footer()->Font(), Digits, Rest));
  return Text + CellMargins;
}
}  // namespace

Integer AmountColumnWidth(TColumnX* Column) { return WidthFor(Column, 10, QStringLiteral(".")); }

Integer MonthColumnWidth(TColumnX* Column) { return WidthFor(Column, 6, QStringLiteral("年月")); }

void WidenTo(TColumnX* Column, Integer Width) {
  if (Column->Width() < Width) Column->SetWidth(Width);
}
