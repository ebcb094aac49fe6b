#include "platform/rtl/Variants.h"
#include "platform/rtl/SysUtils.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

String TypeName(TVarType type) {
  switch (type) {
    case varEmpty: return QStringLiteral("Empty");
    case varNull: return QStringLiteral("Null");
    case varSmallint: return QStringLiteral("Smallint");
    case varInteger: return QStringLiteral("Integer");
    case varSingle: return QStringLiteral("Single");
    case varDouble: return QStringLiteral("Double");
    case varCurrency: return QStringLiteral("Currency");
    case varDate: return QStringLiteral("Date");
    case varBoolean: return QStringLiteral("Boolean");
    case varInt64: return QStringLiteral("Int64");
    case varString: return QStringLiteral("String");
    case varArray: return QStringLiteral("Array");
  }
  return QStringLiteral("Unknown");
}

bool IsIntegerKind(TVarType type) {
  return type == varSmallint || type == varInteger || type == varInt64;
}

bool IsRealKind(TVarType type) { return type == varSingle || type == varDouble || type == varDate; }

// Currency to whole units, halves to even like the floating kinds.
Int64 RoundScaledToEven(Int64 scaled) {
  Int64 quotient = scaled / Currency::Scale;
  const Int64 remainder = scaled % Currency::Scale;
  const Int64 twice = std::abs(remainder) * 2;
  if (twice > Currency::Scale || (twice == Currency::Scale && quotient % 2 != 0)) quotient += remainder < 0 ? -1 : 1;
  return quotient;
}

// Orders two numbers, NaN being incomparable.
template <typename T>
TVariantRelationship Order(T a, T b) {
  if (a < b) return vrLessThan;
  if (a > b) return vrGreaterThan;
  if (a == b) return vrEqual;
  return vrNotEqual;
}

bool IsNumberKind(TVarType type) { return IsIntegerKind(type) || IsRealKind(type) || type == varCurrency; }

// A string read as the number kind it is compared with; false when it does not read as one.
bool StringAsNumber(const String& text, TVarType against, Variant& number) {
  TDateTime date = 0;
  if (against == varDate && TryStrToDateTime(text, date)) {
    number = Variant::FromDate(date);
    return true;
  }
  Int64 integer = 0;
  if (TryStrToInt64(text, integer)) {
    number = Variant(integer);
    return true;
  }
  double real = 0;
  if (TryStrToFloat(text, real)) {
    number = Variant(real);
    return true;
  }
  return false;
}

TVariantRelationship CompareNumbers(const Variant& a, const Variant& b) {
  const TVarType ta = a.VarType(), tb = b.VarType();
  if (IsIntegerKind(ta) && IsIntegerKind(tb)) return Order(a.AsInt64(), b.AsInt64());
  const bool exactA = IsIntegerKind(ta) || ta == varCurrency, exactB = IsIntegerKind(tb) || tb == varCurrency;
  if (exactA && exactB) {
    auto scaled = [](const Variant& v) {
      return v.VarType() == varCurrency ? __int128(v.AsCurrency().Scaled()) : __int128(v.AsInt64()) * Currency::Scale;
    };
    return Order(scaled(a), scaled(b));
  }
  // Currency against a floating value compares as doubles, so 12.1 equals the amount 12.10;
  // long double keeps every Int64 exact against a double.
  if (ta == varCurrency || tb == varCurrency) return Order(a.AsDouble(), b.AsDouble());
  auto wide = [](const Variant& v) -> long double {
    return IsIntegerKind(v.VarType()) ? (long double)v.AsInt64() : (long double)v.AsDouble();
  };
  return Order(wide(a), wide(b));
}

}  // namespace

Variant Variant::Null() {
  Variant v;
  v.FType = varNull;
  return v;
}

Variant Variant::FromCurrency(Currency value) {
  Variant v;
  v.FType = varCurrency;
  v.FInt = value.Scaled();
  return v;
}

Variant Variant::FromDate(TDateTime value) {
  Variant v;
  v.FType = varDate;
  v.FReal = value;
  return v;
}

Variant Variant::Array(std::vector<Variant> items) {
  Variant v;
  v.FType = varArray;
  v.FItems = std::move(items);
  return v;
}

void Variant::RequireArray() const {
  if (FType != varArray) throw EVariantError(QStringLiteral("Variant is not an array"));
}

int Variant::ArrayLength() const {
  RequireArray();
  return int(FItems.size());
}

void Variant::SetArrayLength(int length) {
  RequireArray();
  FItems.resize(size_t(std::max(length, 0)));
}

const Variant& Variant::operator[](int index) const {
  if (index < 0 || index >= ArrayLength()) throw EVariantError(QStringLiteral("Variant array index out of bounds"));
  return FItems[size_t(index)];
}

Variant& Variant::operator[](int index) {
  if (index < 0 || index >= ArrayLength()) throw EVariantError(QStringLiteral("Variant array index out of bounds"));
  return FItems[size_t(index)];
}

void Variant::RaiseCannotConvert(TVarType target) const {
  throw EVariantError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                          .arg(TypeName(FType), TypeName(target)));
}

Int64 Variant::RoundToInt64(double value, TVarType target) const {
  if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
    throw EVariantError(QStringLiteral("Overflow while converting variant of type (%1) into type (%2)")
                            .arg(TypeName(FType), TypeName(target)));
  return Round(value);
}

Int64 Variant::AsInt64() const { return ToInt64(varInt64); }

