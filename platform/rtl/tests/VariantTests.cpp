#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "platform/rtl/tests/SysUtilsErrorText.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {

TEST(Variant, KindsOfConstructedValues) {
  EXPECT_EQ(Variant().VarType(), varEmpty);
  EXPECT_EQ(Variant::Null().VarType(), varNull);
  EXPECT_EQ(Variant(1).VarType(), varInteger);
  EXPECT_EQ(Variant(Int64(1)).VarType(), varInt64);
  EXPECT_EQ(Variant(SmallInt(1)).VarType(), varSmallint);
  EXPECT_EQ(Variant(1.5).VarType(), varDouble);
  EXPECT_EQ(Variant(1.5f).VarType(), varSingle);
  EXPECT_EQ(Variant(true).VarType(), varBoolean);
  EXPECT_EQ(Variant("文字").VarType(), varString);
  EXPECT_EQ(Variant::FromCurrency(Currency::FromInt64(1)).VarType(), varCurrency);
  EXPECT_EQ(Variant::FromDate(1).VarType(), varDate);
  EXPECT_TRUE(VarIsClear(Variant()) && VarIsClear(Variant::Null()) && !VarIsClear(Variant(0)));
  EXPECT_TRUE(VarIsNumeric(Variant::FromCurrency({})) && !VarIsNumeric(Variant::FromDate(1)) && !VarIsNumeric(Variant("1")));
}

TEST(Variant, ConversionsBetweenKinds) {
  EXPECT_EQ(Variant("12.5").AsDouble(), 12.5);
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant("2.5").AsInteger(), 2);   // halves to even
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInt64(), -2);
  EXPECT_EQ(Variant::FromCurrency(Currency::FromScaled(25000)).AsInteger(), 2);
  EXPECT_EQ(Variant::FromCurrency(Currency::FromScaled(-35000)).AsInteger(), -4);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(false).AsInteger(), 0);
  EXPECT_TRUE(Variant(2).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_TRUE(Variant("true").AsBoolean());
  EXPECT_EQ(Variant(true).AsString(), "True");
  EXPECT_EQ(Variant(0.1).AsCurrency(), Currency::FromScaled(1000));
  EXPECT_EQ(Variant("1234.5678").AsCurrency(), Currency::FromScaled(12345678));
  EXPECT_EQ(Variant::FromCurrency(Currency::FromScaled(12345)).AsString(), "1.2345");
  EXPECT_EQ(Variant(0.1).AsString(), "0.1");
  EXPECT_EQ(Variant(Int64(1) << 40).AsString(), "1099511627776");
  EXPECT_EQ(Variant::FromDate(EncodeDate(2024, 2, 29)).AsDouble(), EncodeDate(2024, 2, 29));
  EXPECT_EQ(Variant(45351.0).AsDateTime(), 45351.0);
  EXPECT_EQ(Variant("2024-02-29 08:30").AsDateTime(), EncodeDateTime(2024, 2, 29, 8, 30, 0, 0));
  EXPECT_EQ(Variant::FromDate(EncodeDateTime(2024, 2, 29, 8, 30, 0, 0)).AsString(), "2024-02-29 08:30:00");
}

TEST(Variant, ImpossibleConversionsRaise) {
  EXPECT_THROW(Variant().AsInteger(), EVariantError);
  EXPECT_THROW(Variant::Null().AsString(), EVariantError);
  EXPECT_THROW(Variant("abc").AsDouble(), EVariantError);
  EXPECT_THROW(Variant("12x").AsInteger(), EVariantError);
  EXPECT_THROW(Variant("maybe").AsBoolean(), EVariantError);
  EXPECT_THROW(Variant(Int64(1) << 40).AsInteger(), EVariantError);
  EXPECT_THROW(Variant(1e300).AsCurrency(), EVariantError);
  EXPECT_THROW(Variant(std::nan("")).AsInt64(), EVariantError);
  EXPECT_THROW(Variant(1).ArrayLength(), EVariantError);
  EXPECT_THROW(VarArrayOf({1, 2})[2], EVariantError);
  EXPECT_EQ(ErrorText<EVariantError>([] { Variant("abc").AsDouble(); }), "Could not convert variant of type (String) into type (Double)");
}

