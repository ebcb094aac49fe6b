#pragma once
// What the grid's filter row, its find and filter dialogs and its behaviour centre share:
// the column-filter expression language, the data-set filter text built from a grid's column
// filters, the default text search over a grid's data set, and the registry of data-set
// handlers that may take these jobs over for particular data set classes.
#include "dbgrid/DBGridXTypes.h"
#include "platform/db/DB.h"
#include <array>
#include <memory>
#include <typeinfo>

class TCustomDBGridX;
class TColumnX;

// What kind of value a column filter compares.
enum TSTValueKindX : Byte { stvkOtherX, stvkTextX, stvkNumberX, stvkDateTimeX, stvkBooleanX };

// Operators of a filter condition; the same codes are the parser's lexeme kinds.
enum TSTOperatorX : Byte {
  stoNoneX, stoEqualX, stoNotEqualX, stoGreaterX, stoLessX, stoGreaterOrEqualX, stoLessOrEqualX, stoLikeX,
  stoNotLikeX, stoInListX, stoNotInListX, stoIsNullX, stoIsNotNullX, stoAndX, stoOrX, stoValueX
};

// The operator supplied for a text that starts with a bare value: 0 none, 1 to 10 the
// operators of the same codes, the rest LIKE forms with wildcards added to the value.
enum TSTAssumedOperatorX : Byte {
  staNoneX, staEqualX, staNotEqualX, staGreaterX, staLessX, staGreaterOrEqualX, staLessOrEqualX, staLikeX,
  staNotLikeX, staInListX, staNotInListX, staBeginsWithX, staNotBeginsWithX, staEndsWithX, staNotEndsWithX,
  staContainsX, staNotContainsX
};

// A parsed column condition: at most two conditions joined by AND or OR. Operands are Null,
// a text, a double, a date-time, or an array of such for the list operators.
struct TSTFilterExpressionX {
  TSTValueKindX ValueKind = stvkOtherX;
  TSTOperatorX FirstOperator = stoNoneX;
  Variant FirstOperand = Variant::Null();
  TSTOperatorX Junction = stoNoneX;
  TSTOperatorX SecondOperator = stoNoneX;
  Variant SecondOperand = Variant::Null();
};

extern const std::array<TSTValueKindX, ftFMTBcd + 1> STValueKindOfFieldType;
extern const std::array<const char*, 16> STOperatorSymbols;
extern const std::array<const char*, 16> STOperatorFilterWords;

// Both operators and the junction none, both operands Null; the value kind stays.
void ResetFilterExpression(TSTFilterExpressionX& Expression);
// The character at 1-based Position, or the character 0 outside the text.
QChar CharAt(const String& Text, Integer Position);
// Parses Text into Expression, whose ValueKind the caller has set; true when a second
// condition was read. Raises Exception with the parser's message and the text, or the
// conversion error of a number or date operand.
bool ParseFilterText(const String& Text, TSTFilterExpressionX& Expression, TSTAssumedOperatorX Assumed);

// Writes a date-time literal in the syntax of a particular data set.
using TSTDateLiteralProcX = String (*)(TDataSet* DataSet, const Variant& Value);
// Writes one condition on FieldName.
using TSTConditionTextProcX = String (*)(TSTOperatorX Operator, const Variant& Value, const String& FieldName,
                                         TDataSet* DataSet, TSTDateLiteralProcX DateLiteral, bool LikeSupported);

// The filter text of every column filter of the grid, joined by AND; empty without a data set.
String BuildDataSetFilterText(TCustomDBGridX* Grid, TSTConditionTextProcX ConditionText,
                              TSTDateLiteralProcX DateLiteral, bool UseFieldOrigin, bool LikeSupported);
// The condition writer for the data sets' own filter language.
String LocalFilterConditionText(TSTOperatorX Operator, const Variant& Value, const String& FieldName,
                                TDataSet* DataSet, TSTDateLiteralProcX DateLiteral, bool LikeSupported);

// ---- text search

enum TGridSearchOptionX { gsoIgnoreCaseX, gsoAllColumnsX, gsoDisplayTextX, gsoStopOnEscapeX };
using TGridSearchOptionsX = TSet<TGridSearchOptionX>;
enum TGridSearchDirectionX { gsdUpX, gsdDownX, gsdAllX };
enum TGridSearchMatchX { gsmContainsX, gsmWholeX, gsmStartX };
enum TGridSearchTreeRangeX { gtrAllNodesX, gtrExpandedNodesX, gtrCurrentLevelX, gtrCurrentNodeX };

// Walks the grid's data set until a cell's text matches Text; on a match the record and the
// column become current and the answer is true, otherwise the position is restored.
bool SearchGridText(TCustomDBGridX* Grid, const String& FieldName, const String& Text, TGridSearchOptionsX Options,
                    TGridSearchDirectionX Direction, TGridSearchMatchX Match, TGridSearchTreeRangeX TreeRange);

// ---- data-set handlers

// Takes the grid's data-set dependent jobs over for the data sets of one class (and its
// descendants that no nearer handler serves).
class TBMListX;

class TDataSetHandlerX : public TObject {
public:
  // Steps from the data set's class up to the class served; -1 when it is not served.
  virtual Integer ClassDistance(const TDataSet* DataSet) const = 0;
  virtual bool LocateText(TCustomDBGridX* Grid, const String& FieldName, const String& Text,
                          TGridSearchOptionsX Options, TGridSearchDirectionX Direction, TGridSearchMatchX Match,
                          TGridSearchTreeRangeX TreeRange) = 0;
  virtual void ApplyFilter(TCustomDBGridX* Grid, TDataSet* DataSet, bool IsReopen) = 0;
  // Moves the listed records before record ToRecNo (only tells whether it could with
  // CheckOnly); a handler that cannot move records answers false.
  virtual bool MoveRecords(TCustomDBGridX*, TBMListX*, Integer, bool) { return false; }
};

// A handler for data sets of class TServed: distance 0 for that very class, 1 for its
// descendants.
template <class TServed>
class TDataSetHandlerForX : public TDataSetHandlerX {
public:
  Integer ClassDistance(const TDataSet* DataSet) const override {
    if (!dynamic_cast<const TServed*>(DataSet)) return -1;
    return typeid(*DataSet) == typeid(TServed) ? 0 : 1;
  }
};

// The process-wide registry; it owns the handlers.
class TDataSetHandlersX {
public:
  void Register(std::unique_ptr<TDataSetHandlerX> Handler) { FItems.push_back(std::move(Handler)); }
  // The handler of the nearest class; the earlier one on equal distances; nullptr for none.
  TDataSetHandlerX* HandlerForDataSet(const TDataSet* DataSet) const;
  void Clear() { FItems.clear(); }
private:
  std::vector<std::unique_ptr<TDataSetHandlerX>> FItems;
};
TDataSetHandlersX& DataSetHandlers();
