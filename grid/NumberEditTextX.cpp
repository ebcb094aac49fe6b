#include "grid/NumberEditTextX.h"
#include "platform/rtl/SysUtils.h"
#include <cmath>

String NormalizeNumberText(const String& Text) {
  Integer first = 0, last = Integer(Text.size()) - 1;
  while (first <= last && Text[first].unicode() < 33) ++first;
  while (last >= first && Text[last].unicode() < 33) --last;
  String result = Text.mid(first, last - first + 1);
  if (ThousandSeparator != DecimalSeparator) result.remove(ThousandSeparator);
  if (DecimalSeparator != u'.' && ThousandSeparator != u'.') result.replace(u'.', DecimalSeparator);
  if (DecimalSeparator != u',' && ThousandSeparator != u',') result.replace(u',', DecimalSeparator);
  return result;
}

bool IsNumberText(const String& Text, Extended& Number) {
  for (const QChar c : Text)
    if (!c.isDigit() && c != u'+' && c != u'-' && c != u'E' && c != u'e' && c != DecimalSeparator) return false;
  if (Text == QStringLiteral("+") || Text == QStringLiteral("-")) {
    Number = 0;
    return true;
  }
  return TryStrToFloat(Text.left(63), Number);
}

Extended FitToRange(Extended Value, Extended Min, Extended Max, Cardinal Decimals) {
  if (Min < Max) {
    Value = std::clamp(Value, Min, Max);
  } else if (Min > Max) {
    if (Max == 0 && Value < Min) Value = Min;
    else if (Min == 0 && Value > Max) Value = Max;
  }
  if (Decimals > 37) return Value;
  Extended scale = 1;
  for (Cardinal i = 0; i < Decimals; ++i) scale *= 10;
  return Extended(Round(Value * scale)) / scale;
}

String GroupThousands(const String& Text, bool Group) {
  String sign, rest = Text;
  if (!rest.isEmpty() && (rest[0] == u'+' || rest[0] == u'-')) {
    sign = rest.left(1);
    rest.remove(0, 1);
  }
  Integer end = 0;
  while (end < rest.size() && rest[end] != DecimalSeparator && rest[end] != u'E' && rest[end] != u'e') ++end;
  String digits = rest.left(end);
  digits.remove(ThousandSeparator);
  String grouped;
  for (Integer i = 0; i < digits.size(); ++i) {
    const Integer fromRight = Integer(digits.size()) - i;
    if (Group && i > 0 && fromRight % 3 == 0) grouped += ThousandSeparator;
    grouped += digits[i];
  }
  return sign + grouped + rest.mid(end);
}

String EditFormatFromDisplayFormat(const String& DisplayFormat) {
  String result;
  QChar quote;
  bool exponent = false;
  for (Integer i = 0; i < DisplayFormat.size(); ++i) {
    const QChar c = DisplayFormat[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';') {
      break;
    } else if ((c == u'E' || c == u'e') && i + 1 < DisplayFormat.size() && DisplayFormat[i + 1] == u'+') {
      exponent = true;
      ++i;
    } else if (exponent && c == u'0') {
      exponent = false;  // the exponent's digits are no part of what the user types
    } else if (QStringLiteral("#,.0").contains(c)) {
      result += c;
    }
  }
  return result;
}

String DefaultCurrencyEditFormat() { return QStringLiteral(",#.") + String(CurrencyDecimals, u'0'); }
