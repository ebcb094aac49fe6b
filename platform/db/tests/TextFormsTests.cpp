#include "platform/db/ConnectionString.h"
#include "platform/db/DBFilter.h"
#include "platform/db/SqlText.h"
#include "platform/rtl/SysUtils.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(ConnectionString, FindsKeysWithoutCaseAndHonoursQuotes) {
  const String text = QStringLiteral(
      "Provider=Microsoft.Jet.OLEDB.4.0; data source = /p/db/VIRE.dat ;Persist Security Info=False;"
      "Jet OLEDB:Database Password=\"a;b\"\"c\";Empty=");
  struct Case { const char* key; const char* value; };
  for (const Case& c : std::initializer_list<Case>{{"Data Source", "/p/db/VIRE.dat"},
                                                   {"PROVIDER", "Microsoft.Jet.OLEDB.4.0"},
                                                   {"Jet OLEDB:Database Password", "a;b\"c"},
                                                   {"Empty", ""},
                                                   {"Missing", ""}})
    EXPECT_EQ(ConnectionStringValue(text, QString::fromLatin1(c.key)), QString::fromLatin1(c.value)) << c.key;
}

TEST(SqlText, DateTimesRoundTripAsIsoText) {
  struct Case { TDateTime value; TSqlDateTimePart part; const char* text; };
  for (const Case& c : std::initializer_list<Case>{
           {EncodeDate(2024, 2, 29) + EncodeTime(13, 45, 30, 0), TSqlDateTimePart::DateTime, "2024-02-29 13:45:30"},
           {EncodeDate(1899, 12, 30), TSqlDateTimePart::Date, "1899-12-30"},
           {EncodeDate(1850, 1, 1), TSqlDateTimePart::Date, "1850-01-01"},
           {EncodeTime(0, 0, 1, 250), TSqlDateTimePart::Time, "00:00:01.250"},
           {EncodeDate(2000, 1, 1) + EncodeTime(23, 59, 59, 999), TSqlDateTimePart::DateTime, "2000-01-01 23:59:59.999"}}) {
    EXPECT_EQ(SqlDateTimeText(c.value, c.part), QByteArray(c.text));
    TDateTime back = 0;
    ASSERT_TRUE(TryReadSqlDateTime(std::string_view(c.text), back)) << c.text;
    EXPECT_NEAR(back, c.value, 1e-8) << c.text;
  }
  TDateTime ignored = 0;
  for (const char* bad : {"", "2023-02-30", "2024-13-01", "2024-01-01 25:00", "2024/01/01", "12:61", "2024-01-01x"})
    EXPECT_FALSE(TryReadSqlDateTime(std::string_view(bad), ignored)) << bad;
  EXPECT_TRUE(TryReadSqlDateTime(std::string_view("2024-01-01T08:30"), ignored));
}

TEST(SqlText, DateTimesOutsideTheCalendarAreAConversionError) {
  EXPECT_EQ(SqlDateTimeText(EncodeDate(1, 1, 1), TSqlDateTimePart::Date), QByteArray("0001-01-01"));
  EXPECT_EQ(SqlDateTimeText(EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999), TSqlDateTimePart::DateTime),
            QByteArray("9999-12-31 23:59:59.999"));
  for (const TDateTime value : {1e300, -1e300, std::nan(""), HUGE_VAL, EncodeDate(1, 1, 1) - 0.5,
                                EncodeDate(9999, 12, 31) + 0.9999999999})
    for (const TSqlDateTimePart part : {TSqlDateTimePart::DateTime, TSqlDateTimePart::Date, TSqlDateTimePart::Time})
      EXPECT_THROW(SqlDateTimeText(value, part), EConvertError) << value;
}

TEST(FilterLike, WildcardsMatchAnyRunWithoutCase) {
  struct Case { const char* text; const char* pattern; bool match; };
  for (const Case& c : std::initializer_list<Case>{{"Zhang San", "zh%", true},     {"Zhang San", "%SAN", true},
                                                   {"Zhang San", "%ng%s%", true},  {"Zhang San", "zhang", false},
                                                   {"", "%", true},                {"abc", "a*c", true},
                                                   {"abcabd", "%ab%d", true},       {"abcabc", "%ab%d", false},
                                                   {"100%", "100%", true},          {"x", "", false}})
    EXPECT_EQ(FilterLikeMatch(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
        << c.text << " like " << c.pattern;
  // Many wildcards against a long text stay quick (no backtracking blow-up).
  EXPECT_FALSE(FilterLikeMatch(String(5000, QLatin1Char('a')), QStringLiteral("%a%a%a%a%a%a%a%a%b")));
}

TEST(FilterExpression, RejectsMalformedText) {
  for (const char* bad : {"A =", "A = 'open", "(A = 1", "A = 1)", "= 1", "A 1", "A > Null", "A is 1", "A not 1",
                          "A = 1 and", "[A = 1"})
    EXPECT_THROW(TFilterExpression(QString::fromLatin1(bad)), EDatabaseError) << bad;
  EXPECT_TRUE(TFilterExpression(QStringLiteral("   ")).IsEmpty());
  EXPECT_THROW(TFilterExpression(String(100000, QLatin1Char('('))), EDatabaseError);
  EXPECT_NO_THROW(TFilterExpression(QStringLiteral("not not (((A = 1)))")));
  EXPECT_THROW(TFilterExpression(QStringLiteral("A = 1").repeated(5000).replace(QStringLiteral("1A"), QStringLiteral("1 or A"))),
               EDatabaseError);
}

}  // namespace
