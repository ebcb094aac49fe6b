#include "app/PayRecordCalc.h"
#include "app/AppMessages.h"
#include "app/tests/MessageRecorder.h"
#include "app/tests/TestDataModule.h"
#include "app/uPub.h"
#include <gtest/gtest.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

TPayItem Item(const char* Name, const char* Field, const char* Formula = " ") {
  return {U(Name), U(Field), U(Formula)};
}

// The current monthly brackets, threshold 5000.
std::vector<TTaxBracket> MonthlyBrackets() {
  return {{3000, 3, 0},      {12000, 10, 210},  {25000, 20, 1410}, {35000, 25, 2660},
          {55000, 30, 4410}, {80000, 35, 7160}, {1e12, 45, 15160}};
}

class PayRecordCalcTest : public ::testing::Test {
protected:
  void SetUp() override {
    Settings().GGSLimit = 5000;
    Settings().GShowFloat = 1;
    Settings().GPrintDays = 1;
    Calc.TaxBrackets = MonthlyBrackets();
  }
  String& Box(const char* Caption) {
    TPaySlot* S = Calc.FindEditCtrlByName(U(Caption));
    EXPECT_NE(S, nullptr) << Caption;
    return S->Text;
  }
  TTestDataModule Module;
  TPayRecordCalc Calc;
  TMessageRecorder Messages;
};

TEST(IncomeTax, UsesTheFirstBracketThatReachesTheExcess) {
  struct Case { long double base; long double expected; };
  for (const Case& c : std::initializer_list<Case>{
         {4000, 0}, {5000, 0}, {5000.01L, 0.0003L}, {8000, 90}, {8000.01L, 300.001L - 210},
         {17000, 12000 * 0.1L - 210}, {20000, 15000 * 0.2L - 1410}, {105000, 100000 * 0.45L - 15160}})
    EXPECT_NEAR(double(IncomeTax(c.base, 5000, MonthlyBrackets())), double(c.expected), 1e-9) << double(c.base);
  // An excess beyond the last bound, or no brackets at all, gives no tax.
  EXPECT_EQ(IncomeTax(9000, 5000, {{3000, 3, 0}}), 0);
  EXPECT_EQ(IncomeTax(9000, 5000, {}), 0);
}

TEST_F(PayRecordCalcTest, LaysOutItemsInSlotsAndHidesTheRest) {
  std::vector<TPayItem> Earnings;
  for (int k = 0; k < 32; ++k) Earnings.push_back({QStringLiteral("E%1").arg(k), QStringLiteral("GZ%1").arg(k + 1), " "});
  Calc.SetItems(sgEarnings, Earnings);
  Calc.SetItems(sgDeductions, {Item("社保", "KK1"), Item("公积金", "KK2")});
  EXPECT_TRUE(Calc.Slot(sgEarnings, 29).Visible);
  EXPECT_EQ(Calc.Slot(sgEarnings, 29).Caption, QStringLiteral("E29"));
  EXPECT_EQ(Calc.Items(sgEarnings).size(), 32u);
  EXPECT_EQ(Calc.FindEditCtrlByName(QStringLiteral("E30")), nullptr);  // an item beyond the slots has none
  EXPECT_TRUE(Calc.Slot(sgDeductions, 1).Visible);
  EXPECT_FALSE(Calc.Slot(sgDeductions, 2).Visible);
}

TEST_F(PayRecordCalcTest, FormulasReadSlotsWithTwoDecimalsAndUnknownCaptionsAsZero) {
  Calc.SetItems(sgEarnings, {Item("基本工资", "GZ1"), Item("岗位工资", "GZ2"), Item("工资项目", "GZ3"),
                             Item("工资项目", "GZ4")});
  Calc.SetItems(sgDeductions, {Item("基本工资", "KK1"), Item("扣款", "KK2")});
  Box("基本工资") = QStringLiteral("3.456");
  Calc.Slot(sgDeductions, 0).Text = QStringLiteral("999");
  Calc.Slot(sgEarnings, 2).Text = QStringLiteral("10");
  Calc.Slot(sgEarnings, 3).Text = QStringLiteral("20");
  Box("扣款") = QStringLiteral("-5");
  struct Case { const char* formula; long double expected; };
  for (const Case& c : std::initializer_list<Case>{
         {"[基本工资]*100", 346},           // enters as 3.46; earnings win over a deduction of the same caption
         {"[岗位工资]+1", 1},               // an empty box is 0
         {"[不存在]+2", 2},                 // no slot bears the caption
         {"[工资项目]", 10},                // duplicate captions name the first slot
         {"100-[扣款]", 105},               // a negative value stays a valid operand
         {"[扣款]^2", 25},
         {" [&个税] ", 0}}) {              // the marker with blanks is an ordinary formula
    EXPECT_NEAR(double(Calc.GetCalcValue(U(c.formula))), double(c.expected), 1e-12) << c.formula;
  }
  EXPECT_TRUE(Messages.Messages().isEmpty());

  Box("岗位工资") = QStringLiteral("abc");
  EXPECT_THROW(Calc.GetCalcValue(U("[岗位工资]*2")), EConvertError);
}

