#include "platform/rtl/PlainNumbers.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/SysUtilsDecimal.h"
#include "platform/rtl/tests/SysUtilsErrorText.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

TEST(WholeNumbers, RoundHalvesToEvenTruncTowardsZeroMulDivHalvesAway) {
  struct Case { double value; Int64 round, trunc; };
  for (const Case& c : std::initializer_list<Case>{
         {2.5, 2, 2}, {3.5, 4, 3}, {-2.5, -2, -2}, {-3.5, -4, -3}, {2.4999, 2, 2}, {-0.6, -1, 0}, {1e15 + 0.5, 1000000000000000, 1000000000000000}}) {
    EXPECT_EQ(Round(c.value), c.round) << c.value;
    EXPECT_EQ(Trunc(c.value), c.trunc) << c.value;
  }
  EXPECT_EQ(MulDiv(10, 1, 4), 3);     // 2.5
  EXPECT_EQ(MulDiv(-10, 1, 4), -3);
  EXPECT_EQ(MulDiv(10, 1, -4), -3);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // no 32-bit overflow in between
  EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(FormatFloat, PicturesRoundHalvesAwayFromZeroOnTheDecimalDigits) {
  struct Case { const char* format; double value; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"0", 2.5, "3"}, {"0", -2.5, "-3"}, {"0", 0.5, "1"}, {"0", 3.49, "3"},
         {"0.00", 0.125, "0.13"}, {"0.00", 1.005, "1.01"}, {"0.00", -1.005, "-1.01"}, {"0.00", 2.675, "2.68"},
         {"0.00", 1234.5, "1234.50"}, {"0.00", 0.001, "0.00"}, {"0.00", -0.001, "0.00"},
         {"#,##0.00", 1234567.891, "1,234,567.89"}, {"#,##0.00", -1234.5, "-1,234.50"}, {"#,##0", 999.5, "1,000"},
         {"#,##0.00", 0, "0.00"}, {"#.##", 0, ""}, {"#.##", 0.5, ".5"}, {"0.##", 2, "2"}, {"0.0#", 2.1, "2.1"}, {"0.0#", 2.125, "2.13"},
         {"000", 7, "007"}, {"0", 123456, "123456"}, {".00", 12.5, "12.50"},
         {"0条", 12, "12条"}, {"共0人", 5, "共5人"}, {"0.00元", 3.456, "3.46元"},
         {"'#'0", 5, "#5"}, {"\"0.\"0", 5, "0.5"}, {"0%", 45, "45%"},
         {"0.00E+00", 1234.5, "1.23E+03"}, {"0.00E+00", 0.00012345, "1.23E-04"}, {"0.0E-0", 1234.5, "1.2E3"},
         {"0.00E+00", 9.999, "1.00E+01"}, {"0.00E+00", 0, "0.00E+00"},
         {"0", 1e20, "100000000000000000000"}})
    EXPECT_EQ(FormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected))
        << c.format << " " << c.value;
}

