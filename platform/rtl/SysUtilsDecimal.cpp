#include "platform/rtl/SysUtilsDecimal.h"
#include "platform/rtl/PlainNumbers.h"
#include "platform/rtl/SysUtils.h"
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

bool ScaledFromDouble(Extended value, int decimals, Int64& scaled) {
  static constexpr Extended Powers[] = {1, 10, 100, 1000, 10000};
  if (decimals < 0 || decimals > 4 || !std::isfinite(value)) return false;
  const Extended magnitude = std::fabs(value) * Powers[decimals];
  // Below this bound the fifteen significant digits the exact path rounds on first lie
  // within 5e-4 of the scaled value, so only a fraction near one half can round otherwise.
  if (magnitude >= 1e12L) return false;
  const Extended whole = std::floor(magnitude);
  const Extended fraction = magnitude - whole;
  if (std::fabs(fraction - 0.5L) < 0.01L) return false;
  const Int64 rounded = Int64(whole) + (fraction > 0.5L ? 1 : 0);
  scaled = value < 0 ? -rounded : rounded;
  return true;
}

String ScaledToFixedText(Int64 scaled, int decimals, bool grouped) {
  char16_t buffer[64];
  int start = 64;
  UInt64 magnitude = scaled < 0 ? UInt64(0) - UInt64(scaled) : UInt64(scaled);
  for (int i = 0; i < decimals; ++i, magnitude /= 10) buffer[--start] = char16_t(u'0' + magnitude % 10);
  if (decimals > 0) buffer[--start] = DecimalSeparator.unicode();
  int digits = 0;
  do {
    if (grouped && digits > 0 && digits % 3 == 0) buffer[--start] = ThousandSeparator.unicode();
    buffer[--start] = char16_t(u'0' + magnitude % 10);
    magnitude /= 10;
    ++digits;
  } while (magnitude != 0);
  if (scaled < 0) buffer[--start] = u'-';
  return String(reinterpret_cast<const QChar*>(buffer + start), 64 - start);
}
