#pragma once
// Money as a 64-bit integer of ten-thousandths: sums of amounts stay exact, unlike doubles.
#include "platform/rtl/Types.h"
#include <compare>

class Currency {
public:
  static constexpr Int64 Scale = 10000;

  constexpr Currency() = default;
  // Whole units.
  static Currency FromInt64(Int64 units);
  // The raw count of ten-thousandths.
  static constexpr Currency FromScaled(Int64 scaled) { Currency c; c.FScaled = scaled; return c; }
  // Rounded half away from zero to four places, reading the double as its 15 significant
  // digits (so 0.1 is exactly 1000 and 1.00005 becomes 1.0001). Raises EOverflow out of range,
  // EInvalidOp for NaN and infinities.
  static Currency FromDouble(double value);

  constexpr Int64 Scaled() const { return FScaled; }
  double ToDouble() const { return double(FScaled) / Scale; }

  // Raise EOverflow when the result leaves the range.
  friend Currency operator+(Currency a, Currency b);
  friend Currency operator-(Currency a, Currency b);
  friend Currency operator*(Currency a, Currency b);  // product rounded half away from zero
  friend Currency operator/(Currency a, Currency b);  // quotient rounded half away from zero; EZeroDivide on 0
  Currency operator-() const;
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }

  friend constexpr bool operator==(Currency, Currency) = default;
  friend constexpr std::strong_ordering operator<=>(Currency a, Currency b) { return a.FScaled <=> b.FScaled; }

private:
  Int64 FScaled = 0;
};

// Shortest text: "1234.5", "-0.0001", "3"; uses DecimalSeparator.
String CurrToStr(Currency value);
