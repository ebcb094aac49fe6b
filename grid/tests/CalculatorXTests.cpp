#include "grid/CalculatorX.h"
#include "platform/ui/Clipbrd.h"
#include <gtest/gtest.h>

namespace {
void Keys(TCalculatorX& C, const char* Sequence) {
  for (const char* P = Sequence; *P; ++P) C.HandleCalcKey(QChar(*P == '\n' ? 13 : *P));
}

class TOwner : public TComponent, public IPopupOwnerX {
public:
  TOwner() : TComponent(nullptr) {}
  std::vector<bool> Finished;
  void FinishDropDown(bool Accept) override { Finished.push_back(Accept); }
};
}  // namespace

TEST(CalculatorX, EvaluatesKeySequences) {
  struct Case { const char* Keys; const char* Display; const char* Equals; };
  for (const Case& C : std::initializer_list<Case>{
         {"12+3", "3", "="}, {"12+3=", "15", "Ok"}, {"0-5", "5", "Ok"}, {"200+10%", "220", "Ok"},
         {"50*10%", "5", "Ok"}, {"5/0=", "Error", "Ok"}, {"5/0=123", "Error", "Ok"}, {"5/0=C7", "7", "Ok"},
         {"12345678901234567890", "123456789012345", "Ok"}, {"5I\b", "0", "Ok"}, {"1.2.5", "1.25", "Ok"},
         {"5+*3=", "15", "Ok"}, {"9S", "3", "Ok"}, {"4R", "0.25", "Ok"}, {"0R", "Error", "Ok"},
         {"2I", "-2", "Ok"}, {"7\b", "0", "Ok"}, {"12\b", "1", "Ok"}}) {
    TCalculatorX Calc(nullptr);
    Keys(Calc, C.Keys);
    EXPECT_EQ(Calc.DisplayText(), QString::fromUtf8(C.Display)) << C.Keys;
    EXPECT_EQ(Calc.EqualsKey()->Caption(), QString::fromUtf8(C.Equals)) << C.Keys;
  }
}

TEST(CalculatorX, KeysClickIntoTheCalculatorAndTheWheelStopsOnErrors) {
  TCalculatorX Calc(nullptr);
  for (Integer Tag : {14, 22, 15, 23}) {  // 2 + 3 =
    Calc.Key(Tag)->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(TPoint(5, 5)));
    Calc.Key(Tag)->Perform(WM_LBUTTONUP, 0, PointToLParam(TPoint(5, 5)));
  }
  EXPECT_EQ(Calc.DisplayText(), QStringLiteral("5"));
  Calc.Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(SmallInt(-120))), 0);
  EXPECT_EQ(Calc.DisplayText(), QStringLiteral("4"));
  Keys(Calc, "/0=");
  Calc.Perform(WM_MOUSEWHEEL, MakeWParam(0, Word(SmallInt(120))), 0);
  EXPECT_EQ(Calc.DisplayText(), QStringLiteral("Error"));
}

TEST(CalculatorX, PastingTextThatIsNoNumberIsIgnored) {
  TCalculatorX Calc(nullptr);
  Keys(Calc, "42");
  Clipboard()->SetAsText("abc");
  EXPECT_NO_THROW(Calc.HandleCalcKey(QChar(22)));
  EXPECT_EQ(Calc.DisplayText(), QStringLiteral("42"));
  Clipboard()->SetAsText(" 3.5 ");
  Calc.HandleCalcKey(QChar(22));
  EXPECT_EQ(Calc.DisplayText(), QStringLiteral("3.5"));
  Calc.HandleCalcKey(QChar(3));
  EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("3.5"));
}

TEST(PopupCalculatorX, EnterAcceptsWhileTheEqualsKeyReadsOkAndEscapeCancels) {
  TOwner Owner;
  TPopupCalculatorX Popup(&Owner);
  Popup.SetValue(10);
  EXPECT_EQ(Popup.DisplayText(), QStringLiteral("10"));
  Keys(Popup, "+5\n");  // "=" is pending: Enter evaluates
  EXPECT_TRUE(Owner.Finished.empty());
  EXPECT_EQ(Popup.GetValue().AsDouble(), 15.0);
  Keys(Popup, "\n");
  EXPECT_EQ(Owner.Finished, std::vector<bool>{true});
  Popup.Perform(WM_KEYDOWN, VK_ESCAPE);
  Popup.Perform(WM_POPUPCLOSEUPX, 1);
  EXPECT_EQ(Owner.Finished, (std::vector<bool>{true, false, false}));
  Keys(Popup, "/0=");
  EXPECT_TRUE(Popup.GetValue().IsEmpty());
  EXPECT_FALSE(Popup.CanFocus());
}

TEST(PopupCalculatorX, AResultTooLargeForTheOwnerIsAnError) {
  TOwner Owner;
  TPopupCalculatorX Popup(&Owner);
  Popup.SetValue(1e308);
  Keys(Popup, "*9=");
  EXPECT_EQ(Popup.DisplayText(), QStringLiteral("Error"));
  EXPECT_TRUE(Popup.GetValue().IsEmpty());
  Keys(Popup, "C2");
  EXPECT_EQ(Popup.GetValue().AsDouble(), 2.0);
}
