// Format: printf-style text from a list of values.
#include "platform/rtl/SysUtils.h"
#include <cmath>

namespace {

class Formatter {
public:
  Formatter(const String& format, const std::vector<Variant>& args) : FFormat(format), FArgs(args) {}

  String Run() {
    String out;
    for (FPos = 0; FPos < FFormat.size();) {
      const QChar c = FFormat[FPos++];
      if (c != u'%') {
        out += c;
      } else if (FPos < FFormat.size() && FFormat[FPos] == u'%') {
        out += u'%';
        ++FPos;
      } else {
        out += Specifier();
      }
    }
    return out;
  }

private:
  [[noreturn]] void Fail() const {
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(FFormat));
  }

  QChar Peek() const { return FPos < FFormat.size() ? FFormat[FPos] : QChar(); }

  // Digits or '*'; -1 when neither is there.
  int Number() {
    if (Peek() == u'*') {
      ++FPos;
      const Variant& arg = NextArg();
      if (!IsInteger(arg)) Fail();
      return arg.AsInteger();
    }
    int value = -1;
    while (Peek().isDigit() && Peek().unicode() < 128) {
      value = (value < 0 ? 0 : value * 10) + (FFormat[FPos++].unicode() - u'0');
      if (value > 100000) Fail();
    }
    return value;
  }

  const Variant& NextArg() {
    if (FNextArg >= int(FArgs.size())) Fail();
    return FArgs[size_t(FNextArg++)];
  }

  static bool IsInteger(const Variant& v) {
    return v.VarType() == varInteger || v.VarType() == varSmallint || v.VarType() == varInt64;
  }

  static bool IsFloat(const Variant& v) {
    return v.VarType() == varDouble || v.VarType() == varSingle || v.VarType() == varCurrency || v.VarType() == varDate;
  }

  String Specifier() {
    const int start = FPos;
    int number = Number();
    if (Peek() == u':') {
      ++FPos;
      if (number < 0 && FPos - start == 1) number = 0;  // "%:" means index 0
      FNextArg = number;
      number = -1;
    }
    bool left = false;
    if (number < 0 && Peek() == u'-') {
      left = true;
      ++FPos;
    }
    const int width = number >= 0 ? number : Number();
    int precision = -1;
    if (Peek() == u'.') {
      ++FPos;
      precision = std::max(Number(), 0);
    }
    if (FPos >= FFormat.size()) Fail();
    const QChar kind = FFormat[FPos++].toLower();
    String text = Convert(kind, NextArg(), precision);
    if (width > text.size()) text = left ? text.leftJustified(width) : text.rightJustified(width);
    return text;
  }

  String Convert(QChar kind, const Variant& arg, int precision) const {
    switch (kind.unicode()) {
      case u'd':
      case u'u':
      case u'x': {
        if (!IsInteger(arg)) Fail();
        const Int64 value = arg.AsInt64();
        if (kind == u'u' && value < 0) return WithDigits(QString::number(arg.VarType() == varInt64 ? UInt64(value) : UInt64(uint32_t(value))), precision);
        if (kind == u'x') return WithDigits(arg.VarType() == varInt64 ? IntToHex(value, 0) : IntToHex(Integer(value), 0), precision);
        const String digits = WithDigits(QString::number(value < 0 ? UInt64(0) - UInt64(value) : UInt64(value)), precision);
        return value < 0 ? u'-' + digits : digits;
      }
      case u'e':
      case u'f':
      case u'g':
      case u'n':
      case u'm': {
        if (!IsFloat(arg)) Fail();
        if (arg.VarType() == varCurrency && kind != u'e' && kind != u'g')
          return CurrToStrF(arg.AsCurrency(), FloatForm(kind), precision < 0 ? DefaultDecimals(kind) : precision);
        const double value = arg.AsDouble();
        if (kind == u'e') return FloatToStrF(value, ffExponent, precision < 0 ? 15 : std::max(precision, 1), 3);
        if (kind == u'g') return FloatToStrF(value, ffGeneral, precision < 0 ? 15 : std::max(precision, 1), 0);
        return FloatToStrF(value, FloatForm(kind), 15, precision < 0 ? DefaultDecimals(kind) : precision);
      }
      case u's': {
        if (arg.VarType() != varString) Fail();
        const String text = arg.AsString();
        return precision >= 0 ? text.left(precision) : text;
      }
      default:
        Fail();
    }
  }

  static TFloatFormat FloatForm(QChar kind) {
    return kind == u'f' ? ffFixed : kind == u'n' ? ffNumber : ffCurrency;
  }

  static int DefaultDecimals(QChar kind) { return kind == u'm' ? CurrencyDecimals : 2; }

  static String WithDigits(const String& digits, int precision) {
    return precision > digits.size() ? digits.rightJustified(precision, u'0') : digits;
  }

  const String& FFormat;
  const std::vector<Variant>& FArgs;
  int FPos = 0;
  int FNextArg = 0;
};

}  // namespace

String Format(const String& format, const std::vector<Variant>& args) { return Formatter(format, args).Run(); }