TEST(Variant, TextOfClearValues) {
  EXPECT_EQ(VarToStr(Variant::Null()), "");
  EXPECT_EQ(VarToStr(Variant()), "");
  EXPECT_EQ(VarToStrDef(Variant::Null(), "-"), "-");
  EXPECT_EQ(VarToStrDef(Variant(7), "-"), "7");
}

TEST(Variant, Arrays) {
  Variant list = VarArrayOf({1, "两", 2.5});
  EXPECT_TRUE(VarIsArray(list));
  ASSERT_EQ(list.ArrayLength(), 3);
  EXPECT_EQ(list[1].AsString(), "两");
  list[0] = Variant::Null();
  EXPECT_TRUE(list[0].IsNull());
  list.SetArrayLength(4);
  EXPECT_EQ(list[1].AsString(), "两");
  EXPECT_TRUE(list[3].IsEmpty());
  list.SetArrayLength(1);
  EXPECT_EQ(list.ArrayLength(), 1);
  Variant scalar(1);
  EXPECT_THROW(scalar.SetArrayLength(2), EVariantError);
  EXPECT_THROW(list.AsString(), EVariantError);
}

TEST(Variant, CompareValueOrderingTable) {
  const Variant currencyTwo = Variant::FromCurrency(Currency::FromInt64(2));
  struct Case { Variant a, b; TVariantRelationship expected; };
  int row = 0;
  for (const Case& c : std::initializer_list<Case>{
         {Variant(), Variant(), vrEqual},
         {Variant::Null(), Variant::Null(), vrEqual},
         {Variant::Null(), Variant(), vrNotEqual},
         {Variant::Null(), Variant(0), vrNotEqual},
         {Variant(), Variant(""), vrNotEqual},
         {Variant(2), Variant(2.0), vrEqual},
         {Variant(2), currencyTwo, vrEqual},
         {Variant(1.5), currencyTwo, vrLessThan},
         {Variant(12.1), Variant::FromCurrency(Currency::FromScaled(121000)), vrEqual},
         {Variant("12.1"), Variant::FromCurrency(Currency::FromScaled(121000)), vrEqual},
         {Variant(Int64(9007199254740993)), Variant(Int64(9007199254740992)), vrGreaterThan},
         {Variant::FromDate(2), Variant(2), vrEqual},
         {Variant::FromCurrency(Currency::FromScaled(1)), Variant(0), vrGreaterThan},
         {Variant("abc"), Variant("abd"), vrLessThan},
         {Variant("abc"), Variant("ABC"), vrGreaterThan},
         {Variant("张三"), Variant("张三"), vrEqual},
         {Variant("12.50"), Variant(12.5), vrEqual},
         {Variant(3), Variant("12"), vrLessThan},
         {Variant("abc"), Variant(0), vrNotEqual},
         {Variant(""), Variant(0), vrNotEqual},
         {Variant("2024-02-29"), Variant::FromDate(EncodeDate(2024, 2, 29)), vrEqual},
         {Variant(true), Variant(true), vrEqual},
         {Variant(false), Variant(true), vrLessThan},
         {Variant(true), Variant(-1), vrNotEqual},
         {Variant(std::nan("")), Variant(std::nan("")), vrNotEqual},
         {VarArrayOf({1, "a"}), VarArrayOf({1.0, "a"}), vrEqual},
         {VarArrayOf({1, "a"}), VarArrayOf({1}), vrNotEqual},
         {VarArrayOf({1}), Variant(1), vrNotEqual}})
  {
    EXPECT_EQ(VarCompareValue(c.a, c.b), c.expected) << "row " << row;
    ++row;
  }
  EXPECT_TRUE(Variant(2) == Variant(2.0));
  EXPECT_FALSE(Variant("abc") == Variant(0));
}

}  // namespace
