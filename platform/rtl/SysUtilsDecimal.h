#pragma once
// A number as decimal digits. Formatting rounds on this form rather than on the binary double,
// so 0.125 and 1.005 round the way a person reading the digits expects.
#include "platform/rtl/Types.h"
#include <QByteArray>

struct TDecimalDigits {
  bool Negative = false;
  QByteArray Digits;  // significant digits, no leading or trailing zeros; empty means zero
  int Exponent = 0;   // value = 0.Digits x 10^Exponent, i.e. the count of digits before the point

  bool IsZero() const { return Digits.isEmpty(); }
  // The digit at a position counted from the point: 1 = first integer digit.. read as 0 outside Digits.
  char DigitAt(int index) const { return index >= 0 && index < Digits.size() ? Digits[index] : '0'; }
};

// A finite number rounded to `significant` significant decimal digits; extended values
// beyond a double's range keep their magnitude.
TDecimalDigits DecimalFromDouble(Extended value, int significant = 15);

// The digits of a non-zero value as a double spells it shortest, when they are also its
// digits rounded to `significant` places: the value is a normal double and the spelling has
// at most `significant` (at most fifteen) digits. Every decimal of fifteen digits or fewer
// comes back from a double unchanged, so those digits are the rounded ones.
struct TShortestDigits {
  char Digits[20];  // no trailing zeros
  int Count = 0;
  int Exponent = 0;  // as TDecimalDigits::Exponent
  bool Negative = false;
};
bool ShortestDigitsWithin(Extended value, int significant, TShortestDigits& number);
// The same for a double, without the extended arithmetic.
bool ShortestDigitsOfDouble(double value, int significant, TShortestDigits& number);

// FloatToStrF(value, ffGeneral, precision, 0) as ASCII in Out, which has room for
// GeneralFloatCharsRoom bytes, for a finite value whose shortest digits give the text;
// returns the length, or 0 when only FloatToStrF can tell.
constexpr int GeneralFloatCharsRoom = 48;
int GeneralFloatChars(double value, int precision, char* Out);
// An exact value held as an integer scaled by 10^decimals (currency amounts).
TDecimalDigits DecimalFromScaled(Int64 scaled, int decimals);
// Rounds to `decimals` places after the point, halves away from zero; a result of zero loses its sign.
void RoundDecimal(TDecimalDigits& number, int decimals);

// A value rounded to `decimals` places (0 to 4) as the fixed formats round it (on its
// fifteen significant digits, then halves away from zero), as an integer scaled by
// 10^decimals; false when the value is too large for this shortcut, or when what follows
// its fifteenth digit lies so near a half that only the exact digits decide.
bool ScaledFromDouble(Extended value, int decimals, Int64& scaled);
// A scaled integer as fixed text with `decimals` places: "-1234.50", grouped "1,234.50".
String ScaledToFixedText(Int64 scaled, int decimals, bool grouped);

// Plain digits with the point where it belongs and no exponent: "1234.5", "0.001", "-3".
// `minDecimals` pads with zeros; `grouped` inserts ThousandSeparator. Reads DecimalSeparator.
String DecimalToFixedText(const TDecimalDigits& number, int minDecimals, bool grouped);
