// Numbers to text: the general, fixed and currency forms and the picture formats.
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SysUtilsDecimal.h"
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kGeneralPrecision = 15;

String IntegerDigits(const TDecimalDigits& number) {
  String digits;
  for (int i = 0; i < number.Exponent; ++i) digits += QChar(number.DigitAt(i));
  return digits;
}

String DecimalDigits(const TDecimalDigits& number, int count) {
  String digits;
  for (int i = 0; i < count; ++i) digits += QChar(number.DigitAt(number.Exponent + i));
  return digits;
}

String Grouped(const String& digits) {
  String result;
  for (int i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result += ThousandSeparator;
    result += digits[i];
  }
  return result;
}

String ExponentText(int exponent, bool alwaysSign, int minDigits) {
  String text = exponent < 0 ? QStringLiteral("-") : (alwaysSign ? QStringLiteral("+") : String());
  return text + QString::number(std::abs(exponent)).rightJustified(minDigits, u'0');
}

// d.ddd then 'E' and the exponent; `significant` digits (at least the ones the number has).
String ScientificText(const TDecimalDigits& number, int significant, bool alwaysSign, int minExponentDigits) {
  String text = number.Negative ? QStringLiteral("-") : String();
  const QByteArray digits = number.IsZero() ? QByteArray("0") : number.Digits;
  text += QChar(digits[0]);
  String rest = QString::fromLatin1(digits.mid(1));
  if (rest.size() < significant - 1) rest = rest.leftJustified(significant - 1, u'0');
  if (!rest.isEmpty()) text += DecimalSeparator + rest;
  return text + u'E' + ExponentText(number.IsZero() ? 0 : number.Exponent - 1, alwaysSign, minExponentDigits);
}

String NonFinite(Extended value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

String CurrencyText(const String& amount, bool negative) {
  static const char* const kNegative[16] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                            "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  static const char* const kPositive[4] = {"$1", "1$", "$ 1", "1 $"};
  const char* layout = negative ? kNegative[NegCurrFormat & 15] : kPositive[CurrencyFormat & 3];
  String text;
  for (const char* p = layout; *p; ++p) {
    if (*p == '$') text += CurrencyString;
    else if (*p == '1') text += amount;
    else text += QChar::fromLatin1(*p);
  }
  return text;
}

String FormatDecimalF(TDecimalDigits number, TFloatFormat format, int precision, int digits) {
  precision = std::clamp(precision, 1, 18);
  switch (format) {
    case ffGeneral:
      if (number.Exponent > precision || number.Exponent < -3)
        return ScientificText(number, 1, false, digits);
      return DecimalToFixedText(number, 0, false);
    case ffExponent:
      return ScientificText(number, precision, true, std::clamp(digits, 0, 4));
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (number.Exponent > precision) return ScientificText(number, 1, true, 0);
      digits = std::clamp(digits, 0, 18);
      RoundDecimal(number, digits);
      if (format == ffFixed) return DecimalToFixedText(number, digits, false);
      if (format == ffNumber) return DecimalToFixedText(number, digits, true);
      const bool negative = number.Negative;
      number.Negative = false;
      return CurrencyText(DecimalToFixedText(number, digits, true), negative);
    }
  }
  return String();
}

// One section of a picture format, read once before the digits are placed.
struct PictureSection {
  String Text;
  int IntPlaceholders = 0;
  int MinInt = 0;
  int MaxDecimals = 0;
  int MinDecimals = 0;
  bool Grouped = false;
  bool Scientific = false;
  bool ExponentAlwaysSigned = false;
  int ExponentDigits = 0;
};

