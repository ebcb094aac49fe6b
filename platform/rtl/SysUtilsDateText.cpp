// Date-times to text by format tokens, and text back to date-times.
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SysUtilsDates.h"
#include "platform/rtl/SysUtilsParsing.h"
#include <charconv>
#include <cmath>

namespace {

struct DateParts {
  Word Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
  Integer WeekDay = 1;
  bool HasTime = false;
};

DateParts PartsOf(TDateTime value) {
  DateParts parts;
  DecodeDate(value, parts.Year, parts.Month, parts.Day);
  DecodeTime(value, parts.Hour, parts.Minute, parts.Second, parts.MSec);
  parts.WeekDay = parts.Year == 0 ? 0 : DayOfWeek(value);
  parts.HasTime = SplitDateTime(value).MSecs != 0;
  return parts;
}

// The value in decimal, zeros in front up to width characters.
void AppendPadded(String& out, int value, int width) {
  char digits[16];
  const int length = int(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
  for (int i = length; i < width; ++i) out += u'0';
  out += QLatin1StringView(digits, length);
}

QChar UpperOf(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80) return QChar(u >= u'a' && u <= u'z' ? char16_t(u - 0x20) : u);
  return c.toUpper();
}

// A month or day name; nothing for the zero parts of a date outside the calendar.
template <size_t N>
String NameAt(const String (&names)[N], int oneBased) {
  return oneBased >= 1 && oneBased <= int(N) ? names[oneBased - 1] : String();
}

bool StartsWithNoCase(const String& text, int at, const char* token) {
  return QStringView(text).mid(at).startsWith(QLatin1String(token), Qt::CaseInsensitive);
}

// Whether a 12-hour marker follows somewhere in the rest of the format.
bool HasAmPmAfter(const String& format, int from) {
  QChar quote;
  for (int i = from; i < format.size(); ++i) {
    const QChar c = format[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (UpperOf(c) != u'A') {
      continue;
    } else if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
               StartsWithNoCase(format, i, "ampm")) {
      return true;
    }
  }
  return false;
}

void AppendFormatted(String& out, const String& format, const DateParts& p, int depth) {
  if (depth > 3) return;  // a format that names itself through ShortDateFormat stops here
  QChar lastToken;
  for (int i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == u'\'' || c == u'"') {
      const int close = int(format.indexOf(c, i + 1));
      const int end = close < 0 ? int(format.size()) : close;
      out += format.mid(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    const QChar token = UpperOf(c);
    int count = 1;
    while (i + count < format.size() && UpperOf(format[i + count]) == token) ++count;
    bool isToken = true;
    switch (token.unicode()) {
      case u'Y':
        if (count <= 2) AppendPadded(out, p.Year % 100, 2);
        else AppendPadded(out, p.Year, 4);
        break;
      case u'M':
        if (lastToken == u'H' && count <= 2) AppendPadded(out, p.Minute, count);
        else if (count <= 2) AppendPadded(out, p.Month, count);
        else out += count == 3 ? NameAt(ShortMonthNames, p.Month) : NameAt(LongMonthNames, p.Month);
        break;
      case u'D':
        if (count <= 2) AppendPadded(out, p.Day, count);
        else if (count == 3) out += NameAt(ShortDayNames, p.WeekDay);
        else if (count == 4) out += NameAt(LongDayNames, p.WeekDay);
        else AppendFormatted(out, count == 5 ? ShortDateFormat : LongDateFormat, p, depth + 1);
        break;
      case u'H': {
        int hour = p.Hour;
        if (HasAmPmAfter(format, i + count)) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendPadded(out, hour, std::min(count, 2));
        break;
      }
      case u'N':
        AppendPadded(out, p.Minute, std::min(count, 2));
        break;
      case u'S':
        AppendPadded(out, p.Second, std::min(count, 2));
        break;
      case u'Z':
        AppendPadded(out, p.MSec, count == 1 ? 1 : 3);
        break;
      case u'T':
        AppendFormatted(out, count == 1 ? ShortTimeFormat : LongTimeFormat, p, depth + 1);
        break;
      case u'C':
        AppendFormatted(out, ShortDateFormat, p, depth + 1);
        if (p.HasTime) {
          out += u' ';
          AppendFormatted(out, LongTimeFormat, p, depth + 1);
        }
        break;
      case u'A':
        // "am/pm" and "a/p" keep the letter case the format gives them.
        if (StartsWithNoCase(format, i, "am/pm")) {
          out += format.mid(p.Hour < 12 ? i : i + 3, 2);
          count = 5;
        } else if (StartsWithNoCase(format, i, "a/p")) {
          out += format[p.Hour < 12 ? i : i + 2];
          count = 3;
        } else if (StartsWithNoCase(format, i, "ampm")) {
          out += p.Hour < 12 ? TimeAMString : TimePMString;
          count = 4;
        } else {
          out += c;
          count = 1;
          isToken = false;
        }
        break;
      default:
        isToken = false;
        count = 1;
        out += c == u'/' ? DateSeparator : c == u':' ? TimeSeparator : c;
        break;
    }
    if (isToken) lastToken = token;
    i += count;
  }
}

// ---- Reading text.

class Scanner {
public:
  explicit Scanner(const String& text) : FText(text) {}
  bool AtEnd() { SkipBlanks(); return FPos >= FText.size(); }
  int Position() const { return FPos; }
  void Reset(int position) { FPos = position; }
  void SkipBlanks() { while (FPos < FText.size() && FText[FPos] <= u' ') ++FPos; }
  bool Skip(QChar c) {
    SkipBlanks();
    if (FPos < FText.size() && FText[FPos] == c) { ++FPos; return true; }
    return false;
  }
  bool SkipText(const String& word) {
    SkipBlanks();
    if (word.isEmpty() || !FText.mid(FPos).startsWith(word, Qt::CaseInsensitive)) return false;
    FPos += int(word.size());
    return true;
  }
  // Decimal digits; `digits` tells how many were read.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (FPos < FText.size() && FText[FPos] >= u'0' && FText[FPos] <= u'9' && digits < 9) {
      value = value * 10 + (FText[FPos++].unicode() - u'0');
      ++digits;
    }
    return digits > 0;
  }
private:
  const String& FText;
  int FPos = 0;
};