// Formulas are parsed once per item set and evaluated on the slots' numbers; the result and
// the messages must be what evaluating the text with the values pasted in gives, also for
// formulas where pasting reads a value together with its neighbours.
TEST_F(PayRecordCalcTest, FormulasEvaluateAsTheirTextWithTheValuesPastedIn) {
  Calc.SetItems(sgEarnings, {Item("甲", "GZ1"), Item("乙", "GZ2"), Item("加班(小时)", "GZ3")});
  const auto Pasted = [](const char* Formula, const QStringList& Texts) {
    String Text = U(Formula);
    const char* Captions[] = {"[甲]", "[乙]", "[加班(小时)]"};
    for (int i = 0; i < 3; ++i) {
      String Value = FormatFloat(QStringLiteral("0.00"), StrToFloat(NormalizeNumText(Texts[i])));
      if (Value.startsWith(u'-')) Value = u'(' + Value + u')';
      Text.replace(U(Captions[i]), Value);
    }
    return Text.replace(U("[无此项]"), QStringLiteral("0.00"));  // no slot bears it
  };
  const char* Formulas[] = {
      "[甲]*0.1+[乙]", "-[甲]^2", "- [甲]^2", "(-[甲]^2)", "1-[甲]^2", "2^[甲]", "2^([甲])", "2^ ( [甲] )",
      "2[甲]", "[甲]3", "[甲].5", "[甲]e2", "[甲][乙]", "abs [甲]", "abs([甲])", "[甲]^[乙]", "[甲]/[乙]",
      "[加班(小时)]*2", "[无此项]+[甲]", "x_0+[甲]", "sqrt([甲])", "ln([乙])", "[甲]*(2", "1e5000*[甲]"};
  const QStringList Records[] = {{"3", "2", "1.5"}, {"-3", "0.5", "-1"}, {"1.005", "-2.675", " 12 "},
                                 {"0", "0", ""}, {"-0.001", "100000000000000000000", "7."}};
  for (const QStringList& Texts : Records) {
    for (int i = 0; i < 3; ++i) Calc.Slot(sgEarnings, i).Text = Texts[i];
    for (const char* Formula : Formulas) {
      const String Text = Pasted(Formula, Texts);
      Messages.Clear();
      const long double Got = Calc.GetCalcValue(U(Formula));
      const QStringList GotMessages = Messages.Messages();
      Messages.Clear();
      TCalcExpress Reference;
      long double Expected = 0;
      try {
        Reference.SetFormula(Text);
        Expected = Reference.Evaluate();
      } catch (const Exception& E) {
        ShowAppMessage(U("计算表达式：") + Text + U(" 发生错误！\n原始计算表达式设置：") + U(Formula) + u'\n' +
                       U("错误原因：") + E.Message());
      }
      EXPECT_EQ(Got, Expected) << Formula << " on " << Texts.join(u'|').toStdString();
      EXPECT_EQ(GotMessages, Messages.Messages()) << Formula << " on " << Texts.join(u'|').toStdString();
    }
  }
}

TEST_F(PayRecordCalcTest, AFormulaErrorIsShownAndGivesZero) {
  Calc.SetItems(sgEarnings, {Item("基本工资", "GZ1")});
  Box("基本工资") = QStringLiteral("100");
  EXPECT_EQ(Calc.GetCalcValue(U("[基本工资]*(2")), 0);
  ASSERT_EQ(Messages.Messages().size(), 2);
  EXPECT_EQ(Messages.Messages()[0], QStringLiteral("Error in formula."));
  EXPECT_TRUE(Messages.Messages()[1].startsWith(U("计算表达式：100.00*(2 发生错误！\n原始计算表达式设置：[基本工资]*(2\n错误原因：")))
      << Messages.Messages()[1].toStdString();

  Messages.Clear();
  EXPECT_EQ(Calc.GetCalcValue(U("[基本工资]/0")), 0);
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].endsWith(U("错误原因：Floating point division by zero")));
}