QList<String> SplitSections(const String& format) {
  QList<String> sections{String()};
  QChar quote;
  for (const QChar c : format) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';') {
      sections.append(String());
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

bool IsExponentAt(const String& text, int i) {
  return (text[i] == u'E' || text[i] == u'e') && i + 1 < text.size() && (text[i + 1] == u'+' || text[i + 1] == u'-');
}

PictureSection AnalyseSection(const String& text) {
  PictureSection section;
  section.Text = text;
  bool afterPoint = false;
  int firstIntZero = -1;
  QChar quote;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'0' || c == u'#') {
      if (afterPoint) {
        ++section.MaxDecimals;
        if (c == u'0') section.MinDecimals = section.MaxDecimals;
      } else {
        if (c == u'0' && firstIntZero < 0) firstIntZero = section.IntPlaceholders;
        ++section.IntPlaceholders;
      }
    } else if (c == u'.') {
      afterPoint = true;
    } else if (c == u',') {
      if (!afterPoint) section.Grouped = true;
    } else if (IsExponentAt(text, i) && !section.Scientific) {
      section.Scientific = true;
      section.ExponentAlwaysSigned = text[i + 1] == u'+';
      int j = i + 2;
      while (j < text.size() && text[j] == u'0') ++j;
      section.ExponentDigits = std::min(j - (i + 2), 4);
      break;
    }
  }
  section.MinInt = firstIntZero < 0 ? 0 : section.IntPlaceholders - firstIntZero;
  return section;
}

