#include "platform/rtl/Currency.h"
#include "platform/rtl/SysUtils.h"
#include <gtest/gtest.h>

namespace {

TEST(Currency, FromDoubleReadsTheDecimalDigitsAndRoundsHalvesAwayFromZero) {
  struct Case { double value; Int64 scaled; };
  for (const Case& c : std::initializer_list<Case>{
         {0.1, 1000}, {0.3, 3000}, {1.00005, 10001}, {-1.00005, -10001}, {2.00004, 20000},
         {1234.56789, 12345679}, {-0.00004, 0}, {922337203685477.0, 9223372036854770000}})
    EXPECT_EQ(Currency::FromDouble(c.value).Scaled(), c.scaled) << c.value;
  EXPECT_THROW(Currency::FromDouble(1e16), EOverflow);
  EXPECT_THROW(Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
}

TEST(Currency, SumsStayExactWhereDoublesDrift) {
  Currency sum;
  for (double v : {0.1, 0.2, 0.3}) sum += Currency::FromDouble(v);
  EXPECT_EQ(sum, Currency::FromScaled(6000));
  EXPECT_EQ(sum.ToDouble(), 0.6);
  EXPECT_NE(0.1 + 0.2 + 0.3, 0.6);
}

TEST(Currency, ProductsAndQuotientsRoundToFourPlacesHalvesAwayFromZero) {
  const Currency third = Currency::FromInt64(1) / Currency::FromInt64(3);
  EXPECT_EQ(third.Scaled(), 3333);
  EXPECT_EQ((Currency::FromInt64(2) / Currency::FromInt64(3)).Scaled(), 6667);
  EXPECT_EQ((Currency::FromInt64(-2) / Currency::FromInt64(3)).Scaled(), -6667);
  EXPECT_EQ((Currency::FromScaled(5) * Currency::FromScaled(5000)).Scaled(), 3);   // 0.0005 x 0.5 = 0.00025
  EXPECT_EQ((Currency::FromScaled(-5) * Currency::FromScaled(5000)).Scaled(), -3);
  EXPECT_EQ(Currency::FromDouble(12.5) * Currency::FromInt64(4), Currency::FromInt64(50));
  EXPECT_THROW(Currency::FromInt64(1) / Currency(), EZeroDivide);
  EXPECT_THROW(Currency::FromScaled(std::numeric_limits<Int64>::max()) + Currency::FromScaled(1), EOverflow);
  EXPECT_THROW(Currency::FromInt64(1000000000) * Currency::FromInt64(1000000000), EOverflow);
  EXPECT_LT(Currency::FromDouble(-0.0001), Currency());
}

TEST(Currency, Text) {
  struct Case { Int64 scaled; const char* plain; const char* picture; const char* currency; };
  for (const Case& c : std::initializer_list<Case>{
         {12345000, "1234.5", "1,234.50", "￥1,234.50"},
         {-1, "-0.0001", "0.00", "￥0.00"},
         {30000, "3", "3.00", "￥3.00"},
         {0, "0", "0.00", "￥0.00"},
         {-123456789, "-12345.6789", "-12,345.68", "￥-12,345.68"}}) {
    const Currency value = Currency::FromScaled(c.scaled);
    EXPECT_EQ(CurrToStr(value), QString::fromUtf8(c.plain));
    EXPECT_EQ(FormatCurr(QStringLiteral("#,##0.00"), value), QString::fromUtf8(c.picture));
    EXPECT_EQ(CurrToStrF(value, ffCurrency, CurrencyDecimals), QString::fromUtf8(c.currency));
  }
}

}  // namespace
