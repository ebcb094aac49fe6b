#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/tests/SysUtilsErrorText.h"
#include <QDateTime>
#include <gtest/gtest.h>
#include <cmath>

namespace {

// Fixes the current time for one test.
class FixedNow {
public:
  explicit FixedNow(TDateTime now) : FClock(now) { TClock::SetCurrent(&FClock); }
  ~FixedNow() { TClock::SetCurrent(nullptr); }
private:
  TManualClock FClock;
};

TEST(Dates, EncodeAndDecodeRoundTripAroundTheEpochAndLeapDays) {
  struct Case { Word y, m, d; double serial; };
  for (const Case& c : std::initializer_list<Case>{
         {1899, 12, 30, 0}, {1899, 12, 29, -1}, {1900, 1, 1, 2}, {1900, 3, 1, 61}, {2000, 2, 29, 36585},
         {2024, 2, 29, 45351}, {2024, 12, 31, 45657}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465}}) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    Word y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
  }
  for (const auto& [y, m, d] : std::initializer_list<std::tuple<Word, Word, Word>>{
         {1900, 2, 29}, {2023, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1}, {0, 1, 1}, {10000, 1, 1}})
    EXPECT_THROW(EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
  EXPECT_TRUE(IsLeapYear(2000) && IsLeapYear(2024) && !IsLeapYear(1900) && !IsLeapYear(2023));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(EncodeDate(2023, 2, 10)), 28);
}

TEST(Dates, TimesBeforeTheEpochCountForwardAndRoundToTheMillisecond) {
  const TDateTime t = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_DOUBLE_EQ(t, -1.25);
  Word y, m, d, h, n, s, ms;
  DecodeDate(t, y, m, d);
  DecodeTime(t, h, n, s, ms);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(h, 6);
  const TDateTime almostMidnight = EncodeDate(2024, 1, 1) + 0.9999999999;
  DecodeDate(almostMidnight, y, m, d);
  DecodeTime(almostMidnight, h, n, s, ms);
  EXPECT_EQ(d, 2);
  EXPECT_EQ(h * 10000 + n * 100 + s, 0);
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(Dates, WeekDaysAndMonthSteps) {
  EXPECT_EQ(DayOfWeek(0), 7);                       // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 25)), 1);  // a Sunday
  EXPECT_EQ(DayOfWeek(-1.5), 6);
  struct Case { TDateTime from; Integer months; TDateTime to; };
  for (const Case& c : std::initializer_list<Case>{
         {EncodeDate(2024, 1, 31), 1, EncodeDate(2024, 2, 29)},
         {EncodeDate(2023, 1, 31), 1, EncodeDate(2023, 2, 28)},
         {EncodeDate(2024, 3, 15), -3, EncodeDate(2023, 12, 15)},
         {EncodeDate(2024, 12, 5), 1, EncodeDate(2025, 1, 5)},
         {EncodeDateTime(2024, 5, 31, 10, 30, 0, 0), 13, EncodeDateTime(2025, 6, 30, 10, 30, 0, 0)}})
    EXPECT_DOUBLE_EQ(IncMonth(c.from, c.months), c.to);
}

TEST(Dates, NowComesFromTheClock) {
  const TDateTime moment = EncodeDateTime(2024, 7, 1, 9, 15, 0, 0);
  FixedNow fixed(moment);
  EXPECT_EQ(Now(), moment);
  EXPECT_EQ(Date(), EncodeDate(2024, 7, 1));
  EXPECT_DOUBLE_EQ(Time(), EncodeTime(9, 15, 0, 0));
}

TEST(FormatDateTime, Tokens) {
  const TDateTime t = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  struct Case { const char* format; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"yyyy-mm-dd", "2024-03-05"}, {"yy-MM-dd hh:nn", "24-03-05 14:07"}, {"yyMMddHHmmss", "240305140709"},
         {"hh:nn:ss", "14:07:09"}, {"hh:mm", "14:07"}, {"h:n:s.z", "14:7:9.45"}, {"zzz", "045"},
         {"yyyy年mm月", "2024年03月"}, {"yyyy年m月d日", "2024年3月5日"}, {"d/m/yyyy", "5-3-2024"},
         {"mmm mmmm", "三月 三月"}, {"ddd dddd", "周二 星期二"}, {"ddddd", "2024-03-05"}, {"dddddd", "2024年3月5日"},
         {"h:nn am/pm", "2:07 pm"}, {"hh AM/PM", "02 PM"}, {"h a/p", "2 p"}, {"h ampm", "2 下午"},
         {"'yyyy' \"mm\" yyyy", "yyyy mm 2024"}, {"c", "2024-03-05 14:07:09"}, {"", "2024-03-05 14:07:09"},
         {"t", "14:07"}, {"tt", "14:07:09"}, {"dd.mm.yy", "05.03.24"}})
    EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.format), t), QString::fromUtf8(c.expected)) << c.format;
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 30, 0, 0)), "12 am");
  for (double outside : {-1e6, 1e7, 1e300, std::nan("")})  // outside the calendar: zeros, no names
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh mmm ddd", outside), "0000-00-00 00  ") << outside;
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "2024-03-05");
  EXPECT_EQ(DateToStr(t), "2024-03-05");
  EXPECT_EQ(TimeToStr(t), "14:07:09");
}