// Places the rounded digits into the section's picture, copying its literals.
String RenderSection(const PictureSection& section, TDecimalDigits number, bool withMinus) {
  int exponent = 0;
  if (section.Scientific) {
    if (!number.IsZero()) {
      RoundDecimal(number, section.MaxDecimals + section.IntPlaceholders - number.Exponent);
      exponent = number.Exponent - section.IntPlaceholders;
      number.Exponent = section.IntPlaceholders;
    }
  } else {
    RoundDecimal(number, section.MaxDecimals);
  }
  String intDigits = IntegerDigits(number);
  if (intDigits.size() < section.MinInt) intDigits = intDigits.rightJustified(section.MinInt, u'0');
  String decimals = DecimalDigits(number, section.MaxDecimals);
  while (decimals.size() > section.MinDecimals && decimals.endsWith(u'0')) decimals.chop(1);

  String out = withMinus ? QStringLiteral("-") : String();
  const int overflow = int(intDigits.size()) - section.IntPlaceholders;  // digits beyond the placeholders
  auto emitIntDigit = [&](int index) {
    out += intDigits[index];
    if (section.Grouped && index < intDigits.size() - 1 && (intDigits.size() - 1 - index) % 3 == 0)
      out += ThousandSeparator;
  };
  int intIndex = 0, decIndex = 0;
  bool afterPoint = false;
  QChar quote;
  const String& text = section.Text;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      else out += c;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if ((c == u'0' || c == u'#') && !afterPoint) {
      const int first = intIndex == 0 ? 0 : intIndex + overflow;
      for (int d = std::max(first, 0); d <= intIndex + overflow; ++d) emitIntDigit(d);
      ++intIndex;
    } else if ((c == u'0' || c == u'#') && afterPoint) {
      if (decIndex < decimals.size()) out += decimals[decIndex];
      ++decIndex;
    } else if (c == u'.') {
      if (!afterPoint && section.IntPlaceholders == 0) out += intDigits;  // ".00" still shows 12.50
      if (!afterPoint && !decimals.isEmpty()) out += DecimalSeparator;
      afterPoint = true;
    } else if (c == u',') {
      continue;
    } else if (section.Scientific && IsExponentAt(text, i)) {
      out += c + ExponentText(exponent, section.ExponentAlwaysSigned, section.ExponentDigits);
      i += 1 + section.ExponentDigits;
      while (i + 1 < text.size() && text[i + 1] == u'0') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool RoundsToZero(const PictureSection& section, TDecimalDigits number) {
  if (section.Scientific) return number.IsZero();
  RoundDecimal(number, section.MaxDecimals);
  return number.IsZero();
}

String FormatDecimalPicture(const String& format, const TDecimalDigits& number) {
  if (format.isEmpty()) return FormatDecimalF(number, ffGeneral, kGeneralPrecision, 0);
  const QList<String> sections = SplitSections(format);
  const PictureSection positive = AnalyseSection(sections[0]);
  PictureSection chosen = positive;
  bool withMinus = false;
  if (number.Negative && sections.size() > 1 && !sections[1].isEmpty()) {
    chosen = AnalyseSection(sections[1]);
  } else {
    withMinus = number.Negative;
  }
  if (RoundsToZero(chosen, number)) {
    if (sections.size() > 2) return sections[2].isEmpty() ? String() : RenderSection(AnalyseSection(sections[2]), {}, false);
    return RenderSection(positive, {}, false);
  }
  TDecimalDigits magnitude = number;
  magnitude.Negative = false;
  return RenderSection(chosen, magnitude, withMinus);
}

// "0", "0.00", "#,##0.00" and the like, up to four decimals: the formats amounts are shown
// in, which a scaled integer can fill without the decimal digits.
bool IsPlainFixedFormat(const String& format, int& decimals, bool& grouped) {
  const QStringView text(format);
  grouped = text.startsWith(u"#,##");
  const QStringView rest = grouped ? text.mid(4) : text;
  if (rest.isEmpty() || rest[0] != u'0') return false;
  if (rest.size() == 1) {
    decimals = 0;
    return true;
  }
  if (rest[1] != u'.' || rest.size() < 3 || rest.size() > 6) return false;
  for (qsizetype i = 2; i < rest.size(); ++i)
    if (rest[i] != u'0') return false;
  decimals = int(rest.size() - 2);
  return true;
}

// The general form's plain digits written at once: "-0.0012", "1200", "12.5".
int ShortestToFixedChars(const TShortestDigits& number, char Separator, char* Out) {
  char* p = Out;
  if (number.Negative) *p++ = '-';
  if (number.Exponent <= 0) {
    *p++ = '0';
    *p++ = Separator;
    for (int i = number.Exponent; i < 0; ++i) *p++ = '0';
    for (int i = 0; i < number.Count; ++i) *p++ = number.Digits[i];
  } else {
    for (int i = 0; i < number.Exponent; ++i) *p++ = i < number.Count ? number.Digits[i] : '0';
    if (number.Count > number.Exponent) {
      *p++ = Separator;
      for (int i = number.Exponent; i < number.Count; ++i) *p++ = number.Digits[i];
    }
  }
  return int(p - Out);
}

}  // namespace

String DecimalToFixedText(const TDecimalDigits& number, int minDecimals, bool grouped) {
  String intDigits = IntegerDigits(number);
  if (intDigits.isEmpty()) intDigits = QStringLiteral("0");
  const int significantDecimals = std::max(0, int(number.Digits.size()) - number.Exponent);
  const String decimals = DecimalDigits(number, std::max(minDecimals, significantDecimals));
  String text = number.Negative ? QStringLiteral("-") : String();
  text += grouped ? Grouped(intDigits) : intDigits;
  if (!decimals.isEmpty()) text += DecimalSeparator + decimals;
  return text;
}

int GeneralFloatChars(double value, int precision, char* Out) {
  if (value == 0) {
    *Out = '0';
    return 1;
  }
  const char16_t separator = DecimalSeparator.unicode();
  const int significant = std::clamp(precision, 1, 18);
  TShortestDigits shortest;
  if (separator >= 0x80 || !ShortestDigitsOfDouble(value, significant, shortest) || shortest.Exponent < -3 ||
      shortest.Exponent > significant)
    return 0;
  return ShortestToFixedChars(shortest, char(separator), Out);
}

String FloatToStr(Extended value) { return FloatToStrF(value, ffGeneral, kGeneralPrecision, 0); }

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (format == ffGeneral && Extended(double(value)) == value) {
    char text[GeneralFloatCharsRoom];
    if (const int length = GeneralFloatChars(double(value), precision, text)) return QString::fromLatin1(text, length);
  }
  return FormatDecimalF(DecimalFromDouble(value, std::clamp(precision, 1, 18)), format, precision, digits);
}

String FormatFloat(const String& format, Extended value) {
  if (!std::isfinite(value)) return NonFinite(value);
  int decimals = 0;
  bool grouped = false;
  Int64 scaled = 0;
  if (IsPlainFixedFormat(format, decimals, grouped) && ScaledFromDouble(value, decimals, scaled))
    return ScaledToFixedText(scaled, decimals, grouped);
  return FormatDecimalPicture(format, DecimalFromDouble(value));
}

String FormatCurr(const String& format, Currency value) {
  return FormatDecimalPicture(format, DecimalFromScaled(value.Scaled(), 4));
}

String CurrToStr(Currency value) { return DecimalToFixedText(DecimalFromScaled(value.Scaled(), 4), 0, false); }

String CurrToStrF(Currency value, TFloatFormat format, int digits) {
  return FormatDecimalF(DecimalFromScaled(value.Scaled(), 4), format, 18, digits);
}
