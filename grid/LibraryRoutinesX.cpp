#include "grid/LibraryRoutinesX.h"
#include "platform/ui/SystemColors.h"
#include <cstdlib>

TCharSetX MakeCharSetX(std::initializer_list<std::pair<int, int>> Ranges) {
  TCharSetX Set{};
  for (const auto& [From, To] : Ranges)
    for (int Code = std::max(From, 0); Code <= std::min(To, 255); ++Code) Set[size_t(Code / 8)] |= Byte(1u << (Code % 8));
  return Set;
}

bool TestCharSetMember(QChar Ch, const TCharSetX& Set) {
  const int Code = Ch.unicode();
  return Code < 256 && (Set[size_t(Code / 8)] & (1u << (Code % 8))) != 0;
}

Integer CompareBookmarkStrs(const TDataSet* DataSet, const TBookmarkStr& A, const TBookmarkStr& B) {
  return DataSet->CompareBookmarks(A, B);
}

bool IsNumericFieldType(TFieldType FieldType) {
  switch (FieldType) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
      return true;
    default:
      return false;
  }
}

bool IsWithinDoubleClickLimits(TPoint OldPos, TPoint NewPos, Cardinal Interval) {
  return Interval <= GetDoubleClickTime() && std::abs(NewPos.X - OldPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
         std::abs(NewPos.Y - OldPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK);
}

bool VariantValuesEqual(const Variant& A, const Variant& B) {
  if (A.IsArray() != B.IsArray()) return false;
  if (A.IsArray()) {
    if (A.ArrayLength() != B.ArrayLength() || A.ArrayLength() == 0) return false;
    for (int I = 0; I < A.ArrayLength(); ++I)
      if (!VariantValuesEqual(A[I], B[I])) return false;
    return true;
  }
  return VarCompareValue(A, B) == vrEqual;
}

namespace {
Integer CompareSimpleVariants(const Variant& A, const Variant& B) {
  if (A.IsNull() && B.IsNull()) return vcEqualX;
  if (A.IsNull()) return vcLessThanX;
  if (B.IsNull()) return vcGreaterThanX;
  switch (VarCompareValue(A, B)) {
    case vrEqual: return vcEqualX;
    case vrLessThan: return vcLessThanX;
    case vrGreaterThan: return vcGreaterThanX;
    default: return vcNotComparableX;
  }
}
}  // namespace

Integer CompareVariantValues(const Variant& A, const Variant& B) {
  if (A.IsArray() != B.IsArray()) return vcNotComparableX;
  if (A.IsArray() && A.ArrayLength() == B.ArrayLength()) {
    if (A.ArrayLength() == 0) return vcNotComparableX;
    for (int I = 0; I < A.ArrayLength(); ++I) {
      const Integer R = CompareSimpleVariants(A[I], B[I]);
      if (R != vcEqualX) return R;
    }
    return vcEqualX;
  }
  return CompareSimpleVariants(A, B);
}
