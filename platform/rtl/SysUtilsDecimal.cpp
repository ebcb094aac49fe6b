#include "platform/rtl/SysUtilsDecimal.h"
#include "platform/rtl/PlainNumbers.h"
#include <charconv>
#include <cmath>

namespace {

void Normalise(TDecimalDigits& number) {
  int leading = 0;
  while (leading < number.Digits.size() && number.Digits[leading] == '0') ++leading;
  number.Digits.remove(0, leading);
  number.Exponent -= leading;
  while (!number.Digits.isEmpty() && number.Digits.back() == '0') number.Digits.chop(1);
  if (number.Digits.isEmpty()) {
    number.Exponent = 0;
    number.Negative = false;
  }
}

}  // namespace

TDecimalDigits DecimalFromDouble(Extended value, int significant) {
  TDecimalDigits result;
  if (value == 0 || !std::isfinite(value)) return result;
  char buffer[64];
  const char* end = PlainScientificDigits(std::fabs(value), significant, buffer, buffer + sizeof buffer);
  const char* p = buffer;
  for (; p != end && *p != 'e'; ++p)
    if (*p != '.') result.Digits.append(*p);
  int exponent = 0;
  if (p != end) std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
  result.Exponent = exponent + 1;
  result.Negative = value < 0;
  Normalise(result);
  return result;
}

TDecimalDigits DecimalFromScaled(Int64 scaled, int decimals) {
  TDecimalDigits result;
  if (scaled == 0) return result;
  result.Negative = scaled < 0;
  const UInt64 magnitude = result.Negative ? UInt64(0) - UInt64(scaled) : UInt64(scaled);
  result.Digits = QByteArray::number(static_cast<qulonglong>(magnitude));
  result.Exponent = int(result.Digits.size()) - decimals;
  Normalise(result);
  return result;
}

void RoundDecimal(TDecimalDigits& number, int decimals) {
  const int keep = number.Exponent + decimals;
  if (keep >= number.Digits.size()) return;
  if (keep < 0) {
    number = TDecimalDigits();
    return;
  }
  const bool up = number.Digits[keep] >= '5';
  number.Digits.truncate(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && number.Digits[i] == '9') number.Digits[i--] = '0';
    if (i >= 0) {
      ++number.Digits[i];
    } else {
      number.Digits.prepend('1');
      ++number.Exponent;
    }
  }
  Normalise(number);
}
