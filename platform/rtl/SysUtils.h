#pragma once
// The run-time library's conversions, file and date helpers, with its exceptions.
#include "platform/rtl/Exception.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Variants.h"

class QDate;
class QDateTime;

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
// The full-width sign: it has a code in code page 936, so slips sent to GBK peers can carry it.
inline String CurrencyString = QStringLiteral("￥");
inline Byte CurrencyFormat = 0;    // 0 "￥1", 1 "1￥", 2 "￥ 1", 3 "1 ￥"
inline Byte NegCurrFormat = 2;     // 0..15, the usual table of negative currency layouts; 2 is "￥-1"
inline Byte CurrencyDecimals = 2;

// ---- Whole numbers from others.
// To the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2): the rule number
// edits, image indexes and variant conversions share. Money rounds with FormatFloat instead.
Int64 Round(Extended value);
// Towards zero.
Int64 Trunc(Extended value);
// a x b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0 or the
// result does not fit an Integer.
Integer MulDiv(Integer a, Integer b, Integer c);

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

// Printf-style text: "%" [index ":"] ["-"] [width] ["." precision] kind, where width and
// precision may be '*' (taken from the arguments) and the kind is one of
//   d u x  an integer (precision = least digits; x upper-case hexadecimal),
//   e f g n m  a floating value or Currency (scientific, fixed, general, with thousands, as
//              currency; precision = decimals, 2 by default, significant digits for e and g),
//   s  a string (precision = most characters).
// "%%" is a percent sign. A missing argument or one of the wrong kind raises EConvertError.
String Format(const String& format, const std::vector<Variant>& args);

// ---- Text to numbers and back. Leading and trailing blanks are allowed; anything else that is
// not part of the number is an error. Failures raise EConvertError naming the text.
String IntToStr(Int64 value);
// Upper-case hexadecimal, at least `digits` wide; negative values as their two's complement
// of the argument's width ("FFFFFFFF" for -1 as Integer).
String IntToHex(Integer value, int digits);
String IntToHex(Int64 value, int digits);
// Decimal with an optional sign, or hexadecimal after '$' or "0x".
bool TryStrToInt(const String& text, Integer& value);
bool TryStrToInt64(const String& text, Int64& value);
Integer StrToInt(const String& text);
Int64 StrToInt64(const String& text);
Integer StrToIntDef(const String& text, Integer defaultValue);
Int64 StrToInt64Def(const String& text, Int64 defaultValue);
// Digits with DecimalSeparator and an optional exponent ("1.5E3"); no thousands separators.
bool TryStrToFloat(const String& text, Extended& value);
bool TryStrToFloat(const String& text, double& value);
Extended StrToFloat(const String& text);
Extended StrToFloatDef(const String& text, Extended defaultValue);
// The number read through its 15 significant digits and rounded half away from zero to the
// four places a Currency holds; out of range is a failure.
bool TryStrToCurr(const String& text, Currency& value);
Currency StrToCurr(const String& text);

// ---- Dates and times. A TDateTime counts days from 1899-12-30; its fraction is the time of
// day (for dates before the epoch the fraction still counts forward: -1.25 is 1899-12-29 06:00).
inline String ShortMonthNames[12] = {"一月", "二月", "三月", "四月", "五月", "六月",
                                     "七月", "八月", "九月", "十月", "十一月", "十二月"};
inline String LongMonthNames[12] = {"一月", "二月", "三月", "四月", "五月", "六月",
                                    "七月", "八月", "九月", "十月", "十一月", "十二月"};
inline String ShortDayNames[7] = {"周日", "周一", "周二", "周三", "周四", "周五", "周六"};
inline String LongDayNames[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

bool IsLeapYear(Word year);
Word DaysInAMonth(Word year, Word month);
Word DaysInMonth(TDateTime value);
// Raise EConvertError for a date outside 0001-01-01..9999-12-31 or a time outside 00:00..23:59:59.999.
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& value);
TDateTime EncodeDate(Word year, Word month, Word day);
bool TryEncodeTime(Word hour, Word minute, Word second, Word msec, TDateTime& value);
TDateTime EncodeTime(Word hour, Word minute, Word second, Word msec);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word msec);
// Decoding rounds to the millisecond; a time that rounds up to midnight belongs to the next day.
void DecodeDate(TDateTime value, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime value, Word& hour, Word& minute, Word& second, Word& msec);
// 1 = Sunday .. 7 = Saturday.
Integer DayOfWeek(TDateTime value);
// Moves by whole months keeping the time; the day is cut to the target month's length.
TDateTime IncMonth(TDateTime value, Integer months = 1);
// The current clock's date-time (TClock, replaceable in tests), its date part and its time part.
TDateTime Now();
TDateTime Date();
TDateTime Time();
// Qt's date types, for code that hands dates to Qt: the time is rounded to the millisecond
// as in DecodeTime.
QDate DateTimeToQDate(TDateTime value);
QDateTime DateTimeToQDateTime(TDateTime value);
TDateTime QDateToDateTime(const QDate& value);
TDateTime QDateTimeToDateTime(const QDateTime& value);

