#pragma once
// Exceptions of the run-time library. Every failure the program reports is one of these.
#include "platform/rtl/Types.h"
#include "platform/rtl/Currency.h"
#include <exception>

class Exception : public std::exception {
public:
  explicit Exception(const String& message) : FMessage(message), FUtf8(message.toUtf8()) {}
  const String& Message() const { return FMessage; }
  void SetMessage(const String& message) { FMessage = message; FUtf8 = message.toUtf8(); }
  const char* what() const noexcept override { return FUtf8.constData(); }
private:
  String FMessage;
  QByteArray FUtf8;
};

#define MOLI_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {               \
  public:                                  \
    using Base::Base;                      \
  };

MOLI_DECLARE_EXCEPTION(EAbort, Exception)
MOLI_DECLARE_EXCEPTION(EConvertError, Exception)
MOLI_DECLARE_EXCEPTION(EVariantError, Exception)
MOLI_DECLARE_EXCEPTION(EMathError, Exception)
MOLI_DECLARE_EXCEPTION(EDivByZero, Exception)
MOLI_DECLARE_EXCEPTION(ERangeError, Exception)
MOLI_DECLARE_EXCEPTION(EOverflow, EMathError)
MOLI_DECLARE_EXCEPTION(EZeroDivide, EMathError)
MOLI_DECLARE_EXCEPTION(EInvalidOp, EMathError)
MOLI_DECLARE_EXCEPTION(EInvalidOperation, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidPointer, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidCast, Exception)
MOLI_DECLARE_EXCEPTION(EListError, Exception)
MOLI_DECLARE_EXCEPTION(EStringListError, Exception)
MOLI_DECLARE_EXCEPTION(EStreamError, Exception)
MOLI_DECLARE_EXCEPTION(EFileStreamError, EStreamError)
MOLI_DECLARE_EXCEPTION(EFCreateError, EFileStreamError)
MOLI_DECLARE_EXCEPTION(EFOpenError, EFileStreamError)
MOLI_DECLARE_EXCEPTION(EReadError, EStreamError)
MOLI_DECLARE_EXCEPTION(EWriteError, EStreamError)
MOLI_DECLARE_EXCEPTION(EInOutError, Exception)
MOLI_DECLARE_EXCEPTION(EOutOfResources, Exception)
MOLI_DECLARE_EXCEPTION(EComponentError, Exception)
MOLI_DECLARE_EXCEPTION(EDatabaseError, Exception)
MOLI_DECLARE_EXCEPTION(EIniFileException, Exception)
MOLI_DECLARE_EXCEPTION(EEncodingError, Exception)
MOLI_DECLARE_EXCEPTION(EPrinter, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
MOLI_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)

// Raises EAbort, the silent exception that ends an operation without a message.
[[noreturn]] void Abort();

// ---- Format settings. Process-wide, with the defaults of a Chinese-language system; the
// conversions below read them on every call, so a change applies at once.
inline QChar DecimalSeparator = u'.';
inline QChar ThousandSeparator = u',';
inline QChar DateSeparator = u'-';
inline QChar TimeSeparator = u':';
inline String ShortDateFormat = QStringLiteral("yyyy-mm-dd");
inline String LongDateFormat = QStringLiteral("yyyy'年'm'月'd'日'");
inline String ShortTimeFormat = QStringLiteral("hh:nn");
inline String LongTimeFormat = QStringLiteral("hh:nn:ss");
inline String TimeAMString = QStringLiteral("上午");
inline String TimePMString = QStringLiteral("下午");
inline String CurrencyString = QStringLiteral("¥");
inline Byte CurrencyFormat = 0;    // 0 "¥1", 1 "1¥", 2 "¥ 1", 3 "1 ¥"
inline Byte NegCurrFormat = 2;     // 0..15, the usual table of negative currency layouts; 2 is "¥-1"
inline Byte CurrencyDecimals = 2;

// ---- Numbers to text.
enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Shortest text with 15 significant digits: "0.1", "1234.5", "1E20", "1.5E-5"; "INF", "-INF", "NAN".
String FloatToStr(Extended value);
// ffGeneral: shortest, scientific beyond Precision integer digits or below 0.0001, Digits = least
// exponent digits. ffExponent: "d.dddE+xx" with Precision digits. ffFixed/ffNumber (with
// thousands)/ffCurrency (CurrencyString placed by CurrencyFormat/NegCurrFormat): Digits decimals.
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits);
// Picture formats: up to three ';'-separated sections (positive;negative;zero). In a section
// '0' is a digit that is always shown, '#' one shown only when significant, '.' the decimal
// point, ',' turns on thousands grouping, "E+00"/"E-00" a scientific exponent, text in '' or ""
// and any other character are copied. Rounds halves away from zero on the decimal digits.
// A negative value without its own section gets a leading '-'; a value that rounds to zero is
// zero. A present but empty zero section shows zero as ""; an empty format gives FloatToStr.
String FormatFloat(const String& format, Extended value);
String FormatCurr(const String& format, Currency value);
String CurrToStrF(Currency value, TFloatFormat format, int digits);
