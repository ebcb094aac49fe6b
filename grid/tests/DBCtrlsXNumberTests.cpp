#include "DBCtrlsXTestSupport.h"
#include "grid/DBCtrlsX.h"
#include "grid/CalculatorX.h"
#include "grid/NumberEditTextX.h"
#include "platform/ui/Clipbrd.h"

using dbedits::TPayTableForm;

namespace {

TDBNumberEditX* UnboundNumberEdit(TPayTableForm& f) {
  auto* edit = new TDBNumberEditX(f.Form);
  edit->SetBounds(0, 30, 150, 21);
  edit->SetParent(f.Form);
  edit->SetFocus();
  return edit;
}

}  // namespace

TEST(NumberEditText, ValuesFitLimitsAndDecimalPlaces) {
  struct Case { Extended value, min, max; Cardinal decimals; Extended expected; };
  for (const Case& c : std::initializer_list<Case>{
         {0.25, 0, 0, 1, 0.2}, {0.75, 0, 0, 1, 0.8}, {2.5, 0, 0, 0, 2}, {3.5, 0, 0, 0, 4},
         {150, 0, 100, 2, 100}, {-5, 0, 100, 2, 0},
         {5, 10, 0, 2, 10}, {1e6, 10, 0, 2, 1e6},    // only a lower bound
         {-7, 0, -5, 2, -7}, {3, 0, -5, 2, -5},      // only an upper bound
         {50, 20, 10, 2, 50},                        // both set the wrong way round: none
         {1.23456, 0, 0, 40, 1.23456},
       })
    EXPECT_DOUBLE_EQ(double(FitToRange(c.value, c.min, c.max, c.decimals)), double(c.expected))
        << c.value << " in " << c.min << ".." << c.max << " to " << c.decimals;
}

TEST(NumberEditText, GroupingAndEditFormats) {
  EXPECT_EQ(GroupThousands("1234567.891", true), "1,234,567.891");
  EXPECT_EQ(GroupThousands("-1234", true), "-1,234");
  EXPECT_EQ(GroupThousands("12345E3", true), "12,345E3");
  EXPECT_EQ(GroupThousands("1,234", false), "1234");
  EXPECT_EQ(EditFormatFromDisplayFormat("#,##0.00'元';-#,##0.00"), "#,##0.00");
  EXPECT_EQ(EditFormatFromDisplayFormat("\"￥\"0.0"), "0.0");
  EXPECT_EQ(NormalizeNumberText(" 1,234.5 "), "1234.5");
}

TEST(DBNumberEditX, TypingRefusesWhatCannotBecomeAnAllowedNumber) {
  TPayTableForm f;
  TDBNumberEditX* edit = UnboundNumberEdit(f);
  dbedits::Type(edit, "1.234");
  EXPECT_EQ(edit->EditText(), "1.23") << "a third decimal is refused";
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 1.23);

  edit->SetMinValue(0);
  edit->SetMaxValue(100);
  edit->SelectAll();
  dbedits::Type(edit, "-");
  EXPECT_EQ(edit->EditText(), "-") << "a lone sign is still zero";
  dbedits::Type(edit, "5");
  EXPECT_EQ(edit->EditText(), "-");
  edit->SelectAll();
  dbedits::Type(edit, "150");
  EXPECT_EQ(edit->EditText(), "150") << "the text keeps what was typed";
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 100);
  f.Leave();
  EXPECT_EQ(edit->EditText(), "100") << "storing reloads the fitted value";
}

TEST(DBNumberEditX, TextThatDoesNotParseMakesTheValueNullWithoutAnError) {
  TPayTableForm f;
  TDBNumberEditX* edit = UnboundNumberEdit(f);
  Clipboard()->SetAsText("1E5");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->EditText(), "1E5");
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 100000);
  dbedits::Type(edit, "\b");
  EXPECT_EQ(edit->EditText(), "1E");
  EXPECT_TRUE(edit->CurrentValue().IsNull());

  Clipboard()->SetAsText("12abc");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->EditText(), "1E") << "a paste that gives no number changes nothing";
  EXPECT_TRUE(f.Exceptions.isEmpty()) << f.Exceptions.join(", ").toStdString();
}

