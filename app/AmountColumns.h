#pragma once
// Widths that show the program's amounts and months whole in a grid column's own font, so a
// font wider than the one the fixed widths were chosen for never cuts their leading digits.
#include "platform/rtl/Types.h"

class TColumnX;

// Holds "99999999.99" in the column's font and in its footer's.
Integer AmountColumnWidth(TColumnX* Column);
// Holds a month such as "2026年12月".
Integer MonthColumnWidth(TColumnX* Column);
// Widens the column to the width when it is narrower.
void WidenTo(TColumnX* Column, Integer Width);
