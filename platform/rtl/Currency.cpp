#include "platform/rtl/Currency.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SysUtilsDecimal.h"
#include <cmath>
#include <limits>

namespace {

Currency Checked(__int128 scaled) {
  if (scaled > std::numeric_limits<Int64>::max() || scaled < std::numeric_limits<Int64>::min())
    throw EOverflow(QStringLiteral("Currency overflow"));
  return Currency::FromScaled(Int64(scaled));
}

// Integer division of n by d (d > 0 after sign folding), halves away from zero.
__int128 DivideRounded(__int128 n, __int128 d) {
  if (d < 0) { n = -n; d = -d; }
  const __int128 magnitude = (n < 0 ? -n : n);
  const __int128 q = (magnitude * 2 + d) / (d * 2);
  return n < 0 ? -q : q;
}

}  // namespace

Currency Currency::FromInt64(Int64 units) { return Checked(__int128(units) * Scale); }

Currency Currency::FromDouble(double value) {
  if (!std::isfinite(value)) throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
  if (std::fabs(value) >= 922337203685477.5808) throw EOverflow(QStringLiteral("Currency overflow"));
  TDecimalDigits number = DecimalFromDouble(value);
  RoundDecimal(number, 4);
  __int128 scaled = 0;
  for (int i = 0; i < number.Exponent + 4; ++i) scaled = scaled * 10 + (number.DigitAt(i) - '0');
  return Checked(number.Negative ? -scaled : scaled);
}

Currency operator+(Currency a, Currency b) { return Checked(__int128(a.FScaled) + b.FScaled); }
Currency operator-(Currency a, Currency b) { return Checked(__int128(a.FScaled) - b.FScaled); }
Currency Currency::operator-() const { return Checked(-__int128(FScaled)); }

Currency operator*(Currency a, Currency b) {
  return Checked(DivideRounded(__int128(a.FScaled) * b.FScaled, Currency::Scale));
}

Currency operator/(Currency a, Currency b) {
  if (b.FScaled == 0) throw EZeroDivide(QStringLiteral("Floating point division by zero"));
  return Checked(DivideRounded(__int128(a.FScaled) * Currency::Scale, b.FScaled));
}