enum class DateOrder { YMD, MDY, DMY };

DateOrder ShortDateOrder() {
  for (const QChar c : ShortDateFormat) {
    const QChar u = c.toUpper();
    if (u == u'Y') return DateOrder::YMD;
    if (u == u'M') return DateOrder::MDY;
    if (u == u'D') return DateOrder::DMY;
  }
  return DateOrder::YMD;
}

int CurrentYear() {
  Word year, month, day;
  DecodeDate(Now(), year, month, day);
  return year;
}

// A year typed with one or two digits lies within 50 years of the current year.
int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  const int current = CurrentYear();
  int expanded = current / 100 * 100 + year;
  if (expanded > current + 50) expanded -= 100;
  else if (expanded < current - 50) expanded += 100;
  return expanded;
}

bool ScanDate(Scanner& s, TDateTime& value) {
  int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  if (!s.Number(n[0], digits[0]) || !s.Skip(DateSeparator) || !s.Number(n[1], digits[1])) return false;
  int count = 2;
  const int afterTwo = s.Position();
  if (s.Skip(DateSeparator) && s.Number(n[2], digits[2])) count = 3;
  else s.Reset(afterTwo);
  int year = 0, month = 0, day = 0, yearDigits = 4;
  const DateOrder order = ShortDateOrder();
  if (count == 2) {
    year = CurrentYear();
    month = order == DateOrder::DMY ? n[1] : n[0];
    day = order == DateOrder::DMY ? n[0] : n[1];
  } else if (order == DateOrder::YMD) {
    year = n[0], yearDigits = digits[0], month = n[1], day = n[2];
  } else if (order == DateOrder::MDY) {
    month = n[0], day = n[1], year = n[2], yearDigits = digits[2];
  } else {
    day = n[0], month = n[1], year = n[2], yearDigits = digits[2];
  }
  year = ExpandYear(year, yearDigits);
  return year <= 9999 && TryEncodeDate(Word(year), Word(std::min(month, 99)), Word(std::min(day, 99)), value);
}

bool ScanTime(Scanner& s, TDateTime& value) {
  int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
  if (!s.Number(hour, digits)) return false;
  bool separated = false;
  if (s.Skip(TimeSeparator)) {
    separated = true;
    if (!s.Number(minute, digits)) return false;
    if (s.Skip(TimeSeparator)) {
      if (!s.Number(second, digits)) return false;
      if (s.Skip(DecimalSeparator)) {
        if (!s.Number(msec, digits)) return false;
        msec = int(std::lround(msec / std::pow(10.0, digits - 3)));  // ".5" is half a second
      }
    }
  }
  int pm = -1;
  for (const auto& [word, isPm] : {std::pair{TimeAMString, 0}, std::pair{TimePMString, 1},
                                   std::pair{QStringLiteral("AM"), 0}, std::pair{QStringLiteral("PM"), 1},
                                   std::pair{QStringLiteral("A"), 0}, std::pair{QStringLiteral("P"), 1}})
    if (s.SkipText(word)) { pm = isPm; break; }
  if (pm >= 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  } else if (!separated) {
    return false;
  }
  return hour <= 23 && minute <= 59 && second <= 59 && msec <= 999 &&
         TryEncodeTime(Word(hour), Word(minute), Word(second), Word(msec), value);
}

[[noreturn]] void RaiseNotDate(const String& text) {
  throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
}

[[noreturn]] void RaiseNotTime(const String& text) {
  throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
}

[[noreturn]] void RaiseNotDateTime(const String& text) {
  throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
}

}  // namespace

String FormatDateTime(const String& format, TDateTime value) {
  String out;
  out.reserve(format.size() + 24);
  AppendFormatted(out, format.isEmpty() ? QStringLiteral("c") : format, PartsOf(value), 0);
  return out;
}

String DateToStr(TDateTime value) { return FormatDateTime(QStringLiteral("ddddd"), value); }
String TimeToStr(TDateTime value) { return FormatDateTime(QStringLiteral("tt"), value); }
String DateTimeToStr(TDateTime value) { return FormatDateTime(QStringLiteral("c"), value); }

bool TryStrToDate(const String& text, TDateTime& value) {
  Scanner s(text);
  return ScanDate(s, value) && s.AtEnd();
}

bool TryStrToTime(const String& text, TDateTime& value) {
  Scanner s(text);
  return ScanTime(s, value) && s.AtEnd();
}

bool TryStrToDateTime(const String& text, TDateTime& value) {
  Scanner s(text);
  TDateTime date = 0, time = 0;
  if (ScanDate(s, date)) {
    if (s.AtEnd()) {
      value = date;
      return true;
    }
    if (!ScanTime(s, time) || !s.AtEnd()) return false;
    value = date < 0 ? date - time : date + time;
    return true;
  }
  return TryStrToTime(text, value);
}

TDateTime StrToDate(const String& text) { return ParsedOrRaise<TDateTime>(text, TryStrToDate, RaiseNotDate); }

TDateTime StrToTime(const String& text) { return ParsedOrRaise<TDateTime>(text, TryStrToTime, RaiseNotTime); }

TDateTime StrToDateTime(const String& text) {
  return ParsedOrRaise<TDateTime>(text, TryStrToDateTime, RaiseNotDateTime);
}
