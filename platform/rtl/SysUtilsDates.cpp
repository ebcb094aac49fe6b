// Calendar arithmetic on TDateTime: encoding, decoding, months and the current time.
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SysUtilsDates.h"
#include <QDateTime>
#include <cmath>

namespace {

constexpr Int64 kMSecsPerDay = 86400000;
constexpr Int64 kDaysBeforeEpoch = 693594;  // days from 0001-01-01 to 1899-12-30

QDate EpochDate() { return QDate(1899, 12, 30); }

constexpr Word kDaysBeforeMonth[2][13] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
                                          {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Day number since 0001-01-01 (day 1) to year, month, day; false outside years 1..9999.
bool DayNumberToDate(Int64 dayNumber, Word& year, Word& month, Word& day) {
  if (dayNumber <= 0 || dayNumber > 3652059) {
    year = month = day = 0;
    return false;
  }
  Int64 t = dayNumber - 1;
  Int64 y = 1;
  y += 400 * (t / 146097);
  t %= 146097;
  Int64 centuries = t / 36524;
  if (centuries == 4) centuries = 3;  // the last day of a 400-year cycle
  y += 100 * centuries;
  t -= centuries * 36524;
  y += 4 * (t / 1461);
  t %= 1461;
  Int64 years = t / 365;
  if (years == 4) years = 3;  // the last day of a leap cycle
  y += years;
  t -= years * 365;
  year = Word(y);
  const Word* before = kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0];
  month = 1;
  while (t >= before[month]) ++month;
  day = Word(t - before[month - 1] + 1);
  return true;
}

}  // namespace

TDateSplit SplitDateTime(TDateTime value) {
  TDateSplit split;
  if (!(std::fabs(value) < 1e8)) {  // NaN, infinities and values far outside 0001..9999
    split.Days = -kDaysBeforeEpoch;
    return split;
  }
  Int64 days = Int64(std::trunc(value));
  Int64 msec = std::llround(std::fabs(value - double(days)) * double(kMSecsPerDay));
  if (msec >= kMSecsPerDay) {
    msec -= kMSecsPerDay;
    ++days;
  }
  split.Days = days;
  split.MSecs = msec;
  return split;
}

bool IsLeapYear(Word year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

Word DaysInAMonth(Word year, Word month) {
  if (month < 1 || month > 12) return 0;
  const Word* before = kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0];
  return Word(before[month] - before[month - 1]);
}

Word DaysInMonth(TDateTime value) {
  Word year, month, day;
  DecodeDate(value, year, month, day);
  return DaysInAMonth(year, month);
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month)) return false;
  const Int64 y = year - 1;
  const Int64 dayNumber = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0][month - 1] + day;
  value = double(dayNumber - kDaysBeforeEpoch);
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime value = 0;
  if (!TryEncodeDate(year, month, day, value)) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
  return value;
}

bool TryEncodeTime(Word hour, Word minute, Word second, Word msec, TDateTime& value) {
  if (hour > 23 || minute > 59 || second > 59 || msec > 999) return false;
  value = double(((Int64(hour) * 60 + minute) * 60 + second) * 1000 + msec) / double(kMSecsPerDay);
  return true;
}

TDateTime EncodeTime(Word hour, Word minute, Word second, Word msec) {
  TDateTime value = 0;
  if (!TryEncodeTime(hour, minute, second, msec, value)) throw EConvertError(QStringLiteral("Invalid argument to time encode"));
  return value;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word msec) {
  const TDateTime date = EncodeDate(year, month, day);
  const TDateTime time = EncodeTime(hour, minute, second, msec);
  return date < 0 ? date - time : date + time;
}

void DecodeDate(TDateTime value, Word& year, Word& month, Word& day) {
  DayNumberToDate(SplitDateTime(value).Days + kDaysBeforeEpoch, year, month, day);
}

void DecodeTime(TDateTime value, Word& hour, Word& minute, Word& second, Word& msec) {
  Int64 t = SplitDateTime(value).MSecs;
  msec = Word(t % 1000);
  t /= 1000;
  second = Word(t % 60);
  t /= 60;
  minute = Word(t % 60);
  hour = Word(t / 60);
}

Integer DayOfWeek(TDateTime value) {
  return Integer(((SplitDateTime(value).Days + kDaysBeforeEpoch) % 7 + 7) % 7 + 1);
}

TDateTime IncMonth(TDateTime value, Integer months) {
  Word year, month, day;
  DecodeDate(value, year, month, day);
  const Int64 index = Int64(year) * 12 + (month - 1) + months;
  const Word newYear = Word(index / 12);
  const Word newMonth = Word(index % 12 + 1);
  const Word newDay = std::min(day, DaysInAMonth(newYear, newMonth));
  const TDateTime date = EncodeDate(newYear, newMonth, newDay);
  const double time = std::fabs(value - std::trunc(value));
  return date < 0 ? date - time : date + time;
}

TDateTime Now() { return TClock::Current().Now(); }

TDateTime Date() { return double(SplitDateTime(Now()).Days); }

TDateTime Time() { return double(SplitDateTime(Now()).MSecs) / double(kMSecsPerDay); }

QDate DateTimeToQDate(TDateTime value) { return EpochDate().addDays(SplitDateTime(value).Days); }

QDateTime DateTimeToQDateTime(TDateTime value) {
  const TDateSplit split = SplitDateTime(value);
  return QDateTime(EpochDate().addDays(split.Days), QTime::fromMSecsSinceStartOfDay(int(split.MSecs)));
}

TDateTime QDateToDateTime(const QDate& value) { return TDateTime(EpochDate().daysTo(value)); }

TDateTime QDateTimeToDateTime(const QDateTime& value) {
  return QDateToDateTime(value.date()) + value.time().msecsSinceStartOfDay() / double(kMSecsPerDay);
}
