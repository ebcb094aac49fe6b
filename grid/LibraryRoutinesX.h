#pragma once
// Small routines the whole grid library shares: value comparison, field-type tests,
// character sets, bookmark order, the look in use and double-click limits.
#include "platform/db/DB.h"
#include "platform/ui/Messages.h"
#include <array>

// 256 bits; bit N of byte N div 8 stands for character code N.
using TCharSetX = std::array<Byte, 32>;
TCharSetX MakeCharSetX(std::initializer_list<std::pair<int, int>> Ranges);
// Codes above 255 are never members.
bool TestCharSetMember(QChar Ch, const TCharSetX& Set);

// The data set's own order of two bookmarks: negative, 0 or positive.
Integer CompareBookmarkStrs(const TDataSet* DataSet, const TBookmarkStr& A, const TBookmarkStr& B);

// Small integer, integer, word, float, currency and both BCD kinds.
bool IsNumericFieldType(TFieldType FieldType);

// Whether faces are drawn in a visual-style look; the window layer draws the classic
// 3-D look from its system table, so painting code takes that branch.
inline bool IsThemingActive() { return false; }

// Two clicks Interval milliseconds apart at OldPos and NewPos make a double click.
bool IsWithinDoubleClickLimits(TPoint OldPos, TPoint NewPos, Cardinal Interval);

// Equality that never raises: arrays compare item by item, Null equals Null, Empty equals
// only Empty, and values that cannot be compared are not equal.
bool VariantValuesEqual(const Variant& A, const Variant& B);

// Relationship codes of CompareVariantValues.
constexpr Integer vcEqualX = 0, vcLessThanX = 1, vcGreaterThanX = 2, vcNotComparableX = 3;
// Null sorts before every other value; arrays compare item by item; 3 when the values
// cannot be ordered.
Integer CompareVariantValues(const Variant& A, const Variant& B);

inline TRect EmptyRectangle() { return TRect(0, 0, 0, 0); }
inline void CopyMessageRecord(const TMessage& Source, TMessage& Dest) { Dest = Source; }