// Fixed formats take a shortcut through a scaled integer; it must give the digits of the
// exact path (fifteen significant digits, then halves away from zero) wherever it is taken.
TEST(FormatFloat, FixedFormatsAgreeWithTheExactDigits) {
  const auto Exact = [](int Decimals, bool Grouped, Extended Value) {
    TDecimalDigits Digits = DecimalFromDouble(Value);
    RoundDecimal(Digits, Decimals);
    return DecimalToFixedText(Digits, Decimals, Grouped);
  };
  std::vector<Extended> Values = {0.0L, -0.0L, 0.005L, 0.015L, 0.025L, 0.125L, 1.005L, 2.675L, 1.115L, 8.345L,
                                  1234.565L, 0.0049999999L, 0.00500000001L, 999999.995L, 99999999999.995L,
                                  9999999999.99L, 1e11L, 1e12L, 1e15L + 0.5L, 1e300L, 1e-300L, 1e4000L, 1e-4000L,
                                  4503599627370495.5L, 0.1L, 0.7L, 1.0L / 3, 2.0L / 3, 123456.785L};
  for (double d : {1.005, 2.675, 0.285, 1.255, 10.075, 1e-7, 5e-3, 0.045})  // doubles just below a tie
    Values.push_back(d);
  for (int k = 0; k < 20000; ++k) Values.push_back(Extended(k) / 1000 + 0.0005L * (k % 3));
  // Amounts as pay formulas make them: rates of sums with cents, most of them on a tie.
  for (int k = 0; k < 2000; ++k) {
    const Extended Base = 3000 + k * 13.5L;
    for (Extended Rate : {0.05L, 0.08L, 0.12L, 0.005L, 0.015L}) Values.push_back(Base * Rate + 10);
    Values.push_back((Base + 100 + k % 30) * 0.05L + 10);
  }
  // A sixteenth digit that decides the fifteenth, and the edges of the digit count.
  for (Extended V : {0.1234567890123455L, 1234567.890123455L, 9999999.999999995L, 99999.99499999999L,
                     0.000001L, 0.0000009999999999L, 0.0000049999999999L, 0.00005L, 0.000049999999999999L,
                     999999999.9949999L, 1e-6L * 0.5L})
    Values.push_back(V);
  const char* Formats[] = {"0", "0.0", "0.00", "0.000", "0.0000", "#,##0", "#,##0.00"};
  for (Extended Magnitude : Values)
    for (Extended Value : {Magnitude, -Magnitude})
      for (const char* Format : Formats) {
        const String F = QString::fromLatin1(Format);
        const int Decimals = F.contains(u'.') ? int(F.size() - F.indexOf(u'.') - 1) : 0;
        ASSERT_EQ(FormatFloat(F, Value), Exact(Decimals, F.startsWith(u'#'), Value))
            << Format << " " << double(Value);
      }
  struct Case { const char* format; long double value; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"0.00", 1.005L, "1.01"}, {"0.00", 2.675, "2.68"}, {"0.00", -0.0L, "0.00"}, {"0.00", -0.004L, "0.00"},
         {"#,##0.00", -1234567.005L, "-1,234,567.01"}, {"0", 0.5L, "1"}, {"0.0000", 1e-5L, "0.0000"}})
    EXPECT_EQ(FormatFloat(QString::fromLatin1(c.format), c.value), QString::fromLatin1(c.expected)) << c.format;
}

TEST(FormatFloat, Sections) {
  struct Case { const char* format; double value; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"0.00;-0.00;", 0, ""}, {"0.00;-0.00;", 0.004, ""}, {"0.00;-0.00;", -1.5, "-1.50"}, {"0.00;-0.00;", 2, "2.00"},
         {"0.00;(0.00);零", 0, "零"}, {"0.00;(0.00);零", -3, "(3.00)"}, {"0.00;(0.00)", 0, "0.00"},
         {"0;;'zero'", -4, "-4"}, {"0;;'zero'", 0, "zero"}, {"0.0;'neg'", -1, "neg"},
         {"0.00;'-'0.00", -2.5, "-2.50"}, {"\"a;b\"0", 1, "a;b1"}, {"", 1.5, "1.5"}, {"", -1e-7, "-1E-7"}})
    EXPECT_EQ(FormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected))
        << c.format << " " << c.value;
}

TEST(FormatFloat, FollowsTheSeparatorSettings) {
  DecimalSeparator = u',';
  ThousandSeparator = u'.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
  EXPECT_EQ(FloatToStr(0.5), "0,5");
  EXPECT_EQ(StrToFloat("0,5"), 0.5L);
  double value = 0;
  EXPECT_FALSE(TryStrToFloat(QStringLiteral("0.5"), value));
  DecimalSeparator = u'.';
  ThousandSeparator = u',';
}

TEST(FloatToStr, FifteenSignificantDigitsShortestForm) {
  struct Case { double value; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {0, "0"}, {0.1, "0.1"}, {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"}, {-2.5, "-2.5"},
         {100, "100"}, {123456789012345.0, "123456789012345"}, {1234567890123456.0, "1.23456789012346E15"},
         {1e20, "1E20"}, {0.0001, "0.0001"}, {0.00001, "1E-5"}, {1.5e-7, "1.5E-7"},
         {-0.0012, "-0.0012"}, {-0.0, "0"}, {1e15, "1E15"}, {999999999999999.9, "1E15"}, {0.001, "0.001"},
         {5e-324, "4.94065645841247E-324"}, {4850.25, "4850.25"}, {-12345678.5, "-12345678.5"},
         {std::numeric_limits<double>::infinity(), "INF"}, {-std::numeric_limits<double>::infinity(), "-INF"},
         {std::nan(""), "NAN"}})
    EXPECT_EQ(FloatToStr(c.value), c.expected) << c.value;
}

