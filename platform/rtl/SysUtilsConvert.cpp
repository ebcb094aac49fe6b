// Text to numbers and integers to text.
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/PlainNumbers.h"
#include "platform/rtl/SysUtilsParsing.h"
#include <cmath>
#include <limits>

namespace {

// Only blanks and control characters around the number, the way users type it.
String StripBlanks(const String& text) {
  int start = 0, end = int(text.size());
  while (start < end && text[start] <= u' ') ++start;
  while (end > start && text[end - 1] <= u' ') --end;
  return text.mid(start, end - start);
}

int DigitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

// An optional sign, then decimal digits, or hexadecimal digits after '$' or "0x".
bool ParseMagnitude(const String& text, bool& negative, bool& hex, UInt64& magnitude) {
  const String s = StripBlanks(text);
  int i = 0;
  negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  hex = false;
  if (i < s.size() && s[i] == u'$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  const UInt64 base = hex ? 16 : 10;
  magnitude = 0;
  for (; i < s.size(); ++i) {
    const int digit = DigitValue(s[i]);
    if (digit < 0 || UInt64(digit) >= base) return false;
    if (magnitude > (std::numeric_limits<UInt64>::max() - UInt64(digit)) / base) return false;
    magnitude = magnitude * base + UInt64(digit);
  }
  return true;
}

// Decimal text must fit the signed range; hexadecimal may spell the full bit pattern of the
// width ("$FFFFFFFF" is -1 as an Integer).
bool ToSigned(bool negative, bool hex, UInt64 magnitude, int bits, Int64& value) {
  const UInt64 signBit = UInt64(1) << (bits - 1);
  if (hex) {
    if (bits < 64 && magnitude > (signBit << 1) - 1) return false;
    if (magnitude & signBit) magnitude |= ~((signBit << 1) - 1);  // sign-extend to 64 bits
    value = negative ? Int64(UInt64(0) - magnitude) : Int64(magnitude);
    return bits == 64 || (value >= -Int64(signBit) && value < Int64(signBit));
  }
  if (magnitude > (negative ? signBit : signBit - 1)) return false;
  value = negative ? Int64(UInt64(0) - magnitude) : Int64(magnitude);
  return true;
}

bool ParseInteger(const String& text, int bits, Int64& value) {
  bool negative = false, hex = false;
  UInt64 magnitude = 0;
  return ParseMagnitude(text, negative, hex, magnitude) && ToSigned(negative, hex, magnitude, bits, value);
}

[[noreturn]] void RaiseNotInteger(const String& text) {
  throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

[[noreturn]] void RaiseNotFloat(const String& text) {
  throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

}  // namespace

String IntToStr(Int64 value) { return QString::number(value); }

String IntToHex(Integer value, int digits) {
  return QString::number(uint32_t(value), 16).toUpper().rightJustified(digits, u'0');
}

String IntToHex(Int64 value, int digits) {
  return QString::number(qulonglong(value), 16).toUpper().rightJustified(digits, u'0');
}

bool TryStrToInt(const String& text, Integer& value) {
  Int64 wide = 0;
  if (!ParseInteger(text, 32, wide)) return false;
  value = Integer(wide);
  return true;
}

bool TryStrToInt64(const String& text, Int64& value) {
  return ParseInteger(text, 64, value);
}

Integer StrToInt(const String& text) { return ParsedOrRaise<Integer>(text, TryStrToInt, RaiseNotInteger); }

Int64 StrToInt64(const String& text) { return ParsedOrRaise<Int64>(text, TryStrToInt64, RaiseNotInteger); }

Integer StrToIntDef(const String& text, Integer defaultValue) {
  return ParsedOrDefault<Integer>(text, TryStrToInt, defaultValue);
}

Int64 StrToInt64Def(const String& text, Int64 defaultValue) {
  return ParsedOrDefault<Int64>(text, TryStrToInt64, defaultValue);
}

bool TryStrToFloat(const String& text, Extended& value) {
  const String s = StripBlanks(text);
  // The shape is checked first; a number of up to 19 digits without an exponent is then
  // its digits over a power of ten, one correctly rounded division, which is what reading
  // the text gives. Others are rebuilt in the plain spelling for the reader.
  static constexpr int FastDigits = 19;
  static constexpr Extended Powers[FastDigits + 1] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                                      1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                                      1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};
  int i = 0, mantissaDigits = 0, decimals = 0;
  UInt64 mantissa = 0;
  const bool negative = i < s.size() && s[i] == u'-';
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  const int mantissaStart = i;
  const auto readDigits = [&](bool afterPoint) {
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i, ++mantissaDigits) {
      if (mantissaDigits < FastDigits) mantissa = mantissa * 10 + UInt64(s[i].unicode() - u'0');
      if (afterPoint) ++decimals;
    }
  };
  readDigits(false);
  const int pointAt = i;
  if (i < s.size() && s[i] == DecimalSeparator) {
    ++i;
    readDigits(true);
  }
  if (mantissaDigits == 0) return false;
  const int exponentAt = i;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    int exponentDigits = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  if (i != s.size()) return false;
  if (exponentAt == s.size() && mantissaDigits <= FastDigits) {
    const Extended magnitude = Extended(mantissa) / Powers[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
  }
  QByteArray plain = negative ? QByteArray("-") : QByteArray();
  plain += s.mid(mantissaStart, pointAt - mantissaStart).toLatin1();
  if (pointAt < exponentAt) plain += '.' + s.mid(pointAt + 1, exponentAt - pointAt - 1).toLatin1();
  plain += s.mid(exponentAt).toLatin1();
  const Extended parsed = PlainTextToExtended(plain.constData());
  if (std::isinf(parsed)) return false;
  value = parsed;
  return true;
}

bool TryStrToFloat(const String& text, double& value) {
  Extended wide = 0;
  if (!TryStrToFloat(text, wide) || wide > std::numeric_limits<double>::max() || wide < -std::numeric_limits<double>::max())
    return false;
  value = double(wide);
  return true;
}

Extended StrToFloat(const String& text) { return ParsedOrRaise<Extended>(text, TryStrToFloat, RaiseNotFloat); }

Extended StrToFloatDef(const String& text, Extended defaultValue) {
  return ParsedOrDefault<Extended>(text, TryStrToFloat, defaultValue);
}

bool TryStrToCurr(const String& text, Currency& value) {
  double number = 0;
  if (!TryStrToFloat(text, number)) return false;
  try {
    value = Currency::FromDouble(number);
  } catch (const EMathError&) {
    return false;
  }
  return true;
}

Currency StrToCurr(const String& text) { return ParsedOrRaise<Currency>(text, TryStrToCurr, RaiseNotFloat); }
