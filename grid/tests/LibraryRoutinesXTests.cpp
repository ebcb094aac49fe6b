#include "grid/GridTextsX.h"
#include "grid/LibraryRoutinesX.h"
#include "grid/MemoryStreamX.h"
#include "grid/PlatformShimsX.h"
#include "platform/rtl/SysUtils.h"
#include <gtest/gtest.h>

TEST(MemoryStreamX, GrowsInBlocksOfTwiceTheHalfStep) {
  TMemoryStreamX S;
  const char Byte = 'x';
  for (int I = 0; I < 8192; ++I) S.Write(&Byte, 1);
  EXPECT_EQ(S.Capacity(), 8192);
  S.Write(&Byte, 1);
  EXPECT_EQ(S.Capacity(), 16384);

  TMemoryStreamX Big;
  Big.SetHalfStep(65536);
  Big.Write(&Byte, 1);
  EXPECT_EQ(Big.Capacity(), 131072);
  EXPECT_THROW(Big.SetHalfStep(3000), EStreamError);
}

TEST(VariantValuesEqual, NeverRaisesAndNeverCallsTheIncomparableEqual) {
  struct Case { Variant A, B; bool Equal; const char* Why; };
  const Variant Arr12 = Variant::Array({1, 2});
  for (const Case& C : std::initializer_list<Case>{
         {Arr12, Variant(1), false, "array against scalar"},
         {Variant::Null(), Variant::Null(), true, "null equals null"},
         {Variant(), Variant::Null(), false, "empty against null"},
         {Arr12, Variant::Array({1, 2}), true, "same arrays"},
         {Arr12, Variant::Array({1, 2, 3}), false, "arrays of other length"},
         {Variant::Array({}), Variant::Array({}), false, "arrays without items"},
         {Variant("abc"), Variant(5), false, "text that is no number against a number"},
         {Variant("5"), Variant(5), true, "text that reads as the number"},
         {Variant(2.5), Variant::FromCurrency(Currency::FromScaled(25000)), true, "across kinds"}})
    EXPECT_EQ(VariantValuesEqual(C.A, C.B), C.Equal) << C.Why;
}

TEST(CompareVariantValues, NullSortsFirstAndIncomparableIsThree) {
  EXPECT_EQ(CompareVariantValues(Variant::Null(), Variant(5)), vcLessThanX);
  EXPECT_EQ(CompareVariantValues(Variant(5), Variant::Null()), vcGreaterThanX);
  EXPECT_EQ(CompareVariantValues(Variant::Null(), Variant::Null()), vcEqualX);
  EXPECT_EQ(CompareVariantValues(Variant("x"), Variant(1)), vcNotComparableX);
  EXPECT_EQ(CompareVariantValues(Variant::Array({1, 3}), Variant::Array({1, 2})), vcGreaterThanX);
  EXPECT_EQ(CompareVariantValues(Variant::Array({1}), Variant(1)), vcNotComparableX);
}

TEST(LibraryRoutines, FieldTypesAndCharacterSets) {
  EXPECT_TRUE(IsNumericFieldType(ftCurrency));
  EXPECT_TRUE(IsNumericFieldType(ftFMTBcd));
  EXPECT_FALSE(IsNumericFieldType(ftLargeint));
  EXPECT_FALSE(IsNumericFieldType(ftAutoInc));
  const TCharSetX Digits = MakeCharSetX({{'0', '9'}});
  EXPECT_TRUE(TestCharSetMember(u'7', Digits));
  EXPECT_FALSE(TestCharSetMember(u'a', Digits));
  EXPECT_FALSE(TestCharSetMember(QChar(0x4E00 + '0'), Digits));
}

TEST(LibraryTexts, GreaterThanReadsAsTheComparison) {
  EXPECT_EQ(GridTextsX::SOpGreaterX, QStringLiteral("大于"));
}

namespace {
class TLineSource : public TControl {
public:
  using TControl::TControl;
  String Line;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg != WM_USER + 7) return TControl::Dispatch(Message);
    auto* Buffer = reinterpret_cast<char16_t*>(Message.LParam);
    ASSERT_EQ(Buffer[0], 4096);
    for (int I = 0; I < Line.size(); ++I) Buffer[I] = Line.at(I).unicode();
    Message.Result = Line.size();
  }
};
}  // namespace

TEST(PlatformShims, GetLineTextReadsTheReportedCharacters) {
  TLineSource Source(nullptr);
  String Text = QStringLiteral("stale");
  EXPECT_EQ(PlatformGetLineText(&Source, WM_USER + 7, 0, 10, Text), 0);
  EXPECT_TRUE(Text.isEmpty());
  Source.Line = QStringLiteral("工资 line");
  EXPECT_EQ(PlatformGetLineText(&Source, WM_USER + 7, 0, 1, Text), 7);
  EXPECT_EQ(Text, QStringLiteral("工资 line"));
}
