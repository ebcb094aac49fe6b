#pragma once
// A value of one of a few kinds, as fields, parameters and grid cells pass them around.
#include "platform/rtl/Currency.h"
#include "platform/rtl/Types.h"
#include <vector>

enum TVarType : Word {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varBoolean = 0x000B,
  varInt64 = 0x0014,
  varString = 0x0100,
  varArray = 0x2000,
};

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant {
public:
  Variant() = default;  // Unassigned
  Variant(int value) : FType(varInteger), FInt(value) {}
  Variant(Int64 value) : FType(varInt64), FInt(value) {}
  Variant(SmallInt value) : FType(varSmallint), FInt(value) {}
  Variant(double value) : FType(varDouble), FReal(value) {}
  Variant(float value) : FType(varSingle), FReal(value) {}
  Variant(bool value) : FType(varBoolean), FInt(value ? 1 : 0) {}
  Variant(const String& value) : FType(varString), FString(value) {}
  Variant(const char* value) : FType(varString), FString(QString::fromUtf8(value)) {}
  // Any other pointer would silently become a Boolean.
  template <typename T>
  Variant(T*) = delete;

  static Variant Null();
  static Variant FromCurrency(Currency value);
  static Variant FromDate(TDateTime value);
  static Variant Array(std::vector<Variant> items);

  TVarType VarType() const { return FType; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsNull() const { return FType == varNull; }
  bool IsArray() const { return FType == varArray; }
  // Arrays are indexed from 0. Array access raises EVariantError when this is not an array or
  // the index is outside it.
  int ArrayLength() const;
  // Grows with Empty items or drops the last ones; the items kept keep their values.
  void SetArrayLength(int length);
  const Variant& operator[](int index) const;
  Variant& operator[](int index);

  // Conversions between kinds; Empty, Null and arrays convert to nothing (EVariantError), and
  // so does text that does not read as the target kind. A Boolean reads as -1 (True) or 0, and
  // as the text "True" or "False"; a number reads as True when it is not 0. Floating values
  // become integers by rounding halves to even.
  Integer AsInteger() const;
  Int64 AsInt64() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  String AsString() const;

private:
  void RequireArray() const;
  [[noreturn]] void RaiseCannotConvert(TVarType target) const;
  Int64 ToInt64(TVarType target) const;
  Int64 RoundToInt64(double value, TVarType target) const;

  TVarType FType = varEmpty;
  Int64 FInt = 0;        // integer kinds, Boolean, Currency (scaled by 10 000)
  double FReal = 0;      // varSingle, varDouble, varDate
  String FString;
  std::vector<Variant> FItems;
};

bool VarIsNull(const Variant& value);
bool VarIsEmpty(const Variant& value);
// Empty or Null.
bool VarIsClear(const Variant& value);
// Integer kinds, floating kinds and Currency (not dates, not Booleans).
bool VarIsNumeric(const Variant& value);
bool VarIsStr(const Variant& value);
bool VarIsArray(const Variant& value);
Variant VarArrayOf(std::vector<Variant> items);
// Empty and Null give "", every other kind its AsString.
String VarToStr(const Variant& value);
String VarToStrDef(const Variant& value, const String& defaultValue);

// The one ordering of values:
//   Empty = Empty and Null = Null; either against anything else is vrNotEqual.
//   Numbers (integer kinds, floating kinds, Currency, dates) compare by value across kinds,
//   exactly between integers and Currency; a NaN compares as vrNotEqual.
//   Strings compare with each other case-sensitively, by character codes.
//   A string against a number compares as that number when the text reads as one (as a
//   date-time first when the number is a date), else vrNotEqual.
//   Booleans compare with Booleans only, False before True.
//   Arrays are vrEqual when their lengths and all their items are, else vrNotEqual.
//   Anything else is vrNotEqual: a comparison that cannot be made is never "equal".
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
inline bool operator==(const Variant& a, const Variant& b) { return VarCompareValue(a, b) == vrEqual; }