// Tokens, without regard to letter case: d dd (day), ddd dddd (day names), ddddd dddddd (short
// and long date format), m mm (month, or minute straight after an hour token), mmm mmmm (month
// names), yy yyyy, h hh, n nn, s ss, z zzz, t tt (short and long time format), am/pm a/p ampm
// (12-hour clock), c (short date and, unless midnight, long time), '/' DateSeparator,
// ':' TimeSeparator; text in '' or "" and any other character are copied. An empty format is "c".
String FormatDateTime(const String& format, TDateTime value);
String DateToStr(TDateTime value);
String TimeToStr(TDateTime value);
String DateTimeToStr(TDateTime value);
// Dates are read as numbers separated by DateSeparator in the order of ShortDateFormat; two
// numbers are month and day of the current year; a two-digit year falls within 50 years of now.
// Times are h[:n[:s[.z]]] with TimeSeparator and an optional am/pm. A date-time is a date, a
// time, or a date followed by a time. Failures raise EConvertError naming the text.
bool TryStrToDate(const String& text, TDateTime& value);
bool TryStrToTime(const String& text, TDateTime& value);
bool TryStrToDateTime(const String& text, TDateTime& value);
TDateTime StrToDate(const String& text);
TDateTime StrToTime(const String& text);
TDateTime StrToDateTime(const String& text);

// ---- Strings. The plain routines see only ASCII letters as letters; the Ansi ones follow the
// Chinese (PRC) locale whatever the system's locale is, so Chinese text sorts by pinyin.
// Trimming removes blanks and control characters (codes up to ' ').
String Trim(const String& text);
String TrimLeft(const String& text);
String TrimRight(const String& text);
String UpperCase(const String& text);
String LowerCase(const String& text);
String AnsiUpperCase(const String& text);
String AnsiLowerCase(const String& text);
// Negative, 0 or positive. CompareStr and CompareText compare character codes (CompareText with
// ASCII letters folded); AnsiCompareStr and AnsiCompareText use the locale's collation.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool SameText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);
// Encloses in single quotes, doubling the ones inside: O'Neil -> 'O''Neil'.
String QuotedStr(const String& text);
String AnsiQuotedStr(const String& text, QChar quote);
// The inverse of AnsiQuotedStr; text that does not start with the quote comes back unchanged.
String AnsiDequotedStr(const String& text, QChar quote);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
String StringReplace(const String& text, const String& oldPattern, const String& newPattern, TReplaceFlags flags);
// Whether text[index] (0-based) is one of the delimiter characters.
bool IsDelimiter(const String& delimiters, const String& text, int index);
// 0-based position of the last character of text that is one of the delimiters; -1 when none.
int LastDelimiter(const String& delimiters, const String& text);
String StringOfChar(QChar c, int count);
// Every line break (CR, LF or CR LF) becomes CR LF.
String AdjustLineBreaks(const String& text);
String LeftStr(const String& text, int count);
String RightStr(const String& text, int count);

// ---- File names and the file system. Names the program composes may use '\' as well as '/':
// both separate names when splitting, and '\' becomes '/' before the file system sees a name.
inline constexpr QChar PathDelim = u'/';
String ExtractFilePath(const String& fileName);  // up to and including the last separator
String ExtractFileDir(const String& fileName);   // the same without the separator (a root keeps it)
String ExtractFileName(const String& fileName);  // after the last separator
String ExtractFileExt(const String& fileName);   // ".ext" of the name part, "" when it has none
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);
// Absolute, with '/' separators and "." and ".." resolved against the current folder.
String ExpandFileName(const String& fileName);
// The name as the file system wants it: '\' turned into '/'.
String NativeFileName(const String& fileName);

bool FileExists(const String& fileName);        // an existing file, not a folder
bool DirectoryExists(const String& directory);
bool ForceDirectories(const String& directory);  // creates missing parents too; false when it cannot
bool CreateDir(const String& directory);         // the parent must exist
bool RemoveDir(const String& directory);         // only an empty folder
bool DeleteFile(const String& fileName);
// Never replaces an existing file or folder of the new name: that is a failure.
bool RenameFile(const String& oldName, const String& newName);
// The last modification time as a local date-time; false when the file does not exist.
bool FileAge(const String& fileName, TDateTime& value);
bool FileSetDate(const String& fileName, TDateTime value);
