#include "app/CalcExpress.h"
#include "app/tests/MessageRecorder.h"
#include "platform/rtl/SysUtils.h"
#include <gtest/gtest.h>
#include <numbers>

namespace {

const String FormulaError = QStringLiteral("Error in formula.");

TEST(CalcExpress, EvaluatesPrecedenceSignsPowersAndFunctions) {
  struct Case { const char* formula; long double expected; };
  const long double pi = std::numbers::pi_v<long double>;
  TMessageRecorder Messages;
  TCalcExpress Calc;
  for (const Case& c : std::initializer_list<Case>{
         {"-3^2", 9}, {"2^3^2", 64}, {"2^(-3)", 0.125L}, {"2^(3)", 8}, {"(1+2)*3", 9}, {"1+2*3", 7},
         {"8/2/2", 2}, {"2-3-4", -5}, {"2*(-3)", -6}, {"-(2+3)*2", -10}, {"+5", 5}, {"- 3^2", -9},
         {"1.5e2", 150}, {"1.5E-1", 0.15L}, {"25e+1", 250}, {" 1 +  2 ", 3}, {"abs(-4)", 4},
         {"SQRT(16)", 4}, {"Abs(-2)*Sqrt(9)", 6}, {"h(0)", 1}, {"heaviside(-0.5)", 0},
         {"sgn(0)", 0}, {"sign(-7)", -1}, {"sgn(2)", 1}, {"cos(0)", 1}, {"sin(0)", 0}, {"tg(0)", 0},
         {"ctg(1)", 1 / tanl(1)}, {"exp(0)", 1}, {"ln(exp(2))", 2}, {"arcsin(1)", pi / 2},
         {"arccos(1)", 0}, {"arctg(1)", pi / 4}, {"arctan(1)", pi / 4}, {"arcctg(0)", pi / 2},
         {"sh(1)", sinhl(1)}, {"sinh(0)", 0}, {"ch(0)", 1}, {"cosh(1)", coshl(1)}, {"th(1)", tanhl(1)},
         {"tanh(0)", 0}, {"cth(1)", coshl(1) / sinhl(1)}, {"coth(2)", coshl(2) / sinhl(2)},
         {"4^0.5", 2}, {"(2^60+1)-2^60", 1}}) {
    Calc.SetFormula(QString::fromUtf8(c.formula));
    EXPECT_NEAR(double(Calc.Evaluate()), double(c.expected), 1e-12) << c.formula;
  }
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST(CalcExpress, RejectsMalformedFormulasWithOneMessageAndNoTree) {
  TMessageRecorder Messages;
  TCalcExpress Calc;
  for (const char* formula : {"2*-3", "2+-3", "2^-1", "2^(1+2)", "1.e2", "2e", "2e+", ".5", "abs 4",
                              "abs(4", "(1+2))", "1)+2", "1\t+2", "", "3 4", "2(3)", "1+", "[a]+1"}) {
    Messages.Clear();
    Calc.SetFormula(QString::fromUtf8(formula));
    EXPECT_EQ(Messages.Messages(), QStringList{FormulaError}) << formula;
    EXPECT_THROW(Calc.Evaluate(), EInvalidOperation) << formula;
  }
}

TEST(CalcExpress, RejectsFormulasTooDeepOrLongForTheStack) {
  TMessageRecorder Messages;
  TCalcExpress Calc;
  const auto Nested = [](int Depth) { return String(Depth, u'(') + u'1' + String(Depth, u')'); };
  Calc.SetFormula(Nested(256));
  EXPECT_EQ(Calc.Evaluate(), 1);
  Calc.SetFormula(QStringLiteral("1") + QStringLiteral("+1").repeated(2000));
  EXPECT_EQ(Calc.Evaluate(), 2001);
  EXPECT_TRUE(Messages.Messages().isEmpty());

  for (const String& Formula : {Nested(257), Nested(200000), QStringLiteral("1") + QStringLiteral("+1").repeated(500000),
                                QStringLiteral("abs(").repeated(100000)}) {
    Messages.Clear();
    Calc.SetFormula(Formula);
    EXPECT_EQ(Messages.Messages(), QStringList{FormulaError}) << Formula.size();
    EXPECT_THROW(Calc.Evaluate(), EInvalidOperation) << Formula.size();
  }
}

TEST(CalcExpress, KeepsTheFormulaLowerCasedAndHonoursTheDecimalSeparator) {
  TCalcExpress Calc;
  Calc.SetFormula(QStringLiteral("SQRT(X_1)"));
  EXPECT_EQ(Calc.Formula(), QStringLiteral("sqrt(x_1)"));

  DecimalSeparator = u',';
  Calc.SetFormula(QStringLiteral("1,5*2"));
  const long double Value = Calc.Evaluate();
  DecimalSeparator = u'.';
  EXPECT_EQ(Value, 3);
}

TEST(CalcExpress, RaisesNumericFaultsToTheCaller) {
  TCalcExpress Calc;
  const auto Raises = [&Calc](const char* formula) -> std::string {
    Calc.SetFormula(QString::fromUtf8(formula));
    try {
      Calc.Evaluate();
    } catch (const EZeroDivide&) {
      return "zero";
    } catch (const EInvalidOp&) {
      return "invalid";
    } catch (const EOverflow&) {
      return "overflow";
    }
    return "none";
  };
  EXPECT_EQ(Raises("1/0"), "zero");
  EXPECT_EQ(Raises("0/0"), "invalid");
  EXPECT_EQ(Raises("ctg(0)"), "zero");
  EXPECT_EQ(Raises("ln(0)"), "zero");
  EXPECT_EQ(Raises("0^(-1)"), "zero");
  EXPECT_EQ(Raises("sqrt(-1)"), "invalid");
  EXPECT_EQ(Raises("ln(-1)"), "invalid");
  EXPECT_EQ(Raises("arcsin(2)"), "invalid");
  EXPECT_EQ(Raises("(-8)^0.5"), "invalid");
  EXPECT_EQ(Raises("exp(100000)"), "overflow");
  // A literal beyond the extended range is an overflow wherever it stands, never an infinity
  // or a finite value made from one.
  for (const char* formula : {"1e5000", "-1e5000", "1/1e5000", "arctg(1e5000)", "th(1e5000)", "sgn(1e5000)"})
    EXPECT_EQ(Raises(formula), "overflow") << formula;
  EXPECT_EQ(Raises("cth(0)"), "zero");
}

TEST(CalcExpress, TinyLiteralsAreZeroAndThAgreesWithCth) {
  TCalcExpress Calc;
  struct Case { const char* formula; long double expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"1e-5000", 0}, {"1e-5000*3+1", 1}, {"th(12000)", 1}, {"cth(12000)", 1}, {"th(-12000)", -1},
         {"cth(-12000)", -1}, {"1e4000/1e4000", 1}}) {
    Calc.SetFormula(QString::fromUtf8(c.formula));
    EXPECT_EQ(Calc.Evaluate(), c.expected) << c.formula;
  }
}

TEST(CalcExpress, ReadsVariablesByPositionAndNeverOutsideTheValues) {
  TMessageRecorder Messages;
  TCalcExpress Calc;
  Calc.SetFormula(QStringLiteral("-x^2+Y"));
  // Without a variable list a bare name has no value: a clear error, not a stray read.
  try {
    Calc.Evaluate({1, 2, 3});
    ADD_FAILURE() << "evaluated a name that is not a variable";
  } catch (const EInvalidOperation& E) {
    EXPECT_TRUE(E.Message().contains(QStringLiteral("\"x\""))) << E.Message().toStdString();
  }

  TStringList Names;
  Names.Add(QStringLiteral("X"));
  Names.Add(QStringLiteral("y"));
  Calc.SetVariables(&Names);
  EXPECT_EQ(Calc.Evaluate({3, 1}), -8);
  EXPECT_THROW(Calc.Evaluate({3}), EInvalidOperation);
  EXPECT_TRUE(Messages.Messages().isEmpty());

  Calc.SetFormula(QStringLiteral("2^x"));
  EXPECT_EQ(Calc.Evaluate({10, 0}), 1024);
}

}  // namespace