// Doubles whose shortest spelling fits the precision take their digits from that spelling;
// they must be the digits the exact binary value rounds to.
TEST(DecimalFromDouble, ShortSpellingsGiveTheDigitsTheExactValueRoundsTo) {
  const auto Exact = [](Extended Value, int Significant) {
    char buffer[64];
    const char* end = PlainScientificDigits(std::fabs(Value), Significant, buffer, buffer + sizeof buffer);
    const std::string text(buffer, size_t(end - buffer));
    std::string digits;
    for (const char c : text.substr(0, text.find('e')))
      if (c != '.') digits += c;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return (Value < 0 ? "-" : "") + digits + "e" + std::to_string(std::stoi(text.substr(text.find('e') + 1)) + 1);
  };
  const auto Ours = [](Extended Value, int Significant) {
    const TDecimalDigits number = DecimalFromDouble(Value, Significant);
    return (number.Negative ? "-" : "") + number.Digits.toStdString() + "e" + std::to_string(number.Exponent);
  };
  std::vector<double> values = {0.1,     0.3,     1.005,  2.675,    100,     1e15,    123456789012345.0,
                                999999999999999.0,  0.0001, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308,
                                9007199254740992.0, 0.1 + 0.2, 1.0 / 3, 4850.25, 1e-5, 12345.678901234};
  std::mt19937_64 random(20261211);
  for (int k = 0; k < 30000; ++k) {
    const Int64 mantissa = Int64(random() % 1000000000000000ull) >> (random() % 50);
    const double scaled = double(mantissa) * std::pow(10.0, int(random() % 40) - 20);
    if (scaled != 0) values.push_back(k % 2 ? scaled : -scaled);
  }
  for (int k = 0; k < 10000; ++k) {
    const UInt64 bits = random();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value) && value != 0) values.push_back(value);
  }
  for (const double value : values)
    for (const int significant : {1, 6, 14, 15})
      ASSERT_EQ(Ours(value, significant), Exact(value, significant)) << value << " to " << significant;
}

TEST(FloatToStrF, FormsAndCurrency) {
  EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2), "1234.57");
  EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 2), "1,234.57");
  EXPECT_EQ(FloatToStrF(1234.5678, ffCurrency, 15, 2), QString::fromUtf8("￥1,234.57"));
  EXPECT_EQ(FloatToStrF(-1234.5678, ffCurrency, 15, 2), QString::fromUtf8("￥-1,234.57"));
  EXPECT_EQ(FloatToStrF(1234.5678, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(1234.5678, ffGeneral, 6, 0), "1234.57");
  EXPECT_EQ(FloatToStrF(1234567.0, ffGeneral, 4, 0), "1.235E6");
  // Extended values beyond a double's range keep their magnitude.
  EXPECT_EQ(FloatToStrF(9e308L, ffGeneral, 15, 0), "9E308");
  EXPECT_EQ(FormatFloat("0.00E+0", -1.5e400L), "-1.50E+400");
}