TEST(DBNumberEditX, GroupsThousandsWhileTypingAndShowsTheDisplayFormatWhenLeft) {
  TPayTableForm f;
  auto* edit = f.Place<TDBNumberEditX>("amount");
  edit->SetDisplayFormat("#,##0.00");
  EXPECT_EQ(edit->EditText(), "1,234.50");
  edit->SetFocus();
  edit->SelectAll();
  dbedits::Type(edit, "1234567");
  EXPECT_EQ(edit->EditText(), "1,234,567");
  edit->SetSelStart(2);
  dbedits::Type(edit, "\b");
  EXPECT_EQ(edit->EditText(), "1,234,567") << "Backspace steps over the separator";
  EXPECT_EQ(edit->SelStart(), 1);
  f.Leave();
  EXPECT_EQ(edit->EditText(), "1,234,567.00");
  EXPECT_DOUBLE_EQ(f.Field("amount")->AsFloat(), 1234567);
}

TEST(DBNumberEditX, StepsByIncrementFromNullAndWithinLimits) {
  TPayTableForm f;
  TDBNumberEditX* edit = UnboundNumberEdit(f);
  edit->SetIncrement(0.5);
  dbedits::PressKey(edit, Qt::Key_Up);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 0.5);
  edit->Clear();
  dbedits::PressKey(edit, Qt::Key_Down);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 0.5) << "from Null both directions give the increment";

  edit->SetMinValue(10);
  edit->SetMaxValue(0);
  dbedits::PressKey(edit, Qt::Key_Down);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 10);
  edit->Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(SmallInt(120))), 0);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 10.5) << "the wheel steps too";
  edit->EditButton()->SetVisible(true);
  edit->EditButton()->SetStyle(ebsUpDownX);
  bool autoRepeat = true;
  edit->ButtonControl(0)->DoButtonDown(false, autoRepeat);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 10) << "the lower half of a spin button steps down";

  auto* bound = f.Place<TDBNumberEditX>("amount");
  bound->SetFocus();
  dbedits::PressKey(bound, Qt::Key_Up);
  EXPECT_EQ(f.Query.State(), dsEdit);
  f.Leave();
  EXPECT_DOUBLE_EQ(f.Field("amount")->AsFloat(), 1235.5);
}

TEST(DBNumberEditX, TheCalculatorTakesTheKeysAndHandsBackItsResult) {
  TPayTableForm f;
  TDBNumberEditX* edit = UnboundNumberEdit(f);
  dbedits::PressKey(edit, Qt::Key_Down, QString(), Qt::AltModifier);
  ASSERT_TRUE(edit->CalculatorOpen());
  EXPECT_EQ(edit->CalculatorPopup()->DisplayText(), "0") << "a Null value opens as 0";
  dbedits::Type(edit, "6*7=");
  EXPECT_EQ(edit->CalculatorPopup()->DisplayText(), "42");
  EXPECT_EQ(edit->EditText(), "") << "the keys went to the calculator";
  edit->FinishDropDown(true);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 42);

  dbedits::PressKey(edit, Qt::Key_Down, QString(), Qt::AltModifier);
  dbedits::Type(edit, "1/0=");
  EXPECT_EQ(edit->CalculatorPopup()->Status(), TCalculatorX::csErrorX);
  edit->FinishDropDown(true);
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 42) << "an error takes nothing";

  dbedits::PressKey(edit, Qt::Key_Down, QString(), Qt::AltModifier);
  dbedits::Type(edit, "5");
  dbedits::PressKey(edit, Qt::Key_Escape, "\x1b");
  EXPECT_FALSE(edit->CalculatorOpen());
  EXPECT_DOUBLE_EQ(edit->CurrentValue().AsDouble(), 42);
}