TEST_F(PayRecordCalcTest, ReCalcAllEvaluatesOnceInOrderAndTaxesWithoutTheOldTax) {
  Calc.SetItems(sgEarnings, {Item("绩效", "GZ1", "[基本工资]*0.1"), Item("基本工资", "GZ2"),
                             Item("补贴", "GZ3", "[基本工资]*0.05"), Item("工资项目", "GZ4", "[缺席]")});
  Calc.SetItems(sgDeductions, {Item("个税", "KK1", "[&个税]"), Item("社保", "KK2", "[基本工资]*0.08")});
  Box("绩效") = QStringLiteral("1");
  Box("基本工资") = QStringLiteral("10000");
  Box("个税") = QStringLiteral("5000");
  Box("社保") = QStringLiteral("1");
  Calc.ReCalcAll();
  EXPECT_EQ(Box("绩效"), QStringLiteral("1000.00"));
  EXPECT_EQ(Box("补贴"), QStringLiteral("500.00"));
  EXPECT_EQ(Box("工资项目"), QStringLiteral("0.00"));
  // Tax is computed before social security is recomputed: it sees the old 1.00.
  // Base 11500 - 1 = 11499, excess 6499 -> 10% - 210.
  EXPECT_EQ(Box("个税"), QStringLiteral("439.90"));
  EXPECT_EQ(Box("社保"), QStringLiteral("800.00"));
  EXPECT_EQ(Calc.YFTotalText, QStringLiteral("11500.00"));
  EXPECT_EQ(Calc.KKTotalText, QStringLiteral("1239.90"));
  EXPECT_EQ(Calc.GZTotalText, QStringLiteral("10260.10"));

  // A second run reaches the fixed point: base 11500 - 800, the old tax zeroed first.
  Calc.ReCalcAll();
  EXPECT_EQ(Box("个税"), QStringLiteral("360.00"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(PayRecordCalcTest, DuplicateCaptionsWriteFormulaResultsToTheFirstSlot) {
  Calc.SetItems(sgEarnings, {Item("工资项目", "GZ1"), Item("工资项目", "GZ2", "7*2")});
  Calc.ReCalcAll();
  EXPECT_EQ(Calc.Slot(sgEarnings, 0).Text, QStringLiteral("14.00"));
  EXPECT_EQ(Calc.Slot(sgEarnings, 1).Text, QString());
}

TEST_F(PayRecordCalcTest, TotalsUseTheAmountFormatAndTheNetFollowsTheShownTotals) {
  Calc.SetItems(sgEarnings, {Item("甲", "GZ1"), Item("乙", "GZ2")});
  Calc.SetItems(sgDeductions, {Item("丙", "KK1")});
  Box("甲") = QStringLiteral("100.5");
  Box("乙") = QStringLiteral("200.25");
  Box("丙") = QStringLiteral("10.4");
  Settings().GShowFloat = 0;
  Calc.AutoCalc();
  EXPECT_EQ(Calc.YFTotalText, QStringLiteral("301"));
  EXPECT_EQ(Calc.KKTotalText, QStringLiteral("10"));
  EXPECT_EQ(Calc.GZTotalText, QStringLiteral("291"));  // 301 - 10, not 290.35 rounded
  Settings().GShowFloat = 1;
  Calc.AutoCalc();
  EXPECT_EQ(Calc.GZTotalText, QStringLiteral("290.35"));

  // A box that is not a number leaves the totals as they were, silently.
  Box("乙") = QStringLiteral("1..2");
  Calc.AutoCalc();
  EXPECT_EQ(Calc.YFTotalText, QStringLiteral("300.75"));
  EXPECT_TRUE(Messages.Messages().isEmpty());
}

TEST_F(PayRecordCalcTest, ProrationScalesVisibleEarningsOnly) {
  Calc.SetItems(sgEarnings, {Item("基本工资", "GZ1"), Item("绩效", "GZ2", "[基本工资]*0.1")});
  Calc.SetItems(sgDeductions, {Item("社保", "KK1")});
  Box("基本工资") = QStringLiteral("3001");
  Box("绩效") = QStringLiteral("300.10");
  Box("社保") = QStringLiteral("100");
  Calc.DaysText = QStringLiteral("11");
  Calc.Prorate(22, 11);
  EXPECT_EQ(Box("基本工资"), QStringLiteral("1500.50"));
  EXPECT_EQ(Box("绩效"), QStringLiteral("150.05"));
  EXPECT_EQ(Box("社保"), QStringLiteral("100"));
  EXPECT_EQ(Calc.DaysText, QStringLiteral("11"));
  EXPECT_EQ(Calc.Slot(sgEarnings, 2).Text, QString());
  EXPECT_EQ(Calc.YFTotalText, QStringLiteral("1650.55"));
  EXPECT_THROW(Calc.Prorate(0, 11), EInvalidOperation);
  EXPECT_EQ(Box("基本工资"), QStringLiteral("1500.50"));
}

TEST_F(PayRecordCalcTest, AmountsBeyondTheExtendedRangeAreOverflowsAndNoBoxShowsINF) {
  Calc.SetItems(sgEarnings, {Item("甲", "GZ1", "1e5000"), Item("乙", "GZ2", "[甲]+1")});
  Calc.SetItems(sgDeductions, {Item("个税", "KK1", "[&个税]")});
  Calc.ReCalcAll();
  EXPECT_EQ(Box("甲"), QStringLiteral("0.00"));
  EXPECT_EQ(Box("乙"), QStringLiteral("1.00"));
  ASSERT_EQ(Messages.Messages().size(), 1);
  EXPECT_TRUE(Messages.Messages()[0].endsWith(U("错误原因：Floating point overflow"))) << Messages.Messages()[0].toStdString();

  // Boxes whose sum leaves the range: the tax, the totals and proration report the overflow.
  Calc.SetItems(sgEarnings, {Item("甲", "GZ1"), Item("乙", "GZ2")});
  Calc.SetItems(sgDeductions, {Item("个税", "KK1", "[&个税]")});
  Calc.AutoCalc();
  Box("甲") = QStringLiteral("1e4932");
  Box("乙") = QStringLiteral("1e4932");
  EXPECT_THROW(Calc.GetGS(), EOverflow);
  EXPECT_THROW(Calc.ReCalcAll(), EOverflow);
  EXPECT_THROW(Calc.AutoCalc(), EOverflow);
  EXPECT_EQ(Calc.YFTotalText, QStringLiteral("0.00"));
  Box("乙") = QStringLiteral("1");
  EXPECT_THROW(Calc.Prorate(1e-4000L, 31), EOverflow);
  EXPECT_EQ(Box("甲"), QStringLiteral("1e4932"));
}

TEST(ProrationParams, RejectsZeroAndMoreThanAMonth) {
  EXPECT_EQ(ProrationParamsError(0, 10), QString::fromUtf8("本月应上班天数不能为0"));
  EXPECT_EQ(ProrationParamsError(32, 10), QString::fromUtf8("本月应上班天数不能大于31"));
  EXPECT_EQ(ProrationParamsError(22, 31.5L), QString::fromUtf8("本月实际上班天数不能大于31"));
  EXPECT_EQ(ProrationParamsError(31, 31), QString());
}

TEST_F(PayRecordCalcTest, AttendanceProductFillsTheFirstEarningsBoxByMode) {
  Calc.SetItems(sgEarnings, {Item("计时工资", "GZ1"), Item("加班", "GZ2", "[计时工资]*0.5")});
  Calc.DaysText = QStringLiteral("21.5");
  Calc.HoursText = QStringLiteral("8");
  Calc.PayStandardText = QStringLiteral(" 200 ");
  for (auto [Mode, Expected, Half] : {std::tuple{1, "4300.00", "2150.00"}, std::tuple{2, "1600.00", "800.00"},
                                      std::tuple{3, "4300.00", "2150.00"}}) {
    Settings().GPrintDays = Mode;
    Calc.AttendanceProduct();
    EXPECT_EQ(Box("计时工资"), QString::fromLatin1(Expected)) << Mode;
    EXPECT_EQ(Box("加班"), QString::fromLatin1(Half)) << Mode;
  }

  // Without earnings items nothing lands in the hidden first box.
  Calc.SetItems(sgEarnings, {});
  Calc.AttendanceProduct();
  EXPECT_EQ(Calc.Slot(sgEarnings, 0).Text, QString());
  EXPECT_EQ(Calc.YFTotalText, QStringLiteral("0.00"));
}

}  // namespace