TEST(StrToFloat, AcceptsBlanksAroundANumberAndNothingElse) {
  struct Case { const char* text; bool ok; double value; };
  for (const Case& c : std::initializer_list<Case>{
         {"12.5", true, 12.5}, {"  -3 ", true, -3}, {"+.5", true, 0.5}, {"5.", true, 5}, {"1.5E3", true, 1500},
         {"2e-2", true, 0.02}, {"abc", false, 0}, {"12.5abc", false, 0}, {"", false, 0}, {"-", false, 0},
         {"1,000", false, 0}, {"1e", false, 0}, {"INF", false, 0}, {"1e999", false, 0}, {"0x10", false, 0}})
  {
    double value = 0;
    EXPECT_EQ(TryStrToFloat(QString::fromUtf8(c.text), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  EXPECT_EQ(StrToFloatDef("x", 7), 7);
  EXPECT_EQ(ErrorText<EConvertError>([] { StrToFloat("abc"); }), "'abc' is not a valid floating point value");
}

TEST(StrToFloat, ExtendedValuesBeyondTheRangeAreRefusedAndBelowItAreZero) {
  struct Case { const char* text; bool ok; long double value; };
  for (const Case& c : std::initializer_list<Case>{
         {"1e4000", true, 1e4000L}, {"-1.5e-4000", true, -1.5e-4000L}, {"1e5000", false, 0}, {"-1e5000", false, 0},
         {"1e-5000", true, 0}, {"8000.01", true, 8000.01L}}) {
    Extended value = 0;
    EXPECT_EQ(TryStrToFloat(QString::fromUtf8(c.text), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(StrToInt, DecimalAndHexadecimalWithinRange) {
  struct Case { const char* text; bool ok; Integer value; };
  for (const Case& c : std::initializer_list<Case>{
         {"42", true, 42}, {" -17 ", true, -17}, {"+8", true, 8}, {"$FF", true, 255}, {"0x1f", true, 31},
         {"$FFFFFFFF", true, -1}, {"-$10", true, -16}, {"2147483647", true, 2147483647},
         {"-2147483648", true, std::numeric_limits<Integer>::min()}, {"2147483648", false, 0},
         {"$100000000", false, 0}, {"1.5", false, 0}, {"12a", false, 0}, {"", false, 0}, {"$", false, 0},
         {"$G", false, 0}, {"- 5", false, 0}})
  {
    Integer value = 0;
    EXPECT_EQ(TryStrToInt(QString::fromUtf8(c.text), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<Int64>::max());
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("4294967296"), Int64(1) << 32);
  EXPECT_EQ(StrToIntDef("x", -1), -1);
  EXPECT_EQ(ErrorText<EConvertError>([] { StrToInt("x"); }), "'x' is not a valid integer value");
}

TEST(IntToText, DecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(-12), "-12");
  EXPECT_EQ(IntToStr(Int64(1) << 40), "1099511627776");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64(-1), 4), "FFFFFFFFFFFFFFFF");
}

TEST(Format, KindsWidthsAndPrecisions) {
  struct Case { const char* format; std::vector<Variant> args; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"%d条", {12}, "12条"}, {"%5d|%-5d|", {42, 42}, "   42|42   |"}, {"%.3d", {-7}, "-007"},
         {"%x", {255}, "FF"}, {"%.4x", {Int64(255)}, "00FF"}, {"%u", {-1}, "4294967295"},
         {"%.2f", {1.005}, "1.01"}, {"%f", {2.5}, "2.50"}, {"%.0f", {-2.5}, "-3"}, {"%8.1f|", {3.14159}, "     3.1|"},
         {"%n", {1234567.891}, "1,234,567.89"}, {"%m", {-5.0}, "￥-5.00"},
         {"%m", {Variant::FromCurrency(Currency::FromScaled(12345))}, "￥1.23"}, {"%g", {0.1}, "0.1"},
         {"%e", {1234.5}, "1.23450000000000E+003"},
         {"%s和%s", {"甲", QStringLiteral("乙")}, "甲和乙"}, {"%.2s", {"abcdef"}, "ab"}, {"%-4s|", {"ab"}, "ab  |"},
         {"%*d", {4, 7}, "   7"}, {"%1:s %0:s %s", {"a", "b"}, "b a b"}, {"100%%", {}, "100%"}})
    EXPECT_EQ(Format(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected)) << c.format;
}

TEST(Format, MismatchesRaise) {
  struct Case { const char* format; std::vector<Variant> args; };
  for (const Case& c : std::initializer_list<Case>{
         {"%d", {"12"}}, {"%d", {1.5}}, {"%s", {12}}, {"%f", {12}}, {"%d %d", {1}}, {"%q", {1}}, {"%", {1}},
         {"%s", {Variant::Null()}}})
    EXPECT_THROW(Format(QString::fromUtf8(c.format), c.args), EConvertError) << c.format;
}

TEST(StrToCurr, ExactToFourPlaces) {
  EXPECT_EQ(StrToCurr("0.1").Scaled(), 1000);
  EXPECT_EQ(StrToCurr("-1234.56785").Scaled(), -12345679);
  EXPECT_THROW(StrToCurr("1e20"), EConvertError);
}

}  // namespace
