#pragma once
// Number text of the number edit: normalising typed text to the locale's separators,
// testing it, fitting values to limits and decimals, and grouping thousands while typing.
#include "platform/rtl/Types.h"

// Blanks trimmed, thousand separators removed, '.' or ',' made the decimal separator when
// the locale uses neither for anything.
String NormalizeNumberText(const String& Text);
// Digits, signs, 'E' and the decimal separator only; a lone sign counts as 0.
bool IsNumberText(const String& Text, Extended& Number);
// Min = Max: no limits; Min > Max: only the non-zero bound applies (none when both are set).
// Then rounded to Decimals places, halves to even (no rounding above 37 places).
Extended FitToRange(Extended Value, Extended Min, Extended Max, Cardinal Decimals);
// Thousand separators before every third integer digit (only when Group), sign and the
// part from the decimal separator or exponent on kept as they are.
String GroupThousands(const String& Text, bool Group);
// The picture characters of a display format's first section.
String EditFormatFromDisplayFormat(const String& DisplayFormat);
// ",#." and the locale's currency decimals as zeros.
String DefaultCurrencyEditFormat();
