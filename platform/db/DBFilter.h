#pragma once
// The filter language of data sets: conditions on fields joined by AND, OR and NOT, with
// parentheses. A condition is a field name (bare or in [brackets]) followed by =, <>, !=,
// <, >, <=, >= and a literal, by [NOT] LIKE and a pattern (% or * for any run of
// characters), or by IS [NOT] NULL ("= Null" and "<> Null" mean the same). Literals are
// 'quoted text' (a doubled quote stands for one) or numbers written with '.'.
// Text compares without case; a null field satisfies only the null tests.
#include "platform/rtl/Variants.h"
#include <functional>
#include <memory>
#include <vector>

enum class TFilterOperandKind { Text, Number, DateTime, Boolean };

class TFilterExpression {
public:
  // Parses Text; raises EDatabaseError naming the text when it is not an expression.
  explicit TFilterExpression(const String& Text);
  ~TFilterExpression();
  TFilterExpression(TFilterExpression&&) noexcept;
  TFilterExpression& operator=(TFilterExpression&&) noexcept;

  bool IsEmpty() const { return FRoot < 0; }

  // Resolves every field name to the index Resolve returns (Resolve raises for an unknown
  // name) and converts the literals to the kind of their field; raises EDatabaseError for
  // a literal that does not read as that kind.
  using TResolveField = std::function<int(const String& FieldName, TFilterOperandKind& Kind)>;
  void Bind(const TResolveField& Resolve);

  // Evaluates the bound expression with the field values Value gives.
  bool Matches(const std::function<Variant(int Field)>& Value) const;

  enum class TOp { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual, Like, NotLike, IsNull, IsNotNull,
                   And, Or, Not };
  struct TNode {
    TOp Op = TOp::Equal;
    int Left = -1, Right = -1;  // child nodes of And, Or, Not
    String FieldName;
    int Field = -1;
    TFilterOperandKind Kind = TFilterOperandKind::Text;
    Variant Literal;
    String LiteralText;
  };

private:
  bool Eval(int Node, const std::function<Variant(int)>& Value) const;
  std::vector<TNode> FNodes;
  int FRoot = -1;
  String FText;
};

// SQL-style pattern match without case: % or * match any run of characters.
bool FilterLikeMatch(const String& Text, const String& Pattern);