Int64 Variant::ToInt64(TVarType target) const {
  switch (FType) {
    case varSmallint:
    case varInteger:
    case varInt64:
      return FInt;
    case varBoolean:
      return FInt ? -1 : 0;
    case varCurrency:
      return RoundScaledToEven(FInt);
    case varSingle:
    case varDouble:
    case varDate:
      return RoundToInt64(FReal, target);
    case varString: {
      Int64 integer = 0;
      double real = 0;
      if (TryStrToInt64(FString, integer)) return integer;
      if (TryStrToFloat(FString, real)) return RoundToInt64(real, target);
      break;
    }
    default:
      break;
  }
  RaiseCannotConvert(target);
}

Integer Variant::AsInteger() const {
  const Int64 value = ToInt64(varInteger);
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
    throw EVariantError(QStringLiteral("Overflow while converting variant of type (%1) into type (Integer)").arg(TypeName(FType)));
  return Integer(value);
}

double Variant::AsDouble() const {
  switch (FType) {
    case varSmallint:
    case varInteger:
    case varInt64:
      return double(FInt);
    case varBoolean:
      return FInt ? -1 : 0;
    case varCurrency:
      return Currency::FromScaled(FInt).ToDouble();
    case varSingle:
    case varDouble:
    case varDate:
      return FReal;
    case varString: {
      double real = 0;
      if (TryStrToFloat(FString, real)) return real;
      break;
    }
    default:
      break;
  }
  RaiseCannotConvert(varDouble);
}

Currency Variant::AsCurrency() const {
  if (FType == varCurrency) return Currency::FromScaled(FInt);
  try {
    if (IsIntegerKind(FType) || FType == varBoolean) return Currency::FromInt64(AsInt64());
    if (IsRealKind(FType)) return Currency::FromDouble(FReal);
  } catch (const EMathError&) {
    throw EVariantError(QStringLiteral("Overflow while converting variant of type (%1) into type (Currency)").arg(TypeName(FType)));
  }
  Currency value;
  if (FType == varString && TryStrToCurr(FString, value)) return value;
  RaiseCannotConvert(varCurrency);
}

TDateTime Variant::AsDateTime() const {
  if (FType == varString) {
    TDateTime value = 0;
    if (TryStrToDateTime(FString, value)) return value;
    RaiseCannotConvert(varDate);
  }
  if (IsNumberKind(FType) || FType == varBoolean) return AsDouble();
  RaiseCannotConvert(varDate);
}

bool Variant::AsBoolean() const {
  if (FType == varBoolean) return FInt != 0;
  if (FType == varString) {
    if (FString.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (FString.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    double real = 0;
    if (TryStrToFloat(FString, real)) return real != 0;
    RaiseCannotConvert(varBoolean);
  }
  if (IsIntegerKind(FType) || FType == varCurrency) return FInt != 0;
  if (IsRealKind(FType)) return FReal != 0;
  RaiseCannotConvert(varBoolean);
}

String Variant::AsString() const {
  switch (FType) {
    case varString:
      return FString;
    case varSmallint:
    case varInteger:
    case varInt64:
      return IntToStr(FInt);
    case varBoolean:
      return FInt ? QStringLiteral("True") : QStringLiteral("False");
    case varCurrency:
      return CurrToStr(Currency::FromScaled(FInt));
    case varSingle:
      return FloatToStrF(FReal, ffGeneral, 7, 0);
    case varDouble:
      return FloatToStr(FReal);
    case varDate:
      return DateTimeToStr(FReal);
    default:
      break;
  }
  RaiseCannotConvert(varString);
}

bool VarIsNull(const Variant& value) { return value.IsNull(); }
bool VarIsEmpty(const Variant& value) { return value.IsEmpty(); }
bool VarIsClear(const Variant& value) { return value.IsEmpty() || value.IsNull(); }
bool VarIsNumeric(const Variant& value) {
  const TVarType type = value.VarType();
  return IsIntegerKind(type) || type == varSingle || type == varDouble || type == varCurrency;
}
bool VarIsStr(const Variant& value) { return value.VarType() == varString; }
bool VarIsArray(const Variant& value) { return value.IsArray(); }
Variant VarArrayOf(std::vector<Variant> items) { return Variant::Array(std::move(items)); }

String VarToStr(const Variant& value) { return VarToStrDef(value, String()); }

String VarToStrDef(const Variant& value, const String& defaultValue) {
  return VarIsClear(value) ? defaultValue : value.AsString();
}

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
  const TVarType ta = a.VarType(), tb = b.VarType();
  if (ta == varEmpty || ta == varNull || tb == varEmpty || tb == varNull) return ta == tb ? vrEqual : vrNotEqual;
  if (ta == varString && tb == varString) {
    const int c = a.AsString().compare(b.AsString(), Qt::CaseSensitive);
    return c < 0 ? vrLessThan : c > 0 ? vrGreaterThan : vrEqual;
  }
  if (IsNumberKind(ta) && IsNumberKind(tb)) return CompareNumbers(a, b);
  Variant number;
  if (ta == varString && IsNumberKind(tb))
    return StringAsNumber(a.AsString(), tb, number) ? CompareNumbers(number, b) : vrNotEqual;
  if (tb == varString && IsNumberKind(ta))
    return StringAsNumber(b.AsString(), ta, number) ? CompareNumbers(a, number) : vrNotEqual;
  if (ta == varBoolean && tb == varBoolean) return Order(a.AsBoolean(), b.AsBoolean());
  if (ta == varArray && tb == varArray && a.ArrayLength() == b.ArrayLength()) {
    for (int i = 0; i < a.ArrayLength(); ++i)
      if (VarCompareValue(a[i], b[i]) != vrEqual) return vrNotEqual;
    return vrEqual;
  }
  return vrNotEqual;
}