TEST(StrToDateTime, ReadsByTheShortDateOrderAndSeparators) {
  FixedNow fixed(EncodeDate(2024, 7, 1));
  struct Case { const char* text; bool ok; TDateTime value; };
  for (const Case& c : std::initializer_list<Case>{
         {"2024-03-05", true, EncodeDate(2024, 3, 5)}, {" 2024-3-5 ", true, EncodeDate(2024, 3, 5)},
         {"3-5", true, EncodeDate(2024, 3, 5)}, {"24-03-05", true, EncodeDate(2024, 3, 5)},
         {"80-01-02", true, EncodeDate(1980, 1, 2)}, {"2024-03-05 14:07", true, EncodeDateTime(2024, 3, 5, 14, 7, 0, 0)},
         {"2024-03-05 14:07:09.5", true, EncodeDateTime(2024, 3, 5, 14, 7, 9, 500)},
         {"2024-03-05 2:07 PM", true, EncodeDateTime(2024, 3, 5, 14, 7, 0, 0)},
         {"2024-03-05 12:00 上午", true, EncodeDate(2024, 3, 5)}, {"14:07", true, EncodeTime(14, 7, 0, 0)},
         {"2023-02-29", false, 0}, {"2024-03-05x", false, 0}, {"2024/03/05", false, 0}, {"2024", false, 0},
         {"2024-03-05 25:00", false, 0}, {"2024-03-05 13:00 PM", false, 0}, {"", false, 0}, {"abc", false, 0}}) {
    TDateTime value = 0;
    EXPECT_EQ(TryStrToDateTime(QString::fromUtf8(c.text), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
  EXPECT_THROW(StrToDate("2024-03-05 14:07"), EConvertError);
  EXPECT_EQ(StrToDate("2024-03-05"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(ErrorText<EConvertError>([] { StrToDateTime("abc"); }), "'abc' is not a valid date and time");
}

TEST(StrToDateTime, DayFirstOrderAndOtherSeparator) {
  ShortDateFormat = QStringLiteral("dd/mm/yyyy");
  DateSeparator = u'/';
  TDateTime value = 0;
  EXPECT_TRUE(TryStrToDate("05/03/2024", value));
  EXPECT_EQ(value, EncodeDate(2024, 3, 5));
  EXPECT_EQ(DateToStr(value), "05/03/2024");
  EXPECT_FALSE(TryStrToDate("2024-03-05", value));
  ShortDateFormat = QStringLiteral("yyyy-mm-dd");
  DateSeparator = u'-';
}

TEST(QtDates, ConvertBothWaysRoundingTheTimeLikeDecodeTime) {
  struct Case { TDateTime value; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {0, "1899-12-30 00:00:00.000"}, {45000.5, "2023-03-15 12:00:00.000"},
         {45000 + 0.999999995, "2023-03-16 00:00:00.000"},  // rounds up into the next day, never 24:00
         {-1.25, "1899-12-29 06:00:00.000"}})                // before day 0 the fraction is still the time
    EXPECT_EQ(DateTimeToQDateTime(c.value).toString("yyyy-MM-dd HH:mm:ss.zzz"), QString::fromUtf8(c.expected)) << double(c.value);
  EXPECT_EQ(DateTimeToQDate(45000.75), QDate(2023, 3, 15));
  EXPECT_EQ(QDateToDateTime(QDate(2000, 2, 29)), 36585);
  EXPECT_DOUBLE_EQ(QDateTimeToDateTime(QDateTime(QDate(2023, 3, 15), QTime(18, 0))), 45000.75);
}

}  // namespace
