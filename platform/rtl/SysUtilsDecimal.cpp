#include "platform/rtl/SysUtilsDecimal.h"
#include "platform/rtl/PlainNumbers.h"
#include "platform/rtl/SysUtils.h"
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

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

// Amounts are mostly whole numbers of cents or of smaller units: a magnitude that is a whole
// number N over 10^k (k up to 4, N below 10^15) reads back from N's digits, which are then
// its rounded digits; no general search for the shortest spelling is needed. Returns the
// digit count, 0 when the magnitude is not of that kind.
int ScaledWholeDigits(double Magnitude, char* Digits, int& Exponent) {
  static constexpr double Scales[] = {1, 10, 100, 1000, 10000};
  for (int k = 0; k < 5; ++k) {
    const double scaled = Magnitude * Scales[k];
    if (scaled >= 1e15) return 0;
    const UInt64 whole = UInt64(scaled);
    if (whole == 0 || double(whole) != scaled || double(whole) / Scales[k] != Magnitude) continue;
    char reversed[16];
    int length = 0;
    for (UInt64 rest = whole; rest != 0; rest /= 10) reversed[length++] = char('0' + rest % 10);
    int first = 0;
    while (reversed[first] == '0') ++first;
    for (int i = length - 1; i >= first; --i) Digits[length - 1 - i] = reversed[i];
    Exponent = length - k;
    return length - first;
  }
  return 0;
}

}  // namespace

bool ShortestDigitsWithin(Extended value, int significant, TShortestDigits& number) {
  const double exact = double(value);
  return Extended(exact) == value && ShortestDigitsOfDouble(exact, significant, number);
}

bool ShortestDigitsOfDouble(double exact, int significant, TShortestDigits& number) {
  if (significant > 15 || exact == 0 || !std::isfinite(exact) || std::fabs(exact) < std::numeric_limits<double>::min())
    return false;
  number.Negative = exact < 0;
  const int whole = ScaledWholeDigits(std::fabs(exact), number.Digits, number.Exponent);
  if (whole > 0) {
    number.Count = whole;
    return whole <= significant;
  }
  char buffer[32];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(exact), std::chars_format::scientific).ptr;
  const char* p = buffer;
  int count = 0;
  for (; p != end && *p != 'e'; ++p)
    if (*p != '.') {
      if (count == significant) return false;
      number.Digits[count++] = *p;
    }
  while (count > 1 && number.Digits[count - 1] == '0') --count;
  int exponent = 0;
  if (p != end) std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
  number.Count = count;
  number.Exponent = exponent + 1;
  return true;
}

TDecimalDigits DecimalFromDouble(Extended value, int significant) {
  TDecimalDigits result;
  if (value == 0 || !std::isfinite(value)) return result;
  TShortestDigits shortest;
  if (ShortestDigitsWithin(value, significant, shortest)) {
    result.Digits = QByteArray(shortest.Digits, shortest.Count);
    result.Exponent = shortest.Exponent;
    result.Negative = shortest.Negative;
    return result;
  }
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
  // Powers of ten up to 10^20, all exact in the extended mantissa.
  static constexpr Extended Powers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L, 1e10L,
                                        1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L};
  static constexpr auto IntegerPowers = [] {
    std::array<UInt64, 16> powers{1};
    for (size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
    return powers;
  }();
  constexpr int Significant = 15;
  constexpr int SmallestExponent = -6;
  if (decimals < 0 || decimals > 4 || !std::isfinite(value)) return false;
  const Extended magnitude = std::fabs(value);
  // Values this small round to zero whatever their fifteen digits are.
  if (magnitude < 1e-6L) {
    scaled = 0;
    return true;
  }
  if (magnitude * Powers[decimals] >= 1e12L) return false;
  // The exponent of the leading digit, guessed, then set by the digits it gives: the
  // product below has fifteen digits before the point.
  constexpr int LargestExponent = 11;
  const Extended probe = magnitude * Powers[-SmallestExponent];
  int exponent = SmallestExponent;
  while (exponent < LargestExponent && probe >= Powers[exponent + 1 - SmallestExponent]) ++exponent;
  Extended digits = magnitude * Powers[Significant - 1 - exponent];
  for (;;) {
    if (digits >= Powers[Significant] && exponent < LargestExponent) ++exponent;
    else if (digits < Powers[Significant - 1] && exponent > SmallestExponent) --exponent;
    else break;
    digits = magnitude * Powers[Significant - 1 - exponent];
  }
  // The product is exact to 2^-14 of a unit, so it rounds as the decimal digits do
  // unless it lies that near a half.
  const Extended whole = std::floor(digits);
  const Extended fraction = digits - whole;
  if (std::fabs(fraction - 0.5L) < 1e-3L) return false;
  const UInt64 significant = UInt64(whole) + (fraction > 0.5L ? 1 : 0);
  // Those digits rounded to `decimals` places, halves away from zero.
  const int dropped = Significant - 1 - exponent - decimals;
  UInt64 rounded = 0;
  if (dropped < 16) {
    const UInt64 unit = IntegerPowers[size_t(dropped)];
    rounded = significant / unit + (2 * (significant % unit) >= unit ? 1 : 0);
  }
  scaled = value < 0 ? -Int64(rounded) : Int64(rounded);
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
